#include "app/ConverterDlg.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

#include "auxiliary/Label.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinSlider.h"
#include "settings/ConversionSettings.h"
#include "skin/Prompt.h"
#include "skin/SkinPackage.h"

namespace {

const QString EXIT_BUTTON = QStringLiteral("BUTTON_EXIT");
const QString PLAY_BUTTON = QStringLiteral("BUTTON_PLAY");
const QString PAUSE_BUTTON = QStringLiteral("BUTTON_PAUSE");
const QString PROGRESS_SLIDER = QStringLiteral("SLIDER_PROGRESS");
const QString TIME_LABEL = QStringLiteral("LABEL_TIME");

// The recorder's only work mode: MPEG capture.
constexpr int MPEG_WORK_MODE = 2;
constexpr int ICON_SIZE = 32;

QIcon ProgramIcon()
{
    QPixmap pixIcon(ICON_SIZE, ICON_SIZE);
    pixIcon.fill(Qt::transparent);
    QPainter painter(&pixIcon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 150, 190));
    painter.drawEllipse(QRect(1, 1, ICON_SIZE - 2, ICON_SIZE - 2));
    painter.setBrush(QColor(210, 20, 40));
    painter.drawEllipse(QRect(ICON_SIZE / 4, ICON_SIZE / 4, ICON_SIZE / 2, ICON_SIZE / 2));
    painter.end();
    return QIcon(pixIcon);
}

// Short properties take the low 16 bits of the stored number.
short Low16(int nValue)
{
    return static_cast<short>(nValue);
}

} // namespace

CConverterDlg::CConverterDlg(IPrompt& prompt, QWidget* pParent)
    : CSkinDialog(prompt, pParent)
    , m_encoder(this)
    , m_hIcon(ProgramIcon())
    , m_mpegProfileDlg(this)
    , m_videoFrameDlg(this, this)
    , m_aviProfileDlg(this, this)
    , m_syncModeDlg(this)
    , m_audioDeviceDlg(this, this)
    , m_videoDeviceDlg(this, this)
    , m_timerExitRefresh(this)
{
    setWindowTitle(QStringLiteral("SkinRecorder"));
    LoadStartupSkin();
    PlaceEncoder();
    FillOutputTypes();
    setWindowIcon(m_hIcon);
    RefreshExitButton();
    connect(&m_encoder, &CEncorda::RecordingFinished, this, &CConverterDlg::OnRecordingFinished);
    connect(&m_timerExitRefresh, &QTimer::timeout, this, [this] {
        // A dropped-down list would be painted over.
        if (!ConversionSettings::Instance().bDropDownOpen)
            RefreshExitButton();
    });
    m_timerExitRefresh.start(EXIT_REFRESH_MS);
}

void CConverterDlg::LoadStartupSkin()
{
    const QString strPackage = SkinPackage::FindSkinPackage(DEFAULT_SKIN);
    // The skin commands take their packages from where the default skin lies.
    if (QFileInfo::exists(strPackage))
        SetPackageFolder(QFileInfo(strPackage).absolutePath());
    MakeSkinCurrent(strPackage);
}

void CConverterDlg::PlaceEncoder()
{
    m_encoder.setGeometry(m_rcControl);
    m_encoder.show();
    m_encoder.raise();
}

void CConverterDlg::FillOutputTypes()
{
    CSkinComboBox* pCombo = FirstComboBox();
    if (pCombo == nullptr)
        return;
    pCombo->AddString(MPEG1_ROW);
    pCombo->AddString(MPEG2_ROW);
    const int nRow = m_nOutputTypeRow == 1 ? 1 : 0;
    if (CSkinListBox* pList = pCombo->List())
        pList->SetSelectedRow(nRow);
    if (CSkinEdit* pEdit = pCombo->Edit())
        pEdit->setText(nRow == 1 ? MPEG2_ROW : MPEG1_ROW);
}

