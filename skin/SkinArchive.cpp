#include "skin/SkinArchive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <zlib.h>

#include "skin/EntryName.h"
#include "skin/ExtraField.h"
#include "skin/LittleEndian.h"

using LittleEndian::Read16;
using LittleEndian::Read32;
using LittleEndian::Read64;

namespace {

constexpr quint32 LOCAL_HEADER_SIGNATURE = 0x04034B50;
constexpr int LOCAL_HEADER_BYTES = 30;
constexpr quint32 DATA_DESCRIPTOR_SIGNATURE = 0x08074B50;
// CRC-32, compressed and uncompressed size, after the optional signature;
// the sizes take 8 bytes each when the local header has a ZIP64 block.
constexpr int DATA_DESCRIPTOR_BYTES = 12;
constexpr int ZIP64_DATA_DESCRIPTOR_BYTES = 20;
// Raw deflate data, without a zlib header.
constexpr int RAW_DEFLATE_WINDOW_BITS = -MAX_WBITS;

} // namespace

CSkinArchive::CSkinArchive()
    : m_pStream(std::make_unique<z_stream>())
{
}

CSkinArchive::~CSkinArchive()
{
    ReleaseBlocks();
}

void* CSkinArchive::Allocate(void* pOpaque, unsigned int nItems, unsigned int nSize)
{
    auto* pArchive = static_cast<CSkinArchive*>(pOpaque);
    if (nSize != 0 && nItems > std::numeric_limits<std::size_t>::max() / nSize)
        return Z_NULL;
    void* pBlock = std::malloc(std::size_t(nItems) * nSize);
    if (pBlock == nullptr)
        return Z_NULL;
    try {
        pArchive->m_arrBlocks.push_back(pBlock);
    } catch (const std::bad_alloc&) {
        // zlib cannot take an exception; it reports Z_MEM_ERROR instead.
        std::free(pBlock);
        return Z_NULL;
    }
    return pBlock;
}

void CSkinArchive::Free(void* pOpaque, void* pAddress)
{
    auto* pArchive = static_cast<CSkinArchive*>(pOpaque);
    auto& arrBlocks = pArchive->m_arrBlocks;
    const auto it = std::find(arrBlocks.begin(), arrBlocks.end(), pAddress);
    if (it != arrBlocks.end())
        arrBlocks.erase(it);
    std::free(pAddress);
}

void CSkinArchive::ReleaseBlocks()
{
    for (void* pBlock : m_arrBlocks)
        std::free(pBlock);
    m_arrBlocks.clear();
}

void CSkinArchive::Fail(CZipException::ECause eCause) const
{
    throw CZipException(eCause, m_volumes.GetFilePath());
}

void CSkinArchive::Open(const QString& strPath)
{
    if (m_volumes.IsOpen())
        return;
    m_eEntryState = EEntryState::None;
    m_volumes.Open(strPath);
    try {
        // One record beyond the limit is enough to refuse the package.
        m_directory.Read(m_volumes, MAX_ENTRIES + 1);
    } catch (const std::exception&) {
        // A failed open lists no entries, not the ones read before the damage.
        m_directory.Clear();
        throw;
    }
}

int CSkinArchive::GetEntryCount() const
{
    return m_directory.GetCount();
}

const CEntryRecord& CSkinArchive::GetEntryRecord(int nIndex) const
{
    return m_directory.GetRecord(nIndex);
}

void CSkinArchive::Close()
{
    if (!m_volumes.IsOpen() && !m_volumes.IsFileOpen())
        return;
    // The inflate stream is deliberately not ended: after an error its
    // state may be anything. Its blocks are freed with the list instead.
    m_eEntryState = EEntryState::None;
    m_nFailedCause = 0;
    m_pReadBuffer.reset();
    ReleaseBlocks();
    m_nCurrentEntry = -1;
    m_arrLocalExtra.clear();
    m_directory.Clear();
    m_volumes.Close();
}

void CSkinArchive::CheckLimits() const
{
    if (GetEntryCount() > MAX_ENTRIES || m_directory.GetTotalUncompressedBytes() > quint64(MAX_UNPACKED_BYTES))
        Fail(CZipException::eTooLarge);
}

