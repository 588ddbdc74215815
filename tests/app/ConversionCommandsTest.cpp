#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTest>

#include "app/ConverterDlg.h"
#include "controls/Label.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboButton.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinSlider.h"
#include "settings/ConversionSettings.h"
#include "skin/SkinPackage.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"

namespace {

// The headlines of failures other than a compressor's or a file's opening.
const QString SETTINGS_HEADLINE = QStringLiteral("Capture Failure, the settings cannot be recorded");
const QString FOLDER_HEADLINE = QStringLiteral("Recording Failure, the folder for the recording does not exist");

using EId = CEncorda::EDispatchId;

const QMap<EId, const char*> DISPATCH_NAMES = {
    { EId::VideoDevice, "VideoDevice" },
    { EId::VideoFormat, "VideoFormat" },
    { EId::VideoDevices, "VideoDevices" },
    { EId::VideoFormats, "VideoFormats" },
    { EId::VideoCompressors, "VideoCompressors" },
    { EId::SaveToFile, "SaveToFile" },
    { EId::FileName, "FileName" },
    { EId::AudioDevices, "AudioDevices" },
    { EId::AudioDevice, "AudioDevice" },
    { EId::VideoCompressor, "VideoCompressor" },
    { EId::AudioCompressor, "AudioCompressor" },
    { EId::AudioCompressors, "AudioCompressors" },
    { EId::StopFlag, "StopFlag" },
    { EId::TVMute, "TVMute" },
    { EId::VideoInputs, "VideoInputs" },
    { EId::VideoInput, "VideoInput" },
    { EId::FrameRate, "FrameRate" },
    { EId::AudioInput, "AudioInput" },
    { EId::AudioInputs, "AudioInputs" },
    { EId::CustomFrameHeight, "CustomFrameHeight" },
    { EId::CustomFrameWidth, "CustomFrameWidth" },
    { EId::SyncMode, "SyncMode" },
    { EId::AudioOffset, "AudioOffset" },
    { EId::UseCustomFrame, "UseCustomFrame" },
    { EId::WorkMode, "WorkMode" },
    { EId::VideoFrame, "VideoFrame" },
    { EId::OutputType, "OutputType" },
    { EId::AudioBitrate, "AudioBitrate" },
    { EId::AudioChannels, "AudioChannels" },
    { EId::AudioSampleRate, "AudioSampleRate" },
    { EId::VideoHeight, "VideoHeight" },
    { EId::VideoBitrate, "VideoBitrate" },
    { EId::VideoWidth, "VideoWidth" },
    { EId::Start, "Start" },
    { EId::Stop, "Stop" },
    { EId::Pause, "Pause" },
    { EId::Resume, "Resume" },
};

void Click(QWidget* pWidget, QPoint pt = QPoint(-1, -1))
{
    ASSERT_NE(pWidget, nullptr);
    QTest::mouseClick(pWidget, Qt::LeftButton, {}, pt.x() < 0 ? pWidget->rect().center() : pt);
}

// The program on its own default skin, with every call on its recorder
// written down as "Name" or "Name=value".
class ConversionCommandsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
            GTEST_SKIP() << "the program's skins are not built beside the test";
        ASSERT_TRUE(m_current.IsValid());
        // Only the built-in sources: the same on every machine.
        ConversionSettings settings;
        settings.strVideoDeviceName = QStringLiteral("Test Pattern");
        settings.strAudioDeviceName = QStringLiteral("Test Tone");
        m_strFile = m_current.FilePath("out.mpg");
        m_pDialog = std::make_unique<CConverterDlg>(m_prompt, settings);
        m_pDialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pDialog.get()));
        CEncorda& encoder = m_pDialog->RecorderWidget();
        m_nVideoDevice = encoder.GetVideoDevices().FindIndex("Test Pattern");
        m_nAudioDevice = encoder.GetAudioDevices().FindIndex("Test Tone");
        ASSERT_NE(m_nVideoDevice, -1);
        ASSERT_NE(m_nAudioDevice, -1);
        encoder.SetDispatchObserver([this](const CEncorda::CDispatchCall& call) { m_arrCalls.append(Describe(call)); });
    }

    void TearDown() override { m_pDialog.reset(); }

    ConversionSettings& Settings() { return m_pDialog->Settings(); }

    QString Describe(const CEncorda::CDispatchCall& call) const
    {
        const QString strName = QString::fromLatin1(DISPATCH_NAMES.value(call.eId, "?"));
        if (!call.value.isValid())
            return strName;
        const QString strValue = call.value.toString();
        return strName + u'=' + (strValue == m_strFile ? QStringLiteral("FILE") : strValue);
    }

    void Command(const QString& strButton)
    {
        CSkinButton* pButton = m_pDialog->FindButton(strButton);
        ASSERT_NE(pButton, nullptr) << strButton.toStdString();
        ASSERT_TRUE(pButton->isVisible()) << strButton.toStdString();
        Click(pButton);
    }

    // Converts with the settings changeSettings leaves, to "refused.mpg" here
    // or the name it gives instead; the questions asked are counted afresh.
    // Returns the file chosen.
    QString ConvertChanged(const std::function<void(ConversionSettings&, QString&)>& changeSettings)
    {
        QString strFile = m_current.FilePath("refused.mpg");
        changeSettings(Settings(), strFile);
        m_prompt.m_arrAsked.clear();
        m_prompt.m_arrFiles = { strFile };
        Command("BUTTON_CONVERT");
        return strFile;
    }

    bool IsShown(const QString& strButton) const { return m_pDialog->FindButton(strButton)->isVisible(); }

    // What Convert writes of the default profile, between the output type
    // and the capture's own settings.
    static QStringList ProfileCalls()
    {
        return { "FrameRate=23",          "AudioBitrate=224000", "VideoBitrate=4600000", "AudioChannels=2",
                 "AudioSampleRate=44100", "VideoWidth=720",      "VideoHeight=480",      "FileName=FILE",
                 "SaveToFile=true",       "SyncMode=1",          "AudioOffset=1" };
    }

    // What ApplyDeviceSelections writes with the fixture's device names.
    QStringList DeviceCalls() const
    {
        return { "VideoDevices", QStringLiteral("VideoDevice=%1").arg(m_nVideoDevice), "VideoInputs", "VideoFormats",
                 "AudioDevices", QStringLiteral("AudioDevice=%1").arg(m_nAudioDevice), "AudioInput=0" };
    }

    CProgramCurrentDirectory m_current;
    CScriptedPrompt m_prompt;
    std::unique_ptr<CConverterDlg> m_pDialog;
    QStringList m_arrCalls;
    QString m_strFile;
    short m_nVideoDevice = -1;
    short m_nAudioDevice = -1;
};

