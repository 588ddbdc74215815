#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMenu>
#include <QTest>

#include "app/ConverterDlg.h"
#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEdit.h"
#include "controls/SkinIdentity.h"
#include "controls/SkinKeyboard.h"
#include "skin/SkinPackage.h"
#include "tests/app/ProgramDriver.h"

// The window without a mouse: the keyboard reaches and works every control,
// and a screen reader learns what each one is.

namespace {

class KeyboardAccess : public CProgramTest
{
protected:
    // The window shown, active and on the Deluxe skin, the last of the menu.
    void ShowOnDeluxe(CConverterDlg& dialog)
    {
        dialog.SetPackageFolder(QCoreApplication::applicationDirPath());
        dialog.ChangeSkin(SkinPackage::SkinCommands().last().nCommandId);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // Presses Tab until the control of that skin name has the focus.
    static ::testing::AssertionResult TabTo(CConverterDlg& dialog, const QString& strName)
    {
        constexpr int MAX_TABS = 40;
        for (int i = 0; i < MAX_TABS; ++i) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Tab);
            const auto* pControl = dynamic_cast<const CSkinIdentity*>(QApplication::focusWidget());
            if (pControl && pControl->GetName() == strName)
                return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "Tab never reached " << strName.toStdString();
    }
};

TEST_F(KeyboardAccess, EveryControlTellsItsRoleNameStateAndAction)
{
    CConverterDlg dialog(m_prompt, m_settings);
    ShowOnDeluxe(dialog);
    const QString strPress = QAccessibleActionInterface::pressAction();
    const QString strToggle = QAccessibleActionInterface::toggleAction();
    struct CRow
    {
        const char* pszSkinName;
        QAccessible::Role eRole;
        QString strName;
        bool bChecked;
        QStringList arrActions;
        QString strValue;
    };
    // Deluxe's buttons have tooltips of their own; the rest take the
    // program's names.
    const QList<CRow> arrRows = {
        { "BUTTON_CONVERT", QAccessible::PushButton, "Record to file", false, { strPress }, "" },
        { "BUTTON_STOP", QAccessible::PushButton, "Stop", false, { strPress }, "" },
        { "BUTTON_EDITVIDEO", QAccessible::PushButton, "Video source", false, { strPress }, "" },
        { "CHECK_MUTE", QAccessible::CheckBox, "Mute the sound", false, { strToggle }, "" },
        { "OPTION_QUALITY_GOOD", QAccessible::RadioButton, "Good quality", true, { strPress }, "" },
        { "OPTION_QUALITY_BEST", QAccessible::RadioButton, "Best quality", false, { strPress }, "" },
        { "PROGRESS_LEVEL", QAccessible::ProgressBar, "Sound level", false, {}, "0" },
        { "LIST_RECENT", QAccessible::List, "Recordings", false, {}, "" },
        { "EDIT_TITLE", QAccessible::EditableText, "Title", false, {}, "" },
        { "COMBO_EDIT",
          QAccessible::ComboBox,
          "Output format",
          false,
          { QAccessibleActionInterface::showMenuAction() },
          "MPEG1" },
        { "LABEL_MODE", QAccessible::StaticText, "Output format", false, {}, "Output format" },
    };
    QHash<QString, QWidget*> mapControls;
    for (QWidget* pChild : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* pControl = dynamic_cast<const CSkinIdentity*>(pChild);
        if (pControl && !pChild->isHidden())
            mapControls.insert(pControl->GetName(), pChild);
    }
    for (const CRow& row : arrRows) {
        SCOPED_TRACE(row.pszSkinName);
        QWidget* pWidget = mapControls.value(row.pszSkinName);
        ASSERT_NE(pWidget, nullptr);
        QAccessibleInterface* pAccessible = QAccessible::queryAccessibleInterface(pWidget);
        ASSERT_NE(pAccessible, nullptr);
        EXPECT_EQ(pAccessible->role(), row.eRole);
        EXPECT_EQ(pAccessible->text(QAccessible::Name), row.strName);
        EXPECT_EQ(bool(pAccessible->state().checked), row.bChecked);
        EXPECT_FALSE(pAccessible->state().disabled);
        EXPECT_EQ(pAccessible->text(QAccessible::Value), row.strValue);
        QAccessibleActionInterface* pActions = pAccessible->actionInterface();
        const QStringList arrActions = pActions ? pActions->actionNames() : QStringList();
        for (const QString& strAction : row.arrActions)
            EXPECT_TRUE(arrActions.contains(strAction)) << strAction.toStdString();
    }

    // Toggling through the reader works the box as a click does.
    QAccessibleInterface* pMute = QAccessible::queryAccessibleInterface(mapControls.value("CHECK_MUTE"));
    pMute->actionInterface()->doAction(strToggle);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pMute->state().checked; }));
    EXPECT_TRUE(dialog.RecorderWidget().GetAudioMute());
}