bool CSkinArchive::ExtractEntry(quint16 nIndex, const QString& strFolder, EExistingFile eExisting)
{
    if (strFolder.isEmpty())
        return false;
    CheckLimits();
    if (nIndex >= GetEntryCount())
        return false;
    const CEntryRecord& record = m_directory.GetRecord(nIndex);
    const std::optional<QString> strRelative = EntryName::SafeRelativePath(record.m_strName);
    if (!strRelative)
        return false;
    if (record.IsFolder()) {
        // Folders keep the permissions they are created with: a read-only
        // or unsearchable folder could not be emptied and removed again.
        CFolderHandle::OpenDestination(strFolder).OpenDescendant(*strRelative);
        return true;
    }
    // A skin needs no links, and a link could point anywhere.
    if (record.IsSymbolicLink() || strRelative->isEmpty())
        return false;
    if (!OpenEntry(nIndex))
        return false;

    const std::unique_ptr<CExtractedFile> pFile = CreateFileForOpenEntry(strFolder, *strRelative, eExisting);
    WriteOpenEntry(*pFile);
    // A file cut short is not put at its name, where it would pass for whole.
    if (CloseEntry() != 1)
        return false;
    const bool bTimeSet = pFile->SetDosTimeStamp(record.m_nDosDate, record.m_nDosTime);
    const bool bPermitted = pFile->ApplyPermissions(record);
    pFile->Commit();
    return bTimeSet && bPermitted;
}

std::unique_ptr<CExtractedFile>
CSkinArchive::CreateFileForOpenEntry(const QString& strFolder, const QString& strRelative, EExistingFile eExisting)
{
    const qsizetype nSlash = strRelative.lastIndexOf(u'/');
    try {
        CFolderHandle folder =
            CFolderHandle::OpenDestination(strFolder).OpenDescendant(strRelative.left(std::max<qsizetype>(nSlash, 0)));
        return std::make_unique<CExtractedFile>(std::move(folder), strRelative.mid(nSlash + 1), eExisting);
    } catch (const std::exception&) {
        // Nothing of the entry was read: the next one may still be opened.
        CloseEntry();
        throw;
    }
}

void CSkinArchive::WriteOpenEntry(CExtractedFile& file)
{
    const auto pBuffer = std::make_unique<char[]>(COPY_BUFFER_BYTES);
    quint32 nRead = 0;
    do {
        nRead = ReadEntry(pBuffer.get(), COPY_BUFFER_BYTES);
        file.Write(pBuffer.get(), nRead);
    } while (nRead == COPY_BUFFER_BYTES);
}

bool CSkinArchive::OpenEntry(quint16 nIndex)
{
    if (nIndex >= GetEntryCount() || m_eEntryState != EEntryState::None)
        return false;
    const CEntryRecord& record = m_directory.GetRecord(nIndex);
    m_volumes.SwitchTo(record.m_nDiskNumberStart);
    CheckLocalHeader(record);
    // Whatever their method: without a password there is nothing to read.
    if (record.IsEncrypted()) {
        m_arrLocalExtra.clear();
        return false;
    }
    if (!record.HasSupportedMethod())
        throw CZipException(CZipException::eUnsupportedMethod, m_volumes.GetFilePath(),
                            CEntryRecord::MethodName(record.m_nMethod));
    // Stored data is its own size; anything else would be read past or
    // fall short.
    if (record.m_nMethod == CEntryRecord::METHOD_STORED && record.m_nCompressedSize != record.m_nUncompressedSize)
        Fail(CZipException::eBadZipFile);

    m_pStream->next_in = nullptr;
    m_pStream->avail_in = 0;
    if (record.m_nMethod == CEntryRecord::METHOD_DEFLATED) {
        m_pStream->zalloc = &CSkinArchive::Allocate;
        m_pStream->zfree = &CSkinArchive::Free;
        m_pStream->opaque = this;
        const int nResult = inflateInit2(m_pStream.get(), RAW_DEFLATE_WINDOW_BITS);
        if (nResult != Z_OK)
            Fail(CZipException::FromZlib(nResult));
    }
    m_pStream->total_out = 0;
    m_pReadBuffer = std::make_unique<char[]>(READ_BUFFER_BYTES);
    m_nCompressedLeft = record.m_nCompressedSize;
    m_nUncompressedLeft = record.m_nUncompressedSize;
    m_nRunningCrc = 0;
    m_nFailedCause = 0;
    m_nCurrentEntry = nIndex;
    m_eEntryState = EEntryState::Extracting;
    return true;
}

