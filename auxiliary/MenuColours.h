#pragma once

#include <QColor>
#include <QRgb>

class QPalette;

// The colours of the flat menu frame, mixed from the menu's palette.
struct CMenuColours
{
    QColor crMenu;
    QColor crWindow;
    QColor crLight;
    QColor crDark;
    QColor crEdge;
    QColor crButtonText;
    QColor crButtonShadow;
};

namespace MenuColours {

// Screens of this depth or less show at most 256 colours.
inline constexpr int PALETTE_SCREEN_DEPTH = 8;

// Per channel, nPercentFirst % of first and the rest of second, rounded.
QColor Mix(const QColor& first, const QColor& second, int nPercentFirst);
// Every channel times nNumerator / nDenominator, rounded.
QRgb Scale(QRgb rgb, int nNumerator, int nDenominator);
// Every channel times (255 - nAmount) / 255, rounded: 0 leaves the colour.
QRgb Darken(QRgb rgb, int nAmount);
// The colour a screen of nDepth bits per pixel actually shows for colour.
QColor NearestScreenColour(const QColor& colour, int nDepth);
// The frame colours for a menu drawn with palette on a screen of nDepth.
CMenuColours FrameColours(const QPalette& palette, int nDepth);

} // namespace MenuColours
