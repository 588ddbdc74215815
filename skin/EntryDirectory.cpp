#include "skin/EntryDirectory.h"

#include <algorithm>
#include <vector>

#include "skin/ArchiveVolumes.h"
#include "skin/EntryName.h"
#include "skin/ExtraField.h"
#include "skin/LittleEndian.h"
#include "skin/ZipException.h"

using LittleEndian::Read16;
using LittleEndian::Read32;

namespace {

const char END_SIGNATURE_BYTES[] = { 0x50, 0x4B, 0x05, 0x06 };

[[noreturn]] void Fail(CZipException::ECause eCause, const CArchiveVolumes& volumes)
{
    throw CZipException(eCause, volumes.GetFilePath());
}

} // namespace

void CEntryDirectory::Clear()
{
    m_nEndRecordPosition = 0;
    m_nBytesBefore = 0;
    m_nThisDisk = 0;
    m_nCentralDirectoryDisk = 0;
    m_nTotalEntries = 0;
    m_nCentralDirectorySize = 0;
    m_nCentralDirectoryOffset = 0;
    m_arrComment.clear();
    m_arrRecords.clear();
    m_nTotalUncompressedBytes = 0;
}

void CEntryDirectory::Read(CArchiveVolumes& volumes)
{
    Clear();
    LocateEndRecord(volumes);
    ReadEndRecord(volumes);
}

void CEntryDirectory::LocateEndRecord(CArchiveVolumes& volumes)
{
    const qint64 nLength = volumes.GetLength();
    const qint64 nRange = std::min<qint64>(nLength, END_RECORD_BYTES + MAX_COMMENT_BYTES);
    std::vector<char> arrWindow(SEARCH_WINDOW_BYTES);
    qint64 nDone = 0;
    qint64 nReach = 0;
    do {
        nReach = std::min<qint64>(nDone + SEARCH_WINDOW_BYTES, nRange);
        const qint64 nBytes = nReach - nDone;
        volumes.Seek(nLength - nReach);
        if (volumes.ReadCurrent(arrWindow.data(), nBytes) != nBytes)
            Fail(CZipException::eBadZipFile, volumes);
        // The hit nearest to the end of the file wins.
        for (qint64 nPos = nBytes - qint64(sizeof(END_SIGNATURE_BYTES)); nPos >= 0; --nPos) {
            if (std::equal(std::begin(END_SIGNATURE_BYTES), std::end(END_SIGNATURE_BYTES), &arrWindow[nPos])) {
                m_nEndRecordPosition = nLength - nReach + nPos;
                return;
            }
        }
        nDone = nReach - SEARCH_WINDOW_OVERLAP;
    } while (nReach < nRange);
    Fail(CZipException::eCdirNotFound, volumes);
}

void CEntryDirectory::ReadEndRecord(CArchiveVolumes& volumes)
{
    char record[END_RECORD_BYTES];
    volumes.Seek(m_nEndRecordPosition);
    volumes.ReadWhole(record, END_RECORD_BYTES);
    m_nThisDisk = Read16(record, 4);
    m_nCentralDirectoryDisk = Read16(record, 6);
    m_nTotalEntries = Read16(record, 10);
    m_nCentralDirectorySize = Read32(record, 12);
    m_nCentralDirectoryOffset = Read32(record, 16);
    const quint16 nCommentLength = Read16(record, 20);

    volumes.SettleMode(m_nThisDisk);
    const bool bSingleFile = volumes.GetMode() == CArchiveVolumes::EVolumeMode::SingleFile;
    // 64-bit sums: a hostile offset must not wrap round into the file.
    const qint64 nCentralDirectoryEnd = qint64(m_nCentralDirectoryOffset) + m_nCentralDirectorySize;
    if (bSingleFile && m_nEndRecordPosition < nCentralDirectoryEnd)
        Fail(CZipException::eBadZipFile, volumes);
    if (nCommentLength != 0) {
        m_arrComment.resize(nCommentLength);
        volumes.ReadWhole(m_arrComment.data(), nCommentLength);
    }
    m_nBytesBefore = bSingleFile ? m_nEndRecordPosition - nCentralDirectoryEnd : 0;
    if ((m_nCentralDirectorySize == 0) != (m_nTotalEntries == 0))
        Fail(CZipException::eBadZipFile, volumes);
    volumes.SwitchTo(m_nCentralDirectoryDisk);
    if (m_nCentralDirectorySize != 0)
        ReadRecords(volumes);
}

