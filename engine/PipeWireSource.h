#pragma once

#include "engine/MediaSource.h"
#include "engine/RecordingProfile.h"

#include <memory>
#include <string>

// A PipeWire video stream read as a capture device: the desktop portal's
// screen cast, or any node that offers raw RGB pictures in shared memory.
// The stream runs on a thread of PipeWire's own; each picture is copied out
// of its buffer as it comes and stamped with its arrival on the monotonic
// clock, as a screen grabber's frames are. A screen cast sends a picture only
// when the screen changed: while none comes, the last one is read again once
// two frame intervals have passed, so a still screen records as still, not
// as a stalled device. Used by one capture thread; Interrupt() may come from
// any thread.
class CPipeWireSource : public CFrameSource
{
public:
    CPipeWireSource();
    ~CPipeWireSource() override;
    CPipeWireSource(const CPipeWireSource&) = delete;
    CPipeWireSource& operator=(const CPipeWireSource&) = delete;

    // Connects to the stream's daemon and node and waits until the node has
    // agreed on a picture format. frameRate: the recording's, which paces
    // the repeats of a still picture. On failure the reason says which step
    // failed and PipeWire's cause.
    bool Open(const CPipeWireStream& stream, AVRational frameRate, std::string& strReason);

    // 0 with a picture (pts in microseconds of the monotonic clock), EAGAIN
    // when none is due, AVERROR_EOF once the stream has ended.
    int ReadFrame(AVFrame* pFrame) override;
    AVRational TimeBase() const override;
    std::string EndCause(int nResult) const override;
    std::int64_t TakeFramesLost() override;

private:
    class CConnection;
    std::unique_ptr<CConnection> m_pConnection;
};
