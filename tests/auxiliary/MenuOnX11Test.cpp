// Runs on a real X server without a compositor (under tests/xvfb-exec.sh): the menus
// of the real window are styled and shown by X, and the screen is grabbed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include <xcb/xcb.h>

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>

#include "app/ConverterDlg.h"
#include "auxiliary/MenuColours.h"
#include "auxiliary/MenuFrame.h"
#include "auxiliary/MenuStyler.h"
#include "controls/SkinEdit.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"

namespace {

// A plain light window behind the program: the screen the shadow falls on.
const QColor LIGHT(235, 235, 215);
const QPoint WINDOW_POS(20, 20);
constexpr int BACKGROUND_STEP = 4;
constexpr int MAX_WAIT_MS = 5000;
// The frame lines and the shadow band, counted from the menu window's edges.
constexpr int SHADOW = CMenuFrame::SHADOW_WIDTH;
constexpr int SHADOW_STEP = 30;
constexpr int SHADOW_CLEAR = 4;
// Without system shadows the menu grows by the Part's 2 pixels over a
// 3-pixel native border on each side; with them it shrinks by 2.
constexpr int GROWTH_OWN_SHADOW = 8;
constexpr int GROWTH_SYSTEM_SHADOW = 4;

QImage Screen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

QColor Darkened(const QColor& colour, int nAmount)
{
    return QColor::fromRgb(MenuColours::Darken(colour.rgb(), nAmount));
}

// What the menu's items take, without the style's own frame.
QSize ItemArea(const QMenu& menu)
{
    const QRect rcItems =
        menu.actionGeometry(menu.actions().constFirst()).united(menu.actionGeometry(menu.actions().constLast()));
    return rcItems.size();
}

class MenuOnX11Test : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        if (!CProgramCurrentDirectory::HasProgramSkin("Pink.skn"))
            GTEST_SKIP() << "the program's skins are not built beside the test";
        QPalette palette;
        palette.setColor(QPalette::Window, LIGHT);
        m_background.setPalette(palette);
        m_background.setAutoFillBackground(true);
        m_background.setGeometry(QGuiApplication::primaryScreen()->geometry());
        m_background.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_background));
        m_pDialog = std::make_unique<CConverterDlg>(m_prompt);
        m_pDialog->move(WINDOW_POS);
        m_pDialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pDialog.get()));
    }

    void TearDown() override
    {
        if (QWidget* pPopup = QApplication::activePopupWidget())
            pPopup->close();
        m_pDialog.reset();
    }

    // A point of the window's own background, away from every control and
    // as far right and down as can be, so the menu opens over the light
    // window.
    QPoint BackgroundPoint() const
    {
        for (int nY = m_pDialog->height() - 1; nY >= 0; nY -= BACKGROUND_STEP) {
            for (int nX = m_pDialog->width() - 1; nX >= 0; nX -= BACKGROUND_STEP) {
                const QPoint pt(nX, nY);
                if (m_pDialog->childAt(pt) == nullptr && m_pDialog->WindowRegion().contains(pt))
                    return pt;
            }
        }
        return QPoint();
    }

    // Right-clicks pWidget at pt as the window system would deliver it and
    // returns the popup menu that opens.
    static QMenu* RightClick(QWidget* pWidget, const QPoint& pt)
    {
        QWidget* pWindow = pWidget->window();
        QTest::mouseClick(pWindow->windowHandle(), Qt::RightButton, {}, pWidget->mapTo(pWindow, pt));
        QMenu* pMenu = nullptr;
        const bool bOpen = WaitUntil(
            [&pMenu] {
                pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                return pMenu != nullptr && QTest::qWaitForWindowExposed(pMenu);
            },
            MAX_WAIT_MS);
        return bOpen ? pMenu : nullptr;
    }

    QMenu* OpenSkinMenu() { return RightClick(m_pDialog.get(), BackgroundPoint()); }

    // The screen once its pixel at pt has become colour.
    static QImage ScreenShowing(const QPoint& pt, const QColor& colour)
    {
        QImage img;
        WaitUntil(
            [&] {
                img = Screen();
                return img.pixelColor(pt) == colour;
            },
            MAX_WAIT_MS);
        return img;
    }

    // The skin menu as the style alone opens it: its place and items.
    QRect NativeSkinMenu(QSize& sizeItems)
    {
        QMenu* pMenu = OpenSkinMenu();
        if (pMenu == nullptr)
            return QRect();
        const QRect rcNative = pMenu->geometry();
        sizeItems = ItemArea(*pMenu);
        pMenu->close();
        return rcNative;
    }

    static CMenuSystemFacts Facts(bool bSystemShadows, bool bHighContrast)
    {
        CMenuSystemFacts facts = CMenuSystemFacts::Gather();
        facts.bSystemShadows = bSystemShadows;
        facts.bHighContrast = bHighContrast;
        return facts;
    }

    static CMenuColours Colours(const QMenu& menu)
    {
        return MenuColours::FrameColours(menu.palette(), QGuiApplication::primaryScreen()->depth());
    }

    CProgramCurrentDirectory m_current;
    CScriptedPrompt m_prompt;
    QWidget m_background { nullptr, Qt::FramelessWindowHint };
    std::unique_ptr<CConverterDlg> m_pDialog;
};

