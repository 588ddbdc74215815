#include "engine/FramePicture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include <unistd.h>

extern "C" {
#include <libavutil/frame.h>
}

namespace {

constexpr const char* FRAME_FOLDER_NAME = "Frame";
constexpr const char* FRAME_PICTURE_SUFFIX = "bif";
constexpr int MAX_BITMAP_SIDE = 16384;
constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::size_t INFO_HEADER_MIN_SIZE = 40;
constexpr std::uint32_t COMPRESSION_RGB = 0;
constexpr std::uint32_t COMPRESSION_BITFIELDS = 3;

std::uint32_t ReadU32(const std::vector<std::uint8_t>& data, std::size_t nOffset)
{
    return static_cast<std::uint32_t>(data[nOffset]) | (static_cast<std::uint32_t>(data[nOffset + 1]) << 8)
        | (static_cast<std::uint32_t>(data[nOffset + 2]) << 16) | (static_cast<std::uint32_t>(data[nOffset + 3]) << 24);
}

std::uint16_t ReadU16(const std::vector<std::uint8_t>& data, std::size_t nOffset)
{
    return static_cast<std::uint16_t>(data[nOffset] | (data[nOffset + 1] << 8));
}

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

// BT.601 studio range, the matrix MPEG-1 and MPEG-2 assume for SD pictures.
std::uint8_t LumaOf(std::uint32_t nRgb)
{
    const int r = (nRgb >> 16) & 0xFF;
    const int g = (nRgb >> 8) & 0xFF;
    const int b = nRgb & 0xFF;
    return static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}

std::uint8_t CbOf(int r, int g, int b)
{
    return static_cast<std::uint8_t>(std::clamp(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128, 0, 255));
}

std::uint8_t CrOf(int r, int g, int b)
{
    return static_cast<std::uint8_t>(std::clamp(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128, 0, 255));
}

} // namespace

std::filesystem::path FindFramePictureFolder()
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error) / FRAME_FOLDER_NAME;
    if (!error && std::filesystem::is_directory(current, error))
        return current;
    const std::filesystem::path programFolder = ExecutableFolder();
    if (programFolder.empty())
        return {};
    for (const std::filesystem::path& candidate :
         { programFolder / FRAME_FOLDER_NAME, programFolder / SKINREC_DATA_DIR_FROM_PROGRAM / FRAME_FOLDER_NAME }) {
        if (std::filesystem::is_directory(candidate, error))
            return candidate.lexically_normal();
    }
    return {};
}

std::vector<std::string> ListFramePictures(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    if (folder.empty())
        return names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_directory(error))
            continue;
        const std::string strName = entry.path().filename().string();
        if (strName.size() >= 3 && strName.compare(strName.size() - 3, 3, FRAME_PICTURE_SUFFIX) == 0)
            names.push_back(strName);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<CBitmapImage> LoadBitmapFile(const std::filesystem::path& path, std::string& strReason)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        strReason = "cannot open frame picture " + path.string();
        return std::nullopt;
    }
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (data.size() < FILE_HEADER_SIZE + INFO_HEADER_MIN_SIZE || data[0] != 'B' || data[1] != 'M') {
        strReason = path.string() + " is not a bitmap file";
        return std::nullopt;
    }
    const std::uint32_t nPixelOffset = ReadU32(data, 10);
    const std::uint32_t nInfoSize = ReadU32(data, FILE_HEADER_SIZE);
    const auto nWidth = static_cast<std::int32_t>(ReadU32(data, FILE_HEADER_SIZE + 4));
    const auto nSignedHeight = static_cast<std::int32_t>(ReadU32(data, FILE_HEADER_SIZE + 8));
    const std::uint16_t nBits = ReadU16(data, FILE_HEADER_SIZE + 14);
    const std::uint32_t nCompression = ReadU32(data, FILE_HEADER_SIZE + 16);
    const bool bTopDown = nSignedHeight < 0;
    const std::int64_t nHeight = bTopDown ? -static_cast<std::int64_t>(nSignedHeight) : nSignedHeight;
    if (nInfoSize < INFO_HEADER_MIN_SIZE || nWidth <= 0 || nHeight <= 0 || nWidth > MAX_BITMAP_SIDE
        || nHeight > MAX_BITMAP_SIDE) {
        strReason = path.string() + " has an invalid bitmap header";
        return std::nullopt;
    }
    const bool bSupported = (nBits == 24 && nCompression == COMPRESSION_RGB)
        || (nBits == 32 && (nCompression == COMPRESSION_RGB || nCompression == COMPRESSION_BITFIELDS));
    if (!bSupported) {
        strReason = path.string() + ": only uncompressed 24- and 32-bit bitmaps are supported";
        return std::nullopt;
    }
    const std::size_t nBytesPerPixel = nBits / 8;
    const std::size_t nRowSize = (static_cast<std::size_t>(nWidth) * nBytesPerPixel + 3) & ~std::size_t(3);
    if (nPixelOffset > data.size() || (data.size() - nPixelOffset) / nRowSize < static_cast<std::size_t>(nHeight)) {
        strReason = path.string() + " is truncated";
        return std::nullopt;
    }
    CBitmapImage image;
    image.nWidth = nWidth;
    image.nHeight = static_cast<int>(nHeight);
    image.pixels.resize(static_cast<std::size_t>(nWidth) * image.nHeight);
    for (int y = 0; y < image.nHeight; ++y) {
        const std::size_t nSourceRow = bTopDown ? y : image.nHeight - 1 - y;
        const std::uint8_t* pRow = data.data() + nPixelOffset + nSourceRow * nRowSize;
        std::uint32_t* pTarget = image.pixels.data() + static_cast<std::size_t>(y) * nWidth;
        for (int x = 0; x < nWidth; ++x) {
            const std::uint8_t* pPixel = pRow + x * nBytesPerPixel;
            pTarget[x] = (std::uint32_t(pPixel[2]) << 16) | (std::uint32_t(pPixel[1]) << 8) | pPixel[0];
        }
    }
    return image;
}

