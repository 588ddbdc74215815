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
#include "version/ProjectVersion.h"

namespace {

// Exit codes; 64 is the usage error of sysexits.h.
constexpr int EXIT_OK = 0;
constexpr int EXIT_OPEN_FAILED = 1;
constexpr int EXIT_PROBLEMS_FOUND = 1;
constexpr int EXIT_EXTRACT_FAILED = 2;
constexpr int EXIT_NO_CENTRAL_DIRECTORY = 3;
constexpr int EXIT_USAGE = 64;

const char USAGE[] = "usage: skintool list PACKAGE\n"
                     "       skintool unpack [--force] PACKAGE FOLDER\n"
                     "       skintool check PACKAGE\n"
                     "       skintool --help\n"
                     "       skintool --version\n";

const char UNPACK_RULES[] = "unpack writes nothing through a symbolic link inside FOLDER, and replaces a file\n"
                            "that is already there only with --force\n";

const char EXIT_STATUSES[] = "exit status: 0 done, and check found no problem; 1 open failed, or check found\n"
                             "problems; 2 extract failed, or a file exists that unpack may not replace;\n"
                             "3 central directory not found; 64 usage error\n";

const QString FORCE_OPTION = QStringLiteral("--force");
const QStringList COMMANDS = { QStringLiteral("list"), QStringLiteral("unpack"), QStringLiteral("check") };

// One line naming what is wrong, and where to read how it is right: the
// whole usage would bury the mistake.
int Usage(const QString& strProblem)
{
    std::cerr << "skintool: " << qPrintable(strProblem) << "\nTry 'skintool --help'." << std::endl;
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
        return Usage(QStringLiteral("unknown option ") + Quoted(strWord));
    if (strCommand.isEmpty())
        return Usage(QStringLiteral("unknown command ") + Quoted(strWord));
    return Usage(QStringLiteral("too many arguments for ") + strCommand);
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
        std::cerr << "skintool: Open failed (" << exception.what() << ")" << std::endl;
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
        std::cerr << "skintool: " << qPrintable(FORCE_OPTION) << " replaces files that exist" << std::endl;
    return ExitCodeOf(eResult);
}

int Check(const QString& strPackage)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        std::cerr << "skintool: cannot create a temporary folder: " << qPrintable(folder.errorString()) << std::endl;
        return EXIT_PROBLEMS_FOUND;
    }
    CSkinArchive archive;
    CConsolePrompt prompt;
    // The folder is new and private, as the window's is: a package that
    // names one file twice is checked as the window loads it.
    if (UnpackSkin(archive, strPackage, folder.path(), prompt, EExistingFile::Replace) != EUnpackResult::Ok) {
        std::printf("%s: package cannot be unpacked\n", qPrintable(strPackage));
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
    const QCoreApplication application(argc, argv);
    QStringList arrArgs = QCoreApplication::arguments().mid(1);
    if (arrArgs.isEmpty())
        return Usage(QStringLiteral("no command given"));
    const QString strCommand = arrArgs[0];
    if (strCommand == u"--help" || strCommand == u"-h") {
        std::cout << USAGE << UNPACK_RULES << EXIT_STATUSES;
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
        return Usage(QStringLiteral("too few arguments for ") + strCommand);
    if (strCommand == u"list")
        return List(arrArgs[1]);
    if (strCommand == u"unpack")
        return Unpack(arrArgs[1], arrArgs[2], bForce ? EExistingFile::Replace : EExistingFile::Refuse);
    return Check(arrArgs[1]);
}
