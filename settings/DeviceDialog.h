#pragma once

#include <QList>
#include <QStringList>

#include "settings/SettingsDialog.h"

class CEncorda;
class CEncordaList;
class IRecorderOwner;
class QComboBox;

// What the video and audio device dialogs share: a list of the recorder's
// devices whose other lists (inputs, formats) belong to the device selected
// in it. The devices are read again each time the dialog opens, and the
// lists refill when the reading ends; the user's picks are stored as index
// and name, the names being what Convert and Play look up.
class CDeviceDialog : public CSettingsDialog
{
    Q_OBJECT

public:
    // The device recordings use, as the dialog shows it: the one the user
    // chose, by name, while the list holds it; else the recorder's own
    // choice, which Convert and Play then leave in place. The stored index
    // plays no part: before any choice it says 0 whatever the recorder
    // chose.
    static short DeviceInUse(const CEncordaList& devices, const QString& strChosenName, short nRecorderDevice);

protected:
    // Where the device list comes from and where the choice is stored.
    struct CDeviceSource
    {
        int nListId;
        CEncordaList (CEncorda::*getDevices)();
        short (CEncorda::*getCurrentDevice)() const;
        int ConversionSettings::*pIndex;
        QString ConversionSettings::*pName;
    };
    // One list of the selected device's own entries: its label, where it
    // comes from, how its names are read and where the choice is stored.
    struct CDetailSource
    {
        int nListId;
        QString strLabel;
        CEncordaList (CEncorda::*getEntries)(short nDevice);
        QStringList (*readNames)(const CEncordaList& list);
        int ConversionSettings::*pIndex;
        QString ConversionSettings::*pName;
    };

    // The device list takes the title as its label; the detail lists follow
    // it in the order given.
    CDeviceDialog(const QString& strTitle, ConversionSettings& settings, IRecorderOwner* pOwner,
                  const CDeviceSource& device, const QList<CDetailSource>& arrDetails, QWidget* pParent);

    void ShowStoredValues() override;

private:
    struct CDetailList
    {
        CDetailSource source;
        QComboBox* pList;
    };

    CEncorda& RecorderWidget() const;
    // The device selected here; without a selection, the recorder's own.
    short DetailsDevice() const;
    // Fills the lists of DetailsDevice(); the stored choices are selected in
    // them unless the user has just picked another device.
    void FillDeviceDetails(bool bSelectStored);
    void FillLists();

    IRecorderOwner* m_pOwner;
    CDeviceSource m_device;
    QComboBox* m_pDeviceList = nullptr;
    QList<CDetailList> m_arrDetails;
};
