#include "app/ConverterDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/CollectingPrompt.h"
#include "controls/SkinEdit.h"
#include "settings/ConversionSettings.h"
#include "settings/FramePictureNames.h"
#include "skin/Prompt.h"

// The transport commands of the main window: each writes a batch of
// recorder properties in a fixed order, then calls one recorder method.

namespace {

// Titles longer than this are cut for the file name; the metadata keeps all.
constexpr int MAX_TITLE_FILE_NAME = 120;

// Short properties take the low 16 bits of the stored number.
short Low16(int nValue)
{
    return static_cast<short>(nValue);
}

// A stored name the list no longer holds leaves the encoder's choice as it is.
void SelectByName(CEncorda& encoder, const CEncordaList& list, const QString& strName, void (CEncorda::*select)(short))
{
    const short nIndex = list.FindIndex(strName);
    if (nIndex != -1)
        (encoder.*select)(nIndex);
}

// The folder as an absolute path while it exists, else nothing. A relative
// one is taken from the home folder, as the user-dirs file means it (Qt
// hands such an entry on as it stands).
QString ExistingFolder(const QString& strFolder)
{
    if (strFolder.isEmpty())
        return QString();
    const QFileInfo folder(QDir::home(), strFolder);
    return folder.isDir() ? QDir::cleanPath(folder.absoluteFilePath()) : QString();
}

} // namespace

void CConverterDlg::ApplyDeviceSelections()
{
    const ConversionSettings& settings = m_settings;
    SelectByName(m_encoder, m_encoder.GetVideoDevices(), settings.strVideoDeviceName, &CEncorda::SetVideoDevice);
    SelectByName(m_encoder, m_encoder.GetVideoInputs(), settings.strVideoInputName, &CEncorda::SetVideoInput);
    SelectByName(m_encoder, m_encoder.GetVideoFormats(), settings.strVideoFormatName, &CEncorda::SetVideoFormat);
    SelectByName(m_encoder, m_encoder.GetAudioDevices(), settings.strAudioDeviceName, &CEncorda::SetAudioDevice);
    m_encoder.SetAudioInput(Low16(settings.nAudioInputIndex));
    if (settings.bUseAudioCompressor) {
        SelectByName(m_encoder, m_encoder.GetAudioCompressors(), settings.strAudioCompressorName,
                     &CEncorda::SetAudioCompressor);
    }
    if (settings.bUseVideoCompressor) {
        SelectByName(m_encoder, m_encoder.GetVideoCompressors(), settings.strVideoCompressorName,
                     &CEncorda::SetVideoCompressor);
    }
}

QString CConverterDlg::FileNameForTitle(const QString& strTitle, const QDateTime& now)
{
    QString strName = strTitle.simplified().left(MAX_TITLE_FILE_NAME);
    for (QChar& ch : strName) {
        if (ch.unicode() < u' ' || QStringView(u"/\\:*?\"<>|").contains(ch))
            ch = u'_';
    }
    // Nothing left but dots would name the folder itself or its parent.
    if (strName.isEmpty() || strName.count(u'.') == strName.size())
        //: A file name: the quoted word is kept, the rest is the date and time.
        return now.toString(tr("'Recording' yyyy-MM-dd hh-mm-ss"));
    return strName;
}

QString CConverterDlg::UnusedPath(const QString& strPath)
{
    const QFileInfo info(strPath);
    const QString strSuffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString strCandidate = strPath;
    for (int nNumber = 2; QFileInfo::exists(strCandidate); ++nNumber)
        strCandidate =
            info.dir().filePath(QStringLiteral("%1 (%2)%3").arg(info.completeBaseName()).arg(nNumber).arg(strSuffix));
    return strCandidate;
}

QString CConverterDlg::RecordingTitle() const
{
    const CSkinEdit* pTitle = FindEdit(TITLE_EDIT);
    return pTitle ? pTitle->text().trimmed() : QString();
}