int CConverterDlg::OutputTypeRow() const
{
    const CSkinComboBox* pCombo = FirstComboBox();
    const CSkinListBox* pList = pCombo ? pCombo->List() : nullptr;
    return pList ? pList->GetSelectedRow() : -1;
}

void CConverterDlg::SetDropDownOpen(bool bOpen)
{
    CSkinDialog::SetDropDownOpen(bOpen);
    ConversionSettings::Instance().bDropDownOpen = bOpen;
    // The list closes after every pick; a skin change keeps the last one.
    if (!bOpen && OutputTypeRow() != -1)
        m_nOutputTypeRow = OutputTypeRow();
}

void CConverterDlg::RefreshExitButton()
{
    if (CSkinButton* pExit = FindButton(EXIT_BUTTON))
        pExit->update();
}

void CConverterDlg::ShowButton(const QString& strName, bool bShow)
{
    if (CSkinButton* pButton = FindButton(strName))
        pButton->setVisible(bShow);
}

void CConverterDlg::OnSkinChanged()
{
    PlaceEncoder();
    FillOutputTypes();
}

void CConverterDlg::paintEvent(QPaintEvent* pEvent)
{
    if (!isMinimized()) {
        CSkinDialog::paintEvent(pEvent);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect rcIcon((width() - ICON_SIZE + 1) / 2, (height() - ICON_SIZE + 1) / 2, ICON_SIZE, ICON_SIZE);
    m_hIcon.paint(&painter, rcIcon);
}

void CConverterDlg::OnSkinCommand(const QString& strName)
{
    if (strName == EXIT_BUTTON || strName == QLatin1String("BUTTON_CLOSE"))
        accept();
    else if (strName == QLatin1String("BUTTON_CONVERT"))
        Convert();
    else if (strName == QLatin1String("BUTTON_UP"))
        Prompt().ShowMessage(QStringLiteral("Up Button Pressed"), IPrompt::EIcon::Information);
    else if (strName == QLatin1String("BUTTON_DOWN"))
        Prompt().ShowMessage(QStringLiteral("Down Button Pressed"), IPrompt::EIcon::Information);
    else if (strName == QLatin1String("BUTTON_EDIT"))
        m_mpegProfileDlg.exec();
    else if (strName == PLAY_BUTTON)
        Play();
    else if (strName == PAUSE_BUTTON)
        Pause();
    else if (strName == QLatin1String("BUTTON_STOP"))
        Stop();
    else if (strName == QLatin1String("BUTTON_MINIMIZE"))
        showMinimized();
    else if (strName == QLatin1String("BUTTON_EDITVIDEO"))
        m_videoDeviceDlg.exec();
    else if (strName == QLatin1String("BUTTON_EDITAUDIO"))
        m_audioDeviceDlg.exec();
    else if (strName == QLatin1String("BUTTON_EDITMODE"))
        m_syncModeDlg.exec();
    else if (strName == QLatin1String("BUTTON_EDITFRAME"))
        m_videoFrameDlg.show();
    else if (strName == QLatin1String("BUTTON_EDITAVI"))
        m_aviProfileDlg.exec();
}

void CConverterDlg::OnSkinSliderMoved(const QString& strName, int)
{
    if (strName != PROGRESS_SLIDER)
        return;
    const CSkinSlider* pSlider = FindSlider(PROGRESS_SLIDER);
    CLabel* pLabel = FindLabel(TIME_LABEL);
    if (pSlider == nullptr || pLabel == nullptr)
        return;
    pLabel->SetLabelText(FormatTime(pSlider->GetPos()) + u'/' + FormatTime(pSlider->GetRangeMax()));
    pLabel->update();
}

void CConverterDlg::ApplyDeviceSelections()
{
    const ConversionSettings& settings = ConversionSettings::Instance();
    short nIndex = m_encoder.GetVideoDevices().FindIndex(settings.strVideoDeviceName);
    if (nIndex != -1)
        m_encoder.SetVideoDevice(nIndex);
    nIndex = m_encoder.GetVideoInputs().FindIndex(settings.strVideoInputName);
    if (nIndex != -1)
        m_encoder.SetVideoInput(nIndex);
    nIndex = m_encoder.GetVideoFormats().FindIndex(settings.strVideoFormatName);
    if (nIndex != -1)
        m_encoder.SetVideoFormat(nIndex);
    nIndex = m_encoder.GetAudioDevices().FindIndex(settings.strAudioDeviceName);
    if (nIndex != -1)
        m_encoder.SetAudioDevice(nIndex);
    m_encoder.SetAudioInput(Low16(settings.nAudioInputIndex));
    if (settings.bUseAudioCompressor) {
        nIndex = m_encoder.GetAudioCompressors().FindIndex(settings.strAudioCompressorName);
        if (nIndex != -1)
            m_encoder.SetAudioCompressor(nIndex);
    }
    if (settings.bUseVideoCompressor) {
        nIndex = m_encoder.GetVideoCompressors().FindIndex(settings.strVideoCompressorName);
        if (nIndex != -1)
            m_encoder.SetVideoCompressor(nIndex);
    }
}

void CConverterDlg::Convert()
{
    ApplyDeviceSelections();
    // A new name is allowed; the prompt asks before an existing file is
    // replaced.
    const QString strFile = Prompt().AskSaveFile(QStringLiteral("Save As"),
                                                  {QStringLiteral("mpeg file (*.mpg)"), QStringLiteral("All Files (*)")},
                                                  QStringLiteral("mpg"));
    if (strFile.isEmpty())
        return;
    const ConversionSettings& settings = ConversionSettings::Instance();
    const int nRow = OutputTypeRow();
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
    m_encoder.SetFileName(strFile);
    m_encoder.SetSaveToFile(true);
    m_encoder.SetSyncMode(Low16(settings.nSyncMode));
    m_encoder.SetAudioOffset(Low16(settings.nAudioOffset));
    m_encoder.SetWorkMode(MPEG_WORK_MODE);
    m_encoder.SetVideoFrame(Low16(settings.nFramePictureIndex + 1));
    if (m_encoder.Start() == CEncorda::START_FAILED)
        Prompt().ShowMessage(CAPTURE_FAILURE, IPrompt::EIcon::Warning, m_encoder.GetLastError());
}

void CConverterDlg::Play()
{
    ShowButton(PAUSE_BUTTON, true);
    ShowButton(PLAY_BUTTON, false);
    ApplyDeviceSelections();
    const ConversionSettings& settings = ConversionSettings::Instance();
    m_encoder.SetSyncMode(Low16(settings.nSyncMode));
    m_encoder.SetAudioOffset(Low16(settings.nAudioOffset));
    if (settings.bUseCustomFrame) {
        m_encoder.SetUseCustomFrame(true);
        m_encoder.SetCustomFrameWidth(Low16(settings.nCustomFrameWidth));
        m_encoder.SetCustomFrameHeight(Low16(settings.nCustomFrameHeight));
    } else {
        m_encoder.SetUseCustomFrame(false);
    }
    m_encoder.SetWorkMode(MPEG_WORK_MODE);
    m_encoder.SetVideoFrame(Low16(settings.nFramePictureIndex + 1));
    if (m_paused)
        m_encoder.Resume();
    else
        m_encoder.Start();
}

void CConverterDlg::Pause()
{
    ShowButton(PAUSE_BUTTON, false);
    ShowButton(PLAY_BUTTON, true);
    m_paused = true;
    m_encoder.Pause();
}

void CConverterDlg::Stop()
{
    ShowButton(PAUSE_BUTTON, false);
    ShowButton(PLAY_BUTTON, true);
    m_encoder.SetStopFlag(true);
    m_encoder.SetSaveToFile(false);
    m_paused = false;
    m_encoder.Stop();
}

void CConverterDlg::OnRecordingFinished(const QString& strError)
{
    // A recording that ends by itself must not pass for one still running.
    if (!strError.isEmpty())
        Prompt().ShowMessage(CAPTURE_FAILURE, IPrompt::EIcon::Warning, strError);
}
