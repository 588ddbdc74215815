#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/common/ProgramSkin.h"

// The build installed into a temporary prefix, as `cmake --install build
// --prefix PREFIX` installs it, holds what a user needs, and the installed
// program finds its skins and frame pictures from any folder.

namespace {

constexpr int PROCESS_TIMEOUT_MS = 60000;
constexpr int ICON_SIDES[] = { 16, 32, 48, 64, 128, 256 };
const QString STARTUP_PACKAGE = QStringLiteral("Pink.skn");
const QString FRAME_FOLDER = QStringLiteral("Frame");
const QString TRANSLATION_FOLDER = QStringLiteral("translations");
const QString PROGRAMS_WITH_PAGES[] = { QStringLiteral("skintool"), QStringLiteral("mpegrec"),
                                        QStringLiteral("skinrecorder") };
constexpr char METAINFO_FILE[] = SKINREC_INSTALL_DATADIR "/metainfo/org.skinrecorder.SkinRecorder.metainfo.xml";

struct CRun
{
    bool bFinished = false;
    int nExitCode = -1;
    QString strOutput;
    QString strErrors;
};

CRun RunToEnd(const QString& strProgram, const QStringList& arrArguments,
              const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(strProgram, arrArguments);
    CRun run;
    run.bFinished = process.waitForFinished(PROCESS_TIMEOUT_MS) && process.exitStatus() == QProcess::NormalExit;
    run.nExitCode = process.exitCode();
    run.strOutput = QString::fromUtf8(process.readAllStandardOutput());
    run.strErrors = QString::fromUtf8(process.readAllStandardError());
    if (!run.bFinished)
        run.strErrors += process.errorString();
    return run;
}

QProcessEnvironment EnglishText()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");
    return environment;
}

QStringList FilesUnder(const QString& strFolder)
{
    QStringList arrFiles;
    QDirIterator files(strFolder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        arrFiles.append(QDir(strFolder).relativeFilePath(files.next()));
    arrFiles.sort();
    return arrFiles;
}

QStringList FramePictureNames(const QString& strFolder)
{
    return QDir(strFolder).entryList({ QStringLiteral("*.bif") }, QDir::Files, QDir::Name);
}

// The long options a text names, each once, in order of their names.
std::string LongOptions(const QString& strText)
{
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z0-9-]*[a-z0-9]"));
    QStringList arrOptions;
    for (const QRegularExpressionMatch& match : option.globalMatch(strText))
        arrOptions.append(match.captured());
    arrOptions.sort();
    arrOptions.removeDuplicates();
    return arrOptions.join(u' ').toStdString();
}

// What desktops and software centres read of the program: each file passes
// its validator and names the program, its icon and its ids.
struct CDesktopMetadata
{
    const char* pszFile;
    const char* pszValidator;
    QStringList arrValidatorArguments;
    const char* pszPassed; // what the validator says of a clean file, in English, if anything
    std::vector<const char*> arrLines;
};

const CDesktopMetadata DESKTOP_METADATA[] = {
    { SKINREC_INSTALL_DATADIR "/applications/org.skinrecorder.SkinRecorder.desktop",
      "desktop-file-validate",
      {},
      "",
      { "Exec=skinrecorder", "Icon=org.skinrecorder.SkinRecorder", "StartupWMClass=skinrecorder",
        "Exec=skinrecorder --toggle" } },
    { METAINFO_FILE,
      "appstreamcli",
      { "validate", "--no-net" },
      "Validation was successful",
      { "<id>org.skinrecorder.SkinRecorder</id>",
        R"(<launchable type="desktop-id">org.skinrecorder.SkinRecorder.desktop</launchable>)",
        "<binary>skinrecorder</binary>", "<binary>mpegrec</binary>", "<binary>skintool</binary>",
        R"(<dbus type="user">org.skinrecorder.SkinRecorder</dbus>)" } },
};

// What a validator printed besides its verdict that all is well: errors,
// warnings and hints alike.
QStringList Complaints(const QString& strOutput, const QString& strPassed)
{
    QStringList arrComplaints;
    for (const QString& strLine : strOutput.split(u'\n')) {
        const QString strTrimmed = strLine.trimmed();
        if (!strTrimmed.isEmpty() && (strPassed.isEmpty() || !strTrimmed.contains(strPassed)))
            arrComplaints.append(strTrimmed);
    }
    return arrComplaints;
}

QStringList TrimmedLines(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arrLines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString& strLine : arrLines)
        strLine = strLine.trimmed();
    return arrLines;
}

