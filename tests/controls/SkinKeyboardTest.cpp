#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "controls/SkinKeyboard.h"

// Skins place controls anywhere; Tab reads them as a page is read.

namespace {

struct CPlaced
{
    const char* pszName;
    QRect rc;
};

struct CLayout
{
    const char* pszLayout;
    QList<CPlaced> arrControls;
    QStringList arrExpected;
};

TEST(SkinKeyboard, TabVisitsScatteredControlsInReadingOrder)
{
    const QList<CLayout> arrLayouts = {
        { "a row a few pixels out of line reads left to right",
          { { "right", QRect(200, 12, 30, 20) }, { "left", QRect(10, 15, 30, 20) }, { "mid", QRect(100, 10, 30, 20) } },
          { "left", "mid", "right" } },
        { "a column beside a tall list: the list, then the column",
          { { "b2", QRect(300, 60, 40, 20) },
            { "list", QRect(10, 10, 200, 200) },
            { "b1", QRect(300, 10, 40, 20) },
            { "below", QRect(10, 250, 40, 20) } },
          { "list", "b1", "b2", "below" } },
        { "controls far apart in both directions",
          { { "bottom-left", QRect(5, 400, 20, 20) },
            { "top-right", QRect(500, 5, 20, 20) },
            { "middle", QRect(250, 200, 20, 20) },
            { "top-left", QRect(5, 8, 20, 20) } },
          { "top-left", "top-right", "middle", "bottom-left" } },
    };
    for (const CLayout& layout : arrLayouts) {
        SCOPED_TRACE(layout.pszLayout);
        QWidget window;
        CSkinKeyboard keyboard(window);
        for (const CPlaced& placed : layout.arrControls) {
            auto* pControl = new QWidget(&window);
            pControl->setObjectName(placed.pszName);
            pControl->setGeometry(placed.rc);
            pControl->setFocusPolicy(Qt::TabFocus);
        }
        keyboard.Attach(Qt::black);
        QWidget* pFirst = window.findChild<QWidget*>(layout.arrExpected.first());
        QStringList arrVisited;
        for (QWidget* pWidget = pFirst; arrVisited.size() < layout.arrExpected.size();
             pWidget = pWidget->nextInFocusChain()) {
            if (pWidget->focusPolicy() & Qt::TabFocus)
                arrVisited.append(pWidget->objectName());
        }
        EXPECT_EQ(arrVisited, layout.arrExpected);
    }
}

} // namespace
