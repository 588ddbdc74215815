#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "controls/SkinParent.h"

// The part of the window's skin background under a control, copied on the
// control's first paint and drawn under everything else from then on. Taken
// once: the window builds its background copy before its controls first
// paint, and a new skin replaces the controls rather than refreshing them.
class CCapturedBackground
{
public:
    // rcControl: the control's rectangle in its parent's client coordinates.
    // Draws nothing while the window has no background.
    void Draw(QPainter& painter, const ISkinParent& skinParent, const QRect& rcControl)
    {
        if (!m_bTaken) {
            const QImage& background = skinParent.BackgroundCopy();
            // A double-resolution background keeps its ratio in the copy.
            const qreal dRatio = background.devicePixelRatio();
            if (!background.isNull())
                m_bmpBack = background.copy(
                    QRectF(QPointF(rcControl.topLeft()) * dRatio, QSizeF(rcControl.size()) * dRatio).toRect());
            m_bTaken = true;
        }
        if (!m_bmpBack.isNull())
            painter.drawImage(0, 0, m_bmpBack);
    }

private:
    QImage m_bmpBack;
    bool m_bTaken = false;
};
