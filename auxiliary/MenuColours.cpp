#include "auxiliary/MenuColours.h"

#include <QPalette>

namespace MenuColours {

namespace {

constexpr int PERCENT = 100;
constexpr int CHANNEL_MAX = 255;
// The light colour leans on the window colour, the edge on the menu colour.
constexpr int MAJOR_SHARE_PERCENT = 86;
// The dark outer line is the menu colour at about half its brightness.
constexpr int DARK_NUMERATOR = 127;
constexpr int HIGH_COLOUR_DEPTH = 16;
constexpr int HIGH_COLOUR_GREEN_BITS = 6;
constexpr int HIGH_COLOUR_OTHER_BITS = 5;
// A palette screen shows colours through a 3-3-2 bit colour cube.
constexpr int PALETTE_RED_BITS = 3;
constexpr int PALETTE_GREEN_BITS = 3;
constexpr int PALETTE_BLUE_BITS = 2;
constexpr int CHANNEL_BITS = 8;

int RoundedDivision(int nValue, int nDivisor)
{
    return (nValue + nDivisor / 2) / nDivisor;
}

int MixChannel(int nFirst, int nSecond, int nPercentFirst)
{
    return RoundedDivision(nFirst * nPercentFirst + nSecond * (PERCENT - nPercentFirst), PERCENT);
}

// The channel value shown when only the top nBits of it reach the screen,
// spread back over the full range.
int QuantiseChannel(int nChannel, int nBits)
{
    const int nLevels = (1 << nBits) - 1;
    return RoundedDivision(RoundedDivision(nChannel * nLevels, CHANNEL_MAX) * CHANNEL_MAX, nLevels);
}

} // namespace

QColor Mix(const QColor& first, const QColor& second, int nPercentFirst)
{
    return QColor(MixChannel(first.red(), second.red(), nPercentFirst),
                  MixChannel(first.green(), second.green(), nPercentFirst),
                  MixChannel(first.blue(), second.blue(), nPercentFirst));
}

QRgb Scale(QRgb rgb, int nNumerator, int nDenominator)
{
    return qRgb(RoundedDivision(qRed(rgb) * nNumerator, nDenominator),
                RoundedDivision(qGreen(rgb) * nNumerator, nDenominator),
                RoundedDivision(qBlue(rgb) * nNumerator, nDenominator));
}

QRgb Darken(QRgb rgb, int nAmount)
{
    return Scale(rgb, CHANNEL_MAX - nAmount, CHANNEL_MAX);
}

QColor NearestScreenColour(const QColor& colour, int nDepth)
{
    if (nDepth > HIGH_COLOUR_DEPTH)
        return colour.toRgb();
    const bool bPalette = nDepth <= PALETTE_SCREEN_DEPTH;
    const int nRedBits = bPalette ? PALETTE_RED_BITS : HIGH_COLOUR_OTHER_BITS;
    const int nGreenBits =
        bPalette ? PALETTE_GREEN_BITS : (nDepth == HIGH_COLOUR_DEPTH ? HIGH_COLOUR_GREEN_BITS : HIGH_COLOUR_OTHER_BITS);
    const int nBlueBits = bPalette ? PALETTE_BLUE_BITS : HIGH_COLOUR_OTHER_BITS;
    static_assert(PALETTE_RED_BITS + PALETTE_GREEN_BITS + PALETTE_BLUE_BITS == CHANNEL_BITS);
    return QColor(QuantiseChannel(colour.red(), nRedBits), QuantiseChannel(colour.green(), nGreenBits),
                  QuantiseChannel(colour.blue(), nBlueBits));
}

CMenuColours FrameColours(const QPalette& palette, int nDepth)
{
    CMenuColours colours;
    colours.crMenu = palette.color(QPalette::Window);
    colours.crWindow = palette.color(QPalette::Base);
    colours.crButtonText = palette.color(QPalette::ButtonText);
    // Dark, not Shadow: it is the role of the grey line under a raised button.
    colours.crButtonShadow = palette.color(QPalette::Dark);
    colours.crLight = Mix(colours.crWindow, colours.crMenu, MAJOR_SHARE_PERCENT);
    colours.crDark = QColor::fromRgb(Scale(colours.crMenu.rgb(), DARK_NUMERATOR, CHANNEL_MAX));
    colours.crEdge = nDepth <= PALETTE_SCREEN_DEPTH ? palette.color(QPalette::Button)
                                                    : Mix(colours.crMenu, colours.crWindow, MAJOR_SHARE_PERCENT);
    // Two lines the screen cannot tell apart would draw as one.
    if (NearestScreenColour(colours.crLight, nDepth) == NearestScreenColour(colours.crEdge, nDepth)) {
        colours.crLight = colours.crWindow;
        colours.crEdge = colours.crMenu;
    }
    return colours;
}

} // namespace MenuColours
