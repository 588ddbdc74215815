#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "settings/AviProfileDlg.h"
#include "settings/RecorderNames.h"
#include "tests/settings/DialogDriver.h"
#include "tests/settings/TestOwner.h"

using namespace DialogDriver;
using EDispatchId = CEncorda::EDispatchId;

namespace {

using enum CAviProfileDlg::EControlId;

struct CSwitchCase
{
    int nId;
    bool ConversionSettings::*pSetting;
};

const CSwitchCase SWITCHES[] = {
    { USE_VIDEO_COMPRESSOR_CHECK, &ConversionSettings::bUseVideoCompressor },
    { USE_AUDIO_COMPRESSOR_CHECK, &ConversionSettings::bUseAudioCompressor },
    { USE_CUSTOM_FRAME_CHECK, &ConversionSettings::bUseCustomFrame },
    { 1023, &ConversionSettings::bUseAudioCompressorWhenCapture },
    { 1024, &ConversionSettings::bUseVideoCompressorWhenCapture },
    { 1026, &ConversionSettings::bShowPreviewWhenCapture },
    { 1027, &ConversionSettings::bAudioCapture },
    { 1028, &ConversionSettings::bVideoCapture },
    { MUTE_TV_CHECK, &ConversionSettings::bMuteTV },
};

class AviProfileDlgTest : public SettingsTest
{
protected:
    // Presses Setting; whatever page opens is closed again.
    bool PressSettingAndClosePage()
    {
        bool bPageShown = false;
        QTimer::singleShot(0, [&bPageShown] {
            if (QWidget* pPage = QApplication::activeModalWidget()) {
                bPageShown = true;
                pPage->close();
            }
        });
        Click(Find<QPushButton>(m_dialog, SETTING_BUTTON));
        return bPageShown;
    }

    short IndexOfCompressor(const QString& strEncoder)
    {
        const QStringList arrNames = ReadNames(m_owner.RecorderWidget().GetVideoCompressors());
        for (qsizetype i = 0; i < arrNames.size(); ++i) {
            if (arrNames[i].endsWith("(" + strEncoder + ")"))
                return static_cast<short>(i);
        }
        ADD_FAILURE() << "no encoder " << strEncoder.toStdString();
        return -1;
    }