TEST_F(ConversionCommandsTest, ConvertWritesTheDefaultsInOrderAndStarts)
{
    m_prompt.m_arrFiles = { m_strFile };
    Command("BUTTON_CONVERT");
    const QStringList arrExpected = DeviceCalls() + QStringList { "OutputType=5" } + ProfileCalls()
        + QStringList { "WorkMode=2", "VideoFrame=1", "Start" };
    EXPECT_EQ(m_arrCalls, arrExpected);
    EXPECT_EQ(m_prompt.Texts(), QStringList { "Save As" });
    EXPECT_TRUE(m_pDialog->RecorderWidget().GetStatus().bRecordingToFile);
    // The recording can be paused at once, as after Play.
    EXPECT_TRUE(IsShown("BUTTON_PAUSE"));
    EXPECT_FALSE(IsShown("BUTTON_PLAY"));
    EXPECT_FALSE(m_pDialog->IsPaused());
}

TEST_F(ConversionCommandsTest, PauseAndStopAfterConvertSwapTheButtonsBack)
{
    m_prompt.m_arrFiles = { m_strFile };
    Command("BUTTON_CONVERT");
    ASSERT_TRUE(IsShown("BUTTON_PAUSE"));
    Command("BUTTON_PAUSE");
    EXPECT_TRUE(m_pDialog->IsPaused());
    EXPECT_TRUE(IsShown("BUTTON_PLAY"));
    Command("BUTTON_PLAY");
    EXPECT_TRUE(IsShown("BUTTON_PAUSE"));
    EXPECT_TRUE(m_pDialog->RecorderWidget().GetStatus().bRecordingToFile) << "resumed, not restarted";
    Command("BUTTON_STOP");
    EXPECT_TRUE(IsShown("BUTTON_PLAY"));
    EXPECT_FALSE(IsShown("BUTTON_PAUSE"));
}

TEST_F(ConversionCommandsTest, AFailedConvertLeavesPlayInPlace)
{
    // The recorder refuses a picture without pixels.
    Settings().nMpegWidth = 0;
    m_prompt.m_arrFiles = { m_strFile };
    Command("BUTTON_CONVERT");
    ASSERT_FALSE(m_pDialog->RecorderWidget().GetStatus().bRunning);
    EXPECT_TRUE(IsShown("BUTTON_PLAY"));
    EXPECT_FALSE(IsShown("BUTTON_PAUSE"));
}

