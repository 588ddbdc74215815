#include "engine/RecordingSession.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <system_error>

extern "C" {
#include <libavutil/samplefmt.h>
}

#include "engine/AudioLevel.h"
#include "engine/EngineLog.h"
#include "engine/PictureFit.h"
#include "engine/SessionTrace.h"
#include "engine/TestSources.h"
#include "engine/V4l2Device.h"

namespace {

// Twenty statuses a second: often enough for a level meter to move smoothly.
constexpr auto STATUS_INTERVAL = std::chrono::milliseconds(50);
// How often a capture thread asks a device that had nothing, and how long a
// device may deliver nothing before the recording ends with what it has.
constexpr auto DEVICE_RETRY_INTERVAL = std::chrono::milliseconds(5);
constexpr auto DEVICE_STALL_TIMEOUT = std::chrono::seconds(3);
constexpr std::int64_t MICROSECONDS = 1000000;

std::string RateText(AVRational rate)
{
    return std::to_string(rate.num) + "/" + std::to_string(rate.den);
}

std::string SizeText(int nWidth, int nHeight)
{
    return std::to_string(nWidth) + "x" + std::to_string(nHeight);
}

bool IsBuiltIn(ESourceKind eKind)
{
    return eKind == ESourceKind::eTestPattern || eKind == ESourceKind::eTestTone;
}

// Leaves the nKeep samples from nSkip on in the frame.
bool KeepSamples(AVFrame* pFrame, int nSkip, int nKeep)
{
    if (nSkip > 0) {
        // A decoder's frame may share its buffers; the move must not reach them.
        if (av_frame_make_writable(pFrame) < 0)
            return false;
        av_samples_copy(pFrame->extended_data, pFrame->extended_data, 0, nSkip, nKeep, pFrame->ch_layout.nb_channels,
                        static_cast<AVSampleFormat>(pFrame->format));
    }
    pFrame->nb_samples = std::max(nKeep, 0);
    return true;
}

} // namespace

CRecordingSession::CRecordingSession(CRecordingSettings settings, CPreviewCallback previewCallback,
                                     CStatusCallback statusCallback, int nPreviewWidth, int nPreviewHeight)
    : m_settings(std::move(settings))
    , m_statusCallback(std::move(statusCallback))
    , m_videoStage(m_settings, m_state, std::move(previewCallback), nPreviewWidth, nPreviewHeight)
    , m_audioStage(m_settings, m_state)
{
}

CRecordingSession::~CRecordingSession()
{
    Stop();
}

bool CRecordingSession::Start(EFailure& eCause, std::string& strReason)
{
    if ((m_settings.bVideoCapture && !OpenVideoSource(eCause, strReason))
        || (m_settings.bAudioCapture && !OpenAudioSource(eCause, strReason)))
        return false;
    if (m_settings.bSaveToFile && !OpenOutput(eCause, strReason))
        return false;
    if (m_settings.videoDevice.eKind == ESourceKind::eV4l2)
        SetV4l2Mute(m_settings.videoDevice.strUrl, m_settings.bTvMute);
    m_state.m_startTime = std::chrono::steady_clock::now();
    m_state.Pauses().SetFrameRate(m_settings.frameRate);
    const bool bPaced = m_settings.test.bFastSources;
    m_state.PaceCaptures(bPaced && m_settings.bVideoCapture && IsBuiltIn(m_settings.videoDevice.eKind),
                         bPaced && m_settings.bAudioCapture && IsBuiltIn(m_settings.audioDevice.eKind));
    eCause = EFailure::eThreadStart;
    if (!StartThreads(strReason))
        return false;
    SessionTrace::Started(m_settings);
    return true;
}

