#pragma once

#include <memory>
#include <vector>

#include <QByteArray>
#include <QString>

#include "skin/ArchiveVolumes.h"
#include "skin/EntryDirectory.h"
#include "skin/ExtractedFile.h"
#include "skin/ZipException.h"

// zlib's stream, kept out of this header: widgets that own a reader need
// not see zlib.
struct z_stream_s;

// Reader of skin packages (ZIP archives, one file or a set of numbered
// volume files): opens an archive, reads its whole central directory, and
// extracts entries one at a time, by index, below a folder. Every failure is
// a CZipException (or a CArchiveFileException from the file system), thrown
// by value.
//
// Not thread-safe; one reader per skinned window, used on the UI thread.
class CSkinArchive
{
public:
    // Bytes moved per ReadEntry call while extracting.
    static constexpr quint32 COPY_BUFFER_BYTES = 65535;
    // Compressed bytes read from the archive at a time.
    static constexpr quint32 READ_BUFFER_BYTES = 16384;
    // A skin is a few dozen bitmaps; packages beyond these limits are
    // refused during extraction, so a hostile one cannot fill the disk.
    static constexpr int MAX_ENTRIES = 4096;
    static constexpr qint64 MAX_UNPACKED_BYTES = qint64(256) * 1024 * 1024;

    CSkinArchive();
    ~CSkinArchive();
    CSkinArchive(const CSkinArchive&) = delete;
    CSkinArchive& operator=(const CSkinArchive&) = delete;

    // Opens an existing archive read-only and reads its central directory.
    // Does nothing when an archive is already open. A failure can leave the
    // file open; Close releases it.
    void Open(const QString& strPath);
    // The number of entries, 0 while closed.
    int GetEntryCount() const;
    // Throws eTooLarge for a package beyond MAX_ENTRIES or
    // MAX_UNPACKED_BYTES; of such a package only the first records beyond
    // the limit are read.
    void CheckLimits() const;
    // The central record of entry nIndex (0 <= nIndex < GetEntryCount()).
    const CEntryRecord& GetEntryRecord(int nIndex) const;
    const QByteArray& GetComment() const { return m_directory.GetComment(); }

    // Extracts entry nIndex below strFolder, recreating its stored folders,
    // with its time stamp and permissions. Returns false for an entry it
    // refuses without error (encrypted, symbolic link, a name that climbs
    // out of the folder, an index out of range), for one not read to its
    // end, and when the time stamp or permissions could not be set. Throws
    // on a damaged entry, on a package beyond MAX_ENTRIES or
    // MAX_UNPACKED_BYTES, on a symbolic link or file inside strFolder where
    // the entry's path needs a folder (links there are never followed), and
    // on a file already at the entry's name unless eExisting is Replace.
    // Only a whole entry reaches its name: after a failure nothing of it is
    // there, and a file it was to replace stays.
    bool ExtractEntry(quint16 nIndex, const QString& strFolder, EExistingFile eExisting = EExistingFile::Refuse);

    // Closes whatever state the reader is in, without checking anything,
    // after an error as after success.
    void Close();

    // Streaming access to one entry at a time, read strictly forwards.
    // OpenEntry refuses (false) an index out of range, a second open entry
    // and an encrypted entry (whatever its method); throws when the local
    // header disagrees with the central record, and eUnsupportedMethod when
    // the method is not stored or deflated.
    bool OpenEntry(quint16 nIndex);
    // Fills pBuffer with up to nSize bytes of the entry's data; returns the
    // number produced, 0 at the end. Data that ends before its declared
    // size, or inflates beyond it, throws; after a throw every call throws
    // the same cause until the entry is closed.
    quint32 ReadEntry(char* pBuffer, quint32 nSize);
    // Ends the open entry: 1 success, -1 the entry was not read to its end,
    // 0 no entry was open. Throws eBadCrc or, for a data descriptor that
    // disagrees with the central record, eBadZipFile.
    int CloseEntry();

private:
    enum class EEntryState { None, Extracting };

    // zlib's allocation functions, on the reader's block list.
    static void* Allocate(void* pOpaque, unsigned int nItems, unsigned int nSize);
    static void Free(void* pOpaque, void* pAddress);
    void ReleaseBlocks();

    // Creates the file the open entry is extracted to, strRelative below
    // strFolder, with the folders on its way; when that fails, closes the
    // entry and throws on.
    std::unique_ptr<CExtractedFile> CreateFileForOpenEntry(const QString& strFolder, const QString& strRelative,
                                                           EExistingFile eExisting);
    void WriteOpenEntry(CExtractedFile& file);
    // Reads the entry's local header and extra field; throws eBadZipFile
    // when they disagree with its central record.
    void CheckLocalHeader(const CEntryRecord& record);
    bool LocalSizesMatch(const char* pHeader, const CEntryRecord& record) const;
    void FillInput();
    quint32 CopyStored(char* pOutput, quint32 nRoom);
    quint32 Inflate(char* pOutput, quint32 nRoom, bool& bEnded);
    quint32 ReadEntryData(char* pBuffer, quint32 nSize);
    void CheckDataDescriptor(const CEntryRecord& record);
    [[noreturn]] void Fail(CZipException::ECause eCause) const;

    CArchiveVolumes m_volumes;
    CEntryDirectory m_directory;
    // The open entry, while m_eEntryState is Extracting.
    int m_nCurrentEntry = -1;
    QByteArray m_arrLocalExtra;
    EEntryState m_eEntryState = EEntryState::None;
    // The cause of the open entry's failed read, repeated by every later
    // read; 0 while reads succeed.
    int m_nFailedCause = 0;

    // One inflate stream, reused for every deflated entry.
    std::unique_ptr<z_stream_s> m_pStream;
    quint64 m_nCompressedLeft = 0;
    quint64 m_nUncompressedLeft = 0;
    quint32 m_nRunningCrc = 0;
    std::unique_ptr<char[]> m_pReadBuffer;
    // Blocks the inflater holds right now. Closing after an error never
    // ends the inflate stream, so this list is what gets its memory back
    // when an exception leaves an entry half-read.
    std::vector<void*> m_arrBlocks;
};
