#pragma once

#include "settings/ConversionSettings.h"
#include "settings/SettingsDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The MPEG profile Convert sends: frame rate, sample rate, bit rates,
// channel count and picture size. Every change goes to the settings store at
// once, so Cancel keeps it too. Below the fields a line each for VCD, SVCD
// and DVD says whether the values meet it or what stops them; it only
// informs: the recording is made as the user chose.
class CMpegProfileDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        FRAME_RATE_LIST = 1030,
        SAMPLE_RATE_LIST = 1031,
        VIDEO_BITRATE_EDIT = 1032,
        AUDIO_BITRATE_EDIT = 1033,
        AUDIO_CHANNEL_EDIT = 1034,
        WIDTH_EDIT = 1021,
        HEIGHT_EDIT = 1022,
        SCALE_CHECK = 1035,
        DISC_STANDARD_LINE = 1036,
    };

    static inline const QStringList FRAME_RATES = { "23.976", "24", "25", "29.97", "30", "50", "59.94" };
    static inline const QStringList SAMPLE_RATES = { "32000", "44100", "48000" };

    explicit CMpegProfileDlg(ConversionSettings& settings, QWidget* pParent = nullptr);

protected:
    void ShowStoredValues() override;

private:
    // A ranged field whose changes also renew the disc line.
    CRangedEdit MakeNumberField(int nId, CEncorda::ERangedValue eValue, int ConversionSettings::*pSetting);
    void ShowDiscStandards();

    QComboBox* m_pFrameRateList = nullptr;
    QComboBox* m_pSampleRateList = nullptr;
    QLineEdit* m_pVideoBitrateEdit = nullptr;
    QLineEdit* m_pAudioBitrateEdit = nullptr;
    QLineEdit* m_pAudioChannelEdit = nullptr;
    QLineEdit* m_pWidthEdit = nullptr;
    QLineEdit* m_pHeightEdit = nullptr;
    QCheckBox* m_pScaleCheck = nullptr;
    QLabel* m_pDiscStandardLine = nullptr;
};