struct CConvertCase
{
    const char* pszName;
    std::function<void(ConversionSettings&)> change;
    QStringList arrContains;
};

TEST_F(ConversionCommandsTest, ConvertTruncatesToWhatTheRecorderTakes)
{
    const CConvertCase cases[] = {
        { "NTSC rate", [](ConversionSettings& s) { s.dFrameRate = 59.94; }, { "FrameRate=59" } },
        { "whole rate", [](ConversionSettings& s) { s.dFrameRate = 25; }, { "FrameRate=25" } },
        // Short properties get the low 16 bits.
        { "wide", [](ConversionSettings& s) { s.nMpegWidth = 70000; }, { "VideoWidth=4464" } },
        { "frame picture", [](ConversionSettings& s) { s.nFramePictureIndex = 2; }, { "VideoFrame=3" } },
    };
    for (const CConvertCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Settings() = ConversionSettings();
        c.change(Settings());
        m_arrCalls.clear();
        m_prompt.m_arrFiles = { m_strFile };
        Command("BUTTON_CONVERT");
        for (const QString& strCall : c.arrContains)
            EXPECT_TRUE(m_arrCalls.contains(strCall)) << m_arrCalls.join(' ').toStdString();
        Command("BUTTON_STOP");
    }
}

TEST_F(ConversionCommandsTest, CompressorsAreLookedUpOnlyWhenUsedAudioFirst)
{
    Settings().bUseVideoCompressor = true;
    Settings().strVideoCompressorName = QStringLiteral("no such compressor");
    Settings().bUseAudioCompressor = true;
    Settings().strAudioCompressorName = m_pDialog->RecorderWidget().GetAudioCompressors().Name(0);
    m_arrCalls.clear();
    // A cancelled file dialog ends Convert after the device selections.
    Command("BUTTON_CONVERT");
    EXPECT_EQ(m_arrCalls,
              (DeviceCalls() + QStringList { "AudioCompressors", "AudioCompressor=0", "VideoCompressors" }));
    EXPECT_FALSE(m_pDialog->RecorderWidget().GetStatus().bRunning);
}

TEST_F(ConversionCommandsTest, PlayPreviewsWithoutProfileOrFile)
{
    Settings().bUseCustomFrame = true;
    Command("BUTTON_PLAY");
    const QStringList arrExpected = DeviceCalls() + QStringList { "SyncMode=1",
                                                                  "AudioOffset=1",
                                                                  "UseCustomFrame=true",
                                                                  "CustomFrameWidth=320",
                                                                  "CustomFrameHeight=240",
                                                                  "WorkMode=2",
                                                                  "VideoFrame=1",
                                                                  "Start" };
    EXPECT_EQ(m_arrCalls, arrExpected);
    EXPECT_TRUE(IsShown("BUTTON_PAUSE"));
    EXPECT_FALSE(IsShown("BUTTON_PLAY"));
    const CEncorda& encoder = m_pDialog->RecorderWidget();
    EXPECT_TRUE(encoder.GetStatus().bRunning);
    EXPECT_FALSE(encoder.GetStatus().bRecordingToFile);
    EXPECT_TRUE(WaitUntil([&encoder] { return encoder.HasPreview(); }, 10000));
}

TEST_F(ConversionCommandsTest, OnlyStopEndsThePause)
{
    Command("BUTTON_PLAY");
    Command("BUTTON_PAUSE");
    EXPECT_TRUE(m_pDialog->IsPaused());
    EXPECT_TRUE(IsShown("BUTTON_PLAY"));
    EXPECT_FALSE(IsShown("BUTTON_PAUSE"));
    Command("BUTTON_PLAY");
    // Play swaps the buttons back; a second Play needs the button again.
    Command("BUTTON_PAUSE");
    Command("BUTTON_PLAY");
    Command("BUTTON_STOP");
    Command("BUTTON_PLAY");
    QStringList arrMethods;
    for (const QString& strCall : std::as_const(m_arrCalls)) {
        if (QStringList { "Start", "Resume", "Pause", "Stop" }.contains(strCall))
            arrMethods.append(strCall);
    }
    EXPECT_EQ(arrMethods, (QStringList { "Start", "Pause", "Resume", "Pause", "Resume", "Stop", "Start" }));
    EXPECT_FALSE(m_pDialog->IsPaused());
}