void CSkinArchive::CheckLocalHeader(const CEntryRecord& record)
{
    // A hostile 64-bit offset must not wrap round into the file.
    if (record.m_nLocalHeaderOffset > quint64(std::numeric_limits<qint64>::max() - m_directory.GetBytesBefore()))
        Fail(CZipException::eBadZipFile);
    const qint64 nHeaderPosition = m_directory.GetBytesBefore() + qint64(record.m_nLocalHeaderOffset);
    m_volumes.Seek(nHeaderPosition);
    char header[LOCAL_HEADER_BYTES];
    m_volumes.ReadWhole(header, LOCAL_HEADER_BYTES);
    const quint16 nFlags = Read16(header, 6);
    const quint16 nNameLength = Read16(header, 26);
    const quint16 nExtraLength = Read16(header, 28);
    const bool bMatches = Read32(header, 0) == LOCAL_HEADER_SIGNATURE && nFlags == record.m_nFlags
        && Read16(header, 8) == record.m_nMethod && nNameLength == record.m_nNameLength;
    if (!bMatches)
        Fail(CZipException::eBadZipFile);
    m_volumes.Seek(nHeaderPosition + LOCAL_HEADER_BYTES + nNameLength);
    m_arrLocalExtra.resize(nExtraLength);
    m_volumes.ReadWhole(m_arrLocalExtra.data(), nExtraLength);
    // With a data descriptor the local header was written before the sizes
    // and CRC were known.
    if ((nFlags & CEntryRecord::FLAG_DATA_DESCRIPTOR) == 0 && !LocalSizesMatch(header, record))
        Fail(CZipException::eBadZipFile);
}

bool CSkinArchive::LocalSizesMatch(const char* pHeader, const CEntryRecord& record) const
{
    quint64 nCompressedSize = Read32(pHeader, 18);
    quint64 nUncompressedSize = Read32(pHeader, 22);
    return ExtraField::WidenFromZip64(m_arrLocalExtra, { &nUncompressedSize, &nCompressedSize })
        && Read32(pHeader, 14) == record.m_nCrc32 && nCompressedSize == record.m_nCompressedSize
        && nUncompressedSize == record.m_nUncompressedSize;
}

void CSkinArchive::FillInput()
{
    const auto nChunk = quint32(std::min<quint64>(READ_BUFFER_BYTES, m_nCompressedLeft));
    m_volumes.ReadSpanning(m_pReadBuffer.get(), nChunk);
    m_nCompressedLeft -= nChunk;
    m_pStream->next_in = reinterpret_cast<Bytef*>(m_pReadBuffer.get());
    m_pStream->avail_in = nChunk;
}

quint32 CSkinArchive::CopyStored(char* pOutput, quint32 nRoom)
{
    const quint32 nCopied = std::min(nRoom, quint32(m_pStream->avail_in));
    // Stored sizes are checked equal when the entry opens, so input never
    // runs out before the room does; a zero here would loop for ever.
    if (nCopied == 0)
        Fail(CZipException::eBadZipFile);
    std::memcpy(pOutput, m_pStream->next_in, nCopied);
    m_pStream->next_in += nCopied;
    m_pStream->avail_in -= nCopied;
    return nCopied;
}

quint32 CSkinArchive::Inflate(char* pOutput, quint32 nRoom, bool& bEnded)
{
    const uLong nTotalBefore = m_pStream->total_out;
    m_pStream->next_out = reinterpret_cast<Bytef*>(pOutput);
    m_pStream->avail_out = nRoom;
    const int nResult = inflate(m_pStream.get(), Z_SYNC_FLUSH);
    bEnded = nResult == Z_STREAM_END;
    // Raw deflate never asks for a dictionary; taking Z_NEED_DICT as
    // progress could loop without end.
    if (nResult != Z_OK && nResult != Z_STREAM_END)
        Fail(CZipException::FromZlib(nResult));
    return quint32(m_pStream->total_out - nTotalBefore);
}

