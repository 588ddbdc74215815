#include "controls/SkinScrollBar.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "controls/KeyedImage.h"
#include "controls/OffscreenDC.h"
#include "controls/ScrollBarOwner.h"

namespace {

// Loads a normal/pressed pair; both stay empty unless both load.
bool LoadPair(const QString& strNormal, const QString& strPressed, qreal dDevicePixelRatio, QPixmap& bmpNormal,
              QPixmap& bmpPressed)
{
    const QImage normal = LoadSkinImage(strNormal, dDevicePixelRatio);
    const QImage pressed = LoadSkinImage(strPressed, dDevicePixelRatio);
    if (normal.isNull() || pressed.isNull())
        return false;
    bmpNormal = QPixmap::fromImage(normal);
    bmpPressed = QPixmap::fromImage(pressed);
    return true;
}

} // namespace

CSkinScrollBar::CSkinScrollBar(QWidget* pParent)
    : QWidget(pParent)
    , m_timerFirstRepeat(this)
    , m_timerRepeat(this)
{
    // Mouse-over images follow the mouse without a button held.
    setMouseTracking(true);
    m_timerFirstRepeat.setSingleShot(true);
    m_timerFirstRepeat.setInterval(FIRST_REPEAT_DELAY_MS);
    m_timerRepeat.setInterval(REPEAT_INTERVAL_MS);
    connect(&m_timerFirstRepeat, &QTimer::timeout, this, &CSkinScrollBar::OnFirstRepeat);
    connect(&m_timerRepeat, &QTimer::timeout, this, &CSkinScrollBar::OnRepeat);
}

void CSkinScrollBar::LoadStrip(const QStringList& arrPaths)
{
    const auto path = [&arrPaths](int nImage) { return arrPaths.value(nImage); };
    const qreal dRatio = devicePixelRatioF();
    if (LoadPair(path(eUp), path(eUpPressed), dRatio, m_bmpUp, m_bmpUpPressed)) {
        m_nUpWidth = LogicalSize(m_bmpUp).width();
        m_nUpHeight = LogicalSize(m_bmpUp).height();
    }
    if (LoadPair(path(eDown), path(eDownPressed), dRatio, m_bmpDown, m_bmpDownPressed)) {
        m_nDownWidth = LogicalSize(m_bmpDown).width();
        m_nDownHeight = LogicalSize(m_bmpDown).height();
    }
    if (LoadPair(path(eThumb), path(eThumbPressed), dRatio, m_bmpThumb, m_bmpThumbPressed)) {
        m_nThumbWidth = LogicalSize(m_bmpThumb).width();
        m_nThumbHeight = LogicalSize(m_bmpThumb).height();
    }
    const QImage channel = LoadSkinImage(path(eChannel), dRatio);
    if (!channel.isNull()) {
        m_bmpChannel = QPixmap::fromImage(channel);
        m_nChannelWidth = LogicalSize(channel).width();
        m_nChannelHeight = LogicalSize(channel).height();
    }
    m_nThumbTop = m_nUpHeight;
    m_nBarWidth = m_nUpWidth;
}

QColor CSkinScrollBar::FillColor() const
{
    return ColorFromRef(m_crFill, palette().color(QPalette::Base));
}

int CSkinScrollBar::ScrollLimit() const
{
    return m_pOwner ? m_pOwner->GetScrollLimit() : 0;
}

int CSkinScrollBar::Track() const
{
    return height() - (m_nUpHeight + m_nDownHeight + m_nThumbHeight);
}

void CSkinScrollBar::UpdateThumb()
{
    const int nLimit = ScrollLimit();
    // A list that cannot scroll keeps the thumb at the top.
    if (nLimit <= 0) {
        m_dRatio = 0.0;
        m_nThumbTop = m_nUpHeight;
    } else {
        m_dRatio = double(Track()) / double(nLimit);
        m_nThumbTop = m_nUpHeight + int(std::trunc(double(m_pOwner->GetScrollPos()) * m_dRatio));
    }
    LimitThumb();
    update();
}

void CSkinScrollBar::LimitThumb()
{
    if (m_nThumbTop + m_nThumbHeight > height() - m_nDownHeight)
        m_nThumbTop = height() - (m_nDownHeight + m_nThumbHeight);
    if (m_nThumbTop < m_nUpHeight)
        m_nThumbTop = m_nUpHeight;
}

QRect CSkinScrollBar::UpRect() const
{
    return QRect(0, 0, m_nUpWidth, m_nUpHeight);
}