bool CRecordingSession::StartThreads(std::string& strReason)
{
    try {
        if (m_pMuxer)
            Launch(m_muxerThread, "mux", [this] { RunGuarded("writing", [this] { m_pMuxer->Run(); }); });
        if (m_settings.bVideoCapture) {
            Launch(m_videoStageThread, "encode-video", [this] { RunGuarded("video", [this] { m_videoStage.Run(); }); });
            Launch(m_videoCaptureThread, "capture-video",
                   [this] { CaptureThread(*m_pVideoSource, m_videoStage.Input(), true); });
        }
        if (m_settings.bAudioCapture) {
            Launch(m_audioStageThread, "encode-audio", [this] { RunGuarded("audio", [this] { m_audioStage.Run(); }); });
            Launch(m_audioCaptureThread, "capture-audio",
                   [this] { CaptureThread(m_audioSource, m_audioStage.Input(), false); });
        }
        Launch(m_supervisorThread, "supervise", [this] { Supervise(); });
    } catch (const std::system_error& error) {
        // The threads already running end as at a stop, and a failed Start
        // leaves no file behind.
        strReason = std::string("cannot start a recording thread: ") + error.what();
        ShutDown();
        if (m_pMuxer)
            m_pMuxer->Discard();
        return false;
    }
    return true;
}

void CRecordingSession::Launch(std::thread& thread, const char* pszName, std::function<void()> work)
{
    if (m_settings.test.nThreadLimit >= 0 && m_nThreadsLaunched >= m_settings.test.nThreadLimit)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "thread limit for tests");
    thread = std::thread(std::move(work));
    NameThread(thread, pszName);
    ++m_nThreadsLaunched;
}

void CRecordingSession::RunGuarded(const char* pszWork, const std::function<void()>& work)
{
    // No exception may leave a thread; it becomes the recording's failure,
    // which stops the others in order.
    try {
        work();
    } catch (const std::exception& exception) {
        m_state.Fail(EFailure::eProcessing, std::string(pszWork) + " failed: " + exception.what());
    } catch (...) {
        m_state.Fail(EFailure::eProcessing, std::string(pszWork) + " failed");
    }
}

bool CRecordingSession::OpenVideoSource(EFailure& eCause, std::string& strReason)
{
    eCause = EFailure::ePictureSize;
    const CVideoDeviceInfo& device = m_settings.videoDevice;
    const bool bFormatChosen =
        m_settings.nVideoFormat >= 0 && static_cast<std::size_t>(m_settings.nVideoFormat) < device.formats.size();
    const CVideoFormatInfo* pFormat = bFormatChosen ? &device.formats[m_settings.nVideoFormat] : nullptr;
    // A device delivers its whole picture, at the chosen format's size or its
    // own; the video stage scales it into the coded size. (Asked for a
    // smaller size, the screen grabber would cut its top left corner out.)
    const bool bTestSize = device.eKind == ESourceKind::eTestPattern && m_settings.test.nPatternWidth > 0;
    const int nWidth = bTestSize ? m_settings.test.nPatternWidth : pFormat ? pFormat->nWidth : 0;
    const int nHeight = bTestSize ? m_settings.test.nPatternHeight : pFormat ? pFormat->nHeight : 0;
    CMediaSource::COptionList options;
    std::string strFormat;
    std::string strUrl = device.strUrl;
    switch (device.eKind) {
    case ESourceKind::eTestPattern: {
        // Asked for no size of its own, the pattern stands for a device that
        // delivers the coded picture itself: its size and its shape.
        CTestPatternPicture picture { nWidth, nHeight, SQUARE_PIXELS, m_settings.frameRate };
        if (nWidth == 0) {
            picture.nWidth = m_settings.nVideoWidth;
            picture.nHeight = m_settings.nVideoHeight;
            picture.pixelAspect = PixelAspect(picture.nWidth, picture.nHeight, m_settings.displayAspect);
        }
        if (picture.nWidth <= 0 || picture.nHeight <= 0) {
            strReason = "invalid picture size " + SizeText(picture.nWidth, picture.nHeight);
            return false;
        }
        strFormat = "lavfi";
        strUrl = TestPatternGraph(picture, m_settings.test.bSyncMarks, m_settings.test.bSquarePattern);
        break;
    }
    case ESourceKind::eScreen:
        strFormat = "x11grab";
        options.emplace_back("framerate", RateText(m_settings.frameRate));
        if (nWidth > 0)
            options.emplace_back("video_size", SizeText(nWidth, nHeight));
        break;
    case ESourceKind::eV4l2:
        strFormat = "v4l2";
        options.emplace_back("framerate", RateText(m_settings.frameRate));
        options.emplace_back("channel", std::to_string(m_settings.nVideoInput));
        if (pFormat && !pFormat->strInputFormat.empty())
            options.emplace_back("input_format", pFormat->strInputFormat);
        if (nWidth > 0)
            options.emplace_back("video_size", SizeText(nWidth, nHeight));
        break;
    case ESourceKind::ePipeWire:
        eCause = EFailure::eVideoDevice;
        m_pVideoSource = &m_pipeWireSource;
        if (!m_pipeWireSource.Open(m_settings.pipeWireStream, m_settings.frameRate, strReason)) {
            strReason = "video device \"" + device.strName + "\": " + strReason;
            return false;
        }
        SessionTrace::SourceOpened(true, device.strName,
                                   "PipeWire node " + std::to_string(m_settings.pipeWireStream.nNodeId));
        return true;
    default:
        strReason = device.strName + " is not a video device";
        eCause = EFailure::eVideoDevice;
        return false;
    }
    eCause = EFailure::eVideoDevice;
    if (!m_videoSource.Open(strFormat, strUrl, options, AVMEDIA_TYPE_VIDEO, strReason)) {
        strReason = "video device \"" + device.strName + "\": " + strReason;
        return false;
    }
    SessionTrace::SourceOpened(true, device.strName, m_videoSource.Describe());
    // FFmpeg's v4l2 input leaves the pixel shape out of its frames.
    if (device.eKind == ESourceKind::eV4l2)
        m_videoDisplayAspect = V4l2DisplayAspect(device.strUrl);
    return true;
}

