#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include "auxiliary/MenuColours.h"
#include "auxiliary/MenuFrame.h"
#include "auxiliary/MenuSystemFacts.h"

namespace {

const QColor CLASSIC_FACE(212, 208, 200);
const QColor BACKGROUND(200, 200, 200);
const QColor BUTTON_SHADOW(128, 128, 128);
const QColor BUTTON_TEXT(0, 0, 128);
const QSize MENU_SIZE(40, 30);
constexpr int TRUE_COLOUR = 24;
constexpr int HIGH_COLOUR = 16;

QPalette MenuPalette(const QColor& crMenu, const QColor& crWindow, const QColor& crButton = Qt::gray)
{
    QPalette palette;
    palette.setColor(QPalette::Window, crMenu);
    palette.setColor(QPalette::Base, crWindow);
    palette.setColor(QPalette::Button, crButton);
    palette.setColor(QPalette::Dark, BUTTON_SHADOW);
    palette.setColor(QPalette::ButtonText, BUTTON_TEXT);
    return palette;
}

// BACKGROUND with every channel times (255 - nAmount) / 255, rounded.
QColor Darkened(int nAmount)
{
    const int nChannel = (BACKGROUND.red() * (255 - nAmount) + 127) / 255;
    return QColor(nChannel, nChannel, nChannel);
}

QImage Background(const QSize& size = MENU_SIZE)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(BACKGROUND);
    return img;
}

struct CColourCase
{
    const char* pszName;
    QColor crMenu;
    QColor crWindow;
    int nDepth;
    QColor crLight;
    QColor crEdge;
};

TEST(MenuColours, MixesLightEdgeAndDarkFromThePalette)
{
    const CColourCase cases[] = {
        // 86 % window + 14 % menu, and the other way round, rounded.
        { "classic face on white", CLASSIC_FACE, Qt::white, TRUE_COLOUR, QColor(249, 248, 247), QColor(218, 215, 208) },
        // Light and edge the same colour: window and menu colours instead.
        { "equal colours", QColor(240, 240, 240), QColor(240, 240, 240), TRUE_COLOUR, QColor(240, 240, 240),
          QColor(240, 240, 240) },
        // 200.88 and 195.12 stay apart on a true-colour screen...
        { "apart on true colour", QColor(194, 100, 194), QColor(202, 100, 202), TRUE_COLOUR, QColor(201, 100, 201),
          QColor(195, 100, 195) },
        // ...but a 5-bit red and blue show both as one.
        { "one on high colour", QColor(194, 100, 194), QColor(202, 100, 202), HIGH_COLOUR, QColor(202, 100, 202),
          QColor(194, 100, 194) },
    };
    for (const CColourCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        const CMenuColours colours = MenuColours::FrameColours(MenuPalette(c.crMenu, c.crWindow), c.nDepth);
        EXPECT_EQ(colours.crLight, c.crLight);
        EXPECT_EQ(colours.crEdge, c.crEdge);
        EXPECT_EQ(colours.crMenu, c.crMenu);
        EXPECT_EQ(colours.crButtonShadow, BUTTON_SHADOW);
    }
    // Every channel times 127 / 255, rounded.
    EXPECT_EQ(MenuColours::FrameColours(MenuPalette(CLASSIC_FACE, Qt::white), TRUE_COLOUR).crDark,
              QColor(106, 104, 100));
}

TEST(MenuColours, FewColoursTakeTheEdgeFromTheButtonFace)
{
    const QColor crFace(160, 160, 160);
    const CMenuColours colours = MenuColours::FrameColours(MenuPalette(CLASSIC_FACE, Qt::white, crFace), 8);
    EXPECT_EQ(colours.crEdge, crFace);
    EXPECT_EQ(colours.crLight, QColor(249, 248, 247));
    // A face the palette screen shows as the light colour gives way.
    const CMenuColours merged =
        MenuColours::FrameColours(MenuPalette(CLASSIC_FACE, Qt::white, QColor(250, 250, 250)), 8);
    EXPECT_EQ(merged.crLight, QColor(Qt::white));
    EXPECT_EQ(merged.crEdge, CLASSIC_FACE);
}

TEST(MenuColours, DarkeningScalesEveryChannelWithRounding)
{
    EXPECT_EQ(MenuColours::Darken(qRgb(200, 100, 50), 30), qRgb(176, 88, 44));
    EXPECT_EQ(MenuColours::Darken(qRgb(200, 100, 50), 0), qRgb(200, 100, 50));
    EXPECT_EQ(MenuColours::Darken(qRgb(255, 255, 255), 255), qRgb(0, 0, 0));
}

TEST(MenuShadow, SoftBandsDarkenMostNextToTheMenuAndFadeAtTheirEnds)
{
    QImage img = Background();
    CMenuFrame::ShadeSoftBands(img);
    const int nW = MENU_SIZE.width();
    const int nH = MENU_SIZE.height();
    for (int nDepth = 1; nDepth <= CMenuFrame::SHADOW_WIDTH; ++nDepth) {
        SCOPED_TRACE(nDepth);
        const int nX = nW - nDepth;
        const int nY = nH - nDepth;
        for (int nStart = 0; nStart < 4; ++nStart) {
            EXPECT_EQ(img.pixelColor(nX, nStart), BACKGROUND);
            EXPECT_EQ(img.pixelColor(nStart, nY), BACKGROUND);
        }
        EXPECT_EQ(img.pixelColor(nX, 4), Darkened(6 * nDepth));
        EXPECT_EQ(img.pixelColor(nX, 7), Darkened(24 * nDepth));
        EXPECT_EQ(img.pixelColor(nX, nH / 2), Darkened(30 * nDepth));
        EXPECT_EQ(img.pixelColor(nX, nH - 5), Darkened(30 * nDepth));
        EXPECT_EQ(img.pixelColor(nX, nH - 4), Darkened(24 * nDepth));
        EXPECT_EQ(img.pixelColor(nX, nH - 1), Darkened(6 * nDepth));
        EXPECT_EQ(img.pixelColor(4, nY), Darkened(6 * nDepth));
        EXPECT_EQ(img.pixelColor(7, nY), Darkened(24 * nDepth));
        EXPECT_EQ(img.pixelColor(nW - 5, nY), Darkened(30 * nDepth));
    }
    // Under the menu itself nothing changes.
    EXPECT_EQ(img.copy(0, 0, nW - 4, nH - 4), Background(MENU_SIZE - QSize(4, 4)));
}

