#include "controls/SkinProgress.h"

#include <algorithm>

#include <QPainter>

#include "controls/KeyedImage.h"
#include "controls/OffscreenDC.h"
#include "controls/SkinParent.h"

CSkinProgress::CSkinProgress(QWidget* pParent, ISkinParent& skinParent)
    : CSkinControl(pParent)
    , m_skinParent(skinParent)
{
    // A simple static control: clicks go to the window beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool CSkinProgress::LoadBlock(const QString& strPath)
{
    const QImage block = LoadSkinImage(strPath, devicePixelRatioF());
    if (block.isNull())
        return false;
    m_imgBlock = block;
    m_bmpBlock = KeyedPixmap(m_imgBlock, m_crTransparent);
    m_nBlockWidth = LogicalSize(block).width();
    m_nBlockHeight = LogicalSize(block).height();
    return true;
}

void CSkinProgress::SetPos(int nPos)
{
    const int nClamped = std::max(std::min(nPos, m_nMax), m_nMin);
    // A level meter sets its position twenty times a second, mostly to the same.
    if (nClamped == m_nPos)
        return;
    m_nPos = nClamped;
    update();
}

void CSkinProgress::SetTransparentColor(COLORREF crKey)
{
    m_crTransparent = crKey;
    if (!m_imgBlock.isNull())
        m_bmpBlock = KeyedPixmap(m_imgBlock, m_crTransparent);
}

int CSkinProgress::FilledWidth() const
{
    if (m_nMax == m_nMin)
        return 0;
    return (m_nPos * width()) / (m_nMax - m_nMin);
}

void CSkinProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    COffscreenDC offscreen(painter, rect(), false, palette().color(QPalette::Window));
    QPainter& dc = offscreen.Painter();
    m_backCopy.Draw(dc, m_skinParent, geometry());
    if (m_nBlockWidth == 0)
        return;
    const int nFilled = FilledWidth();
    const int nCount = nFilled / m_nBlockWidth;
    const int nRest = nFilled % m_nBlockWidth;
    for (int i = 0; i < nCount; ++i)
        dc.drawPixmap(i * m_nBlockWidth, 0, m_bmpBlock);
    if (nRest > 0)
        dc.drawPixmap(QRect(nCount * m_nBlockWidth, 0, nRest, m_nBlockHeight), m_bmpBlock);
}