quint32 CSkinArchive::ReadEntry(char* pBuffer, quint32 nSize)
{
    if (m_eEntryState == EEntryState::None || pBuffer == nullptr || nSize == 0)
        return 0;
    if (m_nFailedCause != 0)
        Fail(CZipException::ECause(m_nFailedCause));
    try {
        return ReadEntryData(pBuffer, nSize);
    } catch (const CZipException& exception) {
        m_nFailedCause = exception.GetCause();
        throw;
    }
}

quint32 CSkinArchive::ReadEntryData(char* pBuffer, quint32 nSize)
{
    const bool bStored = m_directory.GetRecord(m_nCurrentEntry).m_nMethod == CEntryRecord::METHOD_STORED;
    auto nRoom = quint32(std::min<quint64>(nSize, m_nUncompressedLeft));
    // With no room left, compressed bytes still unread must inflate to
    // nothing (the end of the deflate data); output there is corruption.
    const bool bDrain = nRoom == 0 && m_nCompressedLeft > 0;
    quint32 nProduced = 0;
    bool bEnded = false;
    while (!bEnded && (nRoom > 0 || (bDrain && m_nCompressedLeft > 0))) {
        if (m_pStream->avail_in == 0 && m_nCompressedLeft > 0)
            FillInput();
        char* pOutput = pBuffer + nProduced;
        const quint32 nNew = bStored ? CopyStored(pOutput, nRoom) : Inflate(pOutput, nRoom, bEnded);
        m_nRunningCrc = crc32(m_nRunningCrc, reinterpret_cast<const Bytef*>(pOutput), nNew);
        m_nUncompressedLeft -= nNew;
        nProduced += nNew;
        nRoom -= nNew;
    }
    // Declared sizes are a contract: data that ends early is truncated.
    if (bEnded && m_nUncompressedLeft > 0)
        Fail(CZipException::eBadZipFile);
    return nProduced;
}

int CSkinArchive::CloseEntry()
{
    if (m_eEntryState == EEntryState::None)
        return 0;
    const CEntryRecord& record = m_directory.GetRecord(m_nCurrentEntry);
    const bool bReadToEnd = m_nUncompressedLeft == 0;
    int nResult = 1;
    if (!bReadToEnd)
        nResult = -1;
    else if (m_nRunningCrc != record.m_nCrc32)
        Fail(CZipException::eBadCrc);
    if (record.m_nMethod == CEntryRecord::METHOD_DEFLATED)
        inflateEnd(m_pStream.get());
    // An entry left half-read has no known position for its descriptor.
    if (record.HasDataDescriptor() && bReadToEnd)
        CheckDataDescriptor(record);

    m_nCurrentEntry = -1;
    m_arrLocalExtra.clear();
    m_eEntryState = EEntryState::None;
    m_nFailedCause = 0;
    m_pReadBuffer.reset();
    ReleaseBlocks();
    return nResult;
}

void CSkinArchive::CheckDataDescriptor(const CEntryRecord& record)
{
    // The inflater can finish before it has consumed the last few bytes of
    // the deflate data; the descriptor follows all of them.
    while (m_nCompressedLeft > 0)
        FillInput();
    const bool bWide = ExtraField::Find(m_arrLocalExtra, ExtraField::ZIP64_ID).has_value();
    const int nFieldsBytes = bWide ? ZIP64_DATA_DESCRIPTOR_BYTES : DATA_DESCRIPTOR_BYTES;
    char descriptor[4 + ZIP64_DATA_DESCRIPTOR_BYTES];
    m_volumes.ReadSpanning(descriptor, 4);
    // The descriptor's signature is optional: without it the four bytes
    // already read are the CRC-32.
    const char* pFields = descriptor;
    if (Read32(descriptor, 0) == DATA_DESCRIPTOR_SIGNATURE) {
        m_volumes.ReadSpanning(descriptor + 4, nFieldsBytes);
        pFields = descriptor + 4;
    } else {
        m_volumes.ReadSpanning(descriptor + 4, nFieldsBytes - 4);
    }
    const quint64 nCompressedSize = bWide ? Read64(pFields, 4) : Read32(pFields, 4);
    const quint64 nUncompressedSize = bWide ? Read64(pFields, 12) : Read32(pFields, 8);
    if (Read32(pFields, 0) != record.m_nCrc32 || nCompressedSize != record.m_nCompressedSize
        || nUncompressedSize != record.m_nUncompressedSize)
        Fail(CZipException::eBadZipFile);
}