QString CConverterDlg::ProposedRecordingPath(const QString& strSuffix) const
{
    // A save dialog given a folder that does not exist offers the path
    // relative to another folder, and saving there fails.
    QString strFolder = ExistingFolder(m_strLastRecordingFolder);
    if (strFolder.isEmpty())
        strFolder = ExistingFolder(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
    if (strFolder.isEmpty())
        strFolder = QDir::home().absolutePath();
    return QDir(strFolder).filePath(FileNameForTitle(RecordingTitle(), QDateTime::currentDateTime()) + u'.'
                                    + strSuffix);
}

void CConverterDlg::Convert()
{
    ApplyDeviceSelections();
    const int nRow = OutputTypeRow();
    const bool bAvi = nRow == AVI_ROW_INDEX;
    // A new name is allowed; the prompt asks before an existing file is
    // replaced.
    const QString strSuffix = bAvi ? QStringLiteral("avi") : QStringLiteral("mpg");
    const QString strFile = Prompt().AskSaveFile(
        tr("Save As"), { bAvi ? tr("avi file (*.avi)") : tr("mpeg file (*.mpg)"), tr("All Files (*)") }, strSuffix,
        ProposedRecordingPath(strSuffix));
    if (strFile.isEmpty())
        return;
    // Starting over the file being written would truncate the recording.
    if (m_encoder.IsRecordingTo(strFile)) {
        Prompt().ShowMessage(tr(FILE_BEING_RECORDED), IPrompt::EIcon::Warning, strFile);
        return;
    }
    m_strLastRecordingFolder = QFileInfo(strFile).absolutePath();
    RecordToFile(strFile, RecordingTitle(), nRow);
}

bool CConverterDlg::RecordToFile(const QString& strFile, const QString& strTitle, int nRow)
{
    const bool bAvi = nRow == AVI_ROW_INDEX;
    const ConversionSettings& settings = m_settings;
    if (nRow == 0)
        m_encoder.SetOutputType(CEncorda::OUTPUT_MPEG1);
    else if (nRow == 1)
        m_encoder.SetOutputType(CEncorda::OUTPUT_MPEG2);
    m_encoder.SetFrameRate(Low16(static_cast<int>(settings.dFrameRate)));
    m_encoder.SetAudioBitrate(settings.nAudioBitrate);
    m_encoder.SetVideoBitrate(settings.nVideoBitrate);
    m_encoder.SetAudioChannels(Low16(settings.nAudioChannels));
    m_encoder.SetAudioSampleRate(settings.nAudioSampleRate);
    m_encoder.SetVideoWidth(Low16(settings.nMpegWidth));
    m_encoder.SetVideoHeight(Low16(settings.nMpegHeight));
    // The MPEG profile's 16:9 box; an AVI keeps the picture's own shape.
    m_encoder.SetWideScreen(!bAvi && settings.bScaleTo16By9);
    m_encoder.SetFileName(strFile);
    m_encoder.SetTitle(strTitle);
    m_encoder.SetSaveToFile(true);
    m_encoder.SetSyncMode(Low16(settings.nSyncMode));
    m_encoder.SetAudioOffset(Low16(settings.nAudioOffset));
    if (bAvi) {
        // The AVI profile dialog's choices: its frame size is the picture's,
        // its capture switches leave streams out.
        WriteCustomFrame();
        m_encoder.SetCaptureSwitches(settings.bVideoCapture, settings.bAudioCapture);
    }
    m_encoder.SetWorkMode(bAvi ? CEncorda::WORK_MODE_AVI : CEncorda::WORK_MODE_MPEG);
    m_encoder.SetVideoFrame(FramePictureNames::VideoFrameOf(settings.nFramePictureIndex));
    return StartRecording(strFile, strTitle);
}

bool CConverterDlg::StartRecording(const QString& strFile, const QString& strTitle)
{
    const CEncorda::CStatus replaced = m_encoder.GetStatus();
    if (m_encoder.Start() == CEncorda::START_FAILED) {
        ReportCaptureFailure(m_encoder.GetLastError());
        return false;
    }
    // A recording this one replaced ended without a finish notice.
    if (replaced.bRecordingToFile)
        NoteFinishedRecording(replaced.dElapsedSeconds, QString(), false);
    m_strRecordingFile = strFile;
    m_strRecordingTitle = strTitle;
    // A new recording runs unpaused, and Pause must be within reach.
    ShowTransportButtons(true);
    m_paused = false;
    return true;
}

QString CConverterDlg::RecordForTimer(const QString& strFile, const CRecordingTimer& timer)
{
    // The timer's settings for this recording only; the dialogs keep the
    // user's.
    const ConversionSettings userSettings = m_settings;
    m_settings = timer.settings;
    ApplyDeviceSelections();
    // The user may be away: a failure is the timer's to report, not a
    // message box waiting on an empty desk.
    IPrompt& windowPrompt = Prompt();
    CCollectingPrompt timerPrompt;
    SetPrompt(timerPrompt);
    const bool bStarted = RecordToFile(strFile, timer.strTitle, timer.nOutputTypeRow);
    SetPrompt(windowPrompt);
    m_settings = userSettings;
    return bStarted ? QString() : timerPrompt.Text();
}

bool CConverterDlg::IsRecordingToFile() const
{
    return m_encoder.GetStatus().bRecordingToFile;
}

bool CConverterDlg::IsRecordingTo(const QString& strFile) const
{
    return m_encoder.IsRecordingTo(strFile);
}

double CConverterDlg::RecordedSeconds() const
{
    return m_encoder.GetStatus().dElapsedSeconds;
}

void CConverterDlg::StopRecording()
{
    Stop();
}

void CConverterDlg::Play()
{
    ShowTransportButtons(true);
    ApplyDeviceSelections();
    const ConversionSettings& settings = m_settings;
    m_encoder.SetSyncMode(Low16(settings.nSyncMode));
    m_encoder.SetAudioOffset(Low16(settings.nAudioOffset));
    WriteCustomFrame();
    m_encoder.SetWorkMode(CEncorda::WORK_MODE_MPEG);
    m_encoder.SetVideoFrame(FramePictureNames::VideoFrameOf(settings.nFramePictureIndex));
    // A recording in progress goes on: starting again would close its file.
    if (m_paused) {
        m_encoder.Resume();
    } else if (!m_encoder.GetStatus().bRecordingToFile && m_encoder.Start() == CEncorda::START_FAILED) {
        ShowStopped();
        ReportCaptureFailure(m_encoder.GetLastError());
    }
}

void CConverterDlg::WriteCustomFrame()
{
    const ConversionSettings& settings = m_settings;
    if (settings.bUseCustomFrame) {
        m_encoder.SetUseCustomFrame(true);
        m_encoder.SetCustomFrameWidth(Low16(settings.nCustomFrameWidth));
        m_encoder.SetCustomFrameHeight(Low16(settings.nCustomFrameHeight));
    } else {
        m_encoder.SetUseCustomFrame(false);
    }
}

void CConverterDlg::Pause()
{
    ShowTransportButtons(false);
    m_paused = true;
    m_encoder.Pause();
}

void CConverterDlg::Stop()
{
    ShowStopped();
    m_encoder.SetStopFlag(true);
    m_encoder.SetSaveToFile(false);
    m_bStopping = true;
    m_encoder.Stop();
    m_bStopping = false;
}

void CConverterDlg::ShowStopped()
{
    ShowTransportButtons(false);
    m_paused = false;
}

void CConverterDlg::ShowTransportButtons(bool bPauseOffered)
{
    m_bPauseOffered = bPauseOffered;
    ShowButton(PAUSE_BUTTON, bPauseOffered);
    ShowButton(PLAY_BUTTON, !bPauseOffered);
}

void CConverterDlg::OnRecordingFinished(const QString& strError)
{
    // However a recording ends, the window is back in the stopped state: a
    // Play after it starts afresh instead of resuming nothing. One that
    // ended by itself says why.
    ShowStopped();
    NoteFinishedRecording(m_encoder.GetStatus().dElapsedSeconds, strError, !m_bStopping);
    if (!strError.isEmpty())
        ReportCaptureFailure(strError);
}

void CConverterDlg::ReportCaptureFailure(const QString& strReason)
{
    Prompt().ShowFailure(m_encoder.GetLastFailureHeadline(), m_encoder.GetLastFailureText(), strReason);
}