TEST_F(KeyboardAccess, SpaceAndEnterPressOnlyTheButtonTabReached)
{
    CConverterDlg dialog(m_prompt, m_settings);
    ShowOnDeluxe(dialog);
    // Focused as the window system's activation focuses, unseen: Space
    // stays the window's Play.
    const CSkinKeyboard* pKeyboard = dialog.findChild<CSkinKeyboard*>();
    ASSERT_NE(pKeyboard, nullptr);
    CSkinButton* pUnseen = dialog.FindButton("BUTTON_MINIMIZE");
    pUnseen->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(pKeyboard->MarkedWidget(), nullptr);
    QTest::keyClick(pUnseen, Qt::Key_Space);
    QTest::keyClick(pUnseen, Qt::Key_Return);
    EXPECT_FALSE(dialog.isMinimized());
    EXPECT_TRUE(dialog.RecorderWidget().GetStatus().bRunning);
    ClickButton(dialog, "BUTTON_STOP");

    ASSERT_TRUE(TabTo(dialog, "CHECK_MUTE"));
    CSkinCheck* pMute = dialog.FindCheck("CHECK_MUTE");
    EXPECT_EQ(pKeyboard->MarkedWidget(), pMute);
    QTest::keyClick(pMute, Qt::Key_Space);
    EXPECT_TRUE(pMute->IsChecked());
    QTest::keyClick(pMute, Qt::Key_Return);
    EXPECT_FALSE(pMute->IsChecked());

    ASSERT_TRUE(TabTo(dialog, "OPTION_QUALITY_BEST"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(dialog.RecorderWidget().GetBestQuality());

    // Space on Play plays, where the window's own Space would too; Stop is
    // the test that the focused button, not the window, took it.
    ClickButton(dialog, "BUTTON_PLAY");
    ASSERT_TRUE(dialog.RecorderWidget().GetStatus().bRunning);
    ASSERT_TRUE(TabTo(dialog, "BUTTON_STOP"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(dialog.RecorderWidget().GetStatus().bRunning);
}

TEST_F(KeyboardAccess, ShiftF10OpensTheSkinMenuAtTheFocusAndASwitchKeepsIt)
{
    CConverterDlg dialog(m_prompt, m_settings);
    ShowOnDeluxe(dialog);
    ASSERT_TRUE(TabTo(dialog, "BUTTON_STOP"));
    QWidget* pStop = QApplication::focusWidget();
    QTest::keyClick(pStop, Qt::Key_F10, Qt::ShiftModifier);
    QMenu* pMenu = dialog.SkinMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pMenu->isVisible(); }));
    EXPECT_TRUE(pMenu->geometry().contains(pStop->mapToGlobal(pStop->rect().center())));

    // The first skin of the menu, chosen by its keys.
    QTest::keyClick(pMenu, Qt::Key_Down);
    QTest::keyClick(pMenu, Qt::Key_Return);
    EXPECT_EQ(dialog.SkinIndex(), 0);
    const auto* pFocused = dynamic_cast<const CSkinIdentity*>(QApplication::focusWidget());
    ASSERT_NE(pFocused, nullptr);
    EXPECT_EQ(pFocused->GetName(), "BUTTON_STOP");
    EXPECT_NE(QApplication::focusWidget(), pStop) << "the new skin's Stop";
}

TEST_F(KeyboardAccess, AltDownOpensTheOutputSelectorAndTheArrowsChoose)
{
    CConverterDlg dialog(m_prompt, m_settings);
    ShowOnDeluxe(dialog);
    ASSERT_TRUE(TabTo(dialog, "COMBO_EDIT"));
    CSkinComboBox* pCombo = dialog.FirstComboBox();
    QWidget* pEdit = QApplication::focusWidget();
    QTest::keyClick(pEdit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(pCombo->IsDropDownVisible());
    QTest::keyClick(pEdit, Qt::Key_Down);
    QTest::keyClick(pEdit, Qt::Key_Down);
    QTest::keyClick(pEdit, Qt::Key_Return);
    EXPECT_FALSE(pCombo->IsDropDownVisible());
    EXPECT_EQ(pCombo->Edit()->text(), CConverterDlg::AVI_ROW);
    // Closed, an arrow takes the next row at once.
    QTest::keyClick(pEdit, Qt::Key_Up);
    EXPECT_EQ(pCombo->Edit()->text(), CConverterDlg::MPEG2_ROW);
}

} // namespace
