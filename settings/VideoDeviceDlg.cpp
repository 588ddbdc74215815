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
}

void CVideoDeviceDlg::ShowStoredValues()
{
    CEncorda& encoder = m_pOwner->Encoder();
    FillList(m_pDeviceList, ReadNames(encoder.GetVideoDevices()));
    FillList(m_pInputList, ReadNames(encoder.GetVideoInputs()));
    FillList(m_pFormatList, ReadFormatNames(encoder.GetVideoFormats()));

    const ConversionSettings& settings = ConversionSettings::Instance();
    m_pDeviceList->setCurrentIndex(settings.nVideoDeviceIndex);
    m_pFormatList->setCurrentIndex(settings.nVideoFormatIndex);
    m_pInputList->setCurrentIndex(settings.nVideoInputIndex);
}