bool CRecordingSession::OpenAudioSource(EFailure& eCause, std::string& strReason)
{
    eCause = EFailure::eEncoderSettings;
    const CAudioDeviceInfo& device = m_settings.audioDevice;
    const int nRate = m_settings.nAudioSampleRate;
    const int nChannels = m_settings.nAudioChannels;
    if (nRate <= 0 || nChannels <= 0) {
        strReason =
            "invalid audio profile: " + std::to_string(nRate) + " Hz, " + std::to_string(nChannels) + " channels";
        return false;
    }
    CMediaSource::COptionList options;
    std::string strFormat;
    std::string strUrl = device.strUrl;
    switch (device.eKind) {
    case ESourceKind::eTestTone:
        if (std::abs(m_settings.test.nClockSkewPpm) > MAX_TEST_CLOCK_SKEW_PPM) {
            strReason = "a clock skew of " + std::to_string(m_settings.test.nClockSkewPpm)
                + " ppm is beyond the test tone's limit of " + std::to_string(MAX_TEST_CLOCK_SKEW_PPM);
            return false;
        }
        strFormat = "lavfi";
        strUrl = TestToneGraph(nRate, m_settings.test.bSyncMarks, m_settings.test.nClockSkewPpm);
        break;
    case ESourceKind::ePulse:
    case ESourceKind::eAlsa:
        strFormat = device.eKind == ESourceKind::ePulse ? "pulse" : "alsa";
        options.emplace_back("sample_rate", std::to_string(nRate));
        options.emplace_back("channels", std::to_string(nChannels));
        break;
    default:
        strReason = device.strName + " is not an audio device";
        eCause = EFailure::eAudioDevice;
        return false;
    }
    eCause = EFailure::eAudioDevice;
    if (device.eKind == ESourceKind::eAlsa)
        SelectAlsaCaptureSource(device, m_settings.nAudioInput);
    if (!m_audioSource.Open(strFormat, strUrl, options, AVMEDIA_TYPE_AUDIO, strReason)) {
        strReason = "audio device \"" + device.strName + "\": " + strReason;
        return false;
    }
    SessionTrace::SourceOpened(false, device.strName, m_audioSource.Describe());
    return true;
}

