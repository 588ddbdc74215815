#include "settings/AudioDeviceDlg.h"

#include "recorder/Encorda.h"
#include "settings/RecorderNames.h"

CAudioDeviceDlg::CAudioDeviceDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent)
    : CDeviceDialog(QStringLiteral("Audio Device"), settings, pOwner,
                    { DEVICE_LIST, &CEncorda::GetAudioDevices, &CEncorda::GetAudioDevice,
                      &ConversionSettings::nAudioDeviceIndex, &ConversionSettings::strAudioDeviceName },
                    { { INPUT_LIST, QStringLiteral("Audio Input"), &CEncorda::GetAudioInputs, &ReadNames,
                        &ConversionSettings::nAudioInputIndex, &ConversionSettings::strAudioInputName } },
                    pParent)
{
}
