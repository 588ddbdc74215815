#pragma once

#include "settings/SettingsDialog.h"

class IEncoderOwner;
class QComboBox;

// The video capture device, its format and its input. The lists come afresh
// from the recorder each time the dialog opens; the user's picks are stored
// as index and name, the names being what Convert and Play look up.
class CVideoDeviceDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        DEVICE_LIST = 1005,
        INPUT_LIST = 1006,
        FORMAT_LIST = 1007,
    };

    CVideoDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent = nullptr);

protected:
    void ShowStoredValues() override;

private:
    IEncoderOwner* m_pOwner;
    QComboBox* m_pDeviceList = nullptr;
    QComboBox* m_pFormatList = nullptr;
    QComboBox* m_pInputList = nullptr;
};
