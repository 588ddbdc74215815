#include "app/ConverterDlg.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMenu>

#include "app/AccessibleControls.h"
#include "app/ProgramIdentity.h"
#include "app/TimersDlg.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "controls/Label.h"
#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinOption.h"
#include "controls/SkinProgress.h"
#include "controls/SkinSlider.h"
#include "skin/Prompt.h"
#include "skin/SkinPackage.h"

namespace {

// Where the program found its skins and frame pictures, for a user whose
// window or frames do not show: QT_LOGGING_RULES="skinrecorder.startup.info=true".
Q_LOGGING_CATEGORY(lcStartup, "skinrecorder.startup", QtWarningMsg)
// The skin's commands as the window takes them: info, for a trace.
Q_LOGGING_CATEGORY(lcUi, "skinrecorder.ui", QtWarningMsg)

const QString PROGRESS_SLIDER = QStringLiteral("SLIDER_PROGRESS");
const QString TIME_LABEL = QStringLiteral("LABEL_TIME");
// Options of this name stay checked whichever other option is selected.
const QString AUDIO_STREAM_OPTION = QStringLiteral("OPTION_AUDIOSTREAM1");
const QString MUTE_CHECK = QStringLiteral("CHECK_MUTE");
const QString LEVEL_METER = QStringLiteral("PROGRESS_LEVEL");
const QString RECORDINGS_LIST = QStringLiteral("LIST_RECENT");
const QString GOOD_QUALITY_OPTION = QStringLiteral("OPTION_QUALITY_GOOD");
const QString BEST_QUALITY_OPTION = QStringLiteral("OPTION_QUALITY_BEST");

// The meter's range: its empty end in dB of full scale, and its full scale.
constexpr double LEVEL_METER_FLOOR_DBFS = -60.0;
constexpr int LEVEL_METER_MAX = 100;

} // namespace

const char* const CConverterDlg::FILE_BEING_RECORDED =
    QT_TRANSLATE_NOOP("CConverterDlg", "This file is being recorded now. Choose another file for the new recording.");
const char* const CConverterDlg::STOP_AND_QUIT = QT_TRANSLATE_NOOP("CConverterDlg", "Stop the recording and quit?");
const char* const CConverterDlg::NO_SKIN =
    QT_TRANSLATE_NOOP("CConverterDlg", "SkinRecorder found no skin package it can use.");
const char* const CConverterDlg::TIMERS_COMMAND = QT_TRANSLATE_NOOP("CConverterDlg", "&Timers…");
const char* const CConverterDlg::NO_PLAYER = QT_TRANSLATE_NOOP(
    "CConverterDlg", "No program on this desktop could open the recording. Open it with a video player.");

CConverterDlg::CConverterDlg(IPrompt& prompt, QWidget* pParent)
    : CConverterDlg(prompt, ConversionSettings(), pParent)
{
}

CConverterDlg::CConverterDlg(IPrompt& prompt, const ConversionSettings& settings, QWidget* pParent)
    : CSkinDialog(prompt, pParent)
    , m_encoder(this)
    , m_openUrl(&QDesktopServices::openUrl)
    , m_settings(settings)
    , m_mpegProfileDlg(m_settings, this)
    , m_videoFrameDlg(m_settings, this, this)
    , m_aviProfileDlg(m_settings, this, this)
    , m_syncModeDlg(m_settings, this)
    , m_audioDeviceDlg(m_settings, this, this)
    , m_videoDeviceDlg(m_settings, this, this)
    , m_notifier(*this)
    , m_timers(*this, prompt, &QDateTime::currentDateTime, CTimerStore::DefaultPath(), this)
{
    setWindowTitle(QStringLiteral("SkinRecorder"));
    SetOptionsOutsideGroup({ AUDIO_STREAM_OPTION });
    LoadStartupSkin();
    PlaceEncoder();
    FillOutputTypes();
    ShowTitle();
    setWindowIcon(ProgramIdentity::Icon());
    MakeKeyCommands();
    NameSkinControls(*this);
    ShowKeysInTooltips();
    if (m_bHasSkin)
        ReportMissingButtons();
    RefreshExitButton();
    // The device gets the mute state the settings show, from the start.
    m_encoder.SetTVMute(m_settings.bMuteTV);
    connect(&m_encoder, &CEncorda::RecordingFinished, this, &CConverterDlg::OnRecordingFinished);
    connect(&m_encoder, &CEncorda::StatusChanged, this, &CConverterDlg::ShowAudioLevel);
    new CRecordingAnnouncer(*this, m_encoder);
    SkinMenu()->addSeparator();
    SkinMenu()->addAction(tr(TIMERS_COMMAND), this, &CConverterDlg::ShowTimers);
    // Without a window there is nobody to record for.
    if (m_bHasSkin)
        m_timers.Start();
}