TEST_F(MenuOnX11Test, SkinMenuGetsTheFlatFrameAndASoftShadow)
{
    QSize sizeItems;
    const QRect rcNative = NativeSkinMenu(sizeItems);
    ASSERT_FALSE(rcNative.isEmpty());
    const CMenuStyler styler(CMenuSystemFacts::Gather());
    ASSERT_TRUE(styler.IsInstalled());
    QMenu* pMenu = OpenSkinMenu();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu, m_pDialog->SkinMenu());

    const QRect rc = pMenu->geometry();
    EXPECT_EQ(rc.size(), sizeItems + QSize(GROWTH_OWN_SHADOW, GROWTH_OWN_SHADOW));
    EXPECT_EQ(rc.topLeft(), rcNative.topLeft() - QPoint(0, 1));
    EXPECT_EQ(ItemArea(*pMenu), sizeItems);
    EXPECT_EQ(pMenu->actionGeometry(pMenu->actions().constFirst()).topLeft(), QPoint(2, 2));

    const CMenuColours colours = Colours(*pMenu);
    const QImage img = ScreenShowing(rc.topLeft(), colours.crDark).copy(rc);
    const int nW = rc.width();
    const int nH = rc.height();
    EXPECT_EQ(img.pixelColor(0, 0), colours.crDark);
    EXPECT_EQ(img.pixelColor(nW - SHADOW - 1, nH / 2), colours.crDark);
    EXPECT_EQ(img.pixelColor(nW / 2, nH - SHADOW - 1), colours.crDark);
    EXPECT_EQ(img.pixelColor(nW / 2, 1), colours.crLight);
    EXPECT_EQ(img.pixelColor(nW - SHADOW - 2, nH / 2), colours.crLight);
    EXPECT_EQ(img.pixelColor(nW / 2, nH - SHADOW - 2), colours.crLight);
    EXPECT_EQ(img.pixelColor(1, nH / 2), colours.crEdge);
    for (int nDepth = 1; nDepth <= SHADOW; ++nDepth) {
        SCOPED_TRACE(nDepth);
        EXPECT_EQ(img.pixelColor(nW - nDepth, nH / 2), Darkened(LIGHT, SHADOW_STEP * nDepth));
        EXPECT_EQ(img.pixelColor(nW / 2, nH - nDepth), Darkened(LIGHT, SHADOW_STEP * nDepth));
        for (int nEnd = 0; nEnd < SHADOW_CLEAR; ++nEnd) {
            EXPECT_EQ(img.pixelColor(nW - nDepth, nEnd), LIGHT);
            EXPECT_EQ(img.pixelColor(nEnd, nH - nDepth), LIGHT);
        }
    }
    // The mended check mark: the start-up package is the Pink command's.
    QStringList arrChecked;
    for (const QAction* pAction : pMenu->actions()) {
        if (pAction->isChecked())
            arrChecked.append(pAction->text());
    }
    EXPECT_EQ(arrChecked, QStringList { "P&ink" });
}