bool CRecordingSession::OpenOutput(EFailure& eCause, std::string& strReason)
{
    eCause = EFailure::eOutputType;
    const bool bMpeg = m_settings.nWorkMode == WORK_MODE_MPEG;
    if (bMpeg && m_settings.nOutputType != OUTPUT_TYPE_MPEG1 && m_settings.nOutputType != OUTPUT_TYPE_MPEG2) {
        strReason = "output type " + std::to_string(m_settings.nOutputType) + " is not MPEG-1 (5) or MPEG-2 (6)";
        return false;
    }
    if (m_settings.strFileName.empty()) {
        strReason = "no file name given";
        eCause = EFailure::eNoFileName;
        return false;
    }
    eCause = EFailure::eEncoderSettings;
    if ((m_settings.bVideoCapture && !m_videoStage.OpenEncoder(strReason))
        || (m_settings.bAudioCapture && !m_audioStage.OpenEncoder(strReason)))
        return false;
    m_pMuxer = std::make_unique<CMuxer>(m_state, m_settings);
    const int nVideoStream = m_settings.bVideoCapture ? m_pMuxer->AddStream(m_videoStage.Encoder(), strReason) : 0;
    const int nAudioStream = m_settings.bAudioCapture ? m_pMuxer->AddStream(m_audioStage.Encoder(), strReason) : 0;
    if (nVideoStream < 0 || nAudioStream < 0)
        return false;
    if (!m_pMuxer->Open(m_settings.strFileName, m_settings.strTitle, eCause, strReason))
        return false;
    m_videoStage.ConnectMuxer(&m_pMuxer->Input(), nVideoStream);
    m_audioStage.ConnectMuxer(&m_pMuxer->Input(), nAudioStream);
    return true;
}

void CRecordingSession::CaptureThread(CFrameSource& source, CBoundedQueue<CCapturedFrame>& queue, bool bVideo)
{
    RunGuarded(bVideo ? "video capture" : "audio capture", [&] { CaptureLoop(source, queue, bVideo); });
    m_state.EndStep(bVideo);
    ++m_state.m_nFinishedSources;
    m_state.Wake();
}

void CRecordingSession::CaptureLoop(CFrameSource& source, CBoundedQueue<CCapturedFrame>& queue, bool bVideo)
{
    const ESourceKind eKind = bVideo ? m_settings.videoDevice.eKind : m_settings.audioDevice.eKind;
    const bool bBuiltIn = IsBuiltIn(eKind);
    const bool bThrottle = bBuiltIn && !m_settings.test.bFastSources;
    // Only the built-in sources may hold the capture back; a real device
    // keeps delivering, so what the pipeline cannot take is dropped and counted.
    const bool bMayWait = bBuiltIn && m_settings.test.bFastSources;
    CRecordingTimeSource recordingTime(bBuiltIn, bVideo, m_settings.test.nClockSkewPpm);
    CCaptureClock clock(m_settings.nSyncMode, ManualShiftUs(bVideo),
                        av_rescale(MICROSECONDS, m_settings.frameRate.den, m_settings.frameRate.num));
    const AVRational timeBase = source.TimeBase();
    CSteadyTime lastDelivery = std::chrono::steady_clock::now();
    CFramePtr pFrame;

    while (!m_state.IsStopping()) {
        if (!pFrame)
            pFrame.reset(av_frame_alloc());
        if (!pFrame)
            throw std::bad_alloc();
        const bool bStalled = bBuiltIn && m_state.m_bTestSourcesStalled;
        const int nResult = bStalled ? AVERROR(EAGAIN) : source.ReadFrame(pFrame.get());
        const CSteadyTime now = std::chrono::steady_clock::now();
        if (nResult == AVERROR(EAGAIN)) {
            if (now - lastDelivery > DEVICE_STALL_TIMEOUT) {
                m_state.Fail(EFailure::eDeviceStalled,
                             std::string(bVideo ? "video" : "audio") + " device stopped delivering");
                return;
            }
            if (!m_state.WaitUntil(now + DEVICE_RETRY_INTERVAL))
                return;
            continue;
        }
        lastDelivery = now;
        if (nResult < 0) {
            if (!m_state.IsStopping())
                m_state.Fail(EFailure::eCaptureEnded,
                             std::string(bVideo ? "video" : "audio") + " capture ended: " + source.EndCause(nResult));
            return;
        }
        if (bVideo)
            MarkPixelAspect(pFrame.get());
        const std::int64_t nPts = pFrame->best_effort_timestamp != AV_NOPTS_VALUE ? pFrame->best_effort_timestamp : 0;
        const std::int64_t nArrivalUs =
            std::chrono::duration_cast<std::chrono::microseconds>(now - m_state.m_startTime).count();
        const std::int64_t nRecordingUs = recordingTime.RecordingTime(nPts, timeBase, pFrame->sample_rate, nArrivalUs);
        if (bThrottle && !m_state.WaitUntil(m_state.m_startTime + std::chrono::microseconds(nRecordingUs)))
            return;
        if (bMayWait && !m_state.KeepStep(bVideo, nRecordingUs))
            return;
        CCapturedFrame captured;
        const EPlacement ePlacement = Place(pFrame.get(), nRecordingUs, bVideo, clock, captured);
        if (ePlacement == EPlacement::eBeyondLimit)
            return;
        // Paused audio is neither recorded nor shown.
        if (ePlacement == EPlacement::ePaused && !bVideo)
            continue;
        captured.pFrame = std::move(pFrame);
        (bVideo ? m_state.m_nVideoFramesDropped : m_state.m_nAudioFramesDropped) += source.TakeFramesLost();
        if (bMayWait) {
            if (!queue.Push(std::move(captured)))
                return;
        } else if (!queue.TryPush(std::move(captured)) && !m_state.IsStopping()) {
            // A queue closed by Stop refuses too; that frame is no loss.
            if (++(bVideo ? m_state.m_nVideoFramesDropped : m_state.m_nAudioFramesDropped) == 1)
                SessionTrace::FirstDrop(bVideo);
        }
    }
}

