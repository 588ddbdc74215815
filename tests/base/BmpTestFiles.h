#pragma once

#include <cstdint>
#include <vector>

// Bitmap files as a writer of each header version lays them out: the file
// header, an info header of nInfoSize bytes, then rows of nBits pixels
// padded to four bytes, every pixel byte 0x80.
struct CBmpLayout
{
    std::uint32_t nInfoSize = 40;
    std::int32_t nWidth = 4;
    std::int32_t nHeight = 2;
    std::uint16_t nBits = 24;
    std::uint32_t nCompression = 0;
};

inline void PutLittleEndian(std::vector<std::uint8_t>& data, std::size_t nOffset, std::uint32_t nValue, int nBytes)
{
    for (int nByte = 0; nByte < nBytes; ++nByte)
        data[nOffset + nByte] = static_cast<std::uint8_t>(nValue >> (8 * nByte));
}

inline std::vector<std::uint8_t> MakeBmp(const CBmpLayout& layout)
{
    constexpr std::size_t FILE_HEADER = 14;
    const std::size_t nRowBytes =
        (static_cast<std::size_t>(layout.nWidth > 0 ? layout.nWidth : 0) * layout.nBits + 31) / 32 * 4;
    const std::size_t nRows =
        static_cast<std::size_t>(layout.nHeight < 0 ? -static_cast<std::int64_t>(layout.nHeight) : layout.nHeight);
    const std::size_t nPixelOffset = FILE_HEADER + layout.nInfoSize;
    std::vector<std::uint8_t> data(nPixelOffset, 0);
    data[0] = 'B';
    data[1] = 'M';
    PutLittleEndian(data, 10, static_cast<std::uint32_t>(nPixelOffset), 4);
    PutLittleEndian(data, FILE_HEADER, layout.nInfoSize, 4);
    if (layout.nInfoSize == 12) {
        PutLittleEndian(data, FILE_HEADER + 4, static_cast<std::uint32_t>(layout.nWidth), 2);
        PutLittleEndian(data, FILE_HEADER + 6, static_cast<std::uint32_t>(layout.nHeight), 2);
        PutLittleEndian(data, FILE_HEADER + 8, 1, 2);
        PutLittleEndian(data, FILE_HEADER + 10, layout.nBits, 2);
    } else if (layout.nInfoSize >= 16) {
        PutLittleEndian(data, FILE_HEADER + 4, static_cast<std::uint32_t>(layout.nWidth), 4);
        PutLittleEndian(data, FILE_HEADER + 8, static_cast<std::uint32_t>(layout.nHeight), 4);
        PutLittleEndian(data, FILE_HEADER + 12, 1, 2);
        PutLittleEndian(data, FILE_HEADER + 14, layout.nBits, 2);
        if (layout.nInfoSize >= 20)
            PutLittleEndian(data, FILE_HEADER + 16, layout.nCompression, 4);
    }
    data.resize(nPixelOffset + nRowBytes * nRows, 0x80);
    PutLittleEndian(data, 2, static_cast<std::uint32_t>(data.size()), 4);
    return data;
}
