#pragma once

#include "engine/AvPtr.h"
#include "engine/CaptureClock.h"
#include "engine/FramePicture.h"
#include "engine/RecorderTypes.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>

// A decoded capture frame on its way to its stage. nTimeUs is the stream
// time, pauses already taken out; bRecord is false for frames captured while
// paused (shown, not recorded).
struct CCapturedFrame
{
    CFramePtr pFrame;
    std::int64_t nTimeUs = 0;
    bool bRecord = true;
};

// An encoded packet on its way to the muxer, timestamps in its encoder's
// time base.
struct CEncodedPacket
{
    CPacketPtr pPacket;
    int nStream = 0;
};

using CSteadyTime = std::chrono::steady_clock::time_point;

// What the threads of one recording share: the stop and pause requests, the
// first failure, the counters the status reports, and the wake-up of the
// supervising thread. Every member is safe to use from any thread.
class CSessionState
{
public:
    std::atomic<bool> m_bPaused = false;
    std::atomic<bool> m_bAudioMuted = false; // changed live
    CFrameOverlaySlot m_frameOverlay;        // changed live
    std::atomic<std::int64_t> m_nBytesWritten = 0;
    std::atomic<std::int64_t> m_nVideoFramesEncoded = 0;
    std::atomic<std::int64_t> m_nVideoFramesDropped = 0;
    std::atomic<std::int64_t> m_nAudioFramesDropped = 0;
    std::atomic<std::int64_t> m_nVideoFramesSkipped = 0;
    std::atomic<std::int64_t> m_nVideoFramesRepeated = 0;
    std::atomic<std::int64_t> m_nElapsedUs = 0;
    std::atomic<int> m_nFinishedSources = 0;
    // Test only: the built-in sources deliver nothing, as a stalled device.
    std::atomic<bool> m_bTestSourcesStalled = false;
    CSteadyTime m_startTime = std::chrono::steady_clock::now();

    // Pauses are instants of the recording clock, which runs from the start.
    void Pause()
    {
        m_bPaused = true;
        m_pauses.Pause(RecordingNowUs());
    }

    void Resume()
    {
        m_bPaused = false;
        m_pauses.Resume(RecordingNowUs());
    }

    CPauseTimeline& Pauses() { return m_pauses; }

    // Built-in sources running as fast as they can keep step on the
    // recording clock, as real devices do by running in real time: neither
    // gets further ahead of the other than CAPTURE_STEP_US, so a pause falls
    // on both at about the same place and the file's streams interleave.
    void PaceCaptures(bool bVideo, bool bAudio)
    {
        std::lock_guard lock(m_mutex);
        m_capturedUs = { bVideo ? 0 : NOT_PACED, bAudio ? 0 : NOT_PACED };
    }

    // A paced capture read a frame at nRecordingUs; waits while it is too
    // far ahead of the other. False on stop.
    bool KeepStep(bool bVideo, std::int64_t nRecordingUs)
    {
        std::unique_lock lock(m_mutex);
        m_capturedUs[bVideo ? 0 : 1] = nRecordingUs;
        m_cvStep.notify_all();
        const std::int64_t& nOtherUs = m_capturedUs[bVideo ? 1 : 0];
        m_cvStep.wait(lock, [&] { return m_bStopping || nOtherUs >= nRecordingUs - CAPTURE_STEP_US; });
        return !m_bStopping;
    }

    // A capture that ended holds the other back no longer.
    void EndStep(bool bVideo)
    {
        {
            std::lock_guard lock(m_mutex);
            m_capturedUs[bVideo ? 0 : 1] = NOT_PACED;
        }
        m_cvStep.notify_all();
    }

    // Both stages report how far they got; the elapsed time is the furthest
    // of them and never goes back, however their updates interleave.
    void RaiseElapsed(std::int64_t nTimeUs)
    {
        std::int64_t nElapsedUs = m_nElapsedUs.load();
        while (nElapsedUs < nTimeUs && !m_nElapsedUs.compare_exchange_weak(nElapsedUs, nTimeUs)) { }
    }

    // The audio stage raises the peak with every block; each status takes
    // it and starts over, so the status shows the loudest since the last.
    void RaiseAudioPeak(float fPeak)
    {
        float fCurrent = m_fAudioPeak.load();
        while (fCurrent < fPeak && !m_fAudioPeak.compare_exchange_weak(fCurrent, fPeak)) { }
    }

    float TakeAudioPeak() { return m_fAudioPeak.exchange(0); }

    // The first failure wins; later ones are consequences of it.
    void Fail(EFailure eCause, const std::string& strReason)
    {
        {
            std::lock_guard lock(m_mutex);
            if (m_strError.empty()) {
                m_strError = strReason;
                m_eFailure = eCause;
            }
        }
        Wake();
    }

    std::string Error() const
    {
        std::lock_guard lock(m_mutex);
        return m_strError;
    }

    EFailure Failure() const
    {
        std::lock_guard lock(m_mutex);
        return m_eFailure;
    }

    bool HasFailed() const
    {
        std::lock_guard lock(m_mutex);
        return !m_strError.empty();
    }

    void RequestStop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_bStopping = true;
        }
        m_cvStep.notify_all();
        Wake();
    }

    bool IsStopping() const { return m_bStopping; }

    void Wake() { m_cvWake.notify_all(); }

    // Waits until the time comes or a stop is requested; false on stop.
    bool WaitUntil(CSteadyTime wakeTime)
    {
        std::unique_lock lock(m_mutex);
        return !m_cvWake.wait_until(lock, wakeTime, [this] { return m_bStopping.load(); });
    }

    // Waits up to the timeout for any wake-up.
    void WaitForEvent(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        m_cvWake.wait_for(lock, timeout);
    }

private:
    std::int64_t RecordingNowUs() const
    {
        return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_startTime)
            .count();
    }

    static constexpr std::int64_t CAPTURE_STEP_US = 100000;
    static constexpr std::int64_t NOT_PACED = std::numeric_limits<std::int64_t>::max();

    CPauseTimeline m_pauses;
    std::array<std::int64_t, 2> m_capturedUs { NOT_PACED, NOT_PACED }; // video, audio
    mutable std::mutex m_mutex;
    std::condition_variable m_cvWake;
    std::condition_variable m_cvStep; // the paced captures only, so the status keeps its pace
    std::atomic<bool> m_bStopping = false;
    std::atomic<float> m_fAudioPeak = 0;
    std::string m_strError;
    EFailure m_eFailure = EFailure::eNone;
};
