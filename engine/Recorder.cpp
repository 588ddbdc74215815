#include "engine/Recorder.h"

#include "engine/CompressorCatalog.h"
#include "engine/Encoding.h"
#include "engine/EngineLog.h"
#include "engine/FfmpegLog.h"
#include "engine/ProfileLimits.h"
#include "engine/RecordingSession.h"
#include "engine/RecordingSettings.h"
#include "engine/V4l2Device.h"

#include <filesystem>

namespace {

// The rates an MPEG sequence header can carry, by the whole number the
// program passes.
struct CFrameRateCode
{
    short nCode;
    AVRational rate;
};
constexpr CFrameRateCode MPEG_FRAME_RATES[] = {
    { 23, { 24000, 1001 } }, { 24, { 24, 1 } }, { 25, { 25, 1 } },       { 29, { 30000, 1001 } },
    { 30, { 30, 1 } },       { 50, { 50, 1 } }, { 59, { 60000, 1001 } }, { 60, { 60, 1 } },
};

std::vector<std::string> CompressorNames(ECompressorKind eKind)
{
    std::vector<std::string> names;
    for (const CCompressorInfo& compressor : ListCompressors(eKind))
        names.push_back(compressor.strName);
    return names;
}

// MPEG carries only the rates of its table; AVI any whole rate, the table's
// codes still standing for the NTSC rates.
bool ResolveFrameRate(int nWorkMode, short nCode, AVRational& rate)
{
    const auto found = std::find_if(std::begin(MPEG_FRAME_RATES), std::end(MPEG_FRAME_RATES),
                                    [nCode](const CFrameRateCode& code) { return code.nCode == nCode; });
    if (found != std::end(MPEG_FRAME_RATES)) {
        rate = found->rate;
        return true;
    }
    if (nWorkMode == WORK_MODE_AVI && nCode > 0) {
        rate = AVRational { nCode, 1 };
        return true;
    }
    return false;
}

short DefaultCompressor(ECompressorKind eKind, const char* pszCodec)
{
    return static_cast<short>(std::max(0, FindCompressor(eKind, pszCodec)));
}

template <typename T>
bool IsValidIndex(short nIndex, const std::vector<T>& items)
{
    return nIndex >= 0 && static_cast<std::size_t>(nIndex) < items.size();
}

template <typename TDevice>
std::optional<short> FindDeviceByName(const std::vector<TDevice>& devices, const std::string& strName)
{
    for (std::size_t nIndex = 0; nIndex < devices.size(); ++nIndex) {
        if (devices[nIndex].strName == strName)
            return static_cast<short>(nIndex);
    }
    return std::nullopt;
}

} // namespace

bool IsMpegFrameRate(int nCode)
{
    AVRational rate {};
    return nCode == static_cast<short>(nCode) && ResolveFrameRate(WORK_MODE_MPEG, static_cast<short>(nCode), rate);
}

CRecorder::CRecorder()
{
    m_profile.nVideoCompressor = DefaultCompressor(ECompressorKind::eVideo, DEFAULT_VIDEO_COMPRESSOR);
    m_profile.nAudioCompressor = DefaultCompressor(ECompressorKind::eAudio, DEFAULT_AUDIO_COMPRESSOR);
    CaptureFfmpegErrors();
}

CRecorder::~CRecorder()
{
    StopSession();
    JoinScan();
}

void CRecorder::RefreshDevices()
{
    CPortalProbe portalProbe;
    {
        std::lock_guard lock(m_scanMutex);
        portalProbe = m_portalProbe;
    }
    AdoptDevices({ ListVideoDevices(portalProbe), ListAudioDevices() });
}

void CRecorder::SetPortalProbe(CPortalProbe probe)
{
    std::lock_guard lock(m_scanMutex);
    m_portalProbe = std::move(probe);
}

void CRecorder::BeginDeviceScan(std::function<void()> onScanned)
{
    std::lock_guard lock(m_scanMutex);
    m_onScanned = std::move(onScanned);
    if (m_bScanRunning)
        return;
    if (m_scanThread.joinable())
        m_scanThread.join(); // finished: it cleared m_bScanRunning
    m_bScanRunning = true;
    m_scanThread = std::thread([this, portalProbe = m_portalProbe] {
        CDeviceLists lists { ListVideoDevices(portalProbe), ListAudioDevices() };
        std::function<void()> onScanned;
        {
            std::lock_guard lock(m_scanMutex);
            m_scanned = std::move(lists);
            m_bScanRunning = false;
            onScanned = m_onScanned;
        }
        m_cvScanned.notify_all();
        if (onScanned)
            onScanned();
    });
    NameThread(m_scanThread, "device-scan");
}