CFrameOverlay::CFrameOverlay(const CBitmapImage& image, int nWidth, int nHeight)
    : m_nWidth(nWidth)
    , m_nHeight(nHeight)
    , m_lumaValues(static_cast<std::size_t>(nWidth) * nHeight)
    , m_lumaOpaque(m_lumaValues.size())
{
    // Nearest-neighbour scaling keeps the transparent colour exact; a
    // filtering scaler would blend magenta into the picture's edges.
    std::vector<std::uint32_t> scaled(m_lumaValues.size());
    for (int y = 0; y < nHeight; ++y) {
        const int nSourceY = static_cast<int>(static_cast<std::int64_t>(y) * image.nHeight / nHeight);
        for (int x = 0; x < nWidth; ++x) {
            const int nSourceX = static_cast<int>(static_cast<std::int64_t>(x) * image.nWidth / nWidth);
            const std::uint32_t nRgb = image.pixels[static_cast<std::size_t>(nSourceY) * image.nWidth + nSourceX];
            const std::size_t nIndex = static_cast<std::size_t>(y) * nWidth + x;
            scaled[nIndex] = nRgb;
            m_lumaOpaque[nIndex] = nRgb != FRAME_TRANSPARENT_RGB;
            m_lumaValues[nIndex] = LumaOf(nRgb);
        }
    }
    const int nChromaWidth = (nWidth + 1) / 2;
    const int nChromaHeight = (nHeight + 1) / 2;
    m_cbValues.resize(static_cast<std::size_t>(nChromaWidth) * nChromaHeight);
    m_crValues.resize(m_cbValues.size());
    m_chromaOpaque.resize(m_cbValues.size());
    for (int cy = 0; cy < nChromaHeight; ++cy) {
        for (int cx = 0; cx < nChromaWidth; ++cx) {
            int nRed = 0;
            int nGreen = 0;
            int nBlue = 0;
            int nOpaque = 0;
            for (int y = 2 * cy; y < std::min(2 * cy + 2, nHeight); ++y) {
                for (int x = 2 * cx; x < std::min(2 * cx + 2, nWidth); ++x) {
                    const std::size_t nIndex = static_cast<std::size_t>(y) * nWidth + x;
                    if (!m_lumaOpaque[nIndex])
                        continue;
                    nRed += (scaled[nIndex] >> 16) & 0xFF;
                    nGreen += (scaled[nIndex] >> 8) & 0xFF;
                    nBlue += scaled[nIndex] & 0xFF;
                    ++nOpaque;
                }
            }
            const std::size_t nChromaIndex = static_cast<std::size_t>(cy) * nChromaWidth + cx;
            // A chroma sample belongs to the picture when most of its four
            // luma samples do, so thin borders keep their colour.
            m_chromaOpaque[nChromaIndex] = nOpaque >= 2;
            if (nOpaque > 0) {
                m_cbValues[nChromaIndex] = CbOf(nRed / nOpaque, nGreen / nOpaque, nBlue / nOpaque);
                m_crValues[nChromaIndex] = CrOf(nRed / nOpaque, nGreen / nOpaque, nBlue / nOpaque);
            }
        }
    }
}

void CFrameOverlay::Apply(AVFrame* pFrame) const
{
    for (int y = 0; y < m_nHeight; ++y) {
        std::uint8_t* pLuma = pFrame->data[0] + static_cast<std::ptrdiff_t>(y) * pFrame->linesize[0];
        const std::size_t nRow = static_cast<std::size_t>(y) * m_nWidth;
        for (int x = 0; x < m_nWidth; ++x) {
            if (m_lumaOpaque[nRow + x])
                pLuma[x] = m_lumaValues[nRow + x];
        }
    }
    const int nChromaWidth = (m_nWidth + 1) / 2;
    const int nChromaHeight = (m_nHeight + 1) / 2;
    for (int y = 0; y < nChromaHeight; ++y) {
        std::uint8_t* pCb = pFrame->data[1] + static_cast<std::ptrdiff_t>(y) * pFrame->linesize[1];
        std::uint8_t* pCr = pFrame->data[2] + static_cast<std::ptrdiff_t>(y) * pFrame->linesize[2];
        const std::size_t nRow = static_cast<std::size_t>(y) * nChromaWidth;
        for (int x = 0; x < nChromaWidth; ++x) {
            if (m_chromaOpaque[nRow + x]) {
                pCb[x] = m_cbValues[nRow + x];
                pCr[x] = m_crValues[nRow + x];
            }
        }
    }
}
