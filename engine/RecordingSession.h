#pragma once

#include "engine/AudioStage.h"
#include "engine/CaptureClock.h"
#include "engine/MediaSource.h"
#include "engine/Muxer.h"
#include "engine/PipeWireSource.h"
#include "engine/RecorderTypes.h"
#include "engine/RecordingSettings.h"
#include "engine/SessionState.h"
#include "engine/VideoStage.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>

// One run of the recorder, from Start to Stop: the two capture threads, the
// video and audio stages, the muxer and a supervising thread that reports the
// status and shuts everything down in order when asked to, when a thread
// fails or when the sources end.
class CRecordingSession
{
public:
    CRecordingSession(CRecordingSettings settings, CPreviewCallback previewCallback, CStatusCallback statusCallback,
                      int nPreviewWidth, int nPreviewHeight);
    ~CRecordingSession();
    CRecordingSession(const CRecordingSession&) = delete;
    CRecordingSession& operator=(const CRecordingSession&) = delete;

    // Opens devices, encoders and the file, then starts the threads. False
    // with the failed check and its details when any of it cannot start;
    // nothing runs then.
    bool Start(EFailure& eCause, std::string& strReason);

    // Finishes and closes the file; returns when every thread has ended.
    void Stop();

    // Waits until the session ended on its own or was stopped; false on
    // timeout (a negative timeout waits for ever).
    bool WaitUntilFinished(int nTimeoutMs);

    CSessionState& State() { return m_state; }
    const CRecordingSettings& Settings() const { return m_settings; }
    bool IsWritingFile() const { return m_pMuxer != nullptr; }
    const std::string& FileName() const { return m_settings.strFileName; }
    // The counters now, and the audio peak since the last call.
    CRecorderStatus TakeStatus();

private:
    bool OpenVideoSource(EFailure& eCause, std::string& strReason);
    bool OpenAudioSource(EFailure& eCause, std::string& strReason);
    bool OpenOutput(EFailure& eCause, std::string& strReason);
    void CaptureLoop(CFrameSource& source, CBoundedQueue<CCapturedFrame>& queue, bool bVideo);
    // What became of a captured frame: recorded (its stream time set),
    // left out by a pause, or past the recording's duration limit.
    enum class EPlacement {
        eRecorded,
        ePaused,
        eBeyondLimit,
    };
    EPlacement Place(AVFrame* pFrame, std::int64_t nRecordingUs, bool bVideo, CCaptureClock& clock,
                     CCapturedFrame& captured);
    std::int64_t ManualShiftUs(bool bVideo) const;
    // Gives a video frame the pixel shape its device told when the frame has none.
    void MarkPixelAspect(AVFrame* pFrame) const;
    void CaptureThread(CFrameSource& source, CBoundedQueue<CCapturedFrame>& queue, bool bVideo);
    void RunGuarded(const char* pszWork, const std::function<void()>& work);
    bool StartThreads(std::string& strReason);
    // pszName names the thread: at most 15 characters.
    void Launch(std::thread& thread, const char* pszName, std::function<void()> work);
    void Supervise();
    // Manual sync holds one stream back by the audio offset: a recording
    // that ended sooner lacks it, which must not pass unsaid.
    void ReportHeldBackStream();
    void Report(const CRecorderStatus& status);
    void ShutDown();

    CRecordingSettings m_settings;
    CStatusCallback m_statusCallback;
    CSessionState m_state;
    CMediaSource m_videoSource;
    CPipeWireSource m_pipeWireSource;
    CFrameSource* m_pVideoSource = &m_videoSource; // the one of the two the device needs
    AVRational m_videoDisplayAspect { 0, 1 };      // the video device's own, when it tells
    CMediaSource m_audioSource;
    CVideoStage m_videoStage;
    CAudioStage m_audioStage;
    std::unique_ptr<CMuxer> m_pMuxer;

    std::thread m_videoCaptureThread;
    std::thread m_audioCaptureThread;
    std::thread m_videoStageThread;
    std::thread m_audioStageThread;
    std::thread m_muxerThread;
    std::thread m_supervisorThread;
    int m_nThreadsLaunched = 0;

    std::mutex m_finishedMutex;
    std::condition_variable m_cvFinished;
    bool m_bFinished = false;
};
