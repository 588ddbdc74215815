#pragma once

#include <QDialog>

#include "recorder/Encorda.h"
#include "settings/ConversionSettings.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// What the settings dialogs share: the dialog font, one titled group box
// holding the controls, "OK" and "Cancel" below it, and the rule by which
// their number fields are read.
class CSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // The font the dialogs were drawn for; the platform's default stands in
    // when it is not installed.
    static inline const QString TEMPLATE_FONT_FAMILY = QStringLiteral("Cambria");
    static constexpr int TEMPLATE_FONT_POINTS = 10;

    // The leading decimal integer of a field's text: white space and an
    // optional sign, then digits; 0 when no digit follows. Values beyond the
    // 32-bit range stop at its ends instead of wrapping.
    static int ReadLeadingInteger(const QString& strText);

protected:
    // strTitle titles both the window and the group box; every choice goes
    // to settings, which outlives the dialog.
    CSettingsDialog(const QString& strTitle, ConversionSettings& settings, QWidget* pParent);

    ConversionSettings& Settings() const { return m_settings; }

    // The group box the subclass fills; the buttons are already below it.
    QGroupBox* Group() const { return m_pGroup; }

    // Controls carry their number as object name, so tests and tools can
    // find them.
    static QComboBox* MakeDropDownList(int nId, QWidget* pParent);
    static QLineEdit* MakeEdit(int nId, QWidget* pParent);

    // A number field held to a range a recording can use, and the row that
    // shows it with the range beside it: keys that would leave the range are
    // refused, the setting takes only a value inside it, and OK waits while
    // an enabled field holds less than a whole value.
    struct CRangedEdit
    {
        QLineEdit* pEdit = nullptr;
        QWidget* pRow = nullptr;
    };
    CRangedEdit MakeRangedEdit(int nId, CEncorda::ERangedValue eValue, int ConversionSettings::*pSetting);
    // Offers OK when every enabled ranged field holds a value of its range;
    // a dialog that enables or disables such a field calls it.
    void UpdateOkButton();

    // Replaces the list's items; the first is selected when there is one.
    // Selecting by program notifies nobody, so nothing is stored.
    static void FillList(QComboBox* pList, const QStringList& arrItems);
    // Selects the stored choice: by its name while the list still holds it
    // (a device plugged in or out moves the others), else by its index; an
    // index outside the list leaves no selection.
    static void SelectStored(QComboBox* pList, int nIndex, const QString& strName);
    // Stores the user's choice in the list, as index and text, the moment it
    // is made.
    void StoreChoice(QComboBox* pList, int ConversionSettings::*pIndex, QString ConversionSettings::*pName);

    // Puts the stored choices into the controls; called each time the
    // dialog opens, before it is shown. A dialog whose controls stay as they
    // were left between openings keeps this empty.
    virtual void ShowStoredValues() { }

    void showEvent(QShowEvent* pEvent) override;

private:
    ConversionSettings& m_settings;
    QGroupBox* m_pGroup = nullptr;
    QPushButton* m_pOkButton = nullptr;
    QList<QLineEdit*> m_rangedEdits;
};