    CTestOwner m_owner;
    CAviProfileDlg m_dialog { Settings(), &m_owner };
};

TEST_F(AviProfileDlgTest, OpensWithTheDefaults)
{
    m_dialog.show();
    const CEncordaList videoCompressors = m_owner.RecorderWidget().GetVideoCompressors();
    const CEncordaList audioCompressors = m_owner.RecorderWidget().GetAudioCompressors();
    QComboBox* pVideoList = Find<QComboBox>(m_dialog, VIDEO_COMPRESSOR_LIST);
    QComboBox* pAudioList = Find<QComboBox>(m_dialog, AUDIO_COMPRESSOR_LIST);
    ASSERT_EQ(pVideoList->count(), videoCompressors.Count());
    ASSERT_EQ(pAudioList->count(), audioCompressors.Count());
    // Nothing chosen yet: the lists show the compressors Convert uses, not
    // whatever sits at the stored indexes 9 and 3, which stay as they are.
    EXPECT_EQ(pVideoList->currentIndex(), IndexOfCompressor("mpeg4"));
    EXPECT_TRUE(pAudioList->currentText().endsWith("(pcm_s16le)")) << pAudioList->currentText().toStdString();
    EXPECT_EQ(Settings().nVideoCompressorIndex, 9);
    EXPECT_EQ(Settings().nAudioCompressorIndex, 3);
    EXPECT_TRUE(Settings().strVideoCompressorName.isEmpty());
    EXPECT_TRUE(Settings().strAudioCompressorName.isEmpty());

    EXPECT_FALSE(pVideoList->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(m_dialog, SETTING_BUTTON)->isEnabled());
    EXPECT_FALSE(pAudioList->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(m_dialog, WIDTH_EDIT)->isEnabled());
    EXPECT_EQ(Find<QLineEdit>(m_dialog, WIDTH_EDIT)->text(), "320");
    EXPECT_EQ(Find<QLineEdit>(m_dialog, HEIGHT_EDIT)->text(), "240");
    for (const CSwitchCase& switchCase : SWITCHES) {
        SCOPED_TRACE(switchCase.nId);
        EXPECT_EQ(Find<QCheckBox>(m_dialog, switchCase.nId)->isChecked(), Settings().*switchCase.pSetting);
    }
}

TEST_F(AviProfileDlgTest, EverySwitchIsStoredAtOnceAndShownAgain)
{
    for (const CSwitchCase& switchCase : SWITCHES) {
        SCOPED_TRACE(switchCase.nId);
        const bool bBefore = Settings().*switchCase.pSetting;
        m_dialog.show();
        Click(Find<QCheckBox>(m_dialog, switchCase.nId));
        EXPECT_EQ(Settings().*switchCase.pSetting, !bBefore);
        Cancel(m_dialog);
        m_dialog.show();
        EXPECT_EQ(Find<QCheckBox>(m_dialog, switchCase.nId)->isChecked(), !bBefore);
        m_dialog.reject();
    }
}

TEST_F(AviProfileDlgTest, UseSwitchesEnableTheirControls)
{
    m_dialog.show();
    Click(Find<QCheckBox>(m_dialog, USE_VIDEO_COMPRESSOR_CHECK));
    EXPECT_TRUE(Find<QComboBox>(m_dialog, VIDEO_COMPRESSOR_LIST)->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(m_dialog, SETTING_BUTTON)->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(m_dialog, AUDIO_COMPRESSOR_LIST)->isEnabled());
    Click(Find<QCheckBox>(m_dialog, USE_AUDIO_COMPRESSOR_CHECK));
    EXPECT_TRUE(Find<QComboBox>(m_dialog, AUDIO_COMPRESSOR_LIST)->isEnabled());
    Click(Find<QCheckBox>(m_dialog, USE_CUSTOM_FRAME_CHECK));
    EXPECT_TRUE(Find<QLineEdit>(m_dialog, WIDTH_EDIT)->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(m_dialog, HEIGHT_EDIT)->isEnabled());
    Click(Find<QCheckBox>(m_dialog, USE_VIDEO_COMPRESSOR_CHECK));
    EXPECT_FALSE(Find<QPushButton>(m_dialog, SETTING_BUTTON)->isEnabled());
}

TEST_F(AviProfileDlgTest, MuteTvReachesTheRecorderAtOnce)
{
    m_dialog.show();
    QCheckBox* pMute = Find<QCheckBox>(m_dialog, MUTE_TV_CHECK);
    Click(pMute);
    Click(pMute);
    EXPECT_EQ(m_owner.Written(EDispatchId::TVMute), QVariantList({ false, true }));
}

TEST_F(AviProfileDlgTest, CompressorChoicesAndSizesAreStored)
{
    m_dialog.show();
    Click(Find<QCheckBox>(m_dialog, USE_VIDEO_COMPRESSOR_CHECK));
    Click(Find<QCheckBox>(m_dialog, USE_AUDIO_COMPRESSOR_CHECK));
    Click(Find<QCheckBox>(m_dialog, USE_CUSTOM_FRAME_CHECK));
    QComboBox* pVideoList = Find<QComboBox>(m_dialog, VIDEO_COMPRESSOR_LIST);
    ChooseItem(pVideoList, 1);
    EXPECT_EQ(Settings().nVideoCompressorIndex, 1);
    EXPECT_EQ(Settings().strVideoCompressorName, pVideoList->itemText(1));
    QComboBox* pAudioList = Find<QComboBox>(m_dialog, AUDIO_COMPRESSOR_LIST);
    ChooseItem(pAudioList, 0);
    EXPECT_EQ(Settings().nAudioCompressorIndex, 0);
    EXPECT_EQ(Settings().strAudioCompressorName, pAudioList->itemText(0));
    TypeText(Find<QLineEdit>(m_dialog, WIDTH_EDIT), "352");
    TypeText(Find<QLineEdit>(m_dialog, HEIGHT_EDIT), "288");
    EXPECT_EQ(Settings().nCustomFrameWidth, 352);
    EXPECT_EQ(Settings().nCustomFrameHeight, 288);
    Cancel(m_dialog);

    m_dialog.show();
    EXPECT_EQ(pVideoList->currentIndex(), 1);
    EXPECT_EQ(pAudioList->currentIndex(), 0);
    EXPECT_EQ(Find<QLineEdit>(m_dialog, WIDTH_EDIT)->text(), "352");
}

TEST_F(AviProfileDlgTest, SettingOpensTheStoredCompressorsPageOrSaysThereIsNone)
{
    struct CCase
    {
        const char* pszWhat;
        int nStoredIndex;
        QString strStoredName; // empty: the user chose none yet
        bool bPageShown;
    };
    const QStringList arrNames = ReadNames(m_owner.RecorderWidget().GetVideoCompressors());
    const int nMpeg2 = IndexOfCompressor("mpeg2video");
    const int nRaw = IndexOfCompressor("rawvideo");
    const CCase cases[] = {
        { "encoder with options", nMpeg2, arrNames.value(nMpeg2), true },
        { "encoder without options", nRaw, arrNames.value(nRaw), false },
        { "index past the list", static_cast<int>(arrNames.size()) + 5, QStringLiteral("gone"), false },
        { "no index", -1, QStringLiteral("gone"), false },
        // mpeg4, which has options, stands in for what sits at the index.
        { "none chosen yet", nRaw, QString(), true },
    };
    for (const CCase& settingCase : cases) {
        SCOPED_TRACE(settingCase.pszWhat);
        Settings() = ConversionSettings();
        Settings().bUseVideoCompressor = true;
        Settings().nVideoCompressorIndex = settingCase.nStoredIndex;
        Settings().strVideoCompressorName = settingCase.strStoredName;
        m_dialog.show();
        m_owner.m_prompt.m_arrAsked.clear();
        EXPECT_EQ(PressSettingAndClosePage(), settingCase.bPageShown);
        EXPECT_EQ(m_owner.m_prompt.Texts(),
                  settingCase.bPageShown ? QStringList() : QStringList { CAviProfileDlg::NO_PROPERTY_PAGE });
        m_dialog.reject();
    }
}

} // namespace
