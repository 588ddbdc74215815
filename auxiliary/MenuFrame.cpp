#include "auxiliary/MenuFrame.h"

#include <algorithm>

#include <QPainter>

namespace {

// Items keep clear of the two frame lines on every side; without system
// shadows they keep clear of the shadow too.
constexpr int FRAME_INSET = 2;
// Where the shadow starts and stops, counted from the menu's top or left
// edge: the first pixels show the screen unchanged, so the shadow seems to
// come from under the menu.
constexpr int SHADOW_CLEAR_LENGTH = 4;
// Darkening grows by this much a step along the fade and a step of depth.
constexpr int SHADOW_STEP = 6;
// Fade steps until the full darkness: 5 steps of 6 give 30 a pixel of depth.
constexpr int SHADOW_FULL_STEPS = 5;
// On few colours only the inner half of each band is painted.
constexpr int HARD_SHADOW_WIDTH = 2;

// One-pixel outline of rc.
void Box(QPainter& painter, const QRect& rc, const QColor& colour)
{
    painter.fillRect(QRect(rc.left(), rc.top(), rc.width(), 1), colour);
    painter.fillRect(QRect(rc.left(), rc.bottom(), rc.width(), 1), colour);
    painter.fillRect(QRect(rc.left(), rc.top(), 1, rc.height()), colour);
    painter.fillRect(QRect(rc.right(), rc.top(), 1, rc.height()), colour);
}

// How many fade steps darken the pixel at nPos of a band nLength long;
// bFadeAtEnd lets it fade out again over its last pixels.
int FadeSteps(int nPos, int nLength, bool bFadeAtEnd)
{
    const int nToEnd = nLength - nPos;
    if (nPos < SHADOW_CLEAR_LENGTH)
        return 0;
    if (bFadeAtEnd && nToEnd <= SHADOW_CLEAR_LENGTH)
        return nToEnd;
    return std::min(nPos - SHADOW_CLEAR_LENGTH + 1, SHADOW_FULL_STEPS);
}

void DarkenPixel(QImage& img, int nX, int nY, int nAmount)
{
    img.setPixel(nX, nY, MenuColours::Darken(img.pixel(nX, nY), nAmount));
}

} // namespace

CMenuFrame::CMenuFrame(const CMenuSystemFacts& facts, const CMenuColours& colours)
    : m_facts(facts)
    , m_colours(colours)
{
}

QMargins CMenuFrame::ClientInsets(bool bSystemShadows)
{
    const int nFar = FRAME_INSET + (bSystemShadows ? 0 : SHADOW_WIDTH);
    return QMargins(FRAME_INSET, FRAME_INSET, nFar, nFar);
}

QRect CMenuFrame::OuterBox(const QSize& size) const
{
    const int nShadow = m_facts.bSystemShadows ? 0 : SHADOW_WIDTH;
    return QRect(QPoint(0, 0), size - QSize(nShadow, nShadow));
}

void CMenuFrame::Paint(QPainter& painter, const QSize& size, const QImage& imgUnder) const
{
    const QRect rcOuter = OuterBox(size);
    if (m_facts.bHighContrast)
        Box(painter, rcOuter, m_colours.crButtonText);
    else
        PaintBoxes(painter, rcOuter);
    if (!m_facts.bSystemShadows)
        PaintShadow(painter, size, imgUnder);
}

void CMenuFrame::PaintBoxes(QPainter& painter, const QRect& rcOuter) const
{
    const QRect rcInner = rcOuter.adjusted(1, 1, -1, -1);
    Box(painter, rcInner, m_colours.crLight);
    painter.fillRect(QRect(rcInner.left(), rcInner.top() + 1, 1, rcInner.height() - 2), m_colours.crEdge);
    Box(painter, rcOuter, m_colours.crDark);
}

void CMenuFrame::PaintShadow(QPainter& painter, const QSize& size, const QImage& imgUnder) const
{
    QImage imgBands = imgUnder.convertToFormat(QImage::Format_RGB32);
    if (imgBands.size() != size)
        return;
    // A high-contrast menu casts no shadow: the bands show the screen as is.
    if (!m_facts.bHighContrast) {
        if (m_facts.FewColours())
            ShadeHardBands(imgBands, m_colours.crButtonShadow);
        else
            ShadeSoftBands(imgBands);
    }
    const QRect rcRight(size.width() - SHADOW_WIDTH, 0, SHADOW_WIDTH, size.height());
    const QRect rcBottom(0, size.height() - SHADOW_WIDTH, size.width() - SHADOW_WIDTH, SHADOW_WIDTH);
    painter.drawImage(rcRight, imgBands, rcRight);
    painter.drawImage(rcBottom, imgBands, rcBottom);
}

void CMenuFrame::ShadeSoftBands(QImage& img)
{
    const int nWidth = img.width();
    const int nHeight = img.height();
    for (int nDepth = 1; nDepth <= SHADOW_WIDTH && nDepth <= std::min(nWidth, nHeight); ++nDepth) {
        for (int nY = 0; nY < nHeight; ++nY)
            DarkenPixel(img, nWidth - nDepth, nY, SHADOW_STEP * nDepth * FadeSteps(nY, nHeight, true));
        // The corner belongs to the right band.
        for (int nX = 0; nX < nWidth - SHADOW_WIDTH; ++nX)
            DarkenPixel(img, nX, nHeight - nDepth, SHADOW_STEP * nDepth * FadeSteps(nX, nWidth, false));
    }
}

void CMenuFrame::ShadeHardBands(QImage& img, const QColor& crShadow)
{
    const int nWidth = img.width();
    const int nHeight = img.height();
    const QRgb rgbShadow = crShadow.rgb();
    for (int nDepth = HARD_SHADOW_WIDTH + 1; nDepth <= SHADOW_WIDTH && nDepth <= std::min(nWidth, nHeight); ++nDepth) {
        for (int nY = SHADOW_CLEAR_LENGTH; nY < nHeight - HARD_SHADOW_WIDTH; ++nY)
            img.setPixel(nWidth - nDepth, nY, rgbShadow);
        for (int nX = SHADOW_CLEAR_LENGTH; nX < nWidth - SHADOW_WIDTH; ++nX)
            img.setPixel(nX, nHeight - nDepth, rgbShadow);
    }
}