class InstalledTree : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_prefix = std::make_unique<QTemporaryDir>();
        const CRun install = RunToEnd(QStringLiteral(SKINREC_CMAKE),
                                      { "--install", QStringLiteral(SKINREC_BUILD_DIR), "--prefix", s_prefix->path() });
        if (!s_prefix->isValid() || !install.bFinished || install.nExitCode != 0)
            s_strInstallProblem = s_prefix->errorString() + install.strOutput + install.strErrors;
    }
    static void TearDownTestSuite() { s_prefix.reset(); }

    void SetUp() override { ASSERT_TRUE(s_strInstallProblem.isEmpty()) << s_strInstallProblem.toStdString(); }

    // The programs see their folder with every link resolved.
    static QString Installed(const QString& strPath)
    {
        return QDir(QFileInfo(s_prefix->path()).canonicalFilePath()).filePath(strPath);
    }
    static QString DataFolder() { return Installed(QStringLiteral(SKINREC_INSTALL_DATADIR "/skinrecorder")); }
    static QString Program(const QString& strName) { return Installed(SKINREC_INSTALL_BINDIR "/" + strName); }

    static QString BuildProgramFolder() { return QStringLiteral(SKINREC_BUILD_DIR "/bin"); }

    inline static std::unique_ptr<QTemporaryDir> s_prefix;
    inline static QString s_strInstallProblem;
};

TEST_F(InstalledTree, HoldsWhatAUserNeedsAndNothingElse)
{
    QStringList arrExpected = { SKINREC_INSTALL_BINDIR "/skinrecorder", SKINREC_INSTALL_BINDIR "/skintool",
                                SKINREC_INSTALL_BINDIR "/mpegrec",
                                SKINREC_INSTALL_DATADIR "/applications/org.skinrecorder.SkinRecorder.desktop",
                                METAINFO_FILE };
    const QStringList arrPackages = QDir(BuildProgramFolder()).entryList({ "*.zip", "*.skn" }, QDir::Files);
    ASSERT_TRUE(arrPackages.contains(STARTUP_PACKAGE)) << arrPackages.join(u' ').toStdString();
    for (const QString& strPackage : arrPackages)
        arrExpected.append(SKINREC_INSTALL_DATADIR "/skinrecorder/" + strPackage);
    for (const QString& strPicture : FramePictureNames(BuildProgramFolder() + "/" + FRAME_FOLDER))
        arrExpected.append(SKINREC_INSTALL_DATADIR "/skinrecorder/Frame/" + strPicture);
    for (const int nSide : ICON_SIDES)
        arrExpected.append(
            QStringLiteral(SKINREC_INSTALL_DATADIR "/icons/hicolor/%1x%1/apps/org.skinrecorder.SkinRecorder.png")
                .arg(nSide));
    for (const QString& strProgram : PROGRAMS_WITH_PAGES)
        arrExpected.append(SKINREC_INSTALL_MANDIR "/man1/" + strProgram + ".1");
    for (const QString& strCatalogue :
         QDir(BuildProgramFolder() + "/" + TRANSLATION_FOLDER).entryList({ "*.qm" }, QDir::Files))
        arrExpected.append(SKINREC_INSTALL_DATADIR "/skinrecorder/" + TRANSLATION_FOLDER + "/" + strCatalogue);
    arrExpected.sort();

    EXPECT_EQ(FilesUnder(Installed(".")), arrExpected);
}

TEST_F(InstalledTree, ProgramStartedElsewhereLoadsItsSkinAndFindsItsFramePictures)
{
    const QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_LOGGING_RULES", "skinrecorder.startup.info=true");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(elsewhere.path());
    program.start(Program("skinrecorder"), {});
    ASSERT_TRUE(program.waitForStarted()) << program.errorString().toStdString();

    // The frame pictures are reported last, once the skin is in place.
    QString strLog;
    const QRegularExpression lastReport(QStringLiteral("frame pictures:[^\n]*\n"));
    const bool bReported = WaitUntil(
        [&] {
            strLog += QString::fromUtf8(program.readAllStandardError());
            return lastReport.match(strLog).hasMatch();
        },
        PROCESS_TIMEOUT_MS);
    program.kill();
    program.waitForFinished();

    ASSERT_TRUE(bReported) << strLog.toStdString();
    EXPECT_TRUE(strLog.contains("loaded the skin " + QDir(DataFolder()).filePath(STARTUP_PACKAGE)))
        << strLog.toStdString();
    const QStringList arrPictures = FramePictureNames(QDir(DataFolder()).filePath(FRAME_FOLDER));
    ASSERT_FALSE(arrPictures.isEmpty());
    EXPECT_TRUE(strLog.contains("frame pictures: " + arrPictures.join(", ") + "\n")) << strLog.toStdString();
}

