#include "settings/AudioDeviceDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>

#include "encoder/Encorda.h"
#include "settings/EncoderOwner.h"
#include "settings/RecorderNames.h"

CAudioDeviceDlg::CAudioDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent)
    : CSettingsDialog(QStringLiteral("Audio Device"), pParent)
    , m_pOwner(pOwner)
{
    QGroupBox* pGroup = Group();
    m_pDeviceList = MakeDropDownList(DEVICE_LIST, pGroup);
    m_pInputList = MakeDropDownList(INPUT_LIST, pGroup);
    StoreChoice(m_pDeviceList, &ConversionSettings::nAudioDeviceIndex, &ConversionSettings::strAudioDeviceName);
    StoreChoice(m_pInputList, &ConversionSettings::nAudioInputIndex, &ConversionSettings::strAudioInputName);

    auto* pForm = new QFormLayout(pGroup);
    pForm->addRow(QStringLiteral("Audio Device"), m_pDeviceList);
    pForm->addRow(QStringLiteral("Audio Input"), m_pInputList);
}

void CAudioDeviceDlg::ShowStoredValues()
{
    CEncorda& encoder = m_pOwner->Encoder();
    FillList(m_pDeviceList, ReadNames(encoder.GetAudioDevices()));
    FillList(m_pInputList, ReadNames(encoder.GetAudioInputs()));

    const ConversionSettings& settings = ConversionSettings::Instance();
    m_pDeviceList->setCurrentIndex(settings.nAudioDeviceIndex);
    m_pInputList->setCurrentIndex(settings.nAudioInputIndex);
}
