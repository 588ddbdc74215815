#pragma once

#include "engine/AvPtr.h"

#include <atomic>
#include <string>
#include <utility>
#include <vector>

// Makes FFmpeg's capture devices (v4l2, x11grab, pulse, alsa) known before
// they are listed or opened; callable from any thread, any number of times.
void RegisterCaptureDevices();

// One opened FFmpeg input (a capture device or a lavfi source) and the
// decoder of its stream, read frame by frame. Used by one capture thread;
// Interrupt() may come from any thread.
class CMediaSource
{
public:
    using COptionList = std::vector<std::pair<std::string, std::string>>;

    // strFormat: FFmpeg input device name ("v4l2", "x11grab", "pulse", "alsa",
    // "lavfi"). On failure the reason names the device and FFmpeg's cause.
    bool Open(const std::string& strFormat, const std::string& strUrl, const COptionList& options, AVMediaType eType,
              std::string& strReason);

    // 0 with a decoded frame (pts in TimeBase()), AVERROR(EAGAIN) when the
    // device has nothing yet (reads never block on a device), AVERROR_EOF at
    // the end, or another negative FFmpeg error.
    int ReadFrame(AVFrame* pFrame);

    AVRational TimeBase() const { return m_timeBase; }
    // What the opened input delivers, as FFmpeg negotiated it: the codec with
    // the picture's size and pixel format, or the sound's rate, channels and
    // sample format.
    std::string Describe() const;

    // Makes a blocked read return soon.
    void Interrupt() { m_bInterrupted = true; }

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
