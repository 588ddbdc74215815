#include "controls/SkinAccessible.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>
#include <QPointer>

#include "controls/Label.h"
#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboButton.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinOption.h"
#include "controls/SkinProgress.h"
#include "controls/SkinSlider.h"

namespace {

// Name from the program, else the skin's tooltip; the tooltip itself (with
// the keys the program added to it) is the description.
class CSkinWidgetAccessible : public QAccessibleWidget
{
public:
    CSkinWidgetAccessible(QWidget* pWidget, QAccessible::Role eRole)
        : QAccessibleWidget(pWidget, eRole)
    {
    }

    QString text(QAccessible::Text eText) const override
    {
        switch (eText) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? widget()->toolTip() : widget()->accessibleName();
        case QAccessible::Description:
            return widget()->accessibleDescription().isEmpty() ? widget()->toolTip()
                                                               : widget()->accessibleDescription();
        default:
            return QAccessibleWidget::text(eText);
        }
    }
};

QAccessible::Role ButtonRole(const CSkinButton* pButton)
{
    if (qobject_cast<const CSkinCheck*>(pButton))
        return QAccessible::CheckBox;
    if (qobject_cast<const CSkinOption*>(pButton))
        return QAccessible::RadioButton;
    return QAccessible::PushButton;
}

class CButtonAccessible : public CSkinWidgetAccessible
{
public:
    explicit CButtonAccessible(CSkinButton* pButton)
        : CSkinWidgetAccessible(pButton, ButtonRole(pButton))
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State st = CSkinWidgetAccessible::state();
        const CSkinButton* pButton = Button();
        if (role() == QAccessible::PushButton) {
            st.pressed = pButton->CurrentFrame() == CSkinButton::EFrame::Down;
        } else {
            st.checkable = true;
            st.checked = pButton->IsChecked();
        }
        return st;
    }

    QStringList actionNames() const override
    {
        return { role() == QAccessible::CheckBox ? toggleAction() : pressAction() };
    }

    void doAction(const QString& strAction) override
    {
        // Play and Pause take turns in one place: the hidden one does nothing.
        if (!actionNames().contains(strAction) || !widget()->isEnabled() || !widget()->isVisible())
            return;
        // A press may open a dialog with its own event loop; the screen
        // reader's call returns first instead of waiting for it to close.
        QMetaObject::invokeMethod(Button(), &CSkinButton::Click, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    CSkinButton* Button() const { return static_cast<CSkinButton*>(widget()); }
};

// Slider and progress bar: a value between a minimum and a maximum.
template <class TControl>
class CValueAccessible : public CSkinWidgetAccessible, public QAccessibleValueInterface
{
public:
    CValueAccessible(TControl* pControl, QAccessible::Role eRole, int nMin, int nMax)
        : CSkinWidgetAccessible(pControl, eRole)
        , m_nMin(nMin)
        , m_nMax(nMax)
    {
    }

    void* interface_cast(QAccessible::InterfaceType eType) override
    {
        if (eType == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return CSkinWidgetAccessible::interface_cast(eType);
    }

    QString text(QAccessible::Text eText) const override
    {
        return eText == QAccessible::Value ? QString::number(Control()->GetPos()) : CSkinWidgetAccessible::text(eText);
    }

    QVariant currentValue() const override { return Control()->GetPos(); }
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override { return m_nMax; }
    QVariant minimumValue() const override { return m_nMin; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TControl* Control() const { return static_cast<TControl*>(widget()); }

    int m_nMin;
    int m_nMax;
};

// A reader may move a slider as the arrow keys do; a progress bar only shows.
template <>
void CValueAccessible<CSkinSlider>::setCurrentValue(const QVariant& value)
{
    Control()->SetPos(value.toInt());
}

template <>
void CValueAccessible<CSkinProgress>::setCurrentValue(const QVariant&)
{
}

// The list's value is its selected row, as shown: its cells and details.
class CListAccessible : public CSkinWidgetAccessible
{
public:
    explicit CListAccessible(CSkinListBox* pList)
        : CSkinWidgetAccessible(pList, QAccessible::List)
    {
    }

    QString text(QAccessible::Text eText) const override
    {
        if (eText != QAccessible::Value)
            return CSkinWidgetAccessible::text(eText);
        const CSkinListBox* pList = static_cast<const CSkinListBox*>(widget());
        const int nRow = pList->GetSelectedRow();
        if (nRow < 0)
            return QString();
        QStringList arrParts;
        for (int nColumn = 0; nColumn < std::max(1, pList->ColumnCount()); ++nColumn)
            arrParts.append(pList->GetItemText(nRow, nColumn).trimmed());
        arrParts.append(pList->GetItemDetails(nRow));
        arrParts.removeAll(QString());
        return arrParts.join(u", ");
    }
};

class CLabelAccessible : public QAccessibleWidget
{
public:
    explicit CLabelAccessible(CLabel* pLabel)
        : QAccessibleWidget(pLabel, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text eText) const override
    {
        const auto* pLabel = static_cast<const CLabel*>(widget());
        if (eText == QAccessible::Name || eText == QAccessible::Value)
            return pLabel->accessibleName().isEmpty() ? pLabel->GetLabelText() : pLabel->accessibleName();
        return QAccessibleWidget::text(eText);
    }
};

// The select-only edit field of a combo box stands for the whole box: its
// text is the choice, its action opens the list.
class CComboAccessible : public CSkinWidgetAccessible
{
public:
    CComboAccessible(CSkinEdit* pEdit, CSkinComboBox* pCombo)
        : CSkinWidgetAccessible(pEdit, QAccessible::ComboBox)
        , m_pCombo(pCombo)
    {
    }

    QString text(QAccessible::Text eText) const override
    {
        return eText == QAccessible::Value ? static_cast<const CSkinEdit*>(widget())->text()
                                           : CSkinWidgetAccessible::text(eText);
    }

    QAccessible::State state() const override
    {
        QAccessible::State st = CSkinWidgetAccessible::state();
        st.expandable = true;
        st.expanded = m_pCombo && m_pCombo->IsDropDownVisible();
        st.readOnly = true;
        return st;
    }

    QStringList actionNames() const override { return { showMenuAction() }; }

    void doAction(const QString& strAction) override
    {
        if (strAction == showMenuAction() && m_pCombo)
            QMetaObject::invokeMethod(m_pCombo, &CSkinComboBox::ToggleDropDown, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<CSkinComboBox> m_pCombo;
};

CSkinComboBox* ComboOfEdit(const CSkinEdit* pEdit)
{
    // Asked for as the edit field is made, before the combo box makes it
    // read-only: known by belonging to one.
    if (pEdit->parentWidget() == nullptr)
        return nullptr;
    const QList<CSkinComboBox*> arrCombos =
        pEdit->parentWidget()->findChildren<CSkinComboBox*>(Qt::FindDirectChildrenOnly);
    for (CSkinComboBox* pCombo : arrCombos) {
        if (pCombo->Edit() == pEdit)
            return pCombo;
    }
    return nullptr;
}

QAccessibleInterface* SkinAccessibleFactory(const QString&, QObject* pObject)
{
    if (auto* pButton = qobject_cast<CSkinButton*>(pObject))
        return new CButtonAccessible(pButton);
    if (auto* pSlider = qobject_cast<CSkinSlider*>(pObject))
        return new CValueAccessible<CSkinSlider>(pSlider, QAccessible::Slider, 0, pSlider->GetRangeMax());
    if (auto* pProgress = qobject_cast<CSkinProgress*>(pObject))
        return new CValueAccessible<CSkinProgress>(pProgress, QAccessible::ProgressBar, 0, CSkinProgress::DEFAULT_MAX);
    if (auto* pList = qobject_cast<CSkinListBox*>(pObject))
        return new CListAccessible(pList);
    if (auto* pLabel = qobject_cast<CLabel*>(pObject))
        return new CLabelAccessible(pLabel);
    if (auto* pEdit = qobject_cast<CSkinEdit*>(pObject)) {
        if (CSkinComboBox* pCombo = ComboOfEdit(pEdit))
            return new CComboAccessible(pEdit, pCombo);
    }
    return nullptr;
}

} // namespace

void InstallSkinAccessibility()
{
    static bool s_bInstalled = false;
    if (s_bInstalled)
        return;
    s_bInstalled = true;
    QAccessible::installFactory(&SkinAccessibleFactory);
}