TEST_F(ConversionCommandsTest, StopClearsTheFileAndSwapsTheButtons)
{
    Command("BUTTON_PLAY");
    m_arrCalls.clear();
    Command("BUTTON_STOP");
    EXPECT_EQ(m_arrCalls, (QStringList { "StopFlag=true", "SaveToFile=false", "Stop" }));
    EXPECT_TRUE(IsShown("BUTTON_PLAY"));
    EXPECT_FALSE(IsShown("BUTTON_PAUSE"));
    EXPECT_FALSE(m_pDialog->RecorderWidget().GetStatus().bRunning);
}

TEST_F(ConversionCommandsTest, RefusedStartShowsTheFailureWithItsReason)
{
    struct CFailureCase
    {
        const char* pszName;
        std::function<void(ConversionSettings&, QString&)> change;
        QString strHeadline;
    };
    const CFailureCase cases[] = {
        { "no MPEG frame rate", [](ConversionSettings& s, QString&) { s.dFrameRate = 12.5; }, SETTINGS_HEADLINE },
        { "folder missing", [](ConversionSettings&, QString& strFile) { strFile += "/missing/out.mpg"; },
          FOLDER_HEADLINE },
    };
    for (const CFailureCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Settings() = ConversionSettings();
        const QString strFile = ConvertChanged(c.change);
        ASSERT_EQ(m_prompt.Texts(), (QStringList { "Save As", c.strHeadline }));
        EXPECT_FALSE(m_prompt.m_arrAsked.last().strDetail.isEmpty());
        EXPECT_EQ(m_prompt.m_arrAsked.last().strDetail, m_pDialog->RecorderWidget().GetLastError());
        EXPECT_FALSE(m_pDialog->RecorderWidget().GetStatus().bRunning);
        EXPECT_FALSE(QFile::exists(strFile));
    }
}

TEST_F(ConversionCommandsTest, RecordingThatFailsLaterIsReportedWithItsReason)
{
    // Every write to this device fails as on a full disk.
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    m_prompt.m_arrFiles = { QStringLiteral("/dev/full") };
    Command("BUTTON_CONVERT");
    const CEncorda& encoder = m_pDialog->RecorderWidget();
    ASSERT_TRUE(WaitUntil([this] { return m_prompt.m_arrAsked.size() == 2; }, 30000));
    EXPECT_EQ(m_prompt.Texts(), (QStringList { "Save As", QStringLiteral("Recording Failure, the disk is full") }));
    EXPECT_FALSE(m_prompt.m_arrAsked.last().strDetail.isEmpty());
    EXPECT_FALSE(encoder.GetStatus().bRunning);
    EXPECT_FALSE(encoder.GetStatus().bRecordingToFile);
}

TEST_F(ConversionCommandsTest, ProgressLabelFollowsTheSlider)
{
    CSkinSlider* pSlider = m_pDialog->FindSlider("SLIDER_PROGRESS");
    CLabel* pLabel = m_pDialog->FindLabel("LABEL_TIME");
    ASSERT_NE(pSlider, nullptr);
    ASSERT_NE(pLabel, nullptr);
    pSlider->SetRange(0, 400000, false);
    pSlider->SetPos(3725);
    // The position reported is not used: the slider is asked.
    m_pDialog->OnSliderChanged(pSlider->GetIndex(), 0);
    EXPECT_EQ(pLabel->GetLabelText(), "01:02:05/99:59:59");
}

TEST_F(ConversionCommandsTest, FramePictureDialogIsOneModelessWindow)
{
    const qsizetype nDialogs = m_pDialog->findChildren<QDialog*>().size();
    Command("BUTTON_EDITFRAME");
    Command("BUTTON_EDITFRAME");
    EXPECT_TRUE(m_pDialog->VideoFrameDlg().isVisible());
    EXPECT_FALSE(m_pDialog->VideoFrameDlg().isModal());
    EXPECT_EQ(m_pDialog->findChildren<QDialog*>().size(), nDialogs);
}

// Picks a row of the output-type selector the way a user does.
void ChooseOutputType(CConverterDlg& dialog, int nRow)
{
    CSkinComboBox* pCombo = dialog.FirstComboBox();
    ASSERT_NE(pCombo, nullptr);
    Click(pCombo->Button());
    ASSERT_TRUE(pCombo->IsDropDownVisible());
    EXPECT_TRUE(dialog.IsDropDownOpen());
    CSkinListBox* pList = pCombo->List();
    Click(pList, QPoint(pList->width() / 3, pList->RowHeight() * nRow + pList->RowHeight() / 2));
    EXPECT_FALSE(pCombo->IsDropDownVisible());
    EXPECT_FALSE(dialog.IsDropDownOpen());
}

