#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include "controls/CapturedBackground.h"
#include "controls/SkinColor.h"
#include "controls/SkinControl.h"

class ISkinParent;

// Progress bar of a skin's PROGRESSINFO entry: the skin background under the
// bar with copies of a block image from the left edge, the last one squeezed
// into the remaining width. It takes no input.
class CSkinProgress : public CSkinControl<QWidget>
{
    Q_OBJECT

public:
    static constexpr int DEFAULT_MAX = 100;

    CSkinProgress(QWidget* pParent, ISkinParent& skinParent);

    bool LoadBlock(const QString& strPath);
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetTransparentColor(COLORREF crKey);

    // Pixels of the bar's width that the position fills.
    int FilledWidth() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    ISkinParent& m_skinParent;
    QImage m_imgBlock;
    // m_imgBlock with the colour key applied, built when either changes.
    QPixmap m_bmpBlock;
    int m_nPos = 0;
    int m_nMax = DEFAULT_MAX;
    int m_nMin = 0;
    int m_nBlockHeight = 0;
    int m_nBlockWidth = 0;
    COLORREF m_crTransparent = 0;
    CCapturedBackground m_backCopy;
};