void CConverterDlg::ShowTimers()
{
    CTimersDlg dialog(m_timers, Prompt(), OutputTypeRow(), this);
    dialog.exec();
}

int CConverterDlg::RunAsMainWindow()
{
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    loop.exec();
    return result();
}

void CConverterDlg::LoadStartupSkin()
{
    qCInfo(lcStartup).noquote() << "skin packages are looked for in" << SkinPackage::SearchFolders().join(u", ");
    QStringList arrPackages { DEFAULT_SKIN };
    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands())
        arrPackages.append(command.strPackage);
    // Each package is looked up in every folder, as the skin commands do.
    for (const QString& strName : std::as_const(arrPackages)) {
        const QString strPackage = SkinPackage::FindSkinPackage(strName);
        if (!QFileInfo(strPackage).isFile()) {
            qCInfo(lcStartup).noquote() << "no" << strName;
            continue;
        }
        m_bHasSkin = MakeSkinCurrent(strPackage);
        qCInfo(lcStartup).noquote() << (m_bHasSkin ? "loaded the skin" : "could not load the skin") << strPackage;
        if (!m_bHasSkin)
            continue;
        if (strName != DEFAULT_SKIN)
            qCWarning(lcStartup).noquote() << DEFAULT_SKIN << "could not be used; started on" << strPackage;
        break;
    }
    if (!m_bHasSkin)
        ReportNoSkin(arrPackages);
    qCInfo(lcStartup).noquote() << "frame pictures:" << CEncorda::GetFramePictures().Names().join(u", ");
}

void CConverterDlg::ReportNoSkin(const QStringList& arrPackages)
{
    QStringList arrFolders;
    for (const QString& strFolder : SkinPackage::SearchFolders())
        arrFolders.append(QDir::toNativeSeparators(strFolder));
    const QString strCause = tr("It looked for %1 in these folders:\n%2\n\n"
                                "Put a skin package such as %3 into one of them, "
                                "or install the program again.")
                                 .arg(arrPackages.join(QStringLiteral(", ")), arrFolders.join(u'\n'), DEFAULT_SKIN);
    // Also for a user who started the program from a terminal.
    qCCritical(lcStartup).noquote() << tr(NO_SKIN) << strCause;
    Prompt().ShowMessage(tr(NO_SKIN) + QStringLiteral("\n\n") + strCause, IPrompt::EIcon::Stop);
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
    // Its rows are the only output types there are.
    if (pCombo->GetName() == OUTPUT_SELECTOR)
        pCombo->MakeSelectOnly();
    const QStringList arrRows { MPEG1_ROW, MPEG2_ROW, AVI_ROW };
    for (const QString& strRow : arrRows)
        pCombo->AddString(strRow);
    const int nRow = m_nOutputTypeRow >= 0 && m_nOutputTypeRow < arrRows.size() ? m_nOutputTypeRow : 0;
    if (CSkinListBox* pList = pCombo->List())
        pList->SetSelectedRow(nRow);
    if (CSkinEdit* pEdit = pCombo->Edit())
        pEdit->setText(arrRows[nRow]);
}

int CConverterDlg::OutputTypeRow() const
{
    const CSkinComboBox* pCombo = FirstComboBox();
    const CSkinListBox* pList = pCombo ? pCombo->List() : nullptr;
    return pList ? pList->GetSelectedRow() : -1;
}

