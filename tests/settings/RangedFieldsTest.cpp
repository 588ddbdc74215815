#include <QLabel>
#include <QPushButton>

#include "settings/AviProfileDlg.h"
#include "settings/MpegProfileDlg.h"
#include "settings/SyncModeDlg.h"
#include "tests/settings/DialogDriver.h"
#include "tests/settings/TestOwner.h"

using namespace DialogDriver;
using ERangedValue = CEncorda::ERangedValue;

namespace {

using Settings = ConversionSettings;

enum class EDialog {
    eMpegProfile,
    eSyncMode,
    eAviProfile,
};

// A field takes digits (and a sign where the range has negatives) up to the
// length of its range's ends; a value outside the range shows but is not
// stored (the setting keeps the last value of the range the field held), and
// OK waits until it is mended.
TEST(RangedFields, TheDialogsTakeOnlyValuesARecordingCanUse)
{
    constexpr int OK_BUTTON = 1;
    struct CRangeCase
    {
        EDialog eDialog;
        int nId;
        ERangedValue eRange;
        const char* pszTyped;
        const char* pszShown;
        int Settings::*pSetting;
        int nStored;
        bool bOkOffered;
    } const cases[] = {
        { EDialog::eMpegProfile, CMpegProfileDlg::VIDEO_BITRATE_EDIT, ERangedValue::VideoBitrate, "abc", "",
          &Settings::nVideoBitrate, 4600000, false },
        { EDialog::eMpegProfile, CMpegProfileDlg::VIDEO_BITRATE_EDIT, ERangedValue::VideoBitrate, "1500000", "1500000",
          &Settings::nVideoBitrate, 1500000, true },
        { EDialog::eMpegProfile, CMpegProfileDlg::VIDEO_BITRATE_EDIT, ERangedValue::VideoBitrate, "999999999",
          "999999999", &Settings::nVideoBitrate, 99999999, false },
        { EDialog::eMpegProfile, CMpegProfileDlg::AUDIO_BITRATE_EDIT, ERangedValue::AudioBitrate, "123", "123",
          &Settings::nAudioBitrate, 224000, false },
        { EDialog::eMpegProfile, CMpegProfileDlg::AUDIO_CHANNEL_EDIT, ERangedValue::AudioChannels, "9", "9",
          &Settings::nAudioChannels, 2, false },
        { EDialog::eMpegProfile, CMpegProfileDlg::WIDTH_EDIT, ERangedValue::PictureSide, "0", "0",
          &Settings::nMpegWidth, 720, false },
        { EDialog::eMpegProfile, CMpegProfileDlg::WIDTH_EDIT, ERangedValue::PictureSide, "12abc", "12",
          &Settings::nMpegWidth, 720, false },
        { EDialog::eMpegProfile, CMpegProfileDlg::HEIGHT_EDIT, ERangedValue::PictureSide, "-576", "576",
          &Settings::nMpegHeight, 576, true },
        { EDialog::eSyncMode, CSyncModeDlg::OFFSET_EDIT, ERangedValue::AudioOffset, "99999999", "99999",
          &Settings::nAudioOffset, 9999, false },
        { EDialog::eSyncMode, CSyncModeDlg::OFFSET_EDIT, ERangedValue::AudioOffset, "10000", "10000",
          &Settings::nAudioOffset, 10000, true },
        { EDialog::eSyncMode, CSyncModeDlg::OFFSET_EDIT, ERangedValue::AudioOffset, "-250", "-250",
          &Settings::nAudioOffset, -250, true },
        { EDialog::eSyncMode, CSyncModeDlg::OFFSET_EDIT, ERangedValue::AudioOffset, "-", "-", &Settings::nAudioOffset,
          1, false },
        { EDialog::eAviProfile, CAviProfileDlg::WIDTH_EDIT, ERangedValue::PictureSide, "0", "0",
          &Settings::nCustomFrameWidth, 320, false },
        { EDialog::eAviProfile, CAviProfileDlg::HEIGHT_EDIT, ERangedValue::PictureSide, "99999", "9999",
          &Settings::nCustomFrameHeight, 999, false },
    };
    CTestOwner owner;
    Settings settings;
    CMpegProfileDlg mpegProfile(settings);
    CSyncModeDlg syncMode(settings);
    CAviProfileDlg aviProfile(settings, &owner);
    for (const CRangeCase& rangeCase : cases) {
        SCOPED_TRACE(testing::Message() << rangeCase.nId << " \"" << rangeCase.pszTyped << '"');
        settings = Settings();
        settings.bUseCustomFrame = true;
        QDialog& dialog = rangeCase.eDialog == EDialog::eMpegProfile ? static_cast<QDialog&>(mpegProfile)
            : rangeCase.eDialog == EDialog::eSyncMode                ? static_cast<QDialog&>(syncMode)
                                                                     : static_cast<QDialog&>(aviProfile);
        dialog.show();
        QLineEdit* pField = Find<QLineEdit>(dialog, rangeCase.nId);
        TypeText(pField, rangeCase.pszTyped);
        EXPECT_EQ(pField->text(), rangeCase.pszShown);
        EXPECT_EQ(settings.*rangeCase.pSetting, rangeCase.nStored);
        EXPECT_EQ(Find<QPushButton>(dialog, OK_BUTTON)->isEnabled(), rangeCase.bOkOffered);
        const CEncorda::CRange range = CEncorda::ValueRange(rangeCase.eRange);
        const QString strRange =
            QStringLiteral("%1 to %2 %3").arg(range.nMinimum).arg(range.nMaximum).arg(range.strUnit);
        const QLabel* pRangeLabel = pField->parentWidget()->findChild<QLabel*>();
        ASSERT_NE(pRangeLabel, nullptr);
        EXPECT_EQ(pRangeLabel->text(), strRange);
        Cancel(dialog);
    }
}

} // namespace
