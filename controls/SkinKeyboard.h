#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

class CSkinButton;

// The keyboard's way through a skinned window: its controls become tab stops
// in reading order, the focused one wears a dotted mark once the keyboard
// has moved the focus, and Space or Enter presses a marked button. Skins
// place controls anywhere, so the order comes from where they stand. When
// one of the window's dialogs closes, the focus returns to the control that
// had it.
class CSkinKeyboard : public QObject
{
    Q_OBJECT

public:
    explicit CSkinKeyboard(QWidget& window);

    // Top to bottom, left to right: a control belongs to the row of the
    // topmost one still unplaced when its middle lies above that one's
    // bottom edge; a row reads from left to right.
    static QList<QWidget*> ReadingOrder(QList<QWidget*> arrWidgets);

    // After the window's controls were made anew: chains its tab stops in
    // reading order and lets the keyboard press its buttons. The mark is
    // drawn in colMark.
    void Attach(const QColor& colMark);

    // Whether the focused control shows the mark: it has the focus, and the
    // keyboard moved it there (or somewhere in the window) before.
    bool IsMarked(const QWidget* pWidget) const;
    // The widget the mark stands on; null while none is marked.
    QWidget* MarkedWidget() const;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void FollowFocus();
    // A dialog of the window that closes and leaves no other window
    // focused (as without a window manager) gives the focus back to the
    // window, and so to the control that opened it.
    void OnFocusWindowChanged(QWindow* pFocusWindow);
    void OnDialogVisibleChanged(bool bVisible);

    QWidget& m_window;
    // A child of the window, above every control, taking no input.
    QPointer<QWidget> m_pMark;
    QPointer<QWidget> m_pMarked;
};
