#include "controls/SkinButton.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "controls/KeyedImage.h"
#include "controls/SkinParent.h"

CSkinButton::CSkinButton(QWidget* pParent, ISkinParent& skinParent)
    : CSkinControl(pParent)
    , m_skinParent(skinParent)
{
    // A tab stop, but a click leaves the focus where it was (in the title
    // box, say): the keyboard presses buttons through CSkinKeyboard.
    setFocusPolicy(Qt::TabFocus);
    // The highlight starts on a mouse move, as it does for the window's
    // own buttons, so moves are needed without a button held.
    setMouseTracking(true);
    // Key-coloured pixels show whatever the window painted beneath.
    setAttribute(Qt::WA_NoSystemBackground);
}

bool CSkinButton::LoadStrip(const QString& strPath, int nLeft, int nTop, int nRight, int nBottom)
{
    if (strPath.isEmpty())
        return false;
    const QImage strip = LoadSkinImage(strPath, devicePixelRatioF());
    const int nFrameWidth = strip.width() / FRAME_COUNT;
    const QSize controlSize(nRight - nLeft, nBottom - nTop);
    if (strip.isNull() || nFrameWidth == 0 || controlSize.isEmpty())
        return false;
    // A double-resolution strip is cut and scaled in its own pixels.
    const qreal dRatio = strip.devicePixelRatio();
    for (int i = 0; i < FRAME_COUNT; ++i) {
        // Nearest-pixel scaling keeps key-coloured pixels exactly the key,
        // so no blended fringe survives the masking.
        QImage frame = strip.copy(i * nFrameWidth, 0, nFrameWidth, strip.height())
                           .scaled(controlSize * dRatio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        frame.setDevicePixelRatio(dRatio);
        m_arrFrames[i] = KeyedPixmap(frame, m_crTransparent);
    }
    update();
    return true;
}

void CSkinButton::SetTipText(const QString& strText, bool bActivate)
{
    setToolTip(bActivate ? strText : QString());
}

void CSkinButton::SetChecked(bool bChecked)
{
    if (bChecked == m_bChecked)
        return;
    m_bChecked = bChecked;
    update();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void CSkinButton::SetLatched(bool bLatched)
{
    m_bLatched = bLatched;
    update();
}

bool CSkinButton::IsSelected() const
{
    return m_bPressed && m_bPressedInside;
}

CSkinButton::EFrame CSkinButton::CurrentFrame() const
{
    if (m_bLatched)
        return m_bChecked ? EFrame::Down : EFrame::Normal;
    if (m_bChecked && !m_bHover)
        return EFrame::Down;
    if (IsSelected())
        return EFrame::Down;
    if (m_bHover)
        return EFrame::Hover;
    if (!isEnabled())
        return EFrame::Disabled;
    return EFrame::Normal;
}

void CSkinButton::paintEvent(QPaintEvent*)
{
    const QPixmap& frame = m_arrFrames[int(CurrentFrame())];
    if (frame.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, frame);
}

void CSkinButton::OnClickInside()
{
    m_skinParent.OnButtonClicked(m_nIndex);
}

void CSkinButton::Click()
{
    if (!isEnabled())
        return;
    // As a click, the parent may replace this button while it hears of it.
    const QPointer<CSkinButton> pAlive(this);
    OnClickInside();
    if (pAlive)
        update();
}

bool CSkinButton::CanStartHover() const
{
    return true;
}

void CSkinButton::StartHoverIfAllowed()
{
    if (m_bHover || !isEnabled() || !CanStartHover())
        return;
    // A drag that began elsewhere starts no highlight.
    if (QApplication::mouseButtons() & Qt::LeftButton)
        return;
    // While the application is not active, no highlight starts.
    if (QApplication::activeWindow() == nullptr || parentWidget() == nullptr)
        return;
    SetHover(true);
}

void CSkinButton::SetHover(bool bHover)
{
    if (bHover == m_bHover)
        return;
    m_bHover = bHover;
    update();
}

void CSkinButton::enterEvent(QEnterEvent* pEvent)
{
    QWidget::enterEvent(pEvent);
    StartHoverIfAllowed();
}

void CSkinButton::leaveEvent(QEvent* pEvent)
{
    QWidget::leaveEvent(pEvent);
    SetHover(false);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* pEvent)
{
    QWidget::mouseMoveEvent(pEvent);
    const bool bInside = rect().contains(pEvent->position().toPoint());
    if (m_bPressed && bInside != m_bPressedInside) {
        m_bPressedInside = bInside;
        update();
    }
    if (!bInside)
        SetHover(false);
    else if (!m_bPressed)
        StartHoverIfAllowed();
}

void CSkinButton::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(pEvent);
        return;
    }
    m_bPressed = true;
    m_bPressedInside = true;
    update();
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || !m_bPressed) {
        QWidget::mouseReleaseEvent(pEvent);
        return;
    }
    m_bPressed = false;
    m_bPressedInside = false;
    update();
    if (!rect().contains(pEvent->position().toPoint()))
        return;
    m_bHover = false;
    // The parent learns of the click before the button finishes its own
    // release, and may replace the whole skin (and this button) meanwhile.
    const QPointer<CSkinButton> pAlive(this);
    OnClickInside();
    if (pAlive)
        update();
}

bool CSkinButton::event(QEvent* pEvent)
{
    // A window's ActivationChange stays with the window; its child widgets
    // learn of the deactivation only through WindowDeactivate.
    if (pEvent->type() == QEvent::WindowDeactivate)
        SetHover(false);
    return QWidget::event(pEvent);
}

void CSkinButton::changeEvent(QEvent* pEvent)
{
    QWidget::changeEvent(pEvent);
    if (pEvent->type() == QEvent::EnabledChange)
        update();
}