void CConverterDlg::SetDropDownOpen(bool bOpen)
{
    const bool bChanged = bOpen != IsDropDownOpen();
    CSkinDialog::SetDropDownOpen(bOpen);
    // A list that lay over the exit button leaves it to be drawn anew; while
    // nothing changes, nothing is drawn.
    if (bChanged && !bOpen)
        RefreshExitButton();
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
    ShowTransportButtons(m_bPauseOffered);
    NameSkinControls(*this);
    ShowKeysInTooltips();
    PlaceEncoder();
    FillOutputTypes();
    ShowMuteState();
    ShowQualityState();
    ShowAudioLevel();
    ShowRecordings();
    ShowTitle();
    ReportMissingButtons();
}

int CConverterDlg::LevelMeterPosition(double dDbfs)
{
    const double dFraction = (dDbfs - LEVEL_METER_FLOOR_DBFS) / -LEVEL_METER_FLOOR_DBFS;
    return static_cast<int>(std::lround(std::clamp(dFraction, 0.0, 1.0) * LEVEL_METER_MAX));
}

void CConverterDlg::ShowAudioLevel()
{
    if (CSkinProgress* pMeter = FindProgress(LEVEL_METER))
        pMeter->SetPos(LevelMeterPosition(m_encoder.GetStatus().dAudioLevelDbfs));
}

CSkinCheck* CConverterDlg::OnCheckClicked(int nIndex)
{
    CSkinCheck* pCheck = CSkinDialog::OnCheckClicked(nIndex);
    if (pCheck && pCheck->GetName() == MUTE_CHECK)
        m_encoder.SetAudioMute(pCheck->IsChecked());
    return pCheck;
}

void CConverterDlg::NoteFinishedRecording(double dSeconds, const QString& strError, bool bByItself)
{
    if (m_strRecordingFile.isEmpty())
        return;
    const CRecentRecordings::CEntry entry { m_strRecordingFile, m_strRecordingTitle, dSeconds,
                                            QFileInfo(m_strRecordingFile).size() };
    m_recordings.Add(entry);
    m_strRecordingFile.clear();
    ShowRecordings();
    emit RecordingEnded(entry, strError, bByItself);
}

void CConverterDlg::ShowRecordings()
{
    CSkinListBox* pList = FindListBox(RECORDINGS_LIST);
    if (pList == nullptr)
        return;
    m_recordings.ShowIn(*pList);
    connect(pList, &CSkinListBox::RowActivated, this, &CConverterDlg::OpenRecording, Qt::UniqueConnection);
}

void CConverterDlg::OpenRecording(int nRow)
{
    if (const CRecentRecordings::CEntry* pEntry = m_recordings.At(nRow))
        OpenRecordingFile(pEntry->strPath);
}

void CConverterDlg::OpenRecordingFile(const QString& strPath)
{
    // A file deleted since has nothing to open; its row now says so.
    if (!QFileInfo::exists(strPath))
        ShowRecordings();
    else if (!m_openUrl(QUrl::fromLocalFile(strPath)))
        Prompt().ShowMessage(tr(NO_PLAYER), IPrompt::EIcon::Warning, QDir::toNativeSeparators(strPath));
}

void CConverterDlg::OnSkinOptionSelected(const QString& strName)
{
    if (strName == GOOD_QUALITY_OPTION || strName == BEST_QUALITY_OPTION)
        m_encoder.SetBestQuality(strName == BEST_QUALITY_OPTION);
}

void CConverterDlg::ShowQualityState()
{
    const bool bBest = m_encoder.GetBestQuality();
    if (CSkinOption* pGood = FindOption(GOOD_QUALITY_OPTION))
        pGood->SetChecked(!bBest);
    if (CSkinOption* pBest = FindOption(BEST_QUALITY_OPTION))
        pBest->SetChecked(bBest);
}

void CConverterDlg::ShowTitle()
{
    CSkinEdit* pTitle = FindEdit(TITLE_EDIT);
    if (pTitle == nullptr)
        return;
    pTitle->setText(m_strTitle);
    connect(pTitle, &QLineEdit::textChanged, this, [this](const QString& strText) { m_strTitle = strText; });
}

void CConverterDlg::ShowMuteState()
{
    if (CSkinCheck* pMute = FindCheck(MUTE_CHECK))
        pMute->SetChecked(m_encoder.GetAudioMute());
}

