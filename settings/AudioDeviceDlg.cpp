#include "settings/AudioDeviceDlg.h"

#include "recorder/Encorda.h"
#include "settings/RecorderNames.h"

CAudioDeviceDlg::CAudioDeviceDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent)
    : CDeviceDialog(tr("Audio Device"), settings, pOwner,
                    { DEVICE_LIST, &CEncorda::GetAudioDevices, &CEncorda::GetAudioDevice,
                      &ConversionSettings::nAudioDeviceIndex, &ConversionSettings::strAudioDeviceName },
                    { { INPUT_LIST, tr("Audio Input"), &CEncorda::GetAudioInputs, &ReadNames,
                        &ConversionSettings::nAudioInputIndex, &ConversionSettings::strAudioInputName } },
                    pParent)
{
}
