#include "settings/VideoDeviceDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>

#include "encoder/Encorda.h"
#include "settings/RecorderNames.h"

CVideoDeviceDlg::CVideoDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent)
    : CDeviceDialog(QStringLiteral("Video Device"), pOwner,
                    {DEVICE_LIST, &CEncorda::GetVideoDevices, &CEncorda::GetVideoDevice,
                     &ConversionSettings::nVideoDeviceIndex, &ConversionSettings::strVideoDeviceName},
                    pParent)
{
    QGroupBox* pGroup = Group();
    m_pFormatList = MakeDropDownList(FORMAT_LIST, pGroup);
    m_pInputList = MakeDropDownList(INPUT_LIST, pGroup);
    StoreChoice(m_pFormatList, &ConversionSettings::nVideoFormatIndex, &ConversionSettings::strVideoFormatName);
    StoreChoice(m_pInputList, &ConversionSettings::nVideoInputIndex, &ConversionSettings::strVideoInputName);

    auto* pForm = new QFormLayout(pGroup);
    pForm->addRow(QStringLiteral("Video Device"), DeviceList());
    pForm->addRow(QStringLiteral("Video Format"), m_pFormatList);
    pForm->addRow(QStringLiteral("Video Input"), m_pInputList);
}

void CVideoDeviceDlg::FillDeviceDetails(bool bSelectStored)
{
    const short nDevice = DetailsDevice();
    FillList(m_pInputList, ReadNames(Encoder().GetVideoInputs(nDevice)));
    FillList(m_pFormatList, ReadFormatNames(Encoder().GetVideoFormats(nDevice)));
    if (!bSelectStored)
        return;
    const ConversionSettings& settings = ConversionSettings::Instance();
    SelectStored(m_pFormatList, settings.nVideoFormatIndex, settings.strVideoFormatName);
    SelectStored(m_pInputList, settings.nVideoInputIndex, settings.strVideoInputName);
}
