#include "controls/SkinKeyboard.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include "controls/SkinButton.h"

namespace {

// The mark: a dotted outline, as the platform's own controls draw focus.
class CFocusMark : public QWidget
{
public:
    explicit CFocusMark(QWidget* pParent)
        : QWidget(pParent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

    void SetColor(const QColor& col)
    {
        m_col = col;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(m_col, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    QColor m_col;
};

bool IsPressKey(const QKeyEvent& event)
{
    const int nKey = event.key();
    const bool bKey = nKey == Qt::Key_Space || nKey == Qt::Key_Return || nKey == Qt::Key_Enter;
    // Enter on the keypad carries the keypad modifier.
    return bKey && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

CSkinKeyboard::CSkinKeyboard(QWidget& window)
    : QObject(&window)
    , m_window(window)
    , m_pMark(new CFocusMark(&window))
{
    connect(qApp, &QApplication::focusChanged, this, &CSkinKeyboard::FollowFocus);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &CSkinKeyboard::OnFocusWindowChanged);
}

QList<QWidget*> CSkinKeyboard::ReadingOrder(QList<QWidget*> arrWidgets)
{
    std::stable_sort(arrWidgets.begin(), arrWidgets.end(), [](const QWidget* pA, const QWidget* pB) {
        return pA->y() != pB->y() ? pA->y() < pB->y() : pA->x() < pB->x();
    });
    QList<QWidget*> arrOrdered;
    auto itRow = arrWidgets.begin();
    while (itRow != arrWidgets.end()) {
        const int nRowBottom = (*itRow)->geometry().bottom();
        const auto itNext = std::stable_partition(itRow + 1, arrWidgets.end(), [nRowBottom](const QWidget* pWidget) {
            return pWidget->geometry().center().y() <= nRowBottom;
        });
        std::stable_sort(itRow, itNext, [](const QWidget* pA, const QWidget* pB) { return pA->x() < pB->x(); });
        arrOrdered.append(QList<QWidget*>(itRow, itNext));
        itRow = itNext;
    }
    return arrOrdered;
}

void CSkinKeyboard::Attach(const QColor& colMark)
{
    static_cast<CFocusMark*>(m_pMark.data())->SetColor(colMark);
    QList<QWidget*> arrStops;
    const QList<QWidget*> arrChildren = m_window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : arrChildren) {
        if (qobject_cast<CSkinButton*>(pChild))
            pChild->installEventFilter(this);
        // Hidden ones too: Play and Pause take turns in one place. Those of
        // the skin going away leave the chain as they are deleted.
        if (pChild->focusPolicy() & Qt::TabFocus)
            arrStops.append(pChild);
    }
    arrStops = ReadingOrder(arrStops);
    for (qsizetype i = 1; i < arrStops.size(); ++i)
        QWidget::setTabOrder(arrStops[i - 1], arrStops[i]);
    FollowFocus();
}

bool CSkinKeyboard::IsMarked(const QWidget* pWidget) const
{
    return pWidget != nullptr && pWidget->hasFocus() && m_window.testAttribute(Qt::WA_KeyboardFocusChange);
}

QWidget* CSkinKeyboard::MarkedWidget() const
{
    return m_pMark && m_pMark->isVisible() ? m_pMarked.data() : nullptr;
}

void CSkinKeyboard::FollowFocus()
{
    if (!m_pMark)
        return;
    QWidget* pFocus = QApplication::focusWidget();
    const bool bMarked = pFocus && pFocus->parentWidget() == &m_window && IsMarked(pFocus);
    m_pMarked = bMarked ? pFocus : nullptr;
    if (!bMarked) {
        m_pMark->hide();
        return;
    }
    m_pMark->setGeometry(pFocus->geometry());
    m_pMark->raise();
    m_pMark->show();
}

void CSkinKeyboard::OnFocusWindowChanged(QWindow* pFocusWindow)
{
    if (pFocusWindow != nullptr && pFocusWindow->transientParent() == m_window.windowHandle())
        connect(pFocusWindow, &QWindow::visibleChanged, this, &CSkinKeyboard::OnDialogVisibleChanged,
                Qt::UniqueConnection);
}

void CSkinKeyboard::OnDialogVisibleChanged(bool bVisible)
{
    const QWindow* pFocusWindow = QGuiApplication::focusWindow();
    // Another program or window that took the focus keeps it.
    if (bVisible || (pFocusWindow != nullptr && pFocusWindow != sender()))
        return;
    if (!m_window.isVisible() || m_window.isMinimized())
        return;
    // The window's own focus widget, the control, gets the focus with it.
    m_window.activateWindow();
}

bool CSkinKeyboard::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type eType = pEvent->type();
    if (eType != QEvent::ShortcutOverride && eType != QEvent::KeyPress)
        return QObject::eventFilter(pWatched, pEvent);
    auto* pButton = qobject_cast<CSkinButton*>(pWatched);
    auto* pKey = static_cast<QKeyEvent*>(pEvent);
    // A button the user cannot see focused leaves Space to the window's
    // own key and Enter to nothing.
    if (pButton == nullptr || !IsMarked(pButton) || !IsPressKey(*pKey) || pKey->isAutoRepeat())
        return QObject::eventFilter(pWatched, pEvent);
    pEvent->accept();
    if (eType == QEvent::KeyPress)
        pButton->Click();
    return true;
}