QRect CSkinScrollBar::DownRect() const
{
    return QRect(0, height() - m_nDownHeight, m_nDownWidth, m_nDownHeight);
}

QRect CSkinScrollBar::ThumbRect() const
{
    return QRect(0, m_nThumbTop, m_nThumbWidth, m_nThumbHeight);
}

void CSkinScrollBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    COffscreenDC offscreen(painter, rect(), false, palette().color(QPalette::Window));
    QPainter& dc = offscreen.Painter();
    if (ScrollLimit() <= 0) {
        dc.fillRect(rect(), FillColor());
        return;
    }
    if (!m_bmpChannel.isNull())
        dc.drawPixmap(QRect(0, 0, m_nUpWidth, height()), m_bmpChannel);
    if (m_nUpHeight > 0)
        dc.drawPixmap(0, 0, m_bUpDown ? m_bmpUpPressed : m_bmpUp);
    if (m_nDownHeight > 0)
        dc.drawPixmap(0, height() - m_nDownHeight, m_bDownDown ? m_bmpDownPressed : m_bmpDown);
    if (m_nThumbHeight > 0)
        dc.drawPixmap(0, m_nThumbTop, m_bThumbDown ? m_bmpThumbPressed : m_bmpThumb);
}

void CSkinScrollBar::ScrollLines(int nLines)
{
    if (m_pOwner)
        m_pOwner->ScrollLines(nLines);
    UpdateThumb();
}

void CSkinScrollBar::ScrollPages(int nPages)
{
    if (m_pOwner)
        m_pOwner->ScrollPages(nPages);
    UpdateThumb();
}

void CSkinScrollBar::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    m_bButtonHeld = true;
    const QPoint pt = pEvent->position().toPoint();
    if (ThumbRect().contains(pt)) {
        m_bThumbDown = true;
    } else if (DownRect().contains(pt)) {
        m_bDownDown = true;
        m_timerFirstRepeat.start();
    } else if (UpRect().contains(pt)) {
        m_bUpDown = true;
        m_timerFirstRepeat.start();
    }
    update();
}

void CSkinScrollBar::OnFirstRepeat()
{
    if (m_bUpDown || m_bDownDown)
        m_timerRepeat.start();
}

void CSkinScrollBar::OnRepeat()
{
    if (m_bDownDown && m_bButtonHeld)
        ScrollLines(1);
    if (m_bUpDown && m_bButtonHeld)
        ScrollLines(-1);
}

void CSkinScrollBar::StopRepeat()
{
    m_timerFirstRepeat.stop();
    m_timerRepeat.stop();
}

void CSkinScrollBar::DragThumb(int y)
{
    m_nThumbTop = y - m_nThumbHeight / 2;
    const int nLimit = ScrollLimit();
    const int nTrack = Track();
    if (nLimit > 0 && nTrack > 0) {
        m_dRatio = double(nTrack) / double(nLimit);
        const int nTarget = int(std::trunc(double(m_nThumbTop - m_nUpHeight) / m_dRatio));
        m_pOwner->ScrollLines(nTarget - m_pOwner->GetScrollPos());
    }
    LimitThumb();
}

void CSkinScrollBar::TrackHover(const QPoint& pt)
{
    m_bUpDown = UpRect().contains(pt);
    m_bDownDown = DownRect().contains(pt);
    m_bThumbDown = ThumbRect().contains(pt);
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    if (m_bThumbDown && m_bButtonHeld)
        DragThumb(pt.y());
    else
        TrackHover(pt);
    update();
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    const QPoint pt = pEvent->position().toPoint();
    UpdateThumb();
    StopRepeat();
    m_bButtonHeld = false;
    bool bScrolled = false;
    if (UpRect().contains(pt) && m_bUpDown) {
        ScrollLines(-1);
        bScrolled = true;
    } else if (DownRect().contains(pt) && m_bDownDown) {
        ScrollLines(1);
        bScrolled = true;
    }
    if (!bScrolled && !ThumbRect().contains(pt) && !m_bThumbDown)
        ScrollPages(m_nThumbTop < pt.y() ? 1 : -1);
    m_bUpDown = false;
    m_bDownDown = false;
    m_bThumbDown = false;
    update();
}

void CSkinScrollBar::leaveEvent(QEvent* pEvent)
{
    // Leaving without a button held ends the mouse-over images.
    if (!m_bButtonHeld)
        TrackHover(QPoint(-1, -1));
    update();
    QWidget::leaveEvent(pEvent);
}
