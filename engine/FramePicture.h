#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct AVFrame;

// The "Frame" folder of the current directory, else the one beside the
// executable, else the one in the data folder of an installed copy (found
// from the executable's folder); empty when none exists.
std::filesystem::path FindFramePictureFolder();

// The frame pictures of a folder: plain files whose names end in lower-case
// "bif", in name order. The n-th entry is what VideoFrame n + 1 shows.
std::vector<std::string> ListFramePictures(const std::filesystem::path& folder);

// An uncompressed 24- or 32-bit Windows bitmap, top row first, pixels as
// 0x00RRGGBB.
struct CBitmapImage
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> pixels;
};

// Reads a bitmap file; empty with the cause in strReason when the file is
// missing, damaged or of a kind not supported.
std::optional<CBitmapImage> LoadBitmapFile(const std::filesystem::path& path, std::string& strReason);

// A frame picture scaled to the coded picture and converted to its YUV 4:2:0
// planes once, so that laying it over each frame is a masked copy. Magenta
// pixels are transparent.
class CFrameOverlay
{
public:
    CFrameOverlay(const CBitmapImage& image, int nWidth, int nHeight);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // pFrame must be writable YUV 4:2:0 of the overlay's size.
    void Apply(AVFrame* pFrame) const;

private:
    int m_nWidth;
    int m_nHeight;
    std::vector<std::uint8_t> m_lumaValues;
    std::vector<std::uint8_t> m_lumaOpaque;
    std::vector<std::uint8_t> m_cbValues;
    std::vector<std::uint8_t> m_crValues;
    std::vector<std::uint8_t> m_chromaOpaque;
};

inline constexpr std::uint32_t FRAME_TRANSPARENT_RGB = 0xFF00FF;
