#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/ConverterDlg.h"
#include "controls/SkinButton.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/engine/MediaProbe.h"
#include "tests/settings/DialogDriver.h"

using namespace DialogDriver;

namespace {

constexpr double RECORD_SECONDS = 2.0;
constexpr int START_TIMEOUT_MS = 30000;

void ClickSkinButton(CConverterDlg& window, const char* pszName)
{
    CSkinButton* pButton = window.FindButton(pszName);
    ASSERT_NE(pButton, nullptr) << pszName;
    QTest::mouseClick(pButton, Qt::LeftButton, {}, pButton->rect().center());
}

// Clicks a skin button that opens a modal dialog, lets fill work on the
// dialog while it runs, then presses its OK. A dialog that is still open
// afterwards (a failed step) is cancelled, so the test never hangs.
QString RunModalDialog(CConverterDlg& window, const char* pszButton, const std::function<void(QDialog&)>& fill)
{
    QString strClassName;
    QTimer::singleShot(0, [&strClassName, &fill] {
        auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (pDialog == nullptr)
            return;
        strClassName = QString::fromLatin1(pDialog->metaObject()->className());
        fill(*pDialog);
        Click(Find<QAbstractButton>(*pDialog, 1));
        if (pDialog->isVisible())
            pDialog->reject();
    });
    ClickSkinButton(window, pszButton);
    return strClassName;
}

void ChooseNamedItem(QComboBox* pList, const QString& strName)
{
    const int nIndex = pList->findText(strName);
    ASSERT_GE(nIndex, 0) << strName.toStdString();
    ChooseItem(pList, nIndex);
}

class SettingsEndToEndTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
            GTEST_SKIP() << "the program's skins are not built beside the test";
        ASSERT_TRUE(m_current.IsValid());
    }

    CProgramCurrentDirectory m_current;
    CScriptedPrompt m_prompt;
};

