#pragma once

#include "settings/SettingsDialog.h"

class IRecorderOwner;
class QComboBox;

// The frame picture laid over the video: one of the files of the "Frame"
// folder, listed once when the dialog is made. Modeless; OK and Cancel only
// hide it, and it comes back with its list unchanged. A choice is stored and
// sent to the recorder at once, so it shows in a running preview.
class CVideoFrameDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    CVideoFrameDlg(ConversionSettings& settings, IRecorderOwner* pOwner, QWidget* pParent = nullptr);

private:
    IRecorderOwner* m_pOwner;
    QComboBox* m_pPictureList = nullptr;
};