void CRecordingSession::MarkPixelAspect(AVFrame* pFrame) const
{
    if (pFrame->sample_aspect_ratio.num <= 0 && m_videoDisplayAspect.num > 0)
        pFrame->sample_aspect_ratio = PixelAspect(pFrame->width, pFrame->height, m_videoDisplayAspect);
}

std::int64_t CRecordingSession::ManualShiftUs(bool bVideo) const
{
    if (m_settings.nSyncMode != SYNC_MODE_MANUAL)
        return 0;
    // A positive offset plays the audio later; a negative one the video.
    const std::int64_t nOffsetUs = static_cast<std::int64_t>(m_settings.nAudioOffsetMs) * 1000;
    return bVideo ? std::max<std::int64_t>(0, -nOffsetUs) : std::max<std::int64_t>(0, nOffsetUs);
}

CRecordingSession::EPlacement CRecordingSession::Place(AVFrame* pFrame, std::int64_t nRecordingUs, bool bVideo,
                                                       CCaptureClock& clock, CCapturedFrame& captured)
{
    const std::int64_t nDurationUs = bVideo ? 0 : av_rescale(pFrame->nb_samples, MICROSECONDS, pFrame->sample_rate);
    const CRecordedSpan span = m_state.Pauses().Recorded(nRecordingUs, nDurationUs);
    captured.bRecord = span.bRecorded;
    if (!span.bRecorded)
        return EPlacement::ePaused;
    if (!bVideo && (span.nFromUs > nRecordingUs || span.nToUs < nRecordingUs + nDurationUs)) {
        // A block the pause begins or ends in keeps the samples outside it.
        const int nSkip = static_cast<int>(av_rescale(span.nFromUs - nRecordingUs, pFrame->sample_rate, MICROSECONDS));
        const int nKeep = static_cast<int>(av_rescale(span.nToUs - span.nFromUs, pFrame->sample_rate, MICROSECONDS));
        if (!KeepSamples(pFrame, nSkip, std::min(nKeep, pFrame->nb_samples - nSkip)))
            throw std::bad_alloc();
    }
    const std::int64_t nKeptDurationUs = bVideo ? 0 : av_rescale(pFrame->nb_samples, MICROSECONDS, pFrame->sample_rate);
    captured.nTimeUs = clock.StreamTime(span.nFromUs - span.nPausedBeforeUs, nKeptDurationUs);
    const std::int64_t nLimitUs = static_cast<std::int64_t>(m_settings.dDurationLimitSeconds * MICROSECONDS);
    if (nLimitUs > 0 && captured.nTimeUs >= nLimitUs)
        return EPlacement::eBeyondLimit;
    if (!bVideo && nLimitUs > 0 && captured.nTimeUs + nKeptDurationUs > nLimitUs)
        pFrame->nb_samples =
            static_cast<int>(av_rescale(nLimitUs - captured.nTimeUs, pFrame->sample_rate, MICROSECONDS));
    return EPlacement::eRecorded;
}

