
#include <QCheckBox>
#include <QLabel>

#include "settings/MpegProfileDlg.h"
#include "tests/settings/DialogDriver.h"

using namespace DialogDriver;

namespace {

using enum CMpegProfileDlg::EControlId;

class MpegProfileDlgTest : public SettingsTest
{
protected:
    CMpegProfileDlg m_dialog { Settings() };
};

TEST_F(MpegProfileDlgTest, OpensWithTheStoredValues)
{
    Settings().nFrameRateIndex = 3;
    Settings().nAudioSampleRateIndex = 2;
    Settings().nVideoBitrate = 1150000;
    Settings().nAudioBitrate = 128000;
    Settings().nAudioChannels = 1;
    Settings().nMpegWidth = 352;
    Settings().nMpegHeight = 288;
    Settings().bScaleTo16By9 = true;
    m_dialog.show();

    QComboBox* pFrameRates = Find<QComboBox>(m_dialog, FRAME_RATE_LIST);
    EXPECT_EQ(pFrameRates->count(), 7);
    EXPECT_EQ(pFrameRates->currentText(), "29.97");
    EXPECT_EQ(Find<QComboBox>(m_dialog, SAMPLE_RATE_LIST)->currentText(), "48000");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, VIDEO_BITRATE_EDIT)->text(), "1150000");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, AUDIO_BITRATE_EDIT)->text(), "128000");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, AUDIO_CHANNEL_EDIT)->text(), "1");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, WIDTH_EDIT)->text(), "352");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, HEIGHT_EDIT)->text(), "288");
    EXPECT_TRUE(Find<QCheckBox>(m_dialog, SCALE_CHECK)->isChecked());
}

TEST_F(MpegProfileDlgTest, SelectingTheStoredIndexesStoresNothing)
{
    // Index and value disagree, which only the user's choice would mend.
    Settings().nFrameRateIndex = 2;
    Settings().dFrameRate = 50;
    Settings().nAudioSampleRateIndex = 0;
    Settings().nAudioSampleRate = 48000;
    m_dialog.show();
    m_dialog.accept();
    EXPECT_EQ(Settings().dFrameRate, 50);
    EXPECT_EQ(Settings().nAudioSampleRate, 48000);
}

TEST_F(MpegProfileDlgTest, ChosenRatesAreStoredAtOnceAndSurviveCancel)
{
    m_dialog.show();
    ChooseItem(Find<QComboBox>(m_dialog, FRAME_RATE_LIST), 3);
    EXPECT_EQ(Settings().nFrameRateIndex, 3);
    EXPECT_DOUBLE_EQ(Settings().dFrameRate, 29.97);
    ChooseItem(Find<QComboBox>(m_dialog, SAMPLE_RATE_LIST), 0);
    EXPECT_EQ(Settings().nAudioSampleRateIndex, 0);
    EXPECT_EQ(Settings().nAudioSampleRate, 32000);
    Cancel(m_dialog);

    m_dialog.show();
    EXPECT_EQ(Find<QComboBox>(m_dialog, FRAME_RATE_LIST)->currentText(), "29.97");
    EXPECT_EQ(Find<QComboBox>(m_dialog, SAMPLE_RATE_LIST)->currentText(), "32000");
}

TEST_F(MpegProfileDlgTest, ScaleTo16By9FollowsTheBox)
{
    m_dialog.show();
    QCheckBox* pScale = Find<QCheckBox>(m_dialog, SCALE_CHECK);
    Click(pScale);
    EXPECT_TRUE(Settings().bScaleTo16By9);
    Cancel(m_dialog);
    m_dialog.show();
    EXPECT_TRUE(pScale->isChecked());
    Click(pScale);
    EXPECT_FALSE(Settings().bScaleTo16By9);
}

// The line is the dialog's whole verdict, so its words are what is checked.
TEST_F(MpegProfileDlgTest, TheDefaultProfileSaysWhyNoDvdTakesIt)
{
    m_dialog.show();
    const QString strLine = Find<QLabel>(m_dialog, DISC_STANDARD_LINE)->text();
    EXPECT_TRUE(strLine.contains("Not DVD: 23.976 frames/s, needs 25 or 29.97; 44.1 kHz audio, needs 48 kHz."))
        << strLine.toStdString();
    EXPECT_TRUE(strLine.contains("Not VCD: ")) << strLine.toStdString();
    EXPECT_TRUE(strLine.contains("Not SVCD: ")) << strLine.toStdString();
}

TEST_F(MpegProfileDlgTest, TheDiscLineFollowsEveryField)
{
    m_dialog.show();
    const QLabel* pLine = Find<QLabel>(m_dialog, DISC_STANDARD_LINE);
    const auto expectLine = [pLine](const char* pszPart) {
        EXPECT_TRUE(pLine->text().contains(pszPart)) << pLine->text().toStdString();
    };
    ChooseItem(Find<QComboBox>(m_dialog, FRAME_RATE_LIST), 2);
    ChooseItem(Find<QComboBox>(m_dialog, SAMPLE_RATE_LIST), 2);
    TypeText(Find<QLineEdit>(m_dialog, HEIGHT_EDIT), "576");
    expectLine("Meets DVD (record as MPEG-2).");
    TypeText(Find<QLineEdit>(m_dialog, VIDEO_BITRATE_EDIT), "9500000");
    expectLine("Not DVD: video 9500000 bit/s, needs at most 9000000.");

    TypeText(Find<QLineEdit>(m_dialog, WIDTH_EDIT), "352");
    TypeText(Find<QLineEdit>(m_dialog, HEIGHT_EDIT), "288");
    TypeText(Find<QLineEdit>(m_dialog, VIDEO_BITRATE_EDIT), "1150000");
    ChooseItem(Find<QComboBox>(m_dialog, SAMPLE_RATE_LIST), 1);
    expectLine("Meets VCD (record as MPEG-1).");
    TypeText(Find<QLineEdit>(m_dialog, AUDIO_BITRATE_EDIT), "192000");
    expectLine("Not VCD: audio 192000 bit/s, needs 224000.");
    TypeText(Find<QLineEdit>(m_dialog, AUDIO_BITRATE_EDIT), "224000");
    TypeText(Find<QLineEdit>(m_dialog, AUDIO_CHANNEL_EDIT), "1");
    expectLine("Not VCD: 1 audio channel, needs 2.");
    TypeText(Find<QLineEdit>(m_dialog, AUDIO_CHANNEL_EDIT), "2");
    Click(Find<QCheckBox>(m_dialog, SCALE_CHECK));
    expectLine("Not VCD: 16:9 picture, needs 4:3.");
    ChooseItem(Find<QComboBox>(m_dialog, FRAME_RATE_LIST), 3);
    expectLine("Not VCD: picture 352x288, needs 352x240; 16:9 picture, needs 4:3.");
}

} // namespace
