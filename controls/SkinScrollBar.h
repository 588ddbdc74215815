#pragma once

#include <QPixmap>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "controls/SkinColor.h"

class IScrollBarOwner;

// Bitmap vertical scroll bar standing just right of a skinned list, a
// sibling of the list in the same window, scrolling it through its owner. Arrows scroll a line (repeating
// while held), the channel pages on release, the thumb drags; pressed images
// double as mouse-over images.
class CSkinScrollBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int FIRST_REPEAT_DELAY_MS = 250;
    static constexpr int REPEAT_INTERVAL_MS = 50;
    // Image order of a skin entry's scroll images.
    enum EImage { eChannel, eUp, eUpPressed, eDown, eDownPressed, eThumb, eThumbPressed, IMAGE_COUNT };

    explicit CSkinScrollBar(QWidget* pParent);

    // An arrow or thumb pair is used only when both of its images load.
    void LoadStrip(const QStringList& arrPaths);
    // The owner outlives the bar: it deletes the bar with itself.
    void SetOwner(IScrollBarOwner* pOwner) { m_pOwner = pOwner; }
    void SetFillColor(COLORREF crFill) { m_crFill = crFill; }

    // Places the thumb for the list's scroll position and repaints.
    void UpdateThumb();
    // Keeps the thumb between the arrows.
    void LimitThumb();

    int BarWidth() const { return m_nBarWidth; }
    int ThumbTop() const { return m_nThumbTop; }
    QColor FillColor() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    QRect UpRect() const;
    QRect DownRect() const;
    QRect ThumbRect() const;
    int ScrollLimit() const;
    int Track() const;
    void ScrollLines(int nLines);
    void ScrollPages(int nPages);
    void DragThumb(int y);
    void TrackHover(const QPoint& pt);
    void OnFirstRepeat();
    void OnRepeat();
    void StopRepeat();

    QPixmap m_bmpThumb;
    QPixmap m_bmpThumbPressed;
    QPixmap m_bmpUp;
    QPixmap m_bmpUpPressed;
    QPixmap m_bmpDown;
    QPixmap m_bmpDownPressed;
    QPixmap m_bmpChannel;
    COLORREF m_crFill = CLR_NONE_GIVEN;
    int m_nUpWidth = 0;
    int m_nUpHeight = 0;
    int m_nDownWidth = 0;
    int m_nDownHeight = 0;
    int m_nThumbWidth = 0;
    int m_nThumbHeight = 0;
    int m_nChannelWidth = 0;
    int m_nChannelHeight = 0;
    int m_nBarWidth = 0;
    IScrollBarOwner* m_pOwner = nullptr;
    bool m_bUpDown = false;
    bool m_bDownDown = false;
    bool m_bThumbDown = false;
    // The left button went down on the bar and is still held; the bar has
    // the mouse grab meanwhile, so it sees the release.
    bool m_bButtonHeld = false;
    int m_nThumbTop = 0;
    double m_dRatio = 0.0;
    QTimer m_timerFirstRepeat;
    QTimer m_timerRepeat;
};
