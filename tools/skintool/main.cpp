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
                     "       skintool --help\n";

const char UNPACK_RULES[] = "unpack writes nothing through a symbolic link inside FOLDER, and replaces a file\n"
                            "that is already there only with --force\n";

const char EXIT_STATUSES[] = "exit status: 0 done, and check found no problem; 1 open failed, or check found\n"
                             "problems; 2 extract failed, or a file exists that unpack may not replace;\n"
                             "3 central directory not found; 64 usage error\n";

const QString FORCE_OPTION = QStringLiteral("--force");

int Usage(const char* pszProblem)
{
    std::cerr << "skintool: " << pszProblem << "\n" << USAGE;
    return EXIT_USAGE;
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
        return Usage("no command given");
    const QString strCommand = arrArgs[0];
    if (strCommand == u"--help" || strCommand == u"-h") {
        std::cout << USAGE << UNPACK_RULES << EXIT_STATUSES;
        return EXIT_OK;
    }
    if (strCommand == u"list" && arrArgs.size() == 2)
        return List(arrArgs[1]);
    if (strCommand == u"unpack") {
        const bool bForce = arrArgs.removeOne(FORCE_OPTION);
        if (arrArgs.size() == 3)
            return Unpack(arrArgs[1], arrArgs[2], bForce ? EExistingFile::Replace : EExistingFile::Refuse);
    }
    if (strCommand == u"check" && arrArgs.size() == 2)
        return Check(arrArgs[1]);
    if (strCommand == u"list" || strCommand == u"unpack" || strCommand == u"check")
        return Usage("wrong number of arguments");
    return Usage("unknown command");
}
