#include "settings/DeviceDialog.h"

#include <QComboBox>
#include <QGroupBox>

#include "encoder/Encorda.h"
#include "settings/EncoderOwner.h"
#include "settings/RecorderNames.h"

CDeviceDialog::CDeviceDialog(const QString& strTitle, IEncoderOwner* pOwner, const CDeviceSource& source,
                             QWidget* pParent)
    : CSettingsDialog(strTitle, pParent)
    , m_pOwner(pOwner)
    , m_source(source)
{
    m_pDeviceList = MakeDropDownList(source.nListId, Group());
    StoreChoice(m_pDeviceList, source.pIndex, source.pName);
    connect(m_pDeviceList, &QComboBox::activated, this, [this] { FillDeviceDetails(false); });
    connect(&Encoder(), &CEncorda::DevicesChanged, this, [this] {
        if (isVisible())
            FillLists();
    });
}

CEncorda& CDeviceDialog::Encoder() const
{
    return m_pOwner->Encoder();
}

short CDeviceDialog::DetailsDevice() const
{
    const int nSelected = m_pDeviceList->currentIndex();
    return nSelected >= 0 ? static_cast<short>(nSelected) : (Encoder().*m_source.getCurrentDevice)();
}

void CDeviceDialog::ShowStoredValues()
{
    FillLists();
    Encoder().RescanDevices();
}

void CDeviceDialog::FillLists()
{
    const ConversionSettings& settings = ConversionSettings::Instance();
    FillList(m_pDeviceList, ReadNames((Encoder().*m_source.getDevices)()));
    SelectStored(m_pDeviceList, settings.*m_source.pIndex, settings.*m_source.pName);
    FillDeviceDetails(true);
}
