#pragma once

#include "settings/DeviceDialog.h"

// The video capture device, its format and its input.
class CVideoDeviceDlg : public CDeviceDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        DEVICE_LIST = 1005,
        INPUT_LIST = 1006,
        FORMAT_LIST = 1007,
    };

    CVideoDeviceDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent = nullptr);
};