void CEntryDirectory::ReadRecords(CArchiveVolumes& volumes)
{
    volumes.Seek(m_nCentralDirectoryOffset + m_nBytesBefore);
    m_arrRecords.clear();
    m_nTotalUncompressedBytes = 0;
    // The count is not trusted for any reservation: every record must be
    // read from the file, and lie inside the directory, before it takes
    // memory.
    qint64 nBytesLeft = m_nCentralDirectorySize;
    for (int i = 0; i < m_nTotalEntries; ++i) {
        m_arrRecords.append(ReadRecord(volumes, nBytesLeft));
        const CEntryRecord& record = m_arrRecords.back();
        if (!record.IsFolder())
            m_nTotalUncompressedBytes += record.m_nUncompressedSize;
    }
    // A count that disagrees with the directory's size would leave records
    // unread, and their files missing from a skin that unpacked "fine".
    if (nBytesLeft != 0)
        Fail(CZipException::eBadZipFile, volumes);
}

CEntryRecord CEntryDirectory::ReadRecord(CArchiveVolumes& volumes, qint64& nBytesLeft)
{
    char fixed[CEntryRecord::FIXED_BYTES];
    if (nBytesLeft < CEntryRecord::FIXED_BYTES)
        Fail(CZipException::eBadZipFile, volumes);
    volumes.ReadWhole(fixed, CEntryRecord::FIXED_BYTES);
    if (Read32(fixed, 0) != CEntryRecord::SIGNATURE)
        Fail(CZipException::eBadZipFile, volumes);
    CEntryRecord record;
    record.m_nVersionMadeBy = Read16(fixed, 4);
    record.m_nFlags = Read16(fixed, 8);
    record.m_nMethod = Read16(fixed, 10);
    record.m_nDosTime = Read16(fixed, 12);
    record.m_nDosDate = Read16(fixed, 14);
    record.m_nCrc32 = Read32(fixed, 16);
    record.m_nCompressedSize = Read32(fixed, 20);
    record.m_nUncompressedSize = Read32(fixed, 24);
    record.m_nNameLength = Read16(fixed, 28);
    record.m_nExtraLength = Read16(fixed, 30);
    record.m_nCommentLength = Read16(fixed, 32);
    record.m_nDiskNumberStart = Read16(fixed, 34);
    record.m_nExternalAttributes = Read32(fixed, 38);
    record.m_nLocalHeaderOffset = Read32(fixed, 42);

    nBytesLeft -= CEntryRecord::FIXED_BYTES + record.m_nNameLength + record.m_nExtraLength + record.m_nCommentLength;
    if (nBytesLeft < 0)
        Fail(CZipException::eBadZipFile, volumes);
    record.m_arrRawName.resize(record.m_nNameLength);
    volumes.ReadWhole(record.m_arrRawName.data(), record.m_nNameLength);
    record.m_arrExtra.resize(record.m_nExtraLength);
    volumes.ReadWhole(record.m_arrExtra.data(), record.m_nExtraLength);
    // Nothing shows an entry's comment; it is only read past.
    QByteArray arrComment(record.m_nCommentLength, Qt::Uninitialized);
    volumes.ReadWhole(arrComment.data(), record.m_nCommentLength);
    record.m_strName = DecodeName(record);
    return record;
}

QString CEntryDirectory::DecodeName(const CEntryRecord& record)
{
    if ((record.m_nFlags & CEntryRecord::FLAG_UTF8_NAME) != 0)
        return EntryName::Decode(record.m_arrRawName, true);
    const std::optional<QByteArray> arrUtf8 = ExtraField::UnicodePath(record.m_arrExtra, record.m_arrRawName);
    return arrUtf8 ? EntryName::Decode(*arrUtf8, true) : EntryName::Decode(record.m_arrRawName, false);
}
