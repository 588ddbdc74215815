#include "skin/EntryDirectory.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "skin/ArchiveVolumes.h"
#include "skin/EntryName.h"
#include "skin/ExtraField.h"
#include "skin/LittleEndian.h"
#include "skin/ZipException.h"

using LittleEndian::Read16;
using LittleEndian::Read32;
using LittleEndian::Read64;

namespace {

const char END_SIGNATURE_BYTES[] = { 0x50, 0x4B, 0x05, 0x06 };
constexpr quint32 ZIP64_END_SIGNATURE = 0x06064B50;
constexpr quint32 ZIP64_LOCATOR_SIGNATURE = 0x07064B50;
// The ZIP64 end record's size field counts neither itself nor the
// signature.
constexpr quint64 ZIP64_END_RECORD_SIZE_FIELD = CEntryDirectory::ZIP64_END_RECORD_BYTES - 12;

[[noreturn]] void Fail(CZipException::ECause eCause, const CArchiveVolumes& volumes)
{
    throw CZipException(eCause, volumes.GetFilePath());
}

} // namespace

void CEntryDirectory::Clear()
{
    m_nEndRecordPosition = 0;
    m_nDirectoryEndPosition = 0;
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

void CEntryDirectory::Read(CArchiveVolumes& volumes, int nMaxRecords)
{
    Clear();
    LocateEndRecord(volumes);
    ReadEndRecord(volumes, nMaxRecords);
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

void CEntryDirectory::ReadEndRecord(CArchiveVolumes& volumes, int nMaxRecords)
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
    if (nCommentLength != 0) {
        m_arrComment.resize(nCommentLength);
        volumes.ReadWhole(m_arrComment.data(), nCommentLength);
    }
    m_nDirectoryEndPosition = m_nEndRecordPosition;
    ReadZip64EndRecord(volumes);

    volumes.SettleMode(m_nThisDisk);
    CheckDirectoryPosition(volumes);
    if ((m_nCentralDirectorySize == 0) != (m_nTotalEntries == 0))
        Fail(CZipException::eBadZipFile, volumes);
    volumes.SwitchTo(m_nCentralDirectoryDisk);
    if (m_nCentralDirectorySize != 0)
        ReadRecords(volumes, nMaxRecords);
}

void CEntryDirectory::ReadZip64EndRecord(CArchiveVolumes& volumes)
{
    const qint64 nLocatorPosition = m_nEndRecordPosition - ZIP64_LOCATOR_BYTES;
    if (nLocatorPosition < ZIP64_END_RECORD_BYTES)
        return;
    char locator[ZIP64_LOCATOR_BYTES];
    volumes.Seek(nLocatorPosition);
    volumes.ReadWhole(locator, ZIP64_LOCATOR_BYTES);
    if (Read32(locator, 0) != ZIP64_LOCATOR_SIGNATURE)
        return;
    // Writers put the ZIP64 end record right before its locator. Its stored
    // offset is not used to find it: that would miss bytes in front of the
    // archive, which are only known once the record is found.
    const qint64 nRecordPosition = nLocatorPosition - ZIP64_END_RECORD_BYTES;
    char record[ZIP64_END_RECORD_BYTES];
    volumes.Seek(nRecordPosition);
    volumes.ReadWhole(record, ZIP64_END_RECORD_BYTES);
    if (Read32(record, 0) != ZIP64_END_SIGNATURE || Read64(record, 4) != ZIP64_END_RECORD_SIZE_FIELD)
        Fail(CZipException::eBadZipFile, volumes);
    // Volume sets are read only without ZIP64 records: the disk holding
    // the record, this disk and the directory's disk must all be the first.
    if (Read32(locator, 4) != 0 || Read32(record, 16) != 0 || Read32(record, 20) != 0)
        Fail(CZipException::eBadZipFile, volumes);
    m_nThisDisk = 0;
    m_nCentralDirectoryDisk = 0;
    m_nTotalEntries = Read64(record, 32);
    m_nCentralDirectorySize = Read64(record, 40);
    m_nCentralDirectoryOffset = Read64(record, 48);
    m_nDirectoryEndPosition = nRecordPosition;
}

void CEntryDirectory::CheckDirectoryPosition(const CArchiveVolumes& volumes)
{
    // In a volume set the directory lies in a volume of its own; offsets
    // are that volume's, with nothing in front of them.
    if (volumes.GetMode() != CArchiveVolumes::EVolumeMode::SingleFile) {
        m_nBytesBefore = 0;
        return;
    }
    // Compared without sums: hostile 64-bit values must not wrap round
    // into the file.
    const auto nDirectoryEnd = quint64(m_nDirectoryEndPosition);
    if (m_nCentralDirectoryOffset > nDirectoryEnd
        || m_nCentralDirectorySize > nDirectoryEnd - m_nCentralDirectoryOffset)
        Fail(CZipException::eBadZipFile, volumes);
    m_nBytesBefore = m_nDirectoryEndPosition - qint64(m_nCentralDirectoryOffset + m_nCentralDirectorySize);
}

void CEntryDirectory::ReadRecords(CArchiveVolumes& volumes, int nMaxRecords)
{
    volumes.Seek(qint64(m_nCentralDirectoryOffset) + m_nBytesBefore);
    m_arrRecords.clear();
    m_nTotalUncompressedBytes = 0;
    // The count is not trusted for any reservation: every record must be
    // read from the file, and lie inside the directory, before it takes
    // memory.
    auto nBytesLeft = qint64(m_nCentralDirectorySize);
    const quint64 nRecordsToRead = std::min<quint64>(m_nTotalEntries, nMaxRecords);
    for (quint64 i = 0; i < nRecordsToRead; ++i) {
        m_arrRecords.append(ReadRecord(volumes, nBytesLeft));
        const CEntryRecord& record = m_arrRecords.back();
        const quint64 nRoomLeft = std::numeric_limits<quint64>::max() - m_nTotalUncompressedBytes;
        if (!record.IsFolder())
            m_nTotalUncompressedBytes += std::min(record.m_nUncompressedSize, nRoomLeft);
    }
    // A count that disagrees with the directory's size would leave records
    // unread, and their files missing from a skin that unpacked "fine".
    if (nRecordsToRead == m_nTotalEntries && nBytesLeft != 0)
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
    if (!ExtraField::WidenFromZip64(
            record.m_arrExtra,
            { &record.m_nUncompressedSize, &record.m_nCompressedSize, &record.m_nLocalHeaderOffset }))
        Fail(CZipException::eBadZipFile, volumes);
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
