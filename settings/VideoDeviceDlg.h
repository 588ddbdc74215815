#pragma once

#include "settings/SettingsDialog.h"

class IEncoderOwner;
class QComboBox;

// The video capture device, its format and its input. The lists come afresh
// from the recorder each time the dialog opens; the user's picks are stored
// as index and name, the names being what Convert and Play look up.
class CVideoDeviceDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    CVideoDeviceDlg(IEncoderOwner* pOwner, QWidget* pParent = nullptr);

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void FillFromRecorder();

    IEncoderOwner* m_pOwner;
    QComboBox* m_pDeviceList = nullptr;
    QComboBox* m_pFormatList = nullptr;
    QComboBox* m_pInputList = nullptr;
};
