#include "recorder/Encorda.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QPainter>
#include <QPointer>

#include "engine/AudioLevel.h"
#include "engine/DiscStandard.h"
#include "engine/FramePicture.h"
#include "engine/ProfileLimits.h"
#include "engine/Recorder.h"
#include "engine/RecordingProfile.h"
#include "portal/ScreenCastPortal.h"
#include "recorder/CompressorPage.h"
#include "recorder/EngineWords.h"
#include "recorder/FailureText.h"
#include "recorder/FfmpegLogCategory.h"
#include "recorder/RecordingOverlay.h"

// The numbers callers pass are the engine's own.
static_assert(CEncorda::OUTPUT_MPEG1 == OUTPUT_TYPE_MPEG1 && CEncorda::OUTPUT_MPEG2 == OUTPUT_TYPE_MPEG2);
static_assert(CEncorda::WORK_MODE_MPEG == WORK_MODE_MPEG && CEncorda::WORK_MODE_AVI == WORK_MODE_AVI);

static_assert(CEncorda::SILENCE_DBFS == SILENCE_DBFS);

namespace {

// Before the first recorder, whose start reads the level.
std::unique_ptr<CRecorder> MakeRecorder()
{
    ForwardFfmpegLogToQt();
    return std::make_unique<CRecorder>();
}

// The coded size stays; its pixels are marked wider for 16:9.
void SetDisplayAspect(CRecordingProfile& profile, bool bWide)
{
    profile.nAspectNumerator = bWide ? 16 : 4;
    profile.nAspectDenominator = bWide ? 9 : 3;
}

QString ToQString(const std::string& strText)
{
    return QString::fromStdString(strText);
}

QStringList ToStringList(const std::vector<std::string>& arrNames)
{
    QStringList arrTexts;
    for (const std::string& strName : arrNames)
        arrTexts.append(ToQString(strName));
    return arrTexts;
}

QStringList ToStringList(const CNameList& list)
{
    return ToStringList(list.Names());
}

// The largest rectangle of the image's shape that fits in rcArea, centred.
QRect FitKeepingAspect(const QSize& sizeImage, const QRect& rcArea)
{
    const QSize sizeFitted = sizeImage.scaled(rcArea.size(), Qt::KeepAspectRatio);
    QRect rcFitted(QPoint(), sizeFitted);
    rcFitted.moveCenter(rcArea.center());
    return rcFitted;
}

} // namespace

CEncorda::CEncorda(QWidget* pParent)
    : QWidget(pParent)
    , m_pRecorder(MakeRecorder())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(this, &CEncorda::PreviewArrived, this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
    connect(this, &CEncorda::StatusArrived, this, &CEncorda::TakeStatus, Qt::QueuedConnection);
    // Engine threads: store and hand over, nothing more.
    m_pRecorder->SetPreviewCallback([this](const CPreviewFrame& frame) { StorePreview(frame); });
    m_pRecorder->SetStatusCallback([this](const CRecorderStatus&) { emit StatusArrived(QPrivateSignal()); });
    connect(
        this, &CEncorda::DevicesScanned, this,
        [this] {
            if (m_pRecorder->AdoptScannedDevices())
                emit DevicesChanged();
        },
        Qt::QueuedConnection);
    m_pRecorder->SetPortalProbe([] { return CScreenCastPortal::IsOffered(); });
    // Reading the devices asks the sound and X servers and the desktop
    // portal and opens every camera; the window does not wait for it.
    RescanDevices();
}

void CEncorda::NoteFailure(EFailure eCause, const QString& strReason)
{
    m_strLastFailureHeadline = FailureHeadline(eCause);
    m_strLastFailureText =
        ExplainFailure(eCause, strReason, GetFileName(), m_pRecorder->Profile().nWorkMode == WORK_MODE_AVI);
}

void CEncorda::RescanDevices()
{
    m_pRecorder->BeginDeviceScan([this] { emit DevicesScanned(QPrivateSignal()); });
}

CEncorda::~CEncorda()
{
    // The callbacks reach into this object; they end with the recorder,
    // which reads the screen cast until then.
    m_pRecorder.reset();
    m_pScreenCast.reset();
}

void CEncorda::SetDispatchObserver(CDispatchObserver observer)
{
    m_observer = std::move(observer);
}