bool CRecorder::AdoptScannedDevices()
{
    std::optional<CDeviceLists> scanned;
    {
        std::lock_guard lock(m_scanMutex);
        scanned.swap(m_scanned);
    }
    if (!scanned)
        return false;
    AdoptDevices(std::move(*scanned));
    return true;
}

void CRecorder::JoinScan()
{
    if (m_scanThread.joinable())
        m_scanThread.join();
}

void CRecorder::AdoptDevices(CDeviceLists lists)
{
    // A device chosen before keeps its place by name, with its input and
    // format; one that went away gives way to the default device.
    const std::optional<short> videoIndex = m_bDevicesRead && IsValidIndex(m_profile.nVideoDevice, m_videoDevices)
        ? FindDeviceByName(lists.video, m_videoDevices[m_profile.nVideoDevice].strName)
        : std::nullopt;
    const std::optional<short> audioIndex = m_bDevicesRead && IsValidIndex(m_profile.nAudioDevice, m_audioDevices)
        ? FindDeviceByName(lists.audio, m_audioDevices[m_profile.nAudioDevice].strName)
        : std::nullopt;
    m_videoDevices = std::move(lists.video);
    m_audioDevices = std::move(lists.audio);
    m_bDevicesRead = true;
    if (videoIndex) {
        m_profile.nVideoDevice = *videoIndex;
    } else {
        m_profile.nVideoDevice = static_cast<short>(DefaultVideoDeviceIndex(m_videoDevices));
        m_profile.nVideoInput = 0;
        m_profile.nVideoFormat = -1;
    }
    if (audioIndex) {
        m_profile.nAudioDevice = *audioIndex;
    } else {
        m_profile.nAudioDevice = static_cast<short>(DefaultAudioDeviceIndex(m_audioDevices));
        m_profile.nAudioInput = 0;
    }
}

void CRecorder::EnsureDevices()
{
    if (m_bDevicesRead)
        return;
    {
        // A scan under way reads what a scan here would; wait for it.
        std::unique_lock lock(m_scanMutex);
        m_cvScanned.wait(lock, [this] { return !m_bScanRunning; });
    }
    if (!AdoptScannedDevices())
        RefreshDevices();
}

CNameList CRecorder::GetVideoDevices()
{
    EnsureDevices();
    std::vector<std::string> names;
    for (const CVideoDeviceInfo& device : m_videoDevices)
        names.push_back(device.strName);
    return CNameList(std::move(names));
}

CNameList CRecorder::GetVideoInputs()
{
    EnsureDevices();
    return GetVideoInputs(m_profile.nVideoDevice);
}

CNameList CRecorder::GetVideoInputs(short nDevice)
{
    EnsureDevices();
    return CNameList(IsValidIndex(nDevice, m_videoDevices) ? m_videoDevices[nDevice].inputs
                                                           : std::vector<std::string>());
}

CNameList CRecorder::GetVideoFormats()
{
    EnsureDevices();
    return GetVideoFormats(m_profile.nVideoDevice);
}

CNameList CRecorder::GetVideoFormats(short nDevice)
{
    EnsureDevices();
    std::vector<std::string> names;
    if (IsValidIndex(nDevice, m_videoDevices)) {
        for (const CVideoFormatInfo& format : m_videoDevices[nDevice].formats)
            names.push_back(format.strName);
    }
    return CNameList(std::move(names));
}

CNameList CRecorder::GetVideoCompressors() const
{
    return CNameList(CompressorNames(ECompressorKind::eVideo));
}

CNameList CRecorder::GetAudioDevices()
{
    EnsureDevices();
    std::vector<std::string> names;
    for (const CAudioDeviceInfo& device : m_audioDevices)
        names.push_back(device.strName);
    return CNameList(std::move(names));
}

CNameList CRecorder::GetAudioInputs()
{
    EnsureDevices();
    return GetAudioInputs(m_profile.nAudioDevice);
}

CNameList CRecorder::GetAudioInputs(short nDevice)
{
    EnsureDevices();
    return CNameList(IsValidIndex(nDevice, m_audioDevices) ? m_audioDevices[nDevice].inputs
                                                           : std::vector<std::string>());
}

CNameList CRecorder::GetAudioCompressors() const
{
    return CNameList(CompressorNames(ECompressorKind::eAudio));
}

