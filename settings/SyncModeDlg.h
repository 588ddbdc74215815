#pragma once

#include "settings/SettingsDialog.h"

class QComboBox;
class QLineEdit;

// How audio keeps in step with video, and the audio offset in milliseconds.
// Every change goes to the settings store at once.
class CSyncModeDlg : public CSettingsDialog
{
    Q_OBJECT

public:
    // Control numbers, which are also the controls' object names.
    enum EControlId {
        MODE_LIST = 1017,
        OFFSET_EDIT = 1019,
    };

    // In the order of the mode numbers the recorder takes; the list shows
    // them in the user's language.
    static constexpr const char* SYNC_MODES[] = {
        QT_TR_NOOP("No Sync"),
        QT_TR_NOOP("Sync with stream offset (Auto Mode)"),
        QT_TR_NOOP("Sync with stream offset (Manual Mode)"),
    };

    explicit CSyncModeDlg(ConversionSettings& settings, QWidget* pParent = nullptr);

protected:
    void ShowStoredValues() override;

private:
    QComboBox* m_pModeList = nullptr;
    QLineEdit* m_pOffsetEdit = nullptr;
};