struct CCauseCase
{
    const char* pszName;
    std::function<void(ConversionSettings&, QString&)> change;
    int nOutputRow;
    QStringList arrCauseContains;
    QString strHeadline;
};

TEST_F(ConversionCommandsTest, TheFailureBoxShowsTheCauseInPlainWords)
{
    const CCauseCase cases[] = {
        { "folder missing",
          [](ConversionSettings&, QString& strFile) { strFile = QFileInfo(strFile).absolutePath() + "/gone/out.mpg"; },
          0,
          { "/gone does not exist", "Choose an existing folder" },
          FOLDER_HEADLINE },
        { "bad size",
          [](ConversionSettings& s, QString&) { s.nMpegWidth = 0; },
          0,
          { "picture size", "0x480" },
          SETTINGS_HEADLINE },
        { "bit rate over the limit",
          [](ConversionSettings& s, QString&) { s.nVideoBitrate = 20000000; },
          1,
          { "20000000", "Lower the bit rate" },
          CConverterDlg::CAPTURE_FAILURE },
    };
    for (const CCauseCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Settings() = ConversionSettings();
        ChooseOutputType(*m_pDialog, c.nOutputRow);
        ConvertChanged(c.change);
        ASSERT_EQ(m_prompt.Texts(), (QStringList { "Save As", c.strHeadline }));
        const QString strCause = m_prompt.m_arrAsked.last().strCause;
        for (const QString& strPart : c.arrCauseContains)
            EXPECT_TRUE(strCause.contains(strPart)) << strCause.toStdString();
        EXPECT_EQ(m_prompt.m_arrAsked.last().strDetail, m_pDialog->RecorderWidget().GetLastError());
    }
}

TEST_F(ConversionCommandsTest, AFailedWriteNamesTheDiskInTheFailureBox)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    m_prompt.m_arrFiles = { QStringLiteral("/dev/full") };
    Command("BUTTON_CONVERT");
    ASSERT_TRUE(WaitUntil([this] { return m_prompt.m_arrAsked.size() == 2; }, 30000));
    const QString strCause = m_prompt.m_arrAsked.last().strCause;
    EXPECT_TRUE(strCause.contains("/dev/full is full")) << strCause.toStdString();
    EXPECT_TRUE(strCause.contains("Free some space")) << strCause.toStdString();
}

TEST_F(ConversionCommandsTest, TypingIntoTheOutputSelectorChangesNothing)
{
    CSkinComboBox* pSelector = m_pDialog->FirstComboBox();
    ASSERT_NE(pSelector, nullptr);
    ASSERT_EQ(pSelector->GetName(), CConverterDlg::OUTPUT_SELECTOR);
    ChooseOutputType(*m_pDialog, 1);
    ASSERT_EQ(pSelector->Edit()->text(), CConverterDlg::MPEG2_ROW);

    CSkinEdit* pEdit = pSelector->Edit();
    pEdit->setFocus();
    QTest::keyClicks(pEdit, QStringLiteral("garbage"));
    EXPECT_EQ(pEdit->text(), CConverterDlg::MPEG2_ROW);
    m_prompt.m_arrFiles = { m_strFile };
    Command("BUTTON_CONVERT");
    EXPECT_TRUE(m_arrCalls.contains("OutputType=6")) << m_arrCalls.join(' ').toStdString();
    Command("BUTTON_STOP");

    Click(pEdit);
    EXPECT_TRUE(pSelector->IsDropDownVisible()) << "a click on the text opens the list";
}

