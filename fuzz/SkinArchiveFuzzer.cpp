// Opens the input as a skin package and extracts every entry, as unpacking
// a skin does, into a private folder emptied after each input; a name given
// twice replaces its first file.

#include <cstddef>
#include <cstdint>
#include <exception>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "skin/SkinArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const QTemporaryDir workFolder;
    const QString strPackage = workFolder.filePath("input.skn");
    const QString strFolder = workFolder.filePath("out");
    {
        QFile file(strPackage);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(pData), qint64(nSize));
    }
    CSkinArchive archive;
    try {
        archive.Open(strPackage);
        for (int i = 0; i < archive.GetEntryCount(); ++i)
            archive.ExtractEntry(quint16(i), strFolder, EExistingFile::Replace);
    } catch (const std::exception&) {
        // Damaged inputs are expected; only crashes and leaks are findings.
    }
    archive.Close();
    QDir(strFolder).removeRecursively();
    return 0;
}
