#include "settings/VideoDeviceDlg.h"

#include "recorder/Encorda.h"
#include "settings/RecorderNames.h"

CVideoDeviceDlg::CVideoDeviceDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent)
    : CDeviceDialog(QStringLiteral("Video Device"), settings, pOwner,
                    { DEVICE_LIST, &CEncorda::GetVideoDevices, &CEncorda::GetVideoDevice,
                      &ConversionSettings::nVideoDeviceIndex, &ConversionSettings::strVideoDeviceName },
                    { { FORMAT_LIST, QStringLiteral("Video Format"), &CEncorda::GetVideoFormats, &ReadFormatNames,
                        &ConversionSettings::nVideoFormatIndex, &ConversionSettings::strVideoFormatName },
                      { INPUT_LIST, QStringLiteral("Video Input"), &CEncorda::GetVideoInputs, &ReadNames,
                        &ConversionSettings::nVideoInputIndex, &ConversionSettings::strVideoInputName } },
                    pParent)
{
}
