#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

#include "app/ConverterDlg.h"
#include "skin/SkinPackage.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"

// The main window as the window system and the keyboard reach it.

namespace {

using MainWindow = CProgramTest;

// A point of the window that shows the background itself: no control on it
// and not cut away by the colour key.
QPoint BareBackgroundPoint(const CConverterDlg& dialog)
{
    const QImage& imgBackground = dialog.BackgroundCopy();
    for (int y = 0; y < imgBackground.height(); y += 3) {
        for (int x = 0; x < imgBackground.width(); x += 3) {
            const QPoint pt(x, y);
            if (dialog.WindowRegion().contains(pt) && dialog.childAt(pt) == nullptr)
                return pt;
        }
    }
    return QPoint(-1, -1);
}

TEST_F(MainWindow, ASkinSwitchAfterMinimiseKeepsTheBackground)
{
    CConverterDlg dialog(m_prompt);
    dialog.SetPackageFolder(QCoreApplication::applicationDirPath());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ClickButton(dialog, "BUTTON_MINIMIZE");
    // Another skin from the right-click menu.
    const QList<QAction*> arrSkins = dialog.SkinMenu()->actions();
    const auto itOther = std::find_if(arrSkins.begin(), arrSkins.end(), [&dialog](const QAction* pAction) {
        return pAction->data().toInt() != SkinPackage::FIRST_SKIN_COMMAND + dialog.SkinIndex();
    });
    ASSERT_NE(itOther, arrSkins.end());
    (*itOther)->trigger();
    ASSERT_NE(dialog.SkinIndex(), SkinPackage::NO_SKIN_COMMAND);

    const QPoint pt = BareBackgroundPoint(dialog);
    ASSERT_NE(pt, QPoint(-1, -1));
    const QImage imgShown = dialog.grab().toImage();
    EXPECT_EQ(imgShown.pixelColor(pt).rgb(), dialog.BackgroundCopy().pixelColor(pt).rgb())
        << "at " << pt.x() << "," << pt.y();
}

} // namespace
