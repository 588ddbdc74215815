#include "controls/Label.h"

#include <QPainter>

#include "controls/SkinParent.h"

CLabel::CLabel(QWidget* pParent, ISkinParent& skinParent)
    : CSkinControl(pParent)
    , m_skinParent(skinParent)
    , m_font(font())
    , m_crText(MakeColorRef(0xFF, 0xFF, 0xFF))
{
    // A simple static control: clicks go to the window beneath, which drags.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CLabel::SetLabelText(const QString& strText)
{
    m_strText = strText;
}

void CLabel::SetFaceName(const QString& strFaceName)
{
    m_font.setFamily(strFaceName.left(MAX_FACE_NAME_CHARS));
}

void CLabel::SetPointSize(int nPoints)
{
    if (nPoints > 0)
        m_font.setPointSize(nPoints);
}

CLabel& CLabel::SetTextRgb(COLORREF crText)
{
    m_crText = crText;
    return *this;
}

QColor CLabel::TextColor() const
{
    return ColorFromRef(m_crText, palette().color(QPalette::WindowText));
}

void CLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_backCopy.Draw(painter, m_skinParent, geometry());
    painter.setFont(m_font);
    painter.setPen(TextColor());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, m_strText);
}
