#include "engine/FramePicture.h"

#include <algorithm>
#include <utility>

extern "C" {
#include <libavutil/frame.h>
}

namespace {

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

CFrameOverlayLoad LoadFrameOverlay(int nNumber, int nWidth, int nHeight)
{
    CFramePictureLoad picture = LoadFramePicture(nNumber);
    CFrameOverlayLoad load;
    load.eResult = picture.eResult;
    load.strReason = std::move(picture.strReason);
    if (picture.eResult == EFramePictureLoad::eLoaded)
        load.pOverlay = std::make_shared<const CFrameOverlay>(picture.image, nWidth, nHeight);
    return load;
}

void CFrameOverlaySlot::Put(std::shared_ptr<const CFrameOverlay> pOverlay)
{
    {
        std::lock_guard lock(m_mutex);
        // The picture replaced may still be on the video thread's frame; it
        // keeps its own reference until its next Take.
        m_pPut = std::move(pOverlay);
    }
    m_bChanged = true;
}

const CFrameOverlay* CFrameOverlaySlot::Take()
{
    if (m_bChanged.exchange(false)) {
        std::lock_guard lock(m_mutex);
        m_pTaken = m_pPut;
    }
    return m_pTaken.get();
}
