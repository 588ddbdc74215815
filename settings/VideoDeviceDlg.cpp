#include "settings/VideoDeviceDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>

#include "encoder/Encorda.h"
#include "settings/EncoderOwner.h"
#include "settings/RecorderNames.h"

CVideoDeviceDlg::CVideoDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent)
    : CSettingsDialog(QStringLiteral("Video Device"), pParent)
    , m_pOwner(pOwner)
{
    QGroupBox* pGroup = Group();
    m_pDeviceList = MakeDropDownList(DEVICE_LIST, pGroup);
    m_pFormatList = MakeDropDownList(FORMAT_LIST, pGroup);
    m_pInputList = MakeDropDownList(INPUT_LIST, pGroup);
    StoreChoice(m_pDeviceList, &ConversionSettings::nVideoDeviceIndex, &ConversionSettings::strVideoDeviceName);
    StoreChoice(m_pFormatList, &ConversionSettings::nVideoFormatIndex, &ConversionSettings::strVideoFormatName);
    StoreChoice(m_pInputList, &ConversionSettings::nVideoInputIndex, &ConversionSettings::strVideoInputName);

    auto* pForm = new QFormLayout(pGroup);
    pForm->addRow(QStringLiteral("Video Device"), m_pDeviceList);
    pForm->addRow(QStringLiteral("Video Format"), m_pFormatList);
    pForm->addRow(QStringLiteral("Video Input"), m_pInputList);

    connect(m_pDeviceList, &QComboBox::activated, this, [this] { FillDeviceDetails(false); });
    connect(&m_pOwner->Encoder(), &CEncorda::DevicesChanged, this, [this] {
        if (isVisible())
            FillLists();
    });
}

void CVideoDeviceDlg::ShowStoredValues()
{
    FillLists();
    m_pOwner->Encoder().RescanDevices();
}

void CVideoDeviceDlg::FillLists()
{
    const ConversionSettings& settings = ConversionSettings::Instance();
    FillList(m_pDeviceList, ReadNames(m_pOwner->Encoder().GetVideoDevices()));
    SelectStored(m_pDeviceList, settings.nVideoDeviceIndex, settings.strVideoDeviceName);
    FillDeviceDetails(true);
}

void CVideoDeviceDlg::FillDeviceDetails(bool bSelectStored)
{
    CEncorda& encoder = m_pOwner->Encoder();
    // Without a selected device the recorder's own device stands.
    const short nDevice = static_cast<short>(m_pDeviceList->currentIndex());
    FillList(m_pInputList, ReadNames(nDevice < 0 ? encoder.GetVideoInputs() : encoder.GetVideoInputs(nDevice)));
    FillList(m_pFormatList,
             ReadFormatNames(nDevice < 0 ? encoder.GetVideoFormats() : encoder.GetVideoFormats(nDevice)));
    if (!bSelectStored)
        return;
    const ConversionSettings& settings = ConversionSettings::Instance();
    SelectStored(m_pFormatList, settings.nVideoFormatIndex, settings.strVideoFormatName);
    SelectStored(m_pInputList, settings.nVideoInputIndex, settings.strVideoInputName);
}
