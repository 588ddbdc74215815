#pragma once

#include <QColor>
#include <QPainter>
#include <QPixmap>
#include <QRect>

// Collects one paint of a control in a pixmap and puts it on the target in a
// single copy, so a control that draws background, fill and images in layers
// never shows the layers one by one.
class COffscreenDC
{
public:
    // With bCopyBackground the picture starts as what already lies under rc
    // on the target (Qt paints the parent beneath a non-opaque widget first,
    // so blank pixels let that through); otherwise it starts filled with
    // crFill.
    COffscreenDC(QPainter& target, const QRect& rc, bool bCopyBackground, const QColor& crFill = QColor());
    ~COffscreenDC();

    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

    // Draws in the target's coordinates.
    QPainter& Painter() { return m_painter; }

private:
    QPainter& m_target;
    QRect m_rect;
    QPixmap m_bmpOffscreen;
    QPainter m_painter;
};