void CEncorda::Notify(EDispatchId eId, const QVariant& value)
{
    if (m_observer)
        m_observer({ eId, value });
}

template <typename T>
void CEncorda::Write(EDispatchId eId, T CRecordingProfile::*pField, T value)
{
    Notify(eId, value);
    m_pRecorder->Profile().*pField = value;
}

CEncordaList CEncorda::MakeList(EDispatchId eId, const QStringList& arrNames, CEncordaList::CPropertyPage page)
{
    Notify(eId);
    return CEncordaList(arrNames, std::move(page));
}

CEncordaList CEncorda::GetVideoDevices()
{
    return MakeList(EDispatchId::VideoDevices, ToStringList(m_pRecorder->GetVideoDevices()));
}

CEncordaList CEncorda::GetVideoFormats()
{
    return MakeList(EDispatchId::VideoFormats, ToStringList(m_pRecorder->GetVideoFormats()));
}

CEncordaList CEncorda::GetVideoInputs()
{
    return MakeList(EDispatchId::VideoInputs, ToStringList(m_pRecorder->GetVideoInputs()));
}

CEncordaList CEncorda::GetVideoFormats(short nDevice)
{
    return MakeList(EDispatchId::VideoFormats, ToStringList(m_pRecorder->GetVideoFormats(nDevice)));
}

CEncordaList CEncorda::GetVideoInputs(short nDevice)
{
    return MakeList(EDispatchId::VideoInputs, ToStringList(m_pRecorder->GetVideoInputs(nDevice)));
}

CEncordaList CEncorda::GetAudioInputs(short nDevice)
{
    return MakeList(EDispatchId::AudioInputs, ToStringList(m_pRecorder->GetAudioInputs(nDevice)));
}

CEncordaList CEncorda::GetVideoCompressors()
{
    // The list may outlive this widget; its pages then no longer open.
    QPointer<CEncorda> pThis(this);
    return MakeList(EDispatchId::VideoCompressors, ToStringList(m_pRecorder->GetVideoCompressors()),
                    [pThis](short nIndex) { return pThis && pThis->ShowCompressorPage(nIndex); });
}

CEncordaList CEncorda::GetAudioDevices()
{
    return MakeList(EDispatchId::AudioDevices, ToStringList(m_pRecorder->GetAudioDevices()));
}

CEncordaList CEncorda::GetAudioInputs()
{
    return MakeList(EDispatchId::AudioInputs, ToStringList(m_pRecorder->GetAudioInputs()));
}

CEncordaList CEncorda::GetAudioCompressors()
{
    return MakeList(EDispatchId::AudioCompressors, ToStringList(m_pRecorder->GetAudioCompressors()));
}

CEncordaList CEncorda::GetFramePictures()
{
    return CEncordaList(ToStringList(ListFramePictures(FindFramePictureFolder())));
}

bool CEncorda::ShowCompressorPage(short nIndex)
{
    if (!m_pRecorder->HasCompressorOptions(ECompressorKind::eVideo, nIndex))
        return false;
    CCompressorPage page(*m_pRecorder, ECompressorKind::eVideo, nIndex, window());
    page.exec();
    return true;
}

void CEncorda::SetVideoDevice(short nIndex)
{
    Notify(EDispatchId::VideoDevice, nIndex);
    m_pRecorder->SetVideoDevice(nIndex);
}

short CEncorda::GetVideoDevice() const
{
    return m_pRecorder->GetVideoDevice();
}

void CEncorda::SetAudioDevice(short nIndex)
{
    Notify(EDispatchId::AudioDevice, nIndex);
    m_pRecorder->SetAudioDevice(nIndex);
}

short CEncorda::GetAudioDevice() const
{
    return m_pRecorder->GetAudioDevice();
}

void CEncorda::SetTVMute(bool bMute)
{
    Notify(EDispatchId::TVMute, bMute);
    m_pRecorder->SetTVMute(bMute);
}

bool CEncorda::GetTVMute() const
{
    return m_pRecorder->Profile().bTvMute;
}

void CEncorda::SetVideoFrame(short nNumber)
{
    Notify(EDispatchId::VideoFrame, nNumber);
    m_pRecorder->SetVideoFrame(nNumber);
}

short CEncorda::GetVideoFrame() const
{
    return m_pRecorder->Profile().nVideoFrame;
}