void CRecorder::SetVideoDevice(short nIndex)
{
    EnsureDevices();
    m_profile.nVideoDevice = nIndex;
    m_profile.nVideoInput = 0;
    m_profile.nVideoFormat = -1;
}

short CRecorder::GetVideoDevice()
{
    EnsureDevices();
    return m_profile.nVideoDevice;
}

void CRecorder::SetAudioDevice(short nIndex)
{
    EnsureDevices();
    m_profile.nAudioDevice = nIndex;
    m_profile.nAudioInput = 0;
}

short CRecorder::GetAudioDevice()
{
    EnsureDevices();
    return m_profile.nAudioDevice;
}

std::string CRecorder::CompressorCodec(ECompressorKind eKind, short nIndex) const
{
    const std::vector<CCompressorInfo>& compressors = ListCompressors(eKind);
    return IsValidIndex(nIndex, compressors) ? compressors[nIndex].strCodec : std::string();
}

bool CRecorder::HasCompressorOptions(ECompressorKind eKind, short nIndex) const
{
    return !GetCompressorOptions(eKind, nIndex).empty();
}

std::vector<CCompressorOption> CRecorder::GetCompressorOptions(ECompressorKind eKind, short nIndex) const
{
    const std::string strCodec = CompressorCodec(eKind, nIndex);
    return strCodec.empty() ? std::vector<CCompressorOption>() : ListCompressorOptions(strCodec);
}

bool CRecorder::SetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption,
                                    const std::string& strValue, std::string& strReason)
{
    const std::string strCodec = CompressorCodec(eKind, nIndex);
    if (strCodec.empty()) {
        strReason = "no compressor number " + std::to_string(nIndex);
        return false;
    }
    if (!CheckCompressorOption(strCodec, strOption, strValue, strReason))
        return false;
    m_compressorOptions[strCodec][strOption] = strValue;
    return true;
}

void CRecorder::ResetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption)
{
    const auto codec = m_compressorOptions.find(CompressorCodec(eKind, nIndex));
    if (codec == m_compressorOptions.end())
        return;
    codec->second.erase(strOption);
    if (codec->second.empty())
        m_compressorOptions.erase(codec);
}

std::string CRecorder::GetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption) const
{
    const auto codec = m_compressorOptions.find(CompressorCodec(eKind, nIndex));
    if (codec == m_compressorOptions.end())
        return {};
    const auto option = codec->second.find(strOption);
    return option == codec->second.end() ? std::string() : option->second;
}

void CRecorder::SetTVMute(bool bMute)
{
    m_profile.bTvMute = bMute;
    if (m_pSession && IsValidIndex(m_profile.nVideoDevice, m_videoDevices)
        && m_videoDevices[m_profile.nVideoDevice].eKind == ESourceKind::eV4l2)
        SetV4l2Mute(m_videoDevices[m_profile.nVideoDevice].strUrl, bMute);
}

bool CRecorder::SetVideoFrame(short nNumber)
{
    m_profile.nVideoFrame = nNumber;
    return !m_pSession || ShowFramePicture(*m_pSession, nNumber);
}

bool CRecorder::ShowFramePicture(CRecordingSession& session, int nNumber)
{
    const CRecordingSettings& settings = session.Settings();
    CFrameOverlayLoad load = LoadFrameOverlay(nNumber, settings.nVideoWidth, settings.nVideoHeight);
    if (load.eResult == EFramePictureLoad::eFailed) {
        EngineLog::Write(ELogLevel::eWarning,
                         "[CRecorder::ShowFramePicture] frame picture " + std::to_string(nNumber)
                             + " left as it was: " + load.strReason);
        return false;
    }
    session.State().m_frameOverlay.Put(std::move(load.pOverlay));
    return true;
}

void CRecorder::SetAudioMute(bool bMute)
{
    m_profile.bAudioMute = bMute;
    if (m_pSession)
        m_pSession->State().m_bAudioMuted = bMute;
}

void CRecorder::StallTestSources(bool bStall)
{
    m_bTestSourcesStalled = bStall;
    if (m_pSession)
        m_pSession->State().m_bTestSourcesStalled = bStall;
}

void CRecorder::SetPreviewCallback(CPreviewCallback callback)
{
    m_previewCallback = std::move(callback);
}

void CRecorder::SetPreviewSize(int nWidth, int nHeight)
{
    m_nPreviewWidth = nWidth;
    m_nPreviewHeight = nHeight;
}

void CRecorder::SetStatusCallback(CStatusCallback callback)
{
    m_statusCallback = std::move(callback);
}