TEST_F(InstalledTree, DesktopMetadataValidatesAndNamesTheProgramAndItsIcon)
{
    for (const CDesktopMetadata& metadata : DESKTOP_METADATA) {
        SCOPED_TRACE(metadata.pszFile);
        const QString strValidator = QStandardPaths::findExecutable(metadata.pszValidator);
        ASSERT_FALSE(strValidator.isEmpty()) << metadata.pszValidator << " is missing; scripts/setup installs it";
        const QString strFile = Installed(metadata.pszFile);

        const CRun validate =
            RunToEnd(strValidator, metadata.arrValidatorArguments + QStringList { strFile }, EnglishText());
        ASSERT_TRUE(validate.bFinished) << validate.strErrors.toStdString();
        EXPECT_EQ(validate.nExitCode, 0) << validate.strOutput.toStdString() << validate.strErrors.toStdString();
        EXPECT_EQ(Complaints(validate.strOutput, metadata.pszPassed).join(u'\n').toStdString(), "");

        const QStringList arrLines = TrimmedLines(strFile);
        ASSERT_FALSE(arrLines.isEmpty());
        for (const char* pszLine : metadata.arrLines)
            EXPECT_TRUE(arrLines.contains(pszLine)) << pszLine;
    }
}

TEST_F(InstalledTree, MetainfoReleaseIsTheVersionTheProgramPrints)
{
    const CRun version = RunToEnd(Program("skinrecorder"), { "--version" }, EnglishText());
    ASSERT_TRUE(version.bFinished);
    const QString strVersion = version.strOutput.trimmed().section(u' ', -1);
    ASSERT_FALSE(strVersion.isEmpty()) << version.strOutput.toStdString();

    const QString strMetainfo = TrimmedLines(Installed(METAINFO_FILE)).join(u'\n');
    const QRegularExpressionMatch release =
        QRegularExpression(QStringLiteral(R"re(<release version="([^"]*)" date="\d{4}-\d\d-\d\d")re"))
            .match(strMetainfo);
    ASSERT_TRUE(release.hasMatch()) << strMetainfo.toStdString();
    EXPECT_EQ(release.captured(1).toStdString(), strVersion.toStdString());
}

TEST_F(InstalledTree, IconIsARoundPictureAtEverySize)
{
    for (const int nSide : ICON_SIDES) {
        SCOPED_TRACE(nSide);
        const QImage img(Installed(
            QStringLiteral(SKINREC_INSTALL_DATADIR "/icons/hicolor/%1x%1/apps/org.skinrecorder.SkinRecorder.png")
                .arg(nSide)));
        ASSERT_EQ(img.size(), QSize(nSide, nSide));
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << "the corners lie outside the round button";
        EXPECT_EQ(qAlpha(img.pixel(nSide / 2, nSide / 2)), 255);
    }
}

TEST_F(InstalledTree, ManualPagesRenderAndNameTheOptionsHelpNames)
{
    QProcessEnvironment plainText = EnglishText();
    plainText.insert("MANWIDTH", "120");
    for (const QString& strProgram : PROGRAMS_WITH_PAGES) {
        SCOPED_TRACE(strProgram.toStdString());
        const CRun page = RunToEnd(
            "man", { "--warnings", "-l", Installed(SKINREC_INSTALL_MANDIR "/man1/" + strProgram + ".1") }, plainText);
        ASSERT_TRUE(page.bFinished) << page.strErrors.toStdString();
        EXPECT_EQ(page.nExitCode, 0);
        EXPECT_EQ(page.strErrors.toStdString(), "") << "groff warns";
        for (const char* pszSection : { "NAME", "SYNOPSIS", "DESCRIPTION", "EXIT STATUS", "EXAMPLES" })
            EXPECT_TRUE(page.strOutput.contains(QStringLiteral("\n%1\n").arg(pszSection))) << pszSection;

        const CRun help = RunToEnd(Program(strProgram), { "--help" });
        ASSERT_TRUE(help.bFinished);
        EXPECT_EQ(LongOptions(page.strOutput), LongOptions(help.strOutput));
    }
}

// An installed program finds its catalogues in the data folder, not beside
// itself.
TEST_F(InstalledTree, ProgramsSpeakTheUsersLanguage)
{
    QProcessEnvironment german = QProcessEnvironment::systemEnvironment();
    german.remove(QStringLiteral("LC_ALL"));
    german.remove(QStringLiteral("LANGUAGE"));
    german.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    const struct
    {
        const char* pszProgram;
        const char* pszUsage;
    } cases[] = {
        { "mpegrec", "Aufruf: mpegrec --list\n" },
        { "skintool", "Aufruf: skintool list PAKET\n" },
        { "skinrecorder", "Diese Optionen ausgeben und beenden.\n" },
    };
    for (const auto& programCase : cases) {
        SCOPED_TRACE(programCase.pszProgram);
        const CRun help = RunToEnd(Program(QString::fromLatin1(programCase.pszProgram)), { "--help" }, german);
        EXPECT_TRUE(help.strOutput.contains(QString::fromUtf8(programCase.pszUsage))) << help.strOutput.toStdString();
    }
}

} // namespace