void CEncorda::SetVideoFormat(short nIndex)
{
    Write(EDispatchId::VideoFormat, &CRecordingProfile::nVideoFormat, nIndex);
}

void CEncorda::SetVideoInput(short nIndex)
{
    Write(EDispatchId::VideoInput, &CRecordingProfile::nVideoInput, nIndex);
}

void CEncorda::SetAudioInput(short nIndex)
{
    Write(EDispatchId::AudioInput, &CRecordingProfile::nAudioInput, nIndex);
}

void CEncorda::SetVideoCompressor(short nIndex)
{
    Write(EDispatchId::VideoCompressor, &CRecordingProfile::nVideoCompressor, nIndex);
}

short CEncorda::GetVideoCompressor() const
{
    return m_pRecorder->Profile().nVideoCompressor;
}

void CEncorda::SetAudioCompressor(short nIndex)
{
    Write(EDispatchId::AudioCompressor, &CRecordingProfile::nAudioCompressor, nIndex);
}

short CEncorda::GetAudioCompressor() const
{
    return m_pRecorder->Profile().nAudioCompressor;
}

void CEncorda::SetSaveToFile(bool bSave)
{
    Write(EDispatchId::SaveToFile, &CRecordingProfile::bSaveToFile, bSave);
}

void CEncorda::SetStopFlag(bool bStop)
{
    Write(EDispatchId::StopFlag, &CRecordingProfile::bStopFlag, bStop);
}

void CEncorda::SetOutputType(int nType)
{
    Write(EDispatchId::OutputType, &CRecordingProfile::nOutputType, nType);
}

void CEncorda::SetFrameRate(short nRate)
{
    Write(EDispatchId::FrameRate, &CRecordingProfile::nFrameRate, nRate);
}

short CEncorda::GetFrameRate() const
{
    return m_pRecorder->Profile().nFrameRate;
}

void CEncorda::SetVideoWidth(short nWidth)
{
    Write(EDispatchId::VideoWidth, &CRecordingProfile::nVideoWidth, nWidth);
}

short CEncorda::GetVideoWidth() const
{
    return m_pRecorder->Profile().nVideoWidth;
}

void CEncorda::SetVideoHeight(short nHeight)
{
    Write(EDispatchId::VideoHeight, &CRecordingProfile::nVideoHeight, nHeight);
}

short CEncorda::GetVideoHeight() const
{
    return m_pRecorder->Profile().nVideoHeight;
}

void CEncorda::SetVideoBitrate(int nBitrate)
{
    Write(EDispatchId::VideoBitrate, &CRecordingProfile::nVideoBitrate, nBitrate);
}

int CEncorda::GetVideoBitrate() const
{
    return m_pRecorder->Profile().nVideoBitrate;
}

void CEncorda::SetAudioBitrate(int nBitrate)
{
    Write(EDispatchId::AudioBitrate, &CRecordingProfile::nAudioBitrate, nBitrate);
}

int CEncorda::GetAudioBitrate() const
{
    return m_pRecorder->Profile().nAudioBitrate;
}

void CEncorda::SetAudioSampleRate(int nRate)
{
    Write(EDispatchId::AudioSampleRate, &CRecordingProfile::nAudioSampleRate, nRate);
}

int CEncorda::GetAudioSampleRate() const
{
    return m_pRecorder->Profile().nAudioSampleRate;
}

void CEncorda::SetAudioChannels(short nChannels)
{
    Write(EDispatchId::AudioChannels, &CRecordingProfile::nAudioChannels, nChannels);
}

short CEncorda::GetAudioChannels() const
{
    return m_pRecorder->Profile().nAudioChannels;
}

void CEncorda::SetUseCustomFrame(bool bUse)
{
    Write(EDispatchId::UseCustomFrame, &CRecordingProfile::bUseCustomFrame, bUse);
}

bool CEncorda::GetUseCustomFrame() const
{
    return m_pRecorder->Profile().bUseCustomFrame;
}

void CEncorda::SetCustomFrameWidth(short nWidth)
{
    Write(EDispatchId::CustomFrameWidth, &CRecordingProfile::nCustomFrameWidth, nWidth);
}

short CEncorda::GetCustomFrameWidth() const
{
    return m_pRecorder->Profile().nCustomFrameWidth;
}