void CConverterDlg::EndOnQuitSignal()
{
    Stop();
    // A dialog's own event loop would hold the exit until someone closed it.
    for (QWidget* pWindow : QApplication::topLevelWidgets()) {
        auto* pDialog = qobject_cast<QDialog*>(pWindow);
        if (pDialog && pDialog != this && pDialog->isVisible())
            pDialog->reject();
    }
    accept();
}

bool CConverterDlg::MayQuit()
{
    if (!m_encoder.GetStatus().bRecordingToFile)
        return true;
    if (Prompt().AskYesNo(tr(STOP_AND_QUIT), IPrompt::EIcon::Warning) != IPrompt::EAnswer::Yes)
        return false;
    Stop();
    return true;
}

void CConverterDlg::closeEvent(QCloseEvent* pEvent)
{
    if (MayQuit())
        CSkinDialog::closeEvent(pEvent);
    else
        pEvent->ignore();
}

void CConverterDlg::OnSkinCommand(const QString& strName)
{
    qCInfo(lcUi).noquote() << "command" << strName;
    if (strName == EXIT_BUTTON || strName == CLOSE_BUTTON) {
        if (MayQuit())
            accept();
    } else if (strName == CONVERT_BUTTON)
        Convert();
    else if (strName == QLatin1String("BUTTON_UP"))
        Prompt().ShowMessage(tr("Up Button Pressed"), IPrompt::EIcon::Information);
    else if (strName == QLatin1String("BUTTON_DOWN"))
        Prompt().ShowMessage(tr("Down Button Pressed"), IPrompt::EIcon::Information);
    else if (strName == QLatin1String("BUTTON_EDIT"))
        m_mpegProfileDlg.exec();
    else if (strName == PLAY_BUTTON)
        Play();
    else if (strName == PAUSE_BUTTON)
        Pause();
    else if (strName == STOP_BUTTON)
        Stop();
    else if (strName == QLatin1String("BUTTON_MINIMIZE"))
        showMinimized();
    else if (strName == QLatin1String("BUTTON_EDITVIDEO"))
        m_videoDeviceDlg.exec();
    else if (strName == QLatin1String("BUTTON_EDITAUDIO"))
        m_audioDeviceDlg.exec();
    else if (strName == QLatin1String("BUTTON_EDITMODE"))
        m_syncModeDlg.exec();
    else if (strName == QLatin1String("BUTTON_EDITFRAME")) {
        // Still open behind the window: brought to the front again.
        m_videoFrameDlg.show();
        m_videoFrameDlg.raise();
        m_videoFrameDlg.activateWindow();
    } else if (strName == QLatin1String("BUTTON_EDITAVI"))
        m_aviProfileDlg.exec();
    else if (strName == CTaskNotifierDlg::TASK_EXIT_NAME)
        m_notifier.OnTaskButton(strName);
}

void CConverterDlg::OnSkinSliderMoved(const QString& strName, int)
{
    if (strName == PROGRESS_SLIDER)
        ShowProgressTime();
}

void CConverterDlg::ShowProgressTime()
{
    const CSkinSlider* pSlider = FindSlider(PROGRESS_SLIDER);
    CLabel* pLabel = FindLabel(TIME_LABEL);
    if (pSlider == nullptr || pLabel == nullptr)
        return;
    pLabel->SetLabelText(FormatTime(pSlider->GetPos()) + u'/' + FormatTime(pSlider->GetRangeMax()));
    pLabel->update();
}

void CConverterDlg::HideProgressDisplay()
{
    CSkinSlider* pSlider = FindSlider(PROGRESS_SLIDER);
    CLabel* pLabel = FindLabel(TIME_LABEL);
    if (pSlider == nullptr || pLabel == nullptr)
        return;
    // The label still tells the slider's range, should a skin show it.
    ShowProgressTime();
    pSlider->hide();
    pLabel->hide();
}

void CConverterDlg::OnSkinReleasing()
{
    m_notifier.Release();
}

void CConverterDlg::OnSkinLoaded(const CIniFile& ini, const QString& strFolder)
{
    m_notifier.Load(ini, strFolder, TransparentColor());
    HideProgressDisplay();
}
