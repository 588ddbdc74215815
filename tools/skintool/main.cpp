// skintool: lists, unpacks and checks skin packages the way the skinned
// window does, for skin authors and scripts.

#include <cstdio>
#include <iostream>

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include "skin/SkinArchive.h"
#include "skin/SkinUnpacker.h"
#include "tools/skintool/ConsolePrompt.h"
#include "tools/skintool/SkinValidator.h"
#include "translations/ProgramTranslations.h"
#include "version/ProjectVersion.h"

namespace {

// Exit codes; 64 is the usage error of sysexits.h.
constexpr int EXIT_OK = 0;
constexpr int EXIT_OPEN_FAILED = 1;
constexpr int EXIT_PROBLEMS_FOUND = 1;
constexpr int EXIT_EXTRACT_FAILED = 2;
constexpr int EXIT_NO_CENTRAL_DIRECTORY = 3;
constexpr int EXIT_USAGE = 64;

// The context of skintool's texts in the catalogue.
class CSkintool
{
    Q_DECLARE_TR_FUNCTIONS(CSkintool)
};

// Paragraph by paragraph, so that a translation follows each on its own.
const char* const HELP[] = {
    QT_TRANSLATE_NOOP("CSkintool",
                      "usage: skintool list PACKAGE\n"
                      "       skintool unpack [--force] PACKAGE FOLDER\n"
                      "       skintool check PACKAGE\n"
                      "       skintool --help\n"
                      "       skintool --version\n"),
    QT_TRANSLATE_NOOP("CSkintool",
                      "unpack writes nothing through a symbolic link inside FOLDER, and replaces a file\n"
                      "that is already there only with --force\n"),
    QT_TRANSLATE_NOOP("CSkintool",
                      "exit status: 0 done, and check found no problem; 1 open failed, or check found\n"
                      "problems; 2 extract failed, or a file exists that unpack may not replace;\n"
                      "3 central directory not found; 64 usage error\n"),
};

const QString FORCE_OPTION = QStringLiteral("--force");
const QStringList COMMANDS = { QStringLiteral("list"), QStringLiteral("unpack"), QStringLiteral("check") };

// One line naming what is wrong, and where to read how it is right: the
// whole usage would bury the mistake.
int Usage(const QString& strProblem)
{
    std::cerr << "skintool: " << qPrintable(strProblem) << "\n"
              << qPrintable(CSkintool::tr("Try 'skintool --help'.")) << std::endl;
    return EXIT_USAGE;
}

QString Quoted(const QString& strWord)
{
    return u'\'' + strWord + u'\'';
}

// A word where a command or an operand belongs.
int UnknownWord(const QString& strWord, const QString& strCommand)
{
    if (strWord.startsWith(u'-'))
        return Usage(CSkintool::tr("unknown option %1").arg(Quoted(strWord)));
    if (strCommand.isEmpty())
        return Usage(CSkintool::tr("unknown command %1").arg(Quoted(strWord)));
    return Usage(CSkintool::tr("too many arguments for %1").arg(strCommand));
}

int List(const QString& strPackage)
{
    CSkinArchive archive;
    try {
        archive.Open(strPackage);
        // Of a package beyond the limits only the first records are read:
        // its listing would be cut short.
        archive.CheckLimits();
    } catch (const std::exception& exception) {
        std::cerr << "skintool: "
                  << qPrintable(CSkintool::tr("Open failed (%1)").arg(QString::fromLocal8Bit(exception.what())))
                  << std::endl;
        return EXIT_OPEN_FAILED;
    }
    for (int i = 0; i < archive.GetEntryCount(); ++i) {
        const CEntryRecord& record = archive.GetEntryRecord(i);
        std::printf("%5d %10llu %-9s %s\n", i, static_cast<unsigned long long>(record.m_nUncompressedSize),
                    qPrintable(CEntryRecord::MethodName(record.m_nMethod)), record.m_strName.toUtf8().constData());
    }
    archive.Close();
    return EXIT_OK;
}

int ExitCodeOf(EUnpackResult eResult)
{
    switch (eResult) {
    case EUnpackResult::Ok:
        return EXIT_OK;
    case EUnpackResult::OpenFailed:
        return EXIT_OPEN_FAILED;
    case EUnpackResult::ExtractFailed:
    case EUnpackResult::FileExists:
        return EXIT_EXTRACT_FAILED;
    case EUnpackResult::NoCentralDirectory:
        return EXIT_NO_CENTRAL_DIRECTORY;
    }
    return EXIT_OPEN_FAILED;
}

int Unpack(const QString& strPackage, const QString& strFolder, EExistingFile eExisting)
{
    CSkinArchive archive;
    CConsolePrompt prompt;
    const EUnpackResult eResult = UnpackSkin(archive, strPackage, strFolder, prompt, eExisting);
    if (eResult == EUnpackResult::FileExists)
        std::cerr << "skintool: " << qPrintable(CSkintool::tr("%1 replaces files that exist").arg(FORCE_OPTION))
                  << std::endl;
    return ExitCodeOf(eResult);
}

int Check(const QString& strPackage)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::cerr << "skintool: "
                  << qPrintable(CSkintool::tr("cannot create a temporary folder: %1").arg(folder.errorString()))
                  << std::endl;
        return EXIT_PROBLEMS_FOUND;
    }
    CSkinArchive archive;
    CConsolePrompt prompt;
    // The folder is new and private, as the window's is: a package that
    // names one file twice is checked as the window loads it.
    if (UnpackSkin(archive, strPackage, folder.path(), prompt, EExistingFile::Replace) != EUnpackResult::Ok) {
        std::printf("%s\n", qPrintable(CSkintool::tr("%1: package cannot be unpacked").arg(strPackage)));
        return EXIT_PROBLEMS_FOUND;
    }
    const QStringList arrProblems = ValidateSkinFolder(folder.path());
    for (const QString& strProblem : arrProblems)
        std::printf("%s\n", strProblem.toUtf8().constData());
    return arrProblems.isEmpty() ? EXIT_OK : EXIT_PROBLEMS_FOUND;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    // The skin reader's messages come through the console prompt.
    ProgramTranslations::Install(application, { QStringLiteral("skintool"), QStringLiteral("skinrec_package") });
    QStringList arrArgs = QCoreApplication::arguments().mid(1);
    if (arrArgs.isEmpty())
        return Usage(CSkintool::tr("no command given"));
    const QString strCommand = arrArgs[0];
    if (strCommand == u"--help" || strCommand == u"-h") {
        for (const char* pszParagraph : HELP)
            std::cout << qPrintable(CSkintool::tr(pszParagraph));
        return EXIT_OK;
    }
    if (strCommand == u"--version") {
        std::cout << "skintool (SkinRecorder) " << SKINREC_VERSION << std::endl;
        return EXIT_OK;
    }
    if (!COMMANDS.contains(strCommand))
        return UnknownWord(strCommand, QString());
    const bool bForce = strCommand == u"unpack" && arrArgs.removeOne(FORCE_OPTION);
    const qsizetype nOperands = strCommand == u"unpack" ? 2 : 1;
    for (qsizetype i = 1; i < arrArgs.size(); ++i) {
        if (arrArgs[i].startsWith(u"--") || i > nOperands)
            return UnknownWord(arrArgs[i], strCommand);
    }
    if (arrArgs.size() <= nOperands)
        return Usage(CSkintool::tr("too few arguments for %1").arg(strCommand));
    if (strCommand == u"list")
        return List(arrArgs[1]);
    if (strCommand == u"unpack")
        return Unpack(arrArgs[1], arrArgs[2], bForce ? EExistingFile::Replace : EExistingFile::Refuse);
    return Check(arrArgs[1]);
}
