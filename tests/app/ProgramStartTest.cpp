#include <gtest/gtest.h>

#include <csignal>
#include <iterator>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/ConverterDlg.h"
#include "app/QuitSignals.h"
#include "skin/SkinPackage.h"
#include "tests/common/ProgramSkin.h"

// The program itself, started as a user starts it.

namespace {

constexpr int START_TIMEOUT_MS = 30000;

QString ProgramPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/skinrecorder");
}

QStringList EveryPackage()
{
    QStringList arrPackages { CConverterDlg::DEFAULT_SKIN };
    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands())
        arrPackages.append(command.strPackage);
    return arrPackages;
}

// The private temporary folders the program has made in strFolder.
QStringList ProgramTempFolders(const QString& strFolder)
{
    return QDir(strFolder).entryList({ QStringLiteral("skinrecorder-*") }, QDir::Dirs | QDir::Hidden);
}

struct CQuitCase
{
    const char* pszWhat;
    // Packages damaged in the current directory, which is searched first:
    // each asks whether to retry.
    QStringList arrDamaged;
    int nExitCode;
};

// A quit signal while the start-up skin asked something used to kill the
// program, leaving its temporary folder with the extracted skin behind.
TEST(ProgramStart, AQuitSignalDuringAStartupQuestionEndsCleanly)
{
    if (!QFileInfo(ProgramPath()).isExecutable())
        GTEST_SKIP() << "the program is not built beside the test";
    const CQuitCase cases[] = {
        // The next package loads, but the window is never shown.
        { "the start-up package damaged", { CConverterDlg::DEFAULT_SKIN }, 0 },
        // No skin at all, which the status says however the program ended.
        { "every package damaged", EveryPackage(), 1 },
    };
    for (const CQuitCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QDir rootDir(root.path());
        ASSERT_TRUE(rootDir.mkpath("cwd") && rootDir.mkpath("tmp"));
        for (const QString& strPackage : c.arrDamaged) {
            QFile package(rootDir.filePath("cwd/" + strPackage));
            ASSERT_TRUE(package.open(QIODevice::WriteOnly));
            package.write("not a zip archive");
        }
        QProcess program;
        program.setWorkingDirectory(rootDir.filePath("cwd"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TMPDIR", rootDir.filePath("tmp"));
        program.setProcessEnvironment(environment);
        program.start(ProgramPath(), {});
        ASSERT_TRUE(program.waitForStarted());
        // The package is being unpacked into its folder, and the question follows.
        ASSERT_TRUE(
            WaitUntil([&] { return !ProgramTempFolders(rootDir.filePath("tmp")).isEmpty(); }, START_TIMEOUT_MS));

        ASSERT_EQ(kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);

        ASSERT_TRUE(program.waitForFinished(START_TIMEOUT_MS));
        const QString strErrors = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.nExitCode) << strErrors.toStdString();
        EXPECT_EQ(ProgramTempFolders(rootDir.filePath("tmp")), QStringList());
        EXPECT_EQ(strErrors.contains(CConverterDlg::NO_SKIN), c.nExitCode != 0) << strErrors.toStdString();
    }
}

// A signal before the application object exists is noted, and reported as
// soon as there is an event loop to report it to.
TEST(ProgramStart, AQuitSignalBeforeTheApplicationIsReportedByTheFirstInstance)
{
    constexpr int QUIT_SIGNALS[] = { SIGTERM, SIGINT, SIGHUP };
    struct sigaction previous[std::size(QUIT_SIGNALS)] = {};
    for (std::size_t nIndex = 0; nIndex < std::size(QUIT_SIGNALS); ++nIndex)
        ASSERT_EQ(sigaction(QUIT_SIGNALS[nIndex], nullptr, &previous[nIndex]), 0);
    CQuitSignals::CatchBeforeApplication();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    {
        CQuitSignals quitSignals;
        QSignalSpy received(&quitSignals, &CQuitSignals::Received);
        ASSERT_TRUE(quitSignals.HasReceived());
        ASSERT_TRUE(received.wait(START_TIMEOUT_MS));
        EXPECT_EQ(received.first().first().toInt(), SIGTERM);
    }
    EXPECT_FALSE(CQuitSignals().HasReceived()) << "told once only";
    for (std::size_t nIndex = 0; nIndex < std::size(QUIT_SIGNALS); ++nIndex)
        sigaction(QUIT_SIGNALS[nIndex], &previous[nIndex], nullptr);
}

struct CCommandLineCase
{
    QStringList arrArguments;
    int nExitCode;
    // What the program prints on standard output, or on standard error.
    const char* pszOutput;
    const char* pszErrors;
};

// The program used to ignore its command line and open the window.
TEST(ProgramStart, AnswersItsCommandLineWithoutADisplay)
{
    if (!QFileInfo(ProgramPath()).isExecutable())
        GTEST_SKIP() << "the program is not built beside the test";
    const CCommandLineCase cases[] = {
        { { "--help" },
          0,
          "^Usage: skinrecorder \\[options\\] \\[FILE\\]\\n(.|\\n)*-v, --version(.|\\n)*--toggle",
          "^$" },
        { { "-h" }, 0, "-h, --help", "^$" },
        { { "--version" }, 0, "^skinrecorder \\(SkinRecorder\\) \\d+(\\.\\d+)+\\n$", "^$" },
        // Qt's own options still work; what is left is a mistake.
        { { "-platform", "offscreen", "--bogus" }, 2, "^$", "skinrecorder: Unknown option 'bogus'" },
        { { "-platform", "offscreen", "extra" }, 2, "^$", "skinrecorder: Unexpected argument 'extra'" },
        // The commands for the running program: one at a time, FILE only for
        // --record, and no option of Qt's, which only a window would take.
        { { "--stop", "--play" }, 2, "^$", "skinrecorder: Give one command at a time" },
        { { "--stop", "take.mpg" }, 2, "^$", "skinrecorder: Unexpected argument 'take.mpg'" },
        { { "--record", "a.mpg", "b.mpg" }, 2, "^$", "skinrecorder: Unexpected argument 'b.mpg'" },
        { { "-platform", "offscreen", "--status" }, 2, "^$", "skinrecorder: Unknown option 'platform'" },
    };
    for (const CCommandLineCase& c : cases) {
        SCOPED_TRACE(c.arrArguments.join(' ').toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* pszDisplay : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            environment.remove(pszDisplay);
        program.setProcessEnvironment(environment);
        program.start(ProgramPath(), c.arrArguments);
        ASSERT_TRUE(program.waitForFinished(START_TIMEOUT_MS));
        const QString strOutput = QString::fromLocal8Bit(program.readAllStandardOutput());
        // Qt's own notes about the environment are no concern here.
        const QString strErrors = QString::fromLocal8Bit(program.readAllStandardError())
                                      .remove(QRegularExpression(QStringLiteral("^QStandardPaths: .*\\n"),
                                                                 QRegularExpression::MultilineOption));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.nExitCode);
        EXPECT_TRUE(QRegularExpression(c.pszOutput).match(strOutput).hasMatch()) << strOutput.toStdString();
        EXPECT_TRUE(QRegularExpression(c.pszErrors).match(strErrors).hasMatch()) << strErrors.toStdString();
    }
}

} // namespace
