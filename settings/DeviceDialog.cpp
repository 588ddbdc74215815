#include "settings/DeviceDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>

#include "recorder/Encorda.h"
#include "settings/RecorderNames.h"
#include "settings/RecorderOwner.h"

CDeviceDialog::CDeviceDialog(const QString& strTitle, ConversionSettings& settings, IRecorderOwner* pOwner,
                             const CDeviceSource& device, const QList<CDetailSource>& arrDetails, QWidget* pParent)
    : CSettingsDialog(strTitle, settings, pParent)
    , m_pOwner(pOwner)
    , m_device(device)
{
    QGroupBox* pGroup = Group();
    auto* pForm = new QFormLayout(pGroup);
    m_pDeviceList = MakeDropDownList(device.nListId, pGroup);
    StoreChoice(m_pDeviceList, device.pIndex, device.pName);
    pForm->addRow(strTitle, m_pDeviceList);
    for (const CDetailSource& detail : arrDetails) {
        QComboBox* pList = MakeDropDownList(detail.nListId, pGroup);
        StoreChoice(pList, detail.pIndex, detail.pName);
        pForm->addRow(detail.strLabel, pList);
        m_arrDetails.append({ detail, pList });
    }
    connect(m_pDeviceList, &QComboBox::activated, this, [this] { FillDeviceDetails(false); });
    connect(&RecorderWidget(), &CEncorda::DevicesChanged, this, [this] {
        if (isVisible())
            FillLists();
    });
}

CEncorda& CDeviceDialog::RecorderWidget() const
{
    return m_pOwner->RecorderWidget();
}

short CDeviceDialog::DetailsDevice() const
{
    const int nSelected = m_pDeviceList->currentIndex();
    return nSelected >= 0 ? static_cast<short>(nSelected) : (RecorderWidget().*m_device.getCurrentDevice)();
}

void CDeviceDialog::FillDeviceDetails(bool bSelectStored)
{
    const short nDevice = DetailsDevice();
    const ConversionSettings& settings = Settings();
    for (const CDetailList& detail : m_arrDetails) {
        FillList(detail.pList, detail.source.readNames((RecorderWidget().*detail.source.getEntries)(nDevice)));
        if (bSelectStored)
            SelectStored(detail.pList, settings.*detail.source.pIndex, settings.*detail.source.pName);
    }
}

void CDeviceDialog::ShowStoredValues()
{
    FillLists();
    RecorderWidget().RescanDevices();
}

short CDeviceDialog::DeviceInUse(const CEncordaList& devices, const QString& strChosenName, short nRecorderDevice)
{
    const short nChosen = strChosenName.isEmpty() ? -1 : devices.FindIndex(strChosenName);
    return nChosen != -1 ? nChosen : nRecorderDevice;
}

void CDeviceDialog::FillLists()
{
    const CEncordaList devices = (RecorderWidget().*m_device.getDevices)();
    FillList(m_pDeviceList, ReadNames(devices));
    m_pDeviceList->setCurrentIndex(
        DeviceInUse(devices, Settings().*m_device.pName, (RecorderWidget().*m_device.getCurrentDevice)()));
    FillDeviceDetails(true);
}
