#pragma once

#include <QImage>
#include <QMargins>
#include <QRect>
#include <QSize>

#include "auxiliary/MenuColours.h"
#include "auxiliary/MenuSystemFacts.h"

class QPainter;

// The flat two-colour frame of a popup menu and, where the desktop draws no
// menu shadows, the soft shadow on its right and bottom: a dark outer box, a
// light inner box with an edge line down its left side, items inside.
class CMenuFrame
{
public:
    // The band the shadow takes on the right and at the bottom.
    static constexpr int SHADOW_WIDTH = 4;

    CMenuFrame(const CMenuSystemFacts& facts, const CMenuColours& colours);

    // Where the items lie inside the menu window.
    static QMargins ClientInsets(bool bSystemShadows);

    // Paints the frame of a menu window of that size over what the menu drew.
    // imgUnder is what the screen showed under the window, the same size;
    // the shadow darkens it. With system shadows it is not used.
    void Paint(QPainter& painter, const QSize& size, const QImage& imgUnder) const;

    // The shadow bands darkened into img, a copy of the screen under a menu
    // window of img's size: the darkest next to the menu, fading outwards
    // and towards both ends.
    static void ShadeSoftBands(QImage& img);
    // For screens of few colours: a hard 2-pixel band in crShadow.
    static void ShadeHardBands(QImage& img, const QColor& crShadow);

private:
    // The menu window less the shadow bands.
    QRect OuterBox(const QSize& size) const;
    void PaintBoxes(QPainter& painter, const QRect& rcOuter) const;
    void PaintShadow(QPainter& painter, const QSize& size, const QImage& imgUnder) const;

    CMenuSystemFacts m_facts;
    CMenuColours m_colours;
};