bool CRecorder::BuildSettings(CRecordingSettings& settings, EFailure& eCause, std::string& strReason)
{
    EnsureDevices();
    eCause = EFailure::eWorkMode;
    if (m_profile.nWorkMode != WORK_MODE_MPEG && m_profile.nWorkMode != WORK_MODE_AVI) {
        strReason = "work mode " + std::to_string(m_profile.nWorkMode) + " is not supported; only MPEG ("
            + std::to_string(WORK_MODE_MPEG) + ") and AVI (" + std::to_string(WORK_MODE_AVI) + ") capture are";
        return false;
    }
    eCause = EFailure::eNoSuchDevice;
    if (!IsValidIndex(m_profile.nVideoDevice, m_videoDevices)) {
        strReason = "there is no video device number " + std::to_string(m_profile.nVideoDevice);
        return false;
    }
    if (!IsValidIndex(m_profile.nAudioDevice, m_audioDevices)) {
        strReason = "there is no audio device number " + std::to_string(m_profile.nAudioDevice);
        return false;
    }
    eCause = EFailure::eFrameRate;
    AVRational frameRate {};
    if (!ResolveFrameRate(m_profile.nWorkMode, m_profile.nFrameRate, frameRate)) {
        strReason = m_profile.nWorkMode == WORK_MODE_MPEG
            ? "MPEG cannot carry a frame rate of " + std::to_string(m_profile.nFrameRate)
                + " (use 23, 24, 25, 29, 30, 50, 59 or 60)"
            : "invalid frame rate " + std::to_string(m_profile.nFrameRate);
        return false;
    }
    eCause = EFailure::ePictureSize;
    if (m_profile.nVideoWidth <= 0 || m_profile.nVideoHeight <= 0 || m_profile.nAspectNumerator <= 0
        || m_profile.nAspectDenominator <= 0) {
        strReason = "invalid picture size " + std::to_string(m_profile.nVideoWidth) + "x"
            + std::to_string(m_profile.nVideoHeight) + " or aspect ratio";
        return false;
    }
    if (m_profile.nWorkMode == WORK_MODE_AVI && m_profile.bUseCustomFrame
        && (m_profile.nCustomFrameWidth <= 0 || m_profile.nCustomFrameHeight <= 0)) {
        strReason = "invalid custom frame size " + std::to_string(m_profile.nCustomFrameWidth) + "x"
            + std::to_string(m_profile.nCustomFrameHeight);
        return false;
    }
    static_cast<CRecordingProfile&>(settings) = m_profile;
    settings.videoDevice = m_videoDevices[m_profile.nVideoDevice];
    settings.audioDevice = m_audioDevices[m_profile.nAudioDevice];
    settings.frameRate = frameRate;
    settings.displayAspect = AVRational { m_profile.nAspectNumerator, m_profile.nAspectDenominator };
    settings.nAudioOffsetMs = m_profile.nSyncMode == SYNC_MODE_MANUAL ? m_profile.nAudioOffset : 0;
    settings.compressorOptions = m_compressorOptions;
    eCause = EFailure::eNoStream;
    if (!ChooseStreams(settings, strReason))
        return false;
    eCause = EFailure::eSyncMode;
    if (m_profile.nSyncMode < SYNC_MODE_NONE || m_profile.nSyncMode > SYNC_MODE_MANUAL) {
        strReason = "unknown sync mode " + std::to_string(m_profile.nSyncMode);
        return false;
    }
    return true;
}

bool CRecorder::ChooseStreams(CRecordingSettings& settings, std::string& strReason) const
{
    if (settings.nWorkMode == WORK_MODE_MPEG) {
        settings.strVideoEncoder = settings.nOutputType == OUTPUT_TYPE_MPEG1 ? "mpeg1video" : "mpeg2video";
        settings.strAudioEncoder = MPEG_AUDIO_ENCODER;
        settings.bVideoCapture = true;
        settings.bAudioCapture = true;
        return true;
    }
    if (!settings.bVideoCapture && !settings.bAudioCapture) {
        strReason = "video and audio capture are both off: there is nothing to record";
        return false;
    }
    if (settings.bUseCustomFrame) {
        // A custom frame has square pixels, as players show an AVI file; the
        // captured picture is scaled into it whole, keeping its shape.
        settings.nVideoWidth = settings.nCustomFrameWidth;
        settings.nVideoHeight = settings.nCustomFrameHeight;
        settings.displayAspect = av_make_q(settings.nVideoWidth, settings.nVideoHeight);
    }
    const std::vector<CCompressorInfo>& video = ListCompressors(ECompressorKind::eVideo);
    if (IsValidIndex(settings.nVideoCompressor, video)) {
        settings.strVideoEncoder = video[settings.nVideoCompressor].strCodec;
        settings.strVideoFourCc = video[settings.nVideoCompressor].strFourCc;
    }
    settings.strAudioEncoder = CompressorCodec(ECompressorKind::eAudio, settings.nAudioCompressor);
    return true;
}

