#include <gtest/gtest.h>

#include <QTest>

#include "app/ConverterDlg.h"
#include "common/ProgramSkin.h"
#include "common/ScriptedPrompt.h"
#include "controls/SkinCheck.h"
#include "controls/SkinProgress.h"
#include "engine/MediaProbe.h"
#include "skin/SkinPackage.h"
#include "tests/app/ProgramDriver.h"

// The controls our skins show beside the transport: each does what it shows.

namespace {

constexpr int START_TIMEOUT_MS = 30000;

TEST(LevelMeter, MapsDecibelsLinearlyFromMinusSixtyToFullScale)
{
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(-60.0), 0);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(-6.0), 90);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(0.0), 100);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(CEncorda::SILENCE_DBFS), 0);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(-75.0), 0);
    EXPECT_EQ(CConverterDlg::LevelMeterPosition(3.0), 100) << "a clipping source fills the bar, no more";
}

class SkinControls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CProgramCurrentDirectory::HasProgramSkin(CConverterDlg::DEFAULT_SKIN))
            GTEST_SKIP() << "the program's skins are not built beside the test";
        ASSERT_TRUE(m_current.IsValid());
    }

    CProgramCurrentDirectory m_current;
    CBuiltInSourceSettings m_settings;
    CScriptedPrompt m_prompt;
};

TEST_F(SkinControls, TheLevelMeterShowsTheToneAndEmptiesAfterStop)
{
    CConverterDlg dialog(m_prompt);
    dialog.show();
    CSkinProgress* pMeter = dialog.FindProgress(QStringLiteral("PROGRESS_LEVEL"));
    ASSERT_NE(pMeter, nullptr) << "our skins have a level meter";
    const QImage imgEmpty = pMeter->grab().toImage();
    EXPECT_EQ(pMeter->GetPos(), 0);

    ClickButton(dialog, "BUTTON_PLAY");
    // The test tone plays at -18 dB of full scale: 70 of 100.
    ASSERT_TRUE(WaitUntil([&] { return pMeter->GetPos() == 70; }, START_TIMEOUT_MS)) << pMeter->GetPos();
    EXPECT_NE(pMeter->grab().toImage(), imgEmpty) << "the bar is drawn filled";

    ClickButton(dialog, "BUTTON_STOP");
    EXPECT_EQ(pMeter->GetPos(), 0);
    EXPECT_EQ(pMeter->grab().toImage(), imgEmpty);
}

TEST_F(SkinControls, MuteSilencesTheRecordingFromTheClickOn)
{
    const std::string strFile = m_current.FilePath(QStringLiteral("muted.mpg")).toStdString();
    m_prompt.m_arrFiles = {QString::fromStdString(strFile)};
    CConverterDlg dialog(m_prompt);
    dialog.show();
    CSkinCheck* pMute = dialog.FindCheck(QStringLiteral("CHECK_MUTE"));
    ASSERT_NE(pMute, nullptr) << "our skins have a mute box";
    EXPECT_FALSE(pMute->IsChecked());
    CSkinProgress* pMeter = dialog.FindProgress(QStringLiteral("PROGRESS_LEVEL"));
    ASSERT_NE(pMeter, nullptr);

    ClickButton(dialog, "BUTTON_CONVERT");
    const CEncorda& encoder = dialog.Encoder();
    ASSERT_TRUE(WaitUntil([&] { return encoder.GetStatus().dElapsedSeconds >= 1.0; }, START_TIMEOUT_MS))
        << encoder.GetLastError().toStdString();
    const double dMutedAt = encoder.GetStatus().dElapsedSeconds;
    QTest::mouseClick(pMute, Qt::LeftButton, {}, pMute->rect().center());
    EXPECT_TRUE(pMute->IsChecked());
    EXPECT_TRUE(WaitUntil([&] { return pMeter->GetPos() == 0; }, START_TIMEOUT_MS)) << "the meter shows the silence";
    ASSERT_TRUE(WaitUntil([&] { return encoder.GetStatus().dElapsedSeconds >= dMutedAt + 1.0; }, START_TIMEOUT_MS));
    ClickButton(dialog, "BUTTON_STOP");

    EXPECT_GT(MaxVolumeDb(strFile, 0.1, dMutedAt - 0.3), -30.0) << "sound before the click";
    EXPECT_LT(MaxVolumeDb(strFile, dMutedAt + 0.5, dMutedAt + 0.9), -80.0) << "silence after it";
    EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), StreamSpanSeconds(strFile, "v"), 0.1) << "the audio stream goes on";

    // A new skin's box shows the recorder still muted.
    dialog.ChangeSkin(SkinPackage::FIRST_SKIN_COMMAND + 1);
    CSkinCheck* pNewMute = dialog.FindCheck(QStringLiteral("CHECK_MUTE"));
    ASSERT_NE(pNewMute, nullptr);
    EXPECT_TRUE(pNewMute->IsChecked());
}

} // namespace
