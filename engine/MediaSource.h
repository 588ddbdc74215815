#pragma once

#include "engine/AvPtr.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Makes FFmpeg's capture devices (v4l2, x11grab, pulse, alsa) known before
// they are listed or opened; callable from any thread, any number of times.
void RegisterCaptureDevices();

// What a capture thread reads frames from. Used by one capture thread;
// Interrupt() may come from any thread.
class CFrameSource
{
public:
    virtual ~CFrameSource() = default;

    // 0 with a frame (pts in TimeBase()), AVERROR(EAGAIN) when the device has
    // nothing yet (reads never block on a device), AVERROR_EOF at the end, or
    // another negative FFmpeg error.
    virtual int ReadFrame(AVFrame* pFrame) = 0;
    virtual AVRational TimeBase() const = 0;

    // Makes a blocked read return soon; a source whose reads never block
    // has nothing to do.
    virtual void Interrupt() { }

    // Why the source ended, for ReadFrame's result nResult.
    virtual std::string EndCause(int nResult) const;

    // Frames the source itself had to leave out since the last call,
    // because the capture thread did not read them in time.
    virtual std::int64_t TakeFramesLost() { return 0; }
};

// One opened FFmpeg input (a capture device or a lavfi source) and the
// decoder of its stream, read frame by frame.
class CMediaSource : public CFrameSource
{
public:
    using COptionList = std::vector<std::pair<std::string, std::string>>;

    // strFormat: FFmpeg input device name ("v4l2", "x11grab", "pulse", "alsa",
    // "lavfi"). On failure the reason names the device and FFmpeg's cause.
    bool Open(const std::string& strFormat, const std::string& strUrl, const COptionList& options, AVMediaType eType,
              std::string& strReason);

    int ReadFrame(AVFrame* pFrame) override;
    AVRational TimeBase() const override { return m_timeBase; }
    void Interrupt() override { m_bInterrupted = true; }
    // What the opened input delivers, as FFmpeg negotiated it: the codec with
    // the picture's size and pixel format, or the sound's rate, channels and
    // sample format.
    std::string Describe() const;

private:
    static int InterruptCallback(void* pOpaque);

    CInputContextPtr m_pInput;
    CCodecContextPtr m_pDecoder;
    CPacketPtr m_pPacket;
    int m_nStream = -1;
    AVRational m_timeBase { 1, 1000000 };
    bool m_bInputEnded = false;
    std::atomic<bool> m_bInterrupted = false;
};
