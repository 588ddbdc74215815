#include "settings/VideoDeviceDlg.h"

#include "recorder/Encorda.h"
#include "settings/RecorderNames.h"

CVideoDeviceDlg::CVideoDeviceDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent)
    : CDeviceDialog(tr("Video Device"), settings, pOwner,
                    { DEVICE_LIST, &CEncorda::GetVideoDevices, &CEncorda::GetVideoDevice,
                      &ConversionSettings::nVideoDeviceIndex, &ConversionSettings::strVideoDeviceName },
                    { { FORMAT_LIST, tr("Video Format"), &CEncorda::GetVideoFormats, &ReadFormatNames,
                        &ConversionSettings::nVideoFormatIndex, &ConversionSettings::strVideoFormatName },
                      { INPUT_LIST, tr("Video Input"), &CEncorda::GetVideoInputs, &ReadNames,
                        &ConversionSettings::nVideoInputIndex, &ConversionSettings::strVideoInputName } },
                    pParent)
{
}
