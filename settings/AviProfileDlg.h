#pragma once

#include "settings/SettingsDialog.h"

class IRecorderOwner;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The compressors, the AVI picture's custom size and the capture switches. The
// compressor lists come afresh from the recorder each time the dialog opens
// and show the stored indexes (the recorder's own compressors until the user
// chooses one); Setting opens the chosen video compressor's
// own options. Every change is stored at once; "Mute TV" also reaches the
// recorder at once.
class CAviProfileDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        VIDEO_COMPRESSOR_LIST = 1008,
        USE_VIDEO_COMPRESSOR_CHECK = 1009,
        SETTING_BUTTON = 1010,
        AUDIO_COMPRESSOR_LIST = 1011,
        USE_AUDIO_COMPRESSOR_CHECK = 1014,
        USE_CUSTOM_FRAME_CHECK = 1020,
        WIDTH_EDIT = 1021,
        HEIGHT_EDIT = 1022,
        AUDIO_COMPRESSOR_WHEN_CAPTURE_CHECK = 1023,
        VIDEO_COMPRESSOR_WHEN_CAPTURE_CHECK = 1024,
        SHOW_PREVIEW_CHECK = 1026,
        AUDIO_CAPTURE_CHECK = 1027,
        VIDEO_CAPTURE_CHECK = 1028,
        MUTE_TV_CHECK = 1029,
    };

    // Source texts; the dialog shows them in the user's language.
    static constexpr const char* NO_PROPERTY_PAGE = QT_TR_NOOP("No property page");
    // Under the custom frame's size: which recordings it changes, and how.
    static constexpr const char* CUSTOM_FRAME_NOTE =
        QT_TR_NOOP("AVI files only (MPEG files keep the MPEG profile's size). The whole picture is scaled into "
                   "the frame, keeping its shape.");

    CAviProfileDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent = nullptr);

protected:
    void ShowStoredValues() override;

private:
    static int ShownIndex(const QString& strChosenName, int nStoredIndex, short nRecorderIndex);
    int VideoCompressorIndex() const;
    void UpdateEnabled();
    void ShowCompressorSettings();
    QCheckBox* MakeSwitch(int nId, const QString& strLabel, bool ConversionSettings::*pSetting);

    IRecorderOwner* m_pOwner;
    QCheckBox* m_pUseVideoCompressorCheck = nullptr;
    QComboBox* m_pVideoCompressorList = nullptr;
    QPushButton* m_pSettingButton = nullptr;
    QCheckBox* m_pUseAudioCompressorCheck = nullptr;
    QComboBox* m_pAudioCompressorList = nullptr;
    QCheckBox* m_pUseCustomFrameCheck = nullptr;
    QLineEdit* m_pWidthEdit = nullptr;
    QLineEdit* m_pHeightEdit = nullptr;
    QCheckBox* m_pAudioCompressorWhenCaptureCheck = nullptr;
    QCheckBox* m_pVideoCompressorWhenCaptureCheck = nullptr;
    QCheckBox* m_pShowPreviewCheck = nullptr;
    QCheckBox* m_pAudioCaptureCheck = nullptr;
    QCheckBox* m_pVideoCaptureCheck = nullptr;
    QCheckBox* m_pMuteTvCheck = nullptr;
};
