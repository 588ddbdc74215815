#include <gtest/gtest.h>

#include <QTest>

#include "app/ConverterDlg.h"
#include "controls/SkinEdit.h"
#include "skin/SkinPackage.h"
#include "tests/app/ProgramDriver.h"

// What the user set in one skin is there in the next.

namespace {

using SkinChange = CProgramTest;

// Every skin change used to empty the title box.
TEST_F(SkinChange, EverySkinShowsTheTitleTypedSoFar)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    CSkinEdit* pTitle = dialog.FindEdit(CConverterDlg::TITLE_EDIT);
    ASSERT_NE(pTitle, nullptr) << "our skins have a title box";
    QTest::keyClicks(pTitle, QStringLiteral("Evening news"));

    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands()) {
        SCOPED_TRACE(command.strPackage.toStdString());
        dialog.ChangeSkin(command.nCommandId);
        pTitle = dialog.FindEdit(CConverterDlg::TITLE_EDIT);
        ASSERT_NE(pTitle, nullptr);
        EXPECT_EQ(pTitle->text(), QStringLiteral("Evening news"));
    }
    // What is typed into the new box is what the next skin shows.
    pTitle->clear();
    QTest::keyClicks(pTitle, QStringLiteral("Late news"));
    dialog.ChangeSkin(SkinPackage::FIRST_SKIN_COMMAND);
    EXPECT_EQ(dialog.FindEdit(CConverterDlg::TITLE_EDIT)->text(), QStringLiteral("Late news"));
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty());
}

} // namespace