void CEncorda::SetCustomFrameHeight(short nHeight)
{
    Write(EDispatchId::CustomFrameHeight, &CRecordingProfile::nCustomFrameHeight, nHeight);
}

short CEncorda::GetCustomFrameHeight() const
{
    return m_pRecorder->Profile().nCustomFrameHeight;
}

void CEncorda::SetSyncMode(short nMode)
{
    Write(EDispatchId::SyncMode, &CRecordingProfile::nSyncMode, nMode);
}

short CEncorda::GetSyncMode() const
{
    return m_pRecorder->Profile().nSyncMode;
}

void CEncorda::SetAudioOffset(short nMilliseconds)
{
    Write(EDispatchId::AudioOffset, &CRecordingProfile::nAudioOffset, nMilliseconds);
}

short CEncorda::GetAudioOffset() const
{
    return m_pRecorder->Profile().nAudioOffset;
}

void CEncorda::SetWorkMode(int nMode)
{
    Write(EDispatchId::WorkMode, &CRecordingProfile::nWorkMode, nMode);
}

void CEncorda::SetFileName(const QString& strFileName)
{
    Notify(EDispatchId::FileName, strFileName);
    m_pRecorder->Profile().strFileName = strFileName.toStdString();
}

QString CEncorda::GetFileName() const
{
    return ToQString(m_pRecorder->Profile().strFileName);
}

void CEncorda::SetTitle(const QString& strTitle)
{
    m_pRecorder->Profile().strTitle = strTitle.toStdString();
}

void CEncorda::SetAudioMute(bool bMute)
{
    m_pRecorder->SetAudioMute(bMute);
}

bool CEncorda::GetAudioMute() const
{
    return m_pRecorder->Profile().bAudioMute;
}

void CEncorda::SetBestQuality(bool bBest)
{
    m_pRecorder->Profile().bBestQuality = bBest;
}

bool CEncorda::GetBestQuality() const
{
    return m_pRecorder->Profile().bBestQuality;
}

void CEncorda::SetWideScreen(bool bWide)
{
    SetDisplayAspect(m_pRecorder->Profile(), bWide);
}

QString CEncorda::DescribeDiscStandards(const CMpegValues& values)
{
    CRecordingProfile profile;
    profile.nFrameRate = values.nFrameRate;
    profile.nVideoWidth = values.nWidth;
    profile.nVideoHeight = values.nHeight;
    profile.nVideoBitrate = values.nVideoBitrate;
    profile.nAudioBitrate = values.nAudioBitrate;
    profile.nAudioSampleRate = values.nAudioSampleRate;
    profile.nAudioChannels = values.nAudioChannels;
    SetDisplayAspect(profile, values.bWideScreen);
    return EngineWords::DiscStandards(::DescribeDiscStandards(profile));
}

CEncorda::CRange CEncorda::ValueRange(ERangedValue eValue)
{
    const auto engineRange = [eValue] {
        switch (eValue) {
        case ERangedValue::VideoBitrate:
            return VIDEO_BITRATE_RANGE;
        case ERangedValue::AudioBitrate:
            return AUDIO_BITRATE_RANGE;
        case ERangedValue::AudioChannels:
            return AUDIO_CHANNELS_RANGE;
        case ERangedValue::PictureSide:
            return PICTURE_SIDE_RANGE;
        case ERangedValue::AudioOffset:
            break;
        }
        return AUDIO_OFFSET_RANGE;
    }();
    return { engineRange.nMinimum, engineRange.nMaximum, EngineWords::Unit(engineRange.pszUnit) };
}

void CEncorda::SetCaptureSwitches(bool bVideo, bool bAudio)
{
    m_pRecorder->Profile().bVideoCapture = bVideo;
    m_pRecorder->Profile().bAudioCapture = bAudio;
}

short CEncorda::Start()
{
    Notify(EDispatchId::Start);
    ChoosePreviewSize();
    std::unique_ptr<CScreenCastPortal> pScreenCast;
    if (!OpenScreenCast(pScreenCast))
        return START_FAILED;
    if (m_pRecorder->Start() == START_FAILED) {
        if (pScreenCast)
            m_pRecorder->Profile().pipeWireStream = CPipeWireStream();
        NoteFailure(m_pRecorder->GetLastFailure(), GetLastError());
        // A refused Start may leave the running recording as it was, or
        // have ended it first; the status tells which.
        TakeStatus();
        return START_FAILED;
    }
    // The recording this one replaced has stopped reading its screen cast.
    m_pScreenCast = std::move(pScreenCast);
    {
        std::lock_guard lock(m_sharedMutex);
        m_pSharedPreview.reset();
    }
    m_status = CStatus();
    m_status.bRunning = true;
    m_status.bRecordingToFile = m_pRecorder->Profile().bSaveToFile;
    TakeStatus();
    update();
    return 0;
}

