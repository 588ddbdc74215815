#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/FramePictureFiles.h"

struct AVFrame;

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

struct CFrameOverlayLoad
{
    EFramePictureLoad eResult = EFramePictureLoad::eNone;
    std::shared_ptr<const CFrameOverlay> pOverlay; // when eLoaded
    std::string strReason;                         // when eFailed
};

// Reads picture nNumber of the Frame folder and prepares it for a coded
// picture of nWidth x nHeight. Reads the disk: callable from any thread but
// the video thread.
CFrameOverlayLoad LoadFrameOverlay(int nNumber, int nWidth, int nHeight);

// Hands frame pictures to the video thread whole: whoever changes the
// picture reads and prepares it and puts it here, and the video thread takes
// the newest at its next frame, never waiting on the disk, only for a
// pointer to be swapped.
class CFrameOverlaySlot
{
public:
    // pOverlay null lays none. Callable from any thread.
    void Put(std::shared_ptr<const CFrameOverlay> pOverlay);

    // The newest overlay put, null for none; valid until the next call.
    // Video thread only.
    const CFrameOverlay* Take();

private:
    std::mutex m_mutex;
    std::shared_ptr<const CFrameOverlay> m_pPut; // guarded by m_mutex
    std::atomic<bool> m_bChanged = false;
    std::shared_ptr<const CFrameOverlay> m_pTaken; // the video thread's own
};
