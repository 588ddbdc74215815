#include "controls/OffscreenDC.h"

#include <QPaintDevice>

COffscreenDC::COffscreenDC(QPainter& target, const QRect& rc, bool bCopyBackground, const QColor& crFill)
    : m_target(target)
    , m_rect(rc)
{
    const qreal dPixelRatio = target.device() ? target.device()->devicePixelRatioF() : 1.0;
    m_bmpOffscreen = QPixmap(rc.size() * dPixelRatio);
    m_bmpOffscreen.setDevicePixelRatio(dPixelRatio);
    m_bmpOffscreen.fill(bCopyBackground ? QColor(Qt::transparent) : crFill);
    m_painter.begin(&m_bmpOffscreen);
    m_painter.translate(-rc.topLeft());
}

COffscreenDC::~COffscreenDC()
{
    m_painter.end();
    m_target.drawPixmap(m_rect.topLeft(), m_bmpOffscreen);
}