bool CRecorder::StartSession(bool bSaveToFile, EFailure& eCause, std::string& strReason)
{
    CRecordingSettings settings;
    if (!BuildSettings(settings, eCause, strReason))
        return false;
    settings.bSaveToFile = bSaveToFile;
    auto pSession = std::make_unique<CRecordingSession>(
        std::move(settings), m_previewCallback, [this](const CRecorderStatus& status) { OnStatus(status); },
        m_nPreviewWidth, m_nPreviewHeight);
    ShowFramePicture(*pSession, m_profile.nVideoFrame);
    pSession->State().m_bTestSourcesStalled = m_bTestSourcesStalled.load();
    pSession->State().m_bAudioMuted = m_profile.bAudioMute;
    {
        std::lock_guard lock(m_statusMutex);
        m_lastStatus = CRecorderStatus();
        m_bRunning = true;
    }
    if (!pSession->Start(eCause, strReason)) {
        std::lock_guard lock(m_statusMutex);
        m_bRunning = false;
        return false;
    }
    m_pSession = std::move(pSession);
    return true;
}

void CRecorder::OnStatus(const CRecorderStatus& status)
{
    {
        std::lock_guard lock(m_statusMutex);
        m_lastStatus = status;
        if (status.bFinished) {
            m_bRunning = false;
            if (!status.strError.empty()) {
                m_strLastError = status.strError;
                m_eLastFailure = status.eFailure;
            }
        }
    }
    if (m_statusCallback)
        m_statusCallback(status);
}

bool CRecorder::IsWritingFile(const std::string& strFileName) const
{
    if (!m_pSession || !m_pSession->IsWritingFile() || !IsRunning())
        return false;
    std::error_code error;
    const std::string& strWritten = m_pSession->FileName();
    return strWritten == strFileName || std::filesystem::equivalent(strWritten, strFileName, error);
}

short CRecorder::Start()
{
    // Reopening the file a running recording writes would truncate it.
    if (m_profile.bSaveToFile && IsWritingFile(m_profile.strFileName)) {
        SetLastFailure(EFailure::eFileBeingRecorded,
                       "\"" + m_profile.strFileName + "\" is being recorded; choose another file");
        return -1;
    }
    StopSession();
    EFailure eCause = EFailure::eNone;
    std::string strReason;
    if (!StartSession(m_profile.bSaveToFile, eCause, strReason)) {
        SetLastFailure(eCause, strReason);
        return -1;
    }
    SetLastFailure(EFailure::eNone, "");
    return 0;
}

void CRecorder::SetLastFailure(EFailure eCause, const std::string& strReason)
{
    std::lock_guard lock(m_statusMutex);
    m_eLastFailure = eCause;
    m_strLastError = strReason;
}

void CRecorder::StopSession()
{
    if (m_pSession) {
        m_pSession->Stop();
        m_pSession.reset();
    }
}

void CRecorder::Stop()
{
    const bool bWasRecording = m_pSession && m_profile.bSaveToFile;
    StopSession();
    if (!m_profile.bStopFlag && bWasRecording) {
        EFailure eCause = EFailure::eNone;
        std::string strReason;
        if (!StartSession(false, eCause, strReason))
            SetLastFailure(eCause, strReason);
    }
}

void CRecorder::Pause()
{
    if (m_pSession)
        m_pSession->State().Pause();
}

void CRecorder::Resume()
{
    if (m_pSession)
        m_pSession->State().Resume();
}

bool CRecorder::IsRunning() const
{
    std::lock_guard lock(m_statusMutex);
    return m_bRunning;
}

bool CRecorder::WaitUntilFinished(int nTimeoutMs)
{
    return !m_pSession || m_pSession->WaitUntilFinished(nTimeoutMs);
}

CRecorderStatus CRecorder::GetStatus() const
{
    std::lock_guard lock(m_statusMutex);
    return m_lastStatus;
}

std::string CRecorder::GetLastError() const
{
    std::lock_guard lock(m_statusMutex);
    return m_strLastError;
}

EFailure CRecorder::GetLastFailure() const
{
    std::lock_guard lock(m_statusMutex);
    return m_eLastFailure;
}
