#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include "controls/SkinColor.h"
#include "controls/SkinControl.h"

class ISkinParent;

// A push button drawn entirely from a skin strip: four frames of equal width
// side by side (normal, mouse over, pressed or checked, disabled). A click
// completed inside the button reports the button's index to its skin parent.
class CSkinButton : public CSkinControl<QWidget>
{
    Q_OBJECT

public:
    enum class EFrame { Normal, Hover, Down, Disabled };

    static constexpr int FRAME_COUNT = 4;

    CSkinButton(QWidget* pParent, ISkinParent& skinParent);

    // Loads the strip and scales each frame once to the size of the skin
    // rectangle (left, top, right exclusive, bottom exclusive). An empty path
    // or an image that does not load keeps the frames as they were; returns
    // whether new frames were made.
    bool LoadStrip(const QString& strPath, int nLeft, int nTop, int nRight, int nBottom);

    // Sets the tooltip text (may be empty) and activates or deactivates it.
    void SetTipText(const QString& strText, bool bActivate);

    void SetChecked(bool bChecked);
    bool IsChecked() const { return m_bChecked; }
    void SetLatched(bool bLatched);
    // Takes effect for frames loaded afterwards.
    void SetTransparentColor(COLORREF crTransparent) { m_crTransparent = crTransparent; }

    // Does what a click completed inside does (keyboard, screen reader).
    void Click();

    bool IsHover() const { return m_bHover; }
    // The frame the next paint draws.
    EFrame CurrentFrame() const;

protected:
    // What a click completed inside the button does.
    virtual void OnClickInside();
    // Whether the mouse coming over the button may start the highlight.
    virtual bool CanStartHover() const;

    ISkinParent& SkinParent() const { return m_skinParent; }

    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void enterEvent(QEnterEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

    bool m_bChecked = false;
    bool m_bHover = false;

private:
    void StartHoverIfAllowed();
    void SetHover(bool bHover);
    bool IsSelected() const;

    ISkinParent& m_skinParent;
    bool m_bLatched = false;
    // Frames with the colour key already turned transparent, so a paint is
    // one blit of a ready pixmap.
    QPixmap m_arrFrames[FRAME_COUNT];
    COLORREF m_crTransparent = 0;
    // The left button went down on this button and is still held.
    bool m_bPressed = false;
    // The held mouse is over the button: drawn pressed.
    bool m_bPressedInside = false;
};
