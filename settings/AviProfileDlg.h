#pragma once

#include "settings/SettingsDialog.h"

class IEncoderOwner;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

// The compressors, the custom capture size and the capture switches. The
// compressor lists come afresh from the recorder each time the dialog opens
// and show the stored indexes; Setting opens the chosen video compressor's
// own options. Every change is stored at once; "Mute TV" also reaches the
// recorder at once.
class CAviProfileDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    static inline const QString NO_PROPERTY_PAGE = QStringLiteral("No property page");

    CAviProfileDlg(IEncoderOwner* pOwner, QWidget* pParent = nullptr);

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void ShowStoredValues();
    void UpdateEnabled();
    void ShowCompressorSettings();
    QCheckBox* MakeSwitch(int nId, const QString& strLabel, bool ConversionSettings::*pSetting);
    QLineEdit* MakeSizeField(int nId, int ConversionSettings::*pSetting);

    IEncoderOwner* m_pOwner;
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