TEST_F(SettingsEndToEndTest, EachSettingsButtonOpensItsDialog)
{
    const std::pair<const char*, const char*> cases[] = {
        { "BUTTON_EDIT", "CMpegProfileDlg" },      { "BUTTON_EDITVIDEO", "CVideoDeviceDlg" },
        { "BUTTON_EDITAUDIO", "CAudioDeviceDlg" }, { "BUTTON_EDITMODE", "CSyncModeDlg" },
        { "BUTTON_EDITAVI", "CAviProfileDlg" },
    };
    CConverterDlg window(m_prompt);
    window.show();
    for (const auto& [pszButton, pszDialog] : cases) {
        SCOPED_TRACE(pszButton);
        EXPECT_EQ(RunModalDialog(window, pszButton, [](QDialog&) {}), pszDialog);
    }
    ClickSkinButton(window, "BUTTON_EDITFRAME");
    EXPECT_TRUE(window.VideoFrameDlg().isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A person sets the devices, the profile, the sync mode, the tuner's sound
// and the frame picture in the dialogs, records, and the recorder and the
// file have what they chose.
TEST_F(SettingsEndToEndTest, TheDeviceStartsMutedAsTheSettingsShow)
{
    for (const bool bMuted : { true, false }) {
        SCOPED_TRACE(bMuted);
        Settings().bMuteTV = bMuted;
        CConverterDlg window(m_prompt, Settings());
        EXPECT_EQ(window.RecorderWidget().GetTVMute(), bMuted);
    }
}

// Settings last for one run: what one window's dialogs chose, a window made
// afterwards does not see.
TEST_F(SettingsEndToEndTest, EveryWindowStartsFromTheDefaults)
{
    CConverterDlg first(m_prompt);
    first.Settings().nVideoBitrate = 1500000;
    first.Settings().strVideoDeviceName = QStringLiteral("Test Pattern");
    CConverterDlg second(m_prompt);
    EXPECT_EQ(second.Settings().nVideoBitrate, ConversionSettings().nVideoBitrate);
    EXPECT_TRUE(second.Settings().strVideoDeviceName.isEmpty());
}

// Play writes no MPEG profile: what it records must be what the MPEG
// profile dialog shows before anyone touched it.
TEST_F(SettingsEndToEndTest, TheRecordersDefaultsAreTheSettingsDefaults)
{
    const ConversionSettings settings;
    CConverterDlg window(m_prompt);
    const CEncorda& encoder = window.RecorderWidget();
    EXPECT_EQ(encoder.GetFrameRate(), static_cast<short>(settings.dFrameRate));
    EXPECT_EQ(encoder.GetAudioSampleRate(), settings.nAudioSampleRate);
    EXPECT_EQ(encoder.GetAudioBitrate(), settings.nAudioBitrate);
    EXPECT_EQ(encoder.GetVideoBitrate(), settings.nVideoBitrate);
    EXPECT_EQ(encoder.GetAudioChannels(), settings.nAudioChannels);
    EXPECT_EQ(encoder.GetVideoWidth(), settings.nMpegWidth);
    EXPECT_EQ(encoder.GetVideoHeight(), settings.nMpegHeight);
    EXPECT_EQ(encoder.GetSyncMode(), settings.nSyncMode);
    EXPECT_EQ(encoder.GetAudioOffset(), settings.nAudioOffset);
    EXPECT_EQ(encoder.GetUseCustomFrame(), settings.bUseCustomFrame);
    EXPECT_EQ(encoder.GetCustomFrameWidth(), settings.nCustomFrameWidth);
    EXPECT_EQ(encoder.GetCustomFrameHeight(), settings.nCustomFrameHeight);
}

TEST_F(SettingsEndToEndTest, TheDialogsChoicesReachTheRecording)
{
    const QString strFile = m_current.FilePath(QStringLiteral("chosen.mpg"));
    m_prompt.m_arrFiles = { strFile };
    CConverterDlg window(m_prompt);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    RunModalDialog(window, "BUTTON_EDITVIDEO", [](QDialog& dialog) {
        ChooseNamedItem(Find<QComboBox>(dialog, 1005), QStringLiteral("Test Pattern"));
    });
    RunModalDialog(window, "BUTTON_EDITAUDIO", [](QDialog& dialog) {
        ChooseNamedItem(Find<QComboBox>(dialog, 1013), QStringLiteral("Test Tone"));
    });
    RunModalDialog(window, "BUTTON_EDIT", [](QDialog& dialog) {
        ChooseNamedItem(Find<QComboBox>(dialog, 1030), QStringLiteral("29.97"));
        ChooseNamedItem(Find<QComboBox>(dialog, 1031), QStringLiteral("32000"));
        TypeText(Find<QLineEdit>(dialog, 1032), QStringLiteral("1500000"));
        TypeText(Find<QLineEdit>(dialog, 1033), QStringLiteral("128000"));
        TypeText(Find<QLineEdit>(dialog, 1034), QStringLiteral("1"));
        TypeText(Find<QLineEdit>(dialog, 1021), QStringLiteral("352"));
        TypeText(Find<QLineEdit>(dialog, 1022), QStringLiteral("288"));
    });
    RunModalDialog(window, "BUTTON_EDITMODE", [](QDialog& dialog) {
        ChooseNamedItem(Find<QComboBox>(dialog, 1017), QStringLiteral("Sync with stream offset (Manual Mode)"));
        TypeText(Find<QLineEdit>(dialog, 1019), QStringLiteral("40"));
    });
    RunModalDialog(window, "BUTTON_EDITAVI", [](QDialog& dialog) { Click(Find<QCheckBox>(dialog, 1029)); });
    EXPECT_FALSE(window.RecorderWidget().GetTVMute());
    ClickSkinButton(window, "BUTTON_EDITFRAME");
    QComboBox* pPictures = Find<QComboBox>(window.VideoFrameDlg(), 1025);
    // The program's own pictures lie beside it.
    ASSERT_GE(pPictures->count(), 2);
    ChooseItem(pPictures, 1);
    EXPECT_EQ(window.RecorderWidget().GetVideoFrame(), 2);
    window.VideoFrameDlg().accept();
    ASSERT_EQ(window.Settings().strVideoDeviceName, "Test Pattern");
    ASSERT_EQ(window.Settings().nSyncMode, 2);

    ClickSkinButton(window, "BUTTON_CONVERT");
    const CEncorda& encoder = window.RecorderWidget();
    ASSERT_TRUE(encoder.GetStatus().bRecordingToFile) << encoder.GetLastError().toStdString();
    EXPECT_EQ(encoder.GetFrameRate(), 29);
    EXPECT_EQ(encoder.GetSyncMode(), 2);
    EXPECT_EQ(encoder.GetAudioOffset(), 40);
    EXPECT_EQ(encoder.GetVideoFrame(), 2);
    ASSERT_TRUE(
        WaitUntil([&encoder] { return encoder.GetStatus().dElapsedSeconds >= RECORD_SECONDS; }, START_TIMEOUT_MS))
        << encoder.GetLastError().toStdString();
    ClickSkinButton(window, "BUTTON_STOP");
    ASSERT_FALSE(encoder.GetStatus().bRunning);
    EXPECT_EQ(m_prompt.Texts(), QStringList { "Save As" });

    const QJsonObject probe = ProbeFile(strFile.toStdString());
    const QJsonObject video = FindStream(probe, "video");
    EXPECT_EQ(video["r_frame_rate"].toString(), "30000/1001");
    EXPECT_EQ(video["width"].toInt(), 352);
    EXPECT_EQ(video["height"].toInt(), 288);
    const QJsonObject audio = FindStream(probe, "audio");
    EXPECT_EQ(audio["sample_rate"].toString(), "32000");
    EXPECT_EQ(audio["channels"].toInt(), 1);
    EXPECT_EQ(JsonNumber(audio, "bit_rate"), 128000);
}

} // namespace
