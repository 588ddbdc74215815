// Opens the input as a skin package and extracts every entry, as unpacking
// a skin does, into a private folder emptied after each input; a name given
// twice replaces its first file.

#include <cstddef>
#include <cstdint>
#include <exception>

#include <QDir>
#include <QFileInfo>

#include "fuzz/FuzzInput.h"
#include "skin/SkinArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    const QString strPackage = WriteFuzzInput(QStringLiteral("input.skn"), pData, nSize);
    if (strPackage.isEmpty())
        return 0;
    const QString strFolder = QFileInfo(strPackage).dir().filePath(QStringLiteral("out"));
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
