#pragma once

#include "settings/SettingsDialog.h"

class IEncoderOwner;
class QComboBox;

// The video capture device, its format and its input. The devices are read
// again each time the dialog opens (the lists refill when the reading ends);
// the format and input lists are those of the device selected here. The
// user's picks are stored as index and name, the names being what Convert
// and Play look up.
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
    void FillLists();
    // The inputs and formats of the selected device; the stored choices are
    // selected in them unless the user has just picked another device.
    void FillDeviceDetails(bool bSelectStored);

    IEncoderOwner* m_pOwner;
    QComboBox* m_pDeviceList = nullptr;
    QComboBox* m_pFormatList = nullptr;
    QComboBox* m_pInputList = nullptr;
};
