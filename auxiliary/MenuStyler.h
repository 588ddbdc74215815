#pragma once

#include <QHash>
#include <QImage>
#include <QMargins>
#include <QObject>
#include <QPoint>

#include "auxiliary/MenuSystemFacts.h"

class QMenu;

// Gives every popup menu of the application's thread the flat frame and,
// where the desktop draws no menu shadows, a soft shadow: whatever creates
// the menu (a window's own menu, an edit box's context menu), nothing else
// of the program knows. Each showing of a menu is styled afresh and undone
// when it hides. Items are still drawn by the style.
class CMenuStyler : public QObject
{
    Q_OBJECT

public:
    // Watches the running QApplication from now on, unless another styler
    // already does; this one then does nothing. UI thread only.
    explicit CMenuStyler(const CMenuSystemFacts& facts, QObject* pParent = nullptr);
    ~CMenuStyler() override;

    // Whether this styler is the one watching the application.
    bool IsInstalled() const { return s_pInstalled == this; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // What a menu looked like before it was styled, and the screen under it.
    struct CStyledMenu
    {
        QMenu* pMenu = nullptr;
        QMargins marginsNative;
        // The whole screen as it was before the menu appeared, so the
        // shadow can be taken from it wherever the menu moves.
        QImage imgScreen;
        QPoint ptScreenOrigin;
    };

    void Restyle(QMenu* pMenu);
    void Restore(QMenu* pMenu);
    void Paint(QMenu* pMenu, QEvent* pEvent) const;
    QImage ScreenUnder(const QMenu* pMenu, const CStyledMenu& record) const;
    void OnMenuDestroyed(QObject* pMenu);

    static CMenuStyler* s_pInstalled;

    CMenuSystemFacts m_facts;
    QHash<const QObject*, CStyledMenu> m_menus;
};
