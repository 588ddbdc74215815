#include "engine/CaptureClock.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

extern "C" {
#include <libavutil/mathematics.h>
}

#include "engine/RecordingProfile.h"
#include "engine/TestSources.h"

namespace {

constexpr std::int64_t MICROSECONDS = 1000000;
constexpr AVRational MICROSECOND_TIME_BASE { 1, MICROSECONDS };
// The loop's bandwidth: slow enough to smooth out the blocks' jitter, quick
// enough to learn a card's rate within the first seconds. Its damping is the
// critical one of a second-order loop.
constexpr double TRACKER_BANDWIDTH_HZ = 0.05;
constexpr double TRACKER_DAMPING_GAIN = std::numbers::sqrt2;
// No sound card is this far off; a tracker beyond it was misled.
constexpr double MAX_RATE_DEVIATION = 0.01;
constexpr std::int64_t STILL_PAUSED = std::numeric_limits<std::int64_t>::max();

} // namespace

std::int64_t CDeviceClockTracker::Track(std::int64_t nDeviceUs, std::int64_t nArrivalUs)
{
    if (!m_bStarted) {
        m_bStarted = true;
        m_nAnchorDeviceUs = nDeviceUs;
        m_dAnchorRecordingUs = static_cast<double>(nArrivalUs);
        return nArrivalUs;
    }
    const std::int64_t nStepUs = nDeviceUs - m_nAnchorDeviceUs;
    const double dPredictedUs = m_dAnchorRecordingUs + static_cast<double>(nStepUs) * m_dRecordingPerDevice;
    // A device time that does not move on tells nothing about the rate.
    if (nStepUs <= 0)
        return std::llround(dPredictedUs);
    const double dErrorUs = static_cast<double>(nArrivalUs) - dPredictedUs;
    const double dLoopStep = 2 * std::numbers::pi * TRACKER_BANDWIDTH_HZ * static_cast<double>(nStepUs) / MICROSECONDS;
    m_dAnchorRecordingUs = dPredictedUs + std::min(1.0, TRACKER_DAMPING_GAIN * dLoopStep) * dErrorUs;
    m_dRecordingPerDevice = std::clamp(m_dRecordingPerDevice + dLoopStep * dLoopStep * dErrorUs / nStepUs,
                                       1 - MAX_RATE_DEVIATION, 1 + MAX_RATE_DEVIATION);
    m_nAnchorDeviceUs = nDeviceUs;
    return std::llround(m_dAnchorRecordingUs);
}

CRecordingTimeSource::CRecordingTimeSource(bool bBuiltIn, bool bVideo, int nClockSkewPpm)
    : m_bBuiltIn(bBuiltIn)
    , m_bVideo(bVideo)
    , m_nClockSkewPpm(nClockSkewPpm)
{
}

std::int64_t CRecordingTimeSource::RecordingTime(std::int64_t nPts, AVRational timeBase, int nSampleRate,
                                                 std::int64_t nArrivalUs)
{
    if (!m_bStarted) {
        m_bStarted = true;
        m_nFirstPts = nPts;
        m_nArrivalOffsetUs = m_bBuiltIn ? 0 : nArrivalUs;
    }
    const std::int64_t nDeviceUs = av_rescale_q(nPts - m_nFirstPts, timeBase, MICROSECOND_TIME_BASE);
    if (m_bVideo)
        return m_nArrivalOffsetUs + nDeviceUs;
    if (m_bBuiltIn) {
        // The tone's block arrives exactly when its first sample is due.
        const std::int64_t nSample = av_rescale_q(nPts - m_nFirstPts, timeBase, AVRational { 1, nSampleRate });
        nArrivalUs = TestToneRecordingTimeUs(nSample, nSampleRate, m_nClockSkewPpm);
    }
    return m_tracker.Track(nDeviceUs, nArrivalUs);
}

void CPauseTimeline::Pause(std::int64_t nNowUs)
{
    std::lock_guard lock(m_mutex);
    if (m_pauses.empty() || m_pauses.back().nEndUs != STILL_PAUSED)
        m_pauses.push_back({ std::max(nNowUs, m_nJudgedUs), STILL_PAUSED });
}

void CPauseTimeline::Resume(std::int64_t nNowUs)
{
    std::lock_guard lock(m_mutex);
    if (m_pauses.empty() || m_pauses.back().nEndUs != STILL_PAUSED)
        return;
    CPause& pause = m_pauses.back();
    std::int64_t nPausedUs = std::max(nNowUs, m_nJudgedUs) - pause.nStartUs;
    if (m_frameRate.num > 0) {
        const std::int64_t nFrameScale = m_frameRate.den * MICROSECONDS;
        const std::int64_t nFrames = av_rescale_rnd(nPausedUs, m_frameRate.num, nFrameScale, AV_ROUND_UP);
        nPausedUs = av_rescale(nFrames, nFrameScale, m_frameRate.num);
    }
    pause.nEndUs = pause.nStartUs + nPausedUs;
    // A pause that cut nothing would still split the block it began in.
    if (nPausedUs == 0)
        m_pauses.pop_back();
}

void CPauseTimeline::SetFrameRate(AVRational frameRate)
{
    std::lock_guard lock(m_mutex);
    m_frameRate = frameRate;
}

CRecordedSpan CPauseTimeline::Recorded(std::int64_t nStartUs, std::int64_t nDurationUs)
{
    std::lock_guard lock(m_mutex);
    // A picture holds its instant: a pause may begin only after it.
    m_nJudgedUs = std::max(m_nJudgedUs, nStartUs + std::max<std::int64_t>(nDurationUs, 1));
    CRecordedSpan span { true, nStartUs, nStartUs + nDurationUs, 0 };
    for (const CPause& pause : m_pauses) {
        if (pause.nEndUs <= span.nFromUs) {
            span.nPausedBeforeUs += pause.nEndUs - pause.nStartUs;
            continue;
        }
        if (pause.nStartUs > span.nFromUs) {
            span.nToUs = std::min(span.nToUs, pause.nStartUs);
            break;
        }
        if (nDurationUs <= 0 || pause.nEndUs >= span.nToUs) {
            span.bRecorded = false;
            return span;
        }
        // A block that outlasts the pause keeps its end.
        span.nPausedBeforeUs += pause.nEndUs - pause.nStartUs;
        span.nFromUs = pause.nEndUs;
    }
    return span;
}

CCaptureClock::CCaptureClock(int nSyncMode, std::int64_t nShiftUs, std::int64_t nNominalDurationUs)
    : m_nSyncMode(nSyncMode)
    , m_nShiftUs(nShiftUs)
    , m_nNominalDurationUs(nNominalDurationUs)
{
}

std::int64_t CCaptureClock::StreamTime(std::int64_t nUnpausedUs, std::int64_t nDurationUs)
{
    if (m_nSyncMode != SYNC_MODE_NONE)
        return nUnpausedUs + m_nShiftUs;
    const std::int64_t nCountedUs = m_nCountedUs;
    m_nCountedUs += nDurationUs > 0 ? nDurationUs : m_nNominalDurationUs;
    return nCountedUs;
}