void CRecordingSession::Supervise()
{
    const int nSources = (m_settings.bVideoCapture ? 1 : 0) + (m_settings.bAudioCapture ? 1 : 0);
    while (!m_state.IsStopping() && !m_state.HasFailed() && m_state.m_nFinishedSources < nSources) {
        m_state.WaitForEvent(STATUS_INTERVAL);
        Report(TakeStatus());
    }
    ShutDown();
    ReportHeldBackStream();
    CRecorderStatus status = TakeStatus();
    status.bFinished = true;
    SessionTrace::Closed(status);
    status.dAudioLevelDbfs = SILENCE_DBFS;
    Report(status);
    {
        std::lock_guard lock(m_finishedMutex);
        m_bFinished = true;
    }
    m_cvFinished.notify_all();
}

void CRecordingSession::ReportHeldBackStream()
{
    const int nOffsetMs = m_settings.nAudioOffsetMs;
    if (!m_pMuxer || nOffsetMs == 0 || m_state.HasFailed())
        return;
    const bool bAudioHeld = nOffsetMs > 0;
    const AVMediaType eHeld = bAudioHeld ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO;
    const AVMediaType eOther = bAudioHeld ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
    constexpr std::int64_t MICROSECONDS_PER_MS = 1000;
    const std::int64_t nOffsetUs = std::abs(nOffsetMs) * MICROSECONDS_PER_MS;
    if (m_pMuxer->HasStream(eHeld) && !m_pMuxer->WroteAny(eHeld) && m_pMuxer->WroteAny(eOther)
        && m_state.m_nElapsedUs <= nOffsetUs) {
        const std::string strHeld = bAudioHeld ? "audio" : "video";
        m_state.Fail(EFailure::eSyncMode,
                     "the recording was shorter than the audio offset of " + std::to_string(nOffsetMs)
                         + " ms, so the file has no " + strHeld);
    }
}

void CRecordingSession::Report(const CRecorderStatus& status)
{
    if (m_statusCallback)
        RunGuarded("the status callback", [&] { m_statusCallback(status); });
}

void CRecordingSession::ShutDown()
{
    m_state.RequestStop();
    m_pVideoSource->Interrupt();
    m_audioSource.Interrupt();
    // Closing the stage queues releases capture threads waiting for room;
    // the stages still encode what is queued. A thread that never started
    // (Start failed half-way) has nothing to join.
    m_videoStage.Input().Close();
    m_audioStage.Input().Close();
    for (std::thread* pThread :
         { &m_videoCaptureThread, &m_audioCaptureThread, &m_videoStageThread, &m_audioStageThread }) {
        if (pThread->joinable())
            pThread->join();
    }
    if (m_pMuxer) {
        m_pMuxer->Input().Close();
        if (m_muxerThread.joinable())
            m_muxerThread.join();
    }
}

void CRecordingSession::Stop()
{
    m_state.RequestStop();
    if (m_supervisorThread.joinable())
        m_supervisorThread.join();
}

bool CRecordingSession::WaitUntilFinished(int nTimeoutMs)
{
    std::unique_lock lock(m_finishedMutex);
    if (nTimeoutMs < 0) {
        m_cvFinished.wait(lock, [this] { return m_bFinished; });
        return true;
    }
    return m_cvFinished.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), [this] { return m_bFinished; });
}

CRecorderStatus CRecordingSession::TakeStatus()
{
    CRecorderStatus status;
    status.dElapsedSeconds = static_cast<double>(m_state.m_nElapsedUs) / MICROSECONDS;
    status.nBytesWritten = m_state.m_nBytesWritten;
    status.nVideoFramesEncoded = m_state.m_nVideoFramesEncoded;
    status.nVideoFramesDropped = m_state.m_nVideoFramesDropped;
    status.nAudioFramesDropped = m_state.m_nAudioFramesDropped;
    status.nVideoFramesSkipped = m_state.m_nVideoFramesSkipped;
    status.nVideoFramesRepeated = m_state.m_nVideoFramesRepeated;
    status.bPaused = m_state.m_bPaused;
    status.strError = m_state.Error();
    status.eFailure = m_state.Failure();
    status.dAudioLevelDbfs = AmplitudeToDbfs(m_state.TakeAudioPeak());
    return status;
}
