#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "settings/ConversionSettings.h"

// Drives the settings dialogs the way a person does: keys and clicks on the
// controls found by their numbers.
namespace DialogDriver {

template <typename TControl>
TControl* Find(const QWidget& dialog, int nId)
{
    auto* pControl = dialog.findChild<TControl*>(QString::number(nId));
    EXPECT_NE(pControl, nullptr) << "control " << nId;
    return pControl;
}

// Picks an item from the dropped-down list with the keyboard, which notifies
// like a person's choice does, also when the item was already selected.
inline void ChooseItem(QComboBox* pList, int nIndex)
{
    pList->showPopup();
    QAbstractItemView* pView = pList->view();
    pView->setCurrentIndex(pList->model()->index(nIndex, pList->modelColumn()));
    QTest::keyClick(pView, Qt::Key_Return);
    ASSERT_EQ(pList->currentIndex(), nIndex);
}

inline QStringList Items(const QComboBox* pList)
{
    QStringList arrItems;
    for (int i = 0; i < pList->count(); ++i)
        arrItems.append(pList->itemText(i));
    return arrItems;
}

inline void TypeText(QLineEdit* pEdit, const QString& strText)
{
    pEdit->setFocus();
    pEdit->selectAll();
    QTest::keyClick(pEdit, Qt::Key_Delete);
    QTest::keyClicks(pEdit, strText);
}

// A check box answers only on its box and label, which may not reach the
// middle of a stretched widget.
inline void Click(QAbstractButton* pButton)
{
    QPoint point = pButton->rect().center();
    if (auto* pCheck = qobject_cast<QCheckBox*>(pButton)) {
        QStyleOptionButton option;
        option.initFrom(pCheck);
        point = pCheck->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, pCheck).center();
    }
    QTest::mouseClick(pButton, Qt::LeftButton, {}, point);
}

inline void Cancel(QDialog& dialog)
{
    Click(Find<QAbstractButton>(dialog, 2));
    EXPECT_FALSE(dialog.isVisible());
}

// Every run of the program starts from the defaults; so does every test,
// with a store of its own for the dialogs it makes.
class SettingsTest : public testing::Test
{
protected:
    ConversionSettings& Settings() { return m_settings; }

private:
    ConversionSettings m_settings;
};

} // namespace DialogDriver
