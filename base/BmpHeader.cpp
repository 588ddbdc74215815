#include "base/BmpHeader.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// BITMAPFILEHEADER: the magic, the file size, two reserved words, then the
// offset of the pixel data; the info header follows, starting with its size.
constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t PIXEL_OFFSET_AT = 10;
constexpr std::size_t INFO_SIZE_BYTES = 4;
// OS/2 1.x's BITMAPCOREHEADER: sides as unsigned 16-bit numbers, rows always
// bottom-up, no compression.
constexpr std::uint32_t CORE_HEADER_SIZE = 12;
// The info headers the decoders we use read (Qt's for skins, ours for frame
// pictures): BITMAPINFOHEADER, OS/2 2.x's full header, and Windows' V4 and
// V5. OS/2 2.x allows its header cut anywhere from 16 bytes on, but no
// decoder here reads such a header, so it is refused up front.
constexpr std::uint32_t LONG_HEADER_SIZES[] = { 40, 64, 108, 124 };
constexpr std::size_t LONG_HEADER_FIELDS = 20; // size, width, height, planes, bits, compression
// Run-length data spends at least two bytes on a run of at most 255 pixels.
constexpr std::int64_t RLE_BYTES_PER_RUN = 2;
constexpr std::int64_t RLE_MAX_RUN = 255;

std::uint16_t Read16(const std::uint8_t* pData, std::size_t nOffset)
{
    return static_cast<std::uint16_t>(pData[nOffset] | (pData[nOffset + 1] << 8));
}

std::uint32_t Read32(const std::uint8_t* pData, std::size_t nOffset)
{
    return static_cast<std::uint32_t>(Read16(pData, nOffset))
        | (static_cast<std::uint32_t>(Read16(pData, nOffset + 2)) << 16);
}

CBmpHeaderRead Refused(EBmpHeaderResult eResult, std::string strReason, const CBmpHeader& header = {})
{
    return CBmpHeaderRead { eResult, header, std::move(strReason) };
}

bool IsKnownLongHeader(std::uint32_t nInfoSize)
{
    return std::find(std::begin(LONG_HEADER_SIZES), std::end(LONG_HEADER_SIZES), nInfoSize)
        != std::end(LONG_HEADER_SIZES);
}

std::string SidesText(const CBmpHeader& header)
{
    return std::to_string(header.nWidth) + "x" + std::to_string(header.nRows);
}

// The smallest pixel data the header allows, in bytes; -1 when the header
// says nothing reliable about it (a JPEG or PNG inside the bitmap).
std::int64_t LeastPixelBytes(const CBmpHeader& header)
{
    switch (header.nCompression) {
    case BMP_COMPRESSION_RGB:
    case BMP_COMPRESSION_BITFIELDS:
        return BmpRowBytes(header.nWidth, header.nBitsPerPixel) * header.nRows;
    case BMP_COMPRESSION_RLE8:
    case BMP_COMPRESSION_RLE4:
        return header.nRows * ((header.nWidth + RLE_MAX_RUN - 1) / RLE_MAX_RUN) * RLE_BYTES_PER_RUN;
    default:
        return -1;
    }
}

void ReadGeometry(const std::uint8_t* pInfo, CBmpHeader& header)
{
    if (header.nInfoSize == CORE_HEADER_SIZE) {
        header.nWidth = Read16(pInfo, 4);
        header.nRows = Read16(pInfo, 6);
        header.nBitsPerPixel = Read16(pInfo, 10);
        return;
    }
    header.nWidth = static_cast<std::int32_t>(Read32(pInfo, 4));
    // A negative height marks rows stored top-down; 64 bits keep INT32_MIN whole.
    const std::int64_t nSignedRows = static_cast<std::int32_t>(Read32(pInfo, 8));
    header.bTopDown = nSignedRows < 0;
    header.nRows = header.bTopDown ? -nSignedRows : nSignedRows;
    header.nBitsPerPixel = Read16(pInfo, 14);
    header.nCompression = Read32(pInfo, 16);
}

} // namespace

bool IsBmp(const std::uint8_t* pData, std::size_t nSize)
{
    return nSize >= 2 && std::memcmp(pData, BMP_MAGIC, 2) == 0;
}

std::int64_t BmpRowBytes(std::int64_t nWidth, int nBitsPerPixel)
{
    return (nWidth * nBitsPerPixel + 31) / 32 * 4;
}

CBmpHeaderRead ReadBmpHeader(const std::uint8_t* pData, std::size_t nSize, std::int64_t nFileSize,
                             std::int64_t nMaxSide)
{
    if (!IsBmp(pData, nSize))
        return Refused(EBmpHeaderResult::eNotBmp, "not a BMP file");
    if (nSize < FILE_HEADER_SIZE + INFO_SIZE_BYTES)
        return Refused(EBmpHeaderResult::eCutShort, "BMP header cut short");
    CBmpHeader header;
    header.nInfoSize = Read32(pData, FILE_HEADER_SIZE);
    header.nPixelOffset = Read32(pData, PIXEL_OFFSET_AT);
    if (header.nInfoSize != CORE_HEADER_SIZE && !IsKnownLongHeader(header.nInfoSize))
        return Refused(EBmpHeaderResult::eUnsupportedHeader,
                       "BMP info header of " + std::to_string(header.nInfoSize)
                           + " bytes; only those of 12, 40, 64, 108 and 124 bytes are read",
                       header);
    const std::size_t nFieldsEnd = FILE_HEADER_SIZE + std::min<std::size_t>(header.nInfoSize, LONG_HEADER_FIELDS);
    const std::int64_t nHeadersEnd = static_cast<std::int64_t>(FILE_HEADER_SIZE + header.nInfoSize);
    if (nSize < nFieldsEnd || nFileSize < nHeadersEnd)
        return Refused(EBmpHeaderResult::eCutShort, "BMP header cut short", header);
    ReadGeometry(pData + FILE_HEADER_SIZE, header);
    if (header.nWidth <= 0 || header.nRows <= 0 || header.nBitsPerPixel <= 0)
        return Refused(EBmpHeaderResult::eNoPixels,
                       "BMP header claims no pixels (" + SidesText(header) + ", " + std::to_string(header.nBitsPerPixel)
                           + " bits)",
                       header);
    if (header.nWidth > nMaxSide || header.nRows > nMaxSide)
        return Refused(EBmpHeaderResult::eTooLarge,
                       SidesText(header) + " pixels, more than " + std::to_string(nMaxSide) + " a side", header);
    if (header.nPixelOffset < nHeadersEnd || header.nPixelOffset > nFileSize)
        return Refused(EBmpHeaderResult::eBadPixelOffset,
                       "BMP pixel data said to start at byte " + std::to_string(header.nPixelOffset)
                           + ", outside bytes " + std::to_string(nHeadersEnd) + " to " + std::to_string(nFileSize),
                       header);
    const std::int64_t nLeastBytes = LeastPixelBytes(header);
    const std::int64_t nHeld = nFileSize - header.nPixelOffset;
    if (nLeastBytes >= 0 && nHeld < nLeastBytes)
        return Refused(EBmpHeaderResult::ePixelsCutShort,
                       "BMP header claims " + SidesText(header) + " pixels (" + std::to_string(nLeastBytes)
                           + " bytes), the file holds " + std::to_string(nHeld),
                       header);
    return CBmpHeaderRead { EBmpHeaderResult::eOk, header, {} };
}