void CEncorda::Stop()
{
    Notify(EDispatchId::Stop);
    m_pRecorder->Stop();
    // Without StopFlag the preview goes on, but the file is closed.
    m_status.bRecordingToFile = false;
    TakeStatus();
    update();
}

void CEncorda::Pause()
{
    Notify(EDispatchId::Pause);
    m_pRecorder->Pause();
    m_status.bPaused = m_status.bRunning;
    update();
}

void CEncorda::Resume()
{
    Notify(EDispatchId::Resume);
    m_pRecorder->Resume();
    m_status.bPaused = false;
    update();
}

bool CEncorda::IsRunning() const
{
    return m_pRecorder->IsRunning();
}

void CEncorda::StallTestSources(bool bStall)
{
    m_pRecorder->StallTestSources(bStall);
}

bool CEncorda::IsRecordingTo(const QString& strFileName) const
{
    return m_pRecorder->IsWritingFile(strFileName.toStdString());
}

QString CEncorda::GetLastError() const
{
    return m_strScreenCastError.isEmpty() ? ToQString(m_pRecorder->GetLastError()) : m_strScreenCastError;
}

CEncorda::CStatus CEncorda::GetStatus() const
{
    return m_status;
}

bool CEncorda::HasPreview() const
{
    std::lock_guard lock(m_sharedMutex);
    return m_pSharedPreview != nullptr;
}

void CEncorda::ChoosePreviewSize()
{
    // The engine fits the recording's display shape into this 4:3 box.
    const QRect rcPreview = FitKeepingAspect(QSize(4, 3), rect());
    m_pRecorder->SetPreviewSize(std::max(rcPreview.width(), 1), std::max(rcPreview.height(), 1));
}

void CEncorda::StorePreview(const CPreviewFrame& frame)
{
    // The pixels are the engine's until the callback returns.
    const QImage imgBorrowed(frame.pPixels, frame.nWidth, frame.nHeight, frame.nStride, QImage::Format_RGB32);
    auto pPreview = std::make_shared<const QImage>(imgBorrowed.copy());
    {
        std::lock_guard lock(m_sharedMutex);
        m_pSharedPreview = std::move(pPreview);
    }
    emit PreviewArrived(QPrivateSignal());
}

void CEncorda::TakeStatus()
{
    const CRecorderStatus status = m_pRecorder->GetStatus();
    const bool bRunning = m_pRecorder->IsRunning();
    m_status.dElapsedSeconds = status.dElapsedSeconds;
    m_status.nBytesWritten = status.nBytesWritten;
    m_status.nFramesDropped = status.nVideoFramesDropped;
    m_status.dAudioLevelDbfs = bRunning ? status.dAudioLevelDbfs : SILENCE_DBFS;
    const bool bEnded = m_status.bRunning && !bRunning;
    if (bEnded) {
        m_status.bRunning = false;
        m_status.bRecordingToFile = false;
        m_status.bPaused = false;
        {
            std::lock_guard lock(m_sharedMutex);
            m_pSharedPreview.reset();
        }
        CloseScreenCast();
        if (!status.strError.empty())
            NoteFailure(status.eFailure, ToQString(status.strError));
        emit RecordingFinished(ToQString(status.strError));
    }
    // Statuses come twenty times a second; only the overlay shows them, and
    // the picture repaints as previews arrive.
    if (m_status.bRecordingToFile || bEnded)
        update();
    emit StatusChanged();
}

void CEncorda::paintEvent(QPaintEvent*)
{
    std::shared_ptr<const QImage> pPreview;
    {
        std::lock_guard lock(m_sharedMutex);
        pPreview = m_pSharedPreview;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (pPreview && !pPreview->isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(FitKeepingAspect(pPreview->size(), rect()), *pPreview);
    }
    if (m_status.bRecordingToFile)
        PaintRecordingOverlay(painter, m_status);
}
