#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

extern "C" {
#include <libavutil/rational.h>
}

// Follows a sound card's clock against the recording clock. A card counts
// samples by its own crystal, which runs fast or slow by up to a few hundred
// parts per million, and its blocks arrive with a jitter of milliseconds; a
// second-order delay-locked loop smooths both into the recording-clock time
// of each block and learns the card's true rate, so the audio can be
// resampled to the picture without audible steps. Used by one capture thread.
class CDeviceClockTracker
{
public:
    // Recording-clock time of a block whose first sample has the device time
    // nDeviceUs (counted at the nominal rate) and which arrived at nArrivalUs.
    std::int64_t Track(std::int64_t nDeviceUs, std::int64_t nArrivalUs);

private:
    bool m_bStarted = false;
    std::int64_t m_nAnchorDeviceUs = 0;
    double m_dAnchorRecordingUs = 0;
    double m_dRecordingPerDevice = 1.0;
};

// Where the frames of one stream lie on the recording clock, the clock both
// streams are cut and placed by. The built-in sources say it exactly: the
// picture's timestamps are on it, and the tone's own timestamps count samples
// at its nominal rate while it delivers them at its skewed one. A camera's or
// screen's timestamps run on the system's monotonic clock, as the recording
// clock does, placed by the arrival of their first frame; a sound card's are
// tracked against the arrival of its blocks. Used by one capture thread.
class CRecordingTimeSource
{
public:
    CRecordingTimeSource(bool bBuiltIn, bool bVideo, int nClockSkewPpm);

    // nPts in timeBase; nArrivalUs: when the frame was read, on the
    // recording clock; nSampleRate: the audio's nominal rate.
    std::int64_t RecordingTime(std::int64_t nPts, AVRational timeBase, int nSampleRate, std::int64_t nArrivalUs);

private:
    bool m_bBuiltIn;
    bool m_bVideo;
    int m_nClockSkewPpm;
    bool m_bStarted = false;
    std::int64_t m_nFirstPts = 0;
    std::int64_t m_nArrivalOffsetUs = 0;
    CDeviceClockTracker m_tracker;
};

// The recorded part of a span of the recording clock: [nFromUs, nToUs), and
// the paused time before nFromUs.
struct CRecordedSpan
{
    bool bRecorded = true;
    std::int64_t nFromUs = 0;
    std::int64_t nToUs = 0;
    std::int64_t nPausedBeforeUs = 0;
};

// The pauses of one recording on the recording clock. Both streams leave out
// the same stretches of it, so a pause cannot move one against the other.
// Callable from any thread.
class CPauseTimeline
{
public:
    // Each is ignored when the timeline is already in that state. A pause
    // begins or ends now, or, when a capture already judged frames beyond
    // now (the built-in sources run ahead of real time), after them, so that
    // no frame is judged against a pause that did not yet exist.
    void Pause(std::int64_t nNowUs);
    void Resume(std::int64_t nNowUs);

    // Pauses then last whole frames, so that the pictures after one stay
    // on the frame grid of those before it instead of moving by a part of
    // a frame against the audio.
    void SetFrameRate(AVRational frameRate);

    // The first part of [nStartUs, nStartUs + nDurationUs) outside the
    // pauses; a frame of no duration is recorded unless it lies in one.
    CRecordedSpan Recorded(std::int64_t nStartUs, std::int64_t nDurationUs);

private:
    struct CPause
    {
        std::int64_t nStartUs;
        std::int64_t nEndUs; // INT64_MAX while paused
    };

    std::mutex m_mutex;
    std::vector<CPause> m_pauses;
    std::int64_t m_nJudgedUs = 0; // the end of the latest span judged
    AVRational m_frameRate { 0, 1 };
};

// A stream's time in the file: its recording-clock time with the pauses cut
// out and the manual offset added, or, without sync, counted from the
// frames and samples recorded. Used by one capture thread.
class CCaptureClock
{
public:
    CCaptureClock(int nSyncMode, std::int64_t nShiftUs, std::int64_t nNominalDurationUs);

    // nUnpausedUs: recording-clock time less the pauses before it;
    // nDurationUs: the frame's length, 0 for a picture (nominal length).
    std::int64_t StreamTime(std::int64_t nUnpausedUs, std::int64_t nDurationUs);

private:
    int m_nSyncMode;
    std::int64_t m_nShiftUs;
    std::int64_t m_nNominalDurationUs;
    std::int64_t m_nCountedUs = 0;
};
