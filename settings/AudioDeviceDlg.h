#pragma once

#include "settings/SettingsDialog.h"

class IEncoderOwner;
class QComboBox;

// The audio capture device and its input. The lists come afresh from the
// recorder each time the dialog opens; the user's picks are stored as index
// and name.
class CAudioDeviceDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        INPUT_LIST = 1012,
        DEVICE_LIST = 1013,
    };

    CAudioDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent = nullptr);

protected:
    void ShowStoredValues() override;

private:
    IEncoderOwner* m_pOwner;
    QComboBox* m_pDeviceList = nullptr;
    QComboBox* m_pInputList = nullptr;
};
