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

    connect(m_pDeviceList, &QComboBox::activated, this, [this] { FillInputs(false); });
    connect(&m_pOwner->Encoder(), &CEncorda::DevicesChanged, this, [this] {
        if (isVisible())
            FillLists();
    });
}

void CAudioDeviceDlg::ShowStoredValues()
{
    FillLists();
    m_pOwner->Encoder().RescanDevices();
}

void CAudioDeviceDlg::FillLists()
{
    const ConversionSettings& settings = ConversionSettings::Instance();
    FillList(m_pDeviceList, ReadNames(m_pOwner->Encoder().GetAudioDevices()));
    SelectStored(m_pDeviceList, settings.nAudioDeviceIndex, settings.strAudioDeviceName);
    FillInputs(true);
}

void CAudioDeviceDlg::FillInputs(bool bSelectStored)
{
    CEncorda& encoder = m_pOwner->Encoder();
    const short nDevice = static_cast<short>(m_pDeviceList->currentIndex());
    FillList(m_pInputList, ReadNames(nDevice < 0 ? encoder.GetAudioInputs() : encoder.GetAudioInputs(nDevice)));
    if (bSelectStored) {
        const ConversionSettings& settings = ConversionSettings::Instance();
        SelectStored(m_pInputList, settings.nAudioInputIndex, settings.strAudioInputName);
    }
}
