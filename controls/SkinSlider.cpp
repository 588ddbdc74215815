#include "controls/SkinSlider.h"

#include <algorithm>
#include <cmath>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/KeyedImage.h"
#include "controls/OffscreenDC.h"
#include "controls/SkinParent.h"

CSkinSlider::CSkinSlider(QWidget* pParent, ISkinParent& skinParent)
    : CSkinControl(pParent)
    , m_skinParent(skinParent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CSkinSlider::SetRange(int nMin, int nMax, bool bRedraw)
{
    m_nMin = nMin;
    m_nMax = nMax;
    if (bRedraw)
        update();
}

void CSkinSlider::SetPos(int nPos)
{
    m_nPos = std::max(std::min(nPos, m_nMax), m_nMin);
    update();
}

void CSkinSlider::MakeVertical(bool bVertical)
{
    m_bVertical = bVertical;
}

void CSkinSlider::EnableFocusFrame(bool bDraw, bool bRedraw)
{
    m_bDrawFocus = bDraw;
    if (bRedraw)
        update();
}

void CSkinSlider::SetTransparentColor(COLORREF crKey)
{
    m_crTransparent = crKey;
}

bool CSkinSlider::LoadChannelImage(const QString& strPath)
{
    const QImage image = LoadSkinImage(strPath, devicePixelRatioF());
    if (image.isNull()) {
        m_bmpChannel = QPixmap();
        return false;
    }
    m_bmpChannel = QPixmap::fromImage(image);
    m_nChannelWidth = LogicalSize(image).width();
    m_nChannelHeight = LogicalSize(image).height();
    m_bChannelLoaded = true;
    return true;
}

void CSkinSlider::ClearThumb()
{
    m_bmpThumb = QPixmap();
    m_bmpThumbMask = QBitmap();
    m_bmpThumbActive = QPixmap();
    m_bmpThumbActiveMask = QBitmap();
}

bool CSkinSlider::LoadThumbImages(const QString& strPath, const QString& strActivePath, bool bTransparent)
{
    if (strPath.isNull()) {
        m_bThumbLoaded = false;
        ClearThumb();
        return true;
    }
    const QImage thumb = LoadSkinImage(strPath, devicePixelRatioF());
    if (thumb.isNull()) {
        m_nWidth = m_nChannelWidth;
        m_nHeight = m_nChannelHeight;
        ResizeToImages();
        m_bThumbLoaded = false;
        return false;
    }
    m_bmpThumb = QPixmap::fromImage(thumb);
    if (bTransparent) {
        m_bmpThumbMask = BuildKeyMask(thumb, m_crTransparent);
        m_bmpThumb.setMask(m_bmpThumbMask);
    }
    if (strActivePath.isNull()) {
        m_bHasActiveThumb = false;
    } else {
        const QImage active = LoadSkinImage(strActivePath, devicePixelRatioF());
        if (active.isNull()) {
            m_bmpThumb = QPixmap();
            m_bmpThumbMask = QBitmap();
            return false;
        }
        m_bmpThumbActive = QPixmap::fromImage(active);
        if (bTransparent) {
            m_bmpThumbActiveMask = BuildKeyMask(active, m_crTransparent);
            m_bmpThumbActive.setMask(m_bmpThumbActiveMask);
        }
        m_bHasActiveThumb = true;
    }
    m_nThumbWidth = LogicalSize(thumb).width();
    m_nThumbHeight = LogicalSize(thumb).height();
    m_nWidth = std::max(m_nThumbWidth, m_nChannelWidth);
    m_nHeight = std::max(m_nThumbHeight, m_nChannelHeight);
    ResizeToImages();
    m_bThumbLoaded = true;
    return true;
}

void CSkinSlider::ResizeToImages()
{
    resize(m_nWidth, m_nHeight);
}

void CSkinSlider::SetTipText(const QString& strText, bool bActivate)
{
    setToolTip(bActivate ? strText : QString());
}

int CSkinSlider::Extent() const
{
    return m_bVertical ? height() : width();
}

int CSkinSlider::ThumbExtent() const
{
    return m_bVertical ? m_nThumbHeight : m_nThumbWidth;
}

int CSkinSlider::PositionToPixel(int nPos) const
{
    const int nThumb = ThumbExtent();
    // An empty range has no scale: the thumb stays at the start.
    if (m_nMax == m_nMin)
        return nThumb / 2;
    const double dFraction = double(nPos - m_nMin) / double(m_nMax - m_nMin);
    return nThumb / 2 + int(std::trunc(double(Extent() - nThumb) * dFraction));
}

int CSkinSlider::PixelToPosition(int nPixel) const
{
    const int nThumb = ThumbExtent();
    const int nTrack = Extent() - nThumb;
    // A thumb as long as the window leaves no track to map.
    if (nTrack <= 0)
        return m_nMin;
    const double dFraction = double(nPixel - nThumb / 2) / double(nTrack);
    return int(std::trunc(double(m_nMin) + dFraction * double(m_nMax - m_nMin)));
}

void CSkinSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    COffscreenDC offscreen(painter, rect(), true);
    if (m_bChannelLoaded)
        DrawChannel(offscreen.Painter());
    if (m_bThumbLoaded)
        DrawThumb(offscreen.Painter());
    if (m_bDrawFocus && m_bFocus) {
        offscreen.Painter().setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        offscreen.Painter().drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CSkinSlider::DrawChannel(QPainter& painter)
{
    m_backCopy.Draw(painter, m_skinParent, geometry());
    const int nPixel = PositionToPixel(m_nPos);
    if (m_bVertical) {
        const int nOffset = m_nThumbWidth != 0 ? std::abs(m_nThumbWidth - m_nChannelWidth) / 2 : 0;
        const int nRows = m_nChannelHeight - nPixel;
        if (nRows > 0)
            DrawPixmapPart(painter, QPoint(nOffset, nPixel), m_bmpChannel, QRect(0, nPixel, m_nChannelWidth, nRows));
    } else {
        const int nOffset = m_nThumbHeight != 0 ? std::abs(m_nThumbHeight - m_nChannelHeight) / 2 : 0;
        if (nPixel > 0)
            DrawPixmapPart(painter, QPoint(0, nOffset), m_bmpChannel, QRect(0, 0, nPixel, m_nChannelHeight));
    }
}

void CSkinSlider::DrawThumb(QPainter& painter) const
{
    const QPixmap& image = m_bHasActiveThumb && m_bDragging ? m_bmpThumbActive : m_bmpThumb;
    const int nPixel = PositionToPixel(m_nPos);
    if (m_bVertical)
        painter.drawPixmap(0, nPixel - m_nThumbHeight / 2, image);
    else
        painter.drawPixmap(nPixel - m_nThumbWidth / 2, 0, image);
}

void CSkinSlider::TrackMouse(const QPoint& pt)
{
    const int nHalfThumb = ThumbExtent() / 2;
    const int nCoordinate = m_bVertical ? pt.y() : pt.x();
    const int nClamped = std::clamp(nCoordinate, nHalfThumb, std::max(nHalfThumb, Extent() - nHalfThumb));
    SetPos(PixelToPosition(nClamped));
    m_skinParent.OnSliderChanged(m_nIndex, GetPos());
}

void CSkinSlider::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_bDragging = true;
    TrackMouse(pEvent->position().toPoint());
    update();
}

void CSkinSlider::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_bDragging)
        TrackMouse(pEvent->position().toPoint());
}

void CSkinSlider::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    m_bDragging = false;
    update();
}

void CSkinSlider::keyPressEvent(QKeyEvent* pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_PageUp:
        SetPos(m_nPos - m_nPage);
        break;
    case Qt::Key_PageDown:
        SetPos(m_nPos + m_nPage);
        break;
    case Qt::Key_End:
        SetPos(m_nMax);
        break;
    case Qt::Key_Home:
        SetPos(m_nMin);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        SetPos(m_nPos + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        SetPos(m_nPos - 1);
        break;
    default:
        QWidget::keyPressEvent(pEvent);
        return;
    }
    pEvent->accept();
}

void CSkinSlider::focusInEvent(QFocusEvent* pEvent)
{
    QWidget::focusInEvent(pEvent);
    m_bFocus = true;
    update();
}

void CSkinSlider::focusOutEvent(QFocusEvent* pEvent)
{
    QWidget::focusOutEvent(pEvent);
    m_bFocus = false;
    update();
}