TEST_F(ConversionCommandsTest, SelectorChoiceDecidesTheOutputTypeAndSurvivesASkinChange)
{
    CSkinComboBox* pCombo = m_pDialog->FirstComboBox();
    ASSERT_NE(pCombo, nullptr);
    EXPECT_EQ(pCombo->List()->GetItemCount(), 3);
    EXPECT_EQ(pCombo->List()->GetItemText(2, 0), "AVI");
    EXPECT_EQ(pCombo->Edit()->text(), "MPEG1");
    ChooseOutputType(*m_pDialog, 1);
    EXPECT_EQ(pCombo->Edit()->text(), "MPEG2");

    Command("BUTTON_PLAY");
    const int nOtherSkin = (m_pDialog->SkinIndex() + 1) % int(SkinPackage::SkinCommands().size());
    m_pDialog->ChangeSkin(SkinPackage::FIRST_SKIN_COMMAND + nOtherSkin);
    ASSERT_EQ(m_pDialog->SkinIndex(), nOtherSkin);
    ASSERT_EQ(m_prompt.m_arrAsked.size(), 0);
    pCombo = m_pDialog->FirstComboBox();
    ASSERT_NE(pCombo, nullptr);
    EXPECT_EQ(pCombo->Edit()->text(), "MPEG2");
    EXPECT_EQ(pCombo->List()->GetItemText(0, 0), "MPEG1");
    EXPECT_EQ(pCombo->List()->GetItemText(2, 0), "AVI");
    EXPECT_EQ(pCombo->List()->GetSelectedRow(), 1);
    // The preview goes on, in the new skin's place.
    EXPECT_EQ(m_pDialog->RecorderWidget().geometry(), m_pDialog->ControlRect());
    EXPECT_TRUE(m_pDialog->RecorderWidget().GetStatus().bRunning);

    m_arrCalls.clear();
    m_prompt.m_arrFiles = { m_strFile };
    Command("BUTTON_CONVERT");
    EXPECT_TRUE(m_arrCalls.contains("OutputType=6")) << m_arrCalls.join(' ').toStdString();
}

TEST_F(ConversionCommandsTest, AviRowWritesTheAviWorkModeAndCustomFrameButNoOutputType)
{
    ChooseOutputType(*m_pDialog, CConverterDlg::AVI_ROW_INDEX);
    m_arrCalls.clear();
    m_prompt.m_arrFiles = { m_strFile };
    Command("BUTTON_CONVERT");
    const QStringList arrExpected =
        DeviceCalls() + ProfileCalls() + QStringList { "UseCustomFrame=false", "WorkMode=3", "VideoFrame=1", "Start" };
    EXPECT_EQ(m_arrCalls, arrExpected);
    EXPECT_TRUE(m_pDialog->RecorderWidget().GetStatus().bRecordingToFile)
        << m_pDialog->RecorderWidget().GetLastError().toStdString();
}

// Counts the paint events of the main window's own widgets, and of its exit
// button; the notifier popup is a window of its own.
class CPaintCounter : public QObject
{
public:
    CPaintCounter(const QWidget& window, const QWidget* pExit)
        : m_window(window)
        , m_pExit(pExit)
    {
        qApp->installEventFilter(this);
    }

    int m_nWindowPaints = 0;
    int m_nExitPaints = 0;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint && pWatched->isWidgetType()) {
            m_nWindowPaints += static_cast<QWidget*>(pWatched)->window() == &m_window ? 1 : 0;
            m_nExitPaints += pWatched == m_pExit ? 1 : 0;
        }
        return false;
    }

private:
    const QWidget& m_window;
    const QWidget* m_pExit;
};

// Long enough for several repaints of a busy window.
constexpr int IDLE_WATCH_MS = 400;
constexpr int DRAW_WAIT_MS = 5000;

// The rows run in turn on one window: a list opens, then closes.
TEST_F(ConversionCommandsTest, TheIdleWindowDrawsNothingUntilAListCloses)
{
    const CSkinButton* pExit = m_pDialog->FindButton(CConverterDlg::EXIT_BUTTON);
    ASSERT_NE(pExit, nullptr);
    // The paints of the window coming up, the last for its focus, are over.
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pDialog.get()));
    // A text field's caret blinks while it has the focus, as it should.
    if (QWidget* pFocus = QApplication::focusWidget())
        pFocus->clearFocus();
    QCoreApplication::processEvents();
    const struct
    {
        const char* pszCase;
        std::function<void()> act;
        bool bExitDrawn;
    } rows[] = {
        { "nothing happens", [] {}, false },
        { "a list drops down", [this] { m_pDialog->SetDropDownOpen(true); }, false },
        { "the list closes", [this] { m_pDialog->SetDropDownOpen(false); }, true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        const CPaintCounter paints(*m_pDialog, pExit);
        row.act();
        if (row.bExitDrawn) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return paints.m_nExitPaints > 0; }, DRAW_WAIT_MS));
        } else {
            EXPECT_FALSE(QTest::qWaitFor([&] { return paints.m_nWindowPaints > 0; }, IDLE_WATCH_MS));
        }
    }
}

} // namespace
