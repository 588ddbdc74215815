#include "settings/AudioDeviceDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>

#include "encoder/Encorda.h"
#include "settings/RecorderNames.h"

CAudioDeviceDlg::CAudioDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent)
    : CDeviceDialog(QStringLiteral("Audio Device"), pOwner,
                    {DEVICE_LIST, &CEncorda::GetAudioDevices, &CEncorda::GetAudioDevice,
                     &ConversionSettings::nAudioDeviceIndex, &ConversionSettings::strAudioDeviceName},
                    pParent)
{
    QGroupBox* pGroup = Group();
    m_pInputList = MakeDropDownList(INPUT_LIST, pGroup);
    StoreChoice(m_pInputList, &ConversionSettings::nAudioInputIndex, &ConversionSettings::strAudioInputName);

    auto* pForm = new QFormLayout(pGroup);
    pForm->addRow(QStringLiteral("Audio Device"), DeviceList());
    pForm->addRow(QStringLiteral("Audio Input"), m_pInputList);
}

void CAudioDeviceDlg::FillDeviceDetails(bool bSelectStored)
{
    FillList(m_pInputList, ReadNames(Encoder().GetAudioInputs(DetailsDevice())));
    if (bSelectStored) {
        const ConversionSettings& settings = ConversionSettings::Instance();
        SelectStored(m_pInputList, settings.nAudioInputIndex, settings.strAudioInputName);
    }
}
