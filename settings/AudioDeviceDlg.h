#pragma once

#include "settings/DeviceDialog.h"

// The audio capture device and its input.
class CAudioDeviceDlg : public CDeviceDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        INPUT_LIST = 1012,
        DEVICE_LIST = 1013,
    };

    CAudioDeviceDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent = nullptr);
};
