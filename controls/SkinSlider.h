#pragma once

#include <QBitmap>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include "controls/CapturedBackground.h"
#include "controls/SkinColor.h"
#include "controls/SkinControl.h"

class ISkinParent;

// Bitmap track bar of a skin's SLIDERINFO entry: the channel image fills the
// track up to the thumb, like the filled part of a progress bar; a second
// thumb image shows while the user drags. Mouse changes are reported to the
// parent by index; keyboard changes and SetPos are not.
class CSkinSlider : public CSkinControl<QWidget>
{
    Q_OBJECT

public:
    static constexpr int DEFAULT_MAX = 100;
    static constexpr int DEFAULT_PAGE = 20;

    CSkinSlider(QWidget* pParent, ISkinParent& skinParent);

    void SetRange(int nMin, int nMax, bool bRedraw);
    int GetRangeMax() const { return m_nMax; }
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void MakeVertical(bool bVertical);
    bool IsVertical() const { return m_bVertical; }
    void EnableFocusFrame(bool bDraw, bool bRedraw);
    void SetTransparentColor(COLORREF crKey);
    bool LoadChannelImage(const QString& strPath);
    // A null path removes the thumb. Resizes the window to the larger of
    // thumb and channel in each direction.
    bool LoadThumbImages(const QString& strPath, const QString& strActivePath, bool bTransparent);
    void SetTipText(const QString& strText, bool bActivate);

    // Thumb centre in window pixels along the slider, and back.
    int PositionToPixel(int nPos) const;
    int PixelToPosition(int nPixel) const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    int Extent() const;
    int ThumbExtent() const;
    void TrackMouse(const QPoint& pt);
    void ResizeToImages();
    void DrawChannel(QPainter& painter);
    void DrawThumb(QPainter& painter) const;
    void ClearThumb();

    ISkinParent& m_skinParent;
    int m_nMax = DEFAULT_MAX;
    int m_nMin = 0;
    int m_nPos = 0;
    int m_nPage = DEFAULT_PAGE;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nThumbWidth = 0;
    int m_nThumbHeight = 0;
    int m_nChannelWidth = 0;
    int m_nChannelHeight = 0;
    bool m_bVertical = false;
    bool m_bHasActiveThumb = false;
    bool m_bThumbLoaded = false;
    bool m_bDragging = false;
    bool m_bFocus = false;
    bool m_bDrawFocus = true;
    bool m_bChannelLoaded = false;
    COLORREF m_crTransparent = 0;
    QPixmap m_bmpThumb;
    QBitmap m_bmpThumbMask;
    QPixmap m_bmpThumbActive;
    QBitmap m_bmpThumbActiveMask;
    QPixmap m_bmpChannel;
    CCapturedBackground m_backCopy;
};