TEST_F(MenuOnX11Test, SystemShadowsLeaveTheShadowToTheDesktop)
{
    QSize sizeItems;
    const QRect rcNative = NativeSkinMenu(sizeItems);
    ASSERT_FALSE(rcNative.isEmpty());
    const CMenuStyler styler(Facts(true, false));
    QMenu* pMenu = OpenSkinMenu();
    ASSERT_NE(pMenu, nullptr);

    const QRect rc = pMenu->geometry();
    EXPECT_EQ(rc.size(), sizeItems + QSize(GROWTH_SYSTEM_SHADOW, GROWTH_SYSTEM_SHADOW));
    EXPECT_EQ(rc.topLeft(), rcNative.topLeft() - QPoint(0, 1));
    const CMenuColours colours = Colours(*pMenu);
    const QImage img = ScreenShowing(rc.topLeft(), colours.crDark);
    const QPoint ptRight = rc.topLeft() + QPoint(rc.width() - 1, rc.height() / 2);
    const QPoint ptBottom = rc.topLeft() + QPoint(rc.width() / 2, rc.height() - 1);
    EXPECT_EQ(img.pixelColor(ptRight), colours.crDark);
    EXPECT_EQ(img.pixelColor(ptBottom), colours.crDark);
    EXPECT_EQ(img.pixelColor(ptRight - QPoint(1, 0)), colours.crLight);
    EXPECT_EQ(img.pixelColor(ptRight + QPoint(1, 0)), LIGHT);
    EXPECT_EQ(img.pixelColor(ptBottom + QPoint(0, 1)), LIGHT);
}

TEST_F(MenuOnX11Test, HighContrastDrawsOneBoxInTheButtonTextColour)
{
    const CMenuStyler styler(Facts(false, true));
    QMenu* pMenu = OpenSkinMenu();
    ASSERT_NE(pMenu, nullptr);
    const QRect rc = pMenu->geometry();
    const CMenuColours colours = Colours(*pMenu);
    const QImage img = ScreenShowing(rc.topLeft(), colours.crButtonText).copy(rc);
    const int nW = rc.width();
    const int nH = rc.height();
    EXPECT_EQ(img.pixelColor(nW - SHADOW - 1, nH / 2), colours.crButtonText);
    EXPECT_EQ(img.pixelColor(nW / 2, nH - SHADOW - 1), colours.crButtonText);
    EXPECT_NE(img.pixelColor(nW / 2, 1), colours.crLight);
    EXPECT_NE(img.pixelColor(1, nH / 2), colours.crEdge);
    for (int nDepth = 1; nDepth <= SHADOW; ++nDepth) {
        EXPECT_EQ(img.pixelColor(nW - nDepth, nH / 2), LIGHT);
        EXPECT_EQ(img.pixelColor(nW / 2, nH - nDepth), LIGHT);
    }
}

