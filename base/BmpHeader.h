#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The headers of a Windows bitmap file, read before any pixel is decoded so
// that a file claiming more than it holds is refused without allocating for
// it. Skin pictures and frame pictures both pass through here.

// A BMP starts with these two bytes.
inline constexpr char BMP_MAGIC[] = "BM";
// What ReadBmpHeader needs of the file's start: the file header and the
// info header's fields up to the compression.
inline constexpr std::size_t BMP_HEADER_BYTES = 34;

enum class EBmpHeaderResult {
    eOk,
    eNotBmp,
    // The file ends inside its headers.
    eCutShort,
    // An info header of a size no decoder we use reads.
    eUnsupportedHeader,
    // No width, no rows or no bits per pixel.
    eNoPixels,
    eTooLarge,
    // The pixel data would start inside the headers or past the file's end.
    eBadPixelOffset,
    // The file holds less pixel data than the header claims.
    ePixelsCutShort,
};

struct CBmpHeader
{
    std::uint32_t nInfoSize = 0;
    std::int64_t nWidth = 0;
    std::int64_t nRows = 0;
    bool bTopDown = false;
    int nBitsPerPixel = 0;
    std::uint32_t nCompression = 0;
    std::int64_t nPixelOffset = 0;
};

struct CBmpHeaderRead
{
    EBmpHeaderResult eResult = EBmpHeaderResult::eNotBmp;
    CBmpHeader header;
    // The cause, without the path; empty when eResult is eOk.
    std::string strReason;
};

inline constexpr std::uint32_t BMP_COMPRESSION_RGB = 0;
inline constexpr std::uint32_t BMP_COMPRESSION_RLE8 = 1;
inline constexpr std::uint32_t BMP_COMPRESSION_RLE4 = 2;
inline constexpr std::uint32_t BMP_COMPRESSION_BITFIELDS = 3;
inline constexpr std::uint32_t BMP_COMPRESSION_JPEG = 4;
inline constexpr std::uint32_t BMP_COMPRESSION_PNG = 5;

// Whether the bytes start as a BMP does.
bool IsBmp(const std::uint8_t* pData, std::size_t nSize);

// Reads the headers from the first nSize bytes of a file of nFileSize bytes
// (at least BMP_HEADER_BYTES of them when the file has that many) and checks
// them against the file: a side above nMaxSide, pixel data outside the file
// or shorter than the picture needs are refused.
CBmpHeaderRead ReadBmpHeader(const std::uint8_t* pData, std::size_t nSize, std::int64_t nFileSize,
                             std::int64_t nMaxSide);

// The bytes of one stored row of an uncompressed picture, padded to whole
// 32-bit words.
std::int64_t BmpRowBytes(std::int64_t nWidth, int nBitsPerPixel);
