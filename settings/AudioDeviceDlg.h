#pragma once

#include "settings/SettingsDialog.h"

class IEncoderOwner;
class QComboBox;

// The audio capture device and its input. The devices are read again each
// time the dialog opens (the lists refill when the reading ends); the input
// list is that of the device selected here. The user's picks are stored as
// index and name.
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
    void FillLists();
    void FillInputs(bool bSelectStored);

    IEncoderOwner* m_pOwner;
    QComboBox* m_pDeviceList = nullptr;
    QComboBox* m_pInputList = nullptr;
};
