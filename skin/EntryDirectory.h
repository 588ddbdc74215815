#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include "skin/EntryRecord.h"

class CArchiveVolumes;

// The archive's central directory, read whole when the archive is opened:
// the end record's values and every entry's record, in stored order (an
// entry's index is its position).
class CEntryDirectory
{
public:
    static constexpr int END_RECORD_BYTES = 22;
    static constexpr int MAX_COMMENT_BYTES = 65535;
    // The end record is searched backwards in windows of this size, over at
    // most the record plus the longest comment.
    static constexpr int SEARCH_WINDOW_BYTES = 32768;
    // Successive windows overlap by this much, so a signature cut by a
    // window edge is still found.
    static constexpr int SEARCH_WINDOW_OVERLAP = 3;

    // The ZIP64 end record (56 bytes, no extensible data) and its locator,
    // which lies right before the end record.
    static constexpr int ZIP64_END_RECORD_BYTES = 56;
    static constexpr int ZIP64_LOCATOR_BYTES = 20;

    // Finds and reads the end record (and the ZIP64 end record when there
    // is one), then every record they announce, but no more than
    // nMaxRecords: a package announcing more is refused by its count, and
    // its directory need not be held. Throws CZipException (eCdirNotFound,
    // eBadZipFile).
    void Read(CArchiveVolumes& volumes, int nMaxRecords);
    void Clear();

    int GetCount() const { return int(m_arrRecords.size()); }
    const CEntryRecord& GetRecord(int nIndex) const { return m_arrRecords[nIndex]; }
    // Sum of the declared sizes of every file entry, held at the largest
    // value it can take rather than wrapping round.
    quint64 GetTotalUncompressedBytes() const { return m_nTotalUncompressedBytes; }
    // Length of anything in front of the archive proper (a program stub);
    // every stored offset is shifted by it.
    qint64 GetBytesBefore() const { return m_nBytesBefore; }
    const QByteArray& GetComment() const { return m_arrComment; }

private:
    void LocateEndRecord(CArchiveVolumes& volumes);
    void ReadEndRecord(CArchiveVolumes& volumes, int nMaxRecords);
    // Takes the counts, sizes and offsets of the ZIP64 end record when its
    // locator is there.
    void ReadZip64EndRecord(CArchiveVolumes& volumes);
    void CheckDirectoryPosition(const CArchiveVolumes& volumes);
    void ReadRecords(CArchiveVolumes& volumes, int nMaxRecords);
    // Reads one record, which must fit in the nBytesLeft bytes of the
    // directory still unread; takes its length from them.
    static CEntryRecord ReadRecord(CArchiveVolumes& volumes, qint64& nBytesLeft);
    // The name a record stands for: its UTF-8 name, else the UTF-8 form
    // Info-ZIP adds beside a name stored in the DOS code page, else that
    // name decoded from the code page.
    static QString DecodeName(const CEntryRecord& record);

    qint64 m_nEndRecordPosition = 0;
    // Where the central directory ends: at the ZIP64 end record when there
    // is one, else at the end record.
    qint64 m_nDirectoryEndPosition = 0;
    qint64 m_nBytesBefore = 0;
    quint16 m_nThisDisk = 0;
    quint16 m_nCentralDirectoryDisk = 0;
    quint64 m_nTotalEntries = 0;
    quint64 m_nCentralDirectorySize = 0;
    quint64 m_nCentralDirectoryOffset = 0;
    QByteArray m_arrComment;
    QList<CEntryRecord> m_arrRecords;
    quint64 m_nTotalUncompressedBytes = 0;
};
