#pragma once

#include "settings/SettingsDialog.h"

class CEncorda;
class CEncordaList;
class IEncoderOwner;
class QComboBox;

// What the video and audio device dialogs share: a list of the recorder's
// devices whose other lists (inputs, formats) belong to the device selected
// in it. The devices are read again each time the dialog opens, and the
// lists refill when the reading ends; the user's picks are stored as index
// and name, the names being what Convert and Play look up.
class CDeviceDialog : public CSettingsDialog
{
    Q_OBJECT

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

    CDeviceDialog(const QString& strTitle, IEncoderOwner* pOwner, const CDeviceSource& source, QWidget* pParent);

    CEncorda& Encoder() const;
    QComboBox* DeviceList() const { return m_pDeviceList; }
    // The device selected here; without a selection, the recorder's own.
    short DetailsDevice() const;

    // Fills the lists of DetailsDevice(); the stored choices are selected in
    // them unless the user has just picked another device.
    virtual void FillDeviceDetails(bool bSelectStored) = 0;

    void ShowStoredValues() override;

private:
    void FillLists();

    IEncoderOwner* m_pOwner;
    CDeviceSource m_source;
    QComboBox* m_pDeviceList = nullptr;
};