TEST_F(MenuOnX11Test, MenuShownAgainIsStyledFromScratch)
{
    const CMenuStyler styler(CMenuSystemFacts::Gather());
    QMenu* pMenu = OpenSkinMenu();
    ASSERT_NE(pMenu, nullptr);
    const QRect rcFirst = pMenu->geometry();
    const QMargins marginsStyled = pMenu->contentsMargins();
    pMenu->close();
    // Hidden, the menu is as the style made it.
    EXPECT_EQ(pMenu->contentsMargins(), QMargins());
    // The window under the shadow paints itself again before the next grab.
    const QPoint ptShadow = rcFirst.topLeft() + QPoint(rcFirst.width() - 1, rcFirst.height() / 2);
    ASSERT_EQ(ScreenShowing(ptShadow, LIGHT).pixelColor(ptShadow), LIGHT);

    pMenu = OpenSkinMenu();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->geometry(), rcFirst);
    EXPECT_EQ(pMenu->contentsMargins(), marginsStyled);
    EXPECT_EQ(ScreenShowing(ptShadow, Darkened(LIGHT, SHADOW_STEP)).pixelColor(ptShadow), Darkened(LIGHT, SHADOW_STEP));
}

TEST_F(MenuOnX11Test, MovedMenuCastsItsShadowOnTheScreenNotOnItself)
{
    const CMenuStyler styler(CMenuSystemFacts::Gather());
    QMenu* pMenu = OpenSkinMenu();
    ASSERT_NE(pMenu, nullptr);
    const CMenuColours colours = Colours(*pMenu);
    ScreenShowing(pMenu->pos(), colours.crDark);
    // Half its width to the left: the new shadow lies where the menu was.
    pMenu->move(pMenu->pos() - QPoint(pMenu->width() / 2, 0));
    const QRect rc = pMenu->geometry();
    const QPoint ptShadow = rc.topLeft() + QPoint(rc.width() - 1, rc.height() / 2);
    const QImage img = ScreenShowing(ptShadow, Darkened(LIGHT, SHADOW_STEP));
    EXPECT_EQ(img.pixelColor(ptShadow), Darkened(LIGHT, SHADOW_STEP));
    EXPECT_EQ(img.pixelColor(rc.topLeft()), colours.crDark);
}

// What a compositing manager does when it starts: own the screen's
// compositor selection with a window of its own.
TEST(MenuSystemFactsOnX11, AScreenWithACompositorDrawsTheShadows)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    EXPECT_FALSE(CMenuSystemFacts::Gather().bSystemShadows);
    QWidget owner;
    xcb_connection_t* pConnection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const QByteArray strSelection = "_NET_WM_CM_S0";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> pAtom(
        xcb_intern_atom_reply(pConnection,
                              xcb_intern_atom(pConnection, 0, quint16(strSelection.size()), strSelection.constData()),
                              nullptr),
        &std::free);
    ASSERT_TRUE(pAtom);
    xcb_set_selection_owner(pConnection, xcb_window_t(owner.winId()), pAtom->atom, XCB_CURRENT_TIME);
    EXPECT_TRUE(CMenuSystemFacts::Gather().bSystemShadows);
}

TEST_F(MenuOnX11Test, EditBoxContextMenuIsStyledToo)
{
    const QList<CSkinEdit*> arrEdits = m_pDialog->findChildren<CSkinEdit*>();
    const auto it = std::find_if(arrEdits.begin(), arrEdits.end(),
                                 [](const CSkinEdit* pEdit) { return pEdit->GetName() == "EDIT_TITLE"; });
    ASSERT_NE(it, arrEdits.end());
    const CMenuStyler styler(CMenuSystemFacts::Gather());
    QMenu* pMenu = RightClick(*it, (*it)->rect().center());
    ASSERT_NE(pMenu, nullptr);
    EXPECT_NE(pMenu, m_pDialog->SkinMenu());
    const QRect rc = pMenu->geometry();
    const CMenuColours colours = Colours(*pMenu);
    const QImage img = ScreenShowing(rc.topLeft(), colours.crDark).copy(rc);
    EXPECT_EQ(img.pixelColor(0, 0), colours.crDark);
    EXPECT_EQ(img.pixelColor(1, rc.height() / 2), colours.crEdge);
    EXPECT_EQ(img.pixelColor(rc.width() - 1, rc.height() / 2), Darkened(LIGHT, SHADOW_STEP));
}

} // namespace