TEST(MenuShadow, FewColoursGiveAHardTwoPixelBand)
{
    QImage img = Background();
    CMenuFrame::ShadeHardBands(img, BUTTON_SHADOW);
    const int nW = MENU_SIZE.width();
    const int nH = MENU_SIZE.height();
    for (int nY = 0; nY < nH; ++nY) {
        SCOPED_TRACE(nY);
        const bool bPainted = nY >= 4 && nY <= nH - 3;
        EXPECT_EQ(img.pixelColor(nW - 4, nY), bPainted ? BUTTON_SHADOW : BACKGROUND);
        EXPECT_EQ(img.pixelColor(nW - 3, nY), bPainted ? BUTTON_SHADOW : BACKGROUND);
        EXPECT_EQ(img.pixelColor(nW - 2, nY), BACKGROUND);
        EXPECT_EQ(img.pixelColor(nW - 1, nY), BACKGROUND);
    }
    for (int nX = 0; nX < nW - 4; ++nX) {
        SCOPED_TRACE(nX);
        const QColor crExpected = nX >= 4 ? BUTTON_SHADOW : BACKGROUND;
        EXPECT_EQ(img.pixelColor(nX, nH - 4), crExpected);
        EXPECT_EQ(img.pixelColor(nX, nH - 3), crExpected);
        EXPECT_EQ(img.pixelColor(nX, nH - 2), BACKGROUND);
        EXPECT_EQ(img.pixelColor(nX, nH - 1), BACKGROUND);
    }
}

TEST(MenuSystemFacts, OnlyABlackAndWhitePaletteIsHighContrast)
{
    const QPalette paletteOld = QApplication::palette();
    QPalette palette = paletteOld;
    palette.setColor(QPalette::Window, QColor(240, 240, 240));
    palette.setColor(QPalette::WindowText, Qt::black);
    QApplication::setPalette(palette);
    EXPECT_FALSE(CMenuSystemFacts::Gather().bHighContrast);
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(palette);
    EXPECT_TRUE(CMenuSystemFacts::Gather().bHighContrast);
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    QApplication::setPalette(palette);
    EXPECT_TRUE(CMenuSystemFacts::Gather().bHighContrast);
    palette.setColor(QPalette::WindowText, Qt::white);
    QApplication::setPalette(palette);
    EXPECT_FALSE(CMenuSystemFacts::Gather().bHighContrast);
    QApplication::setPalette(paletteOld);
}

struct CPaintCase
{
    const char* pszName;
    bool bSystemShadows;
    bool bHighContrast;
};

TEST(MenuFrame, PaintsTheBoxesForEachKindOfDesktop)
{
    const CMenuColours colours = MenuColours::FrameColours(MenuPalette(CLASSIC_FACE, Qt::white), TRUE_COLOUR);
    const QColor crUntouched(1, 2, 3);
    const CPaintCase cases[] = {
        { "own shadow", false, false },
        { "system shadow", true, false },
        { "high contrast", false, true },
    };
    for (const CPaintCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CMenuSystemFacts facts;
        facts.bSystemShadows = c.bSystemShadows;
        facts.bHighContrast = c.bHighContrast;
        QImage img(MENU_SIZE, QImage::Format_RGB32);
        img.fill(crUntouched);
        {
            QPainter painter(&img);
            CMenuFrame(facts, colours).Paint(painter, MENU_SIZE, Background());
        }
        const int nOuter = c.bSystemShadows ? 0 : CMenuFrame::SHADOW_WIDTH;
        const int nRight = MENU_SIZE.width() - 1 - nOuter;
        const int nBottom = MENU_SIZE.height() - 1 - nOuter;
        const QColor crOuter = c.bHighContrast ? BUTTON_TEXT : colours.crDark;
        for (const QPoint& pt : { QPoint(0, 0), QPoint(nRight, 10), QPoint(10, nBottom), QPoint(nRight, nBottom) })
            EXPECT_EQ(img.pixelColor(pt), crOuter);
        EXPECT_EQ(img.pixelColor(10, 1), c.bHighContrast ? crUntouched : colours.crLight);
        EXPECT_EQ(img.pixelColor(nRight - 1, 10), c.bHighContrast ? crUntouched : colours.crLight);
        EXPECT_EQ(img.pixelColor(1, 10), c.bHighContrast ? crUntouched : colours.crEdge);
        EXPECT_EQ(img.pixelColor(10, 10), crUntouched);
        if (!c.bSystemShadows) {
            EXPECT_EQ(img.pixelColor(MENU_SIZE.width() - 1, 10), c.bHighContrast ? BACKGROUND : Darkened(30));
        }
    }
}

} // namespace
