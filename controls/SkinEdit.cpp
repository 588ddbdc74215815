#include "controls/SkinEdit.h"

#include <QPainter>

namespace {

constexpr COLORREF EDITBOX_INITIAL_BACK = MakeColorRef(0x98, 0xE4, 0xE7);
constexpr COLORREF BLACK = MakeColorRef(0, 0, 0);
constexpr COLORREF WHITE = MakeColorRef(0xFF, 0xFF, 0xFF);

} // namespace

CSkinEdit::CSkinEdit(QWidget* pParent, ISkinParent&, EKind kind)
    : CSkinControl(pParent)
    , m_crText(BLACK)
    , m_crBack(kind == EKind::eEditBox ? EDITBOX_INITIAL_BACK : BLACK)
    , m_crBorder(kind == EKind::eEditBox ? WHITE : BLACK)
{
    // The skin draws the frame itself, one pixel inside the rectangle.
    setFrame(false);
    setTextMargins(1, 1, 1, 1);
    ApplyColors();
}

void CSkinEdit::SetTextColor(COLORREF crText)
{
    m_crText = crText;
    ApplyColors();
}

void CSkinEdit::SetBkColor(COLORREF crBack)
{
    m_crBack = crBack;
    m_brBack = QBrush(BackColor());
    ApplyColors();
}

void CSkinEdit::SetBorderColor(COLORREF crBorder)
{
    m_crBorder = crBorder;
}

QColor CSkinEdit::TextColor() const
{
    return ColorFromRef(m_crText, QPalette().color(QPalette::Text));
}

QColor CSkinEdit::BackColor() const
{
    return ColorFromRef(m_crBack, QPalette().color(QPalette::Base));
}

QColor CSkinEdit::BorderColor() const
{
    return ColorFromRef(m_crBorder, QPalette().color(QPalette::Shadow));
}

void CSkinEdit::ApplyColors()
{
    QPalette colors = QPalette();
    // Disabled edit boxes show the skin's colours too: only input is refused.
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        colors.setColor(group, QPalette::Text, TextColor());
        if (m_brBack.style() != Qt::NoBrush)
            colors.setBrush(group, QPalette::Base, m_brBack);
    }
    setPalette(colors);
}

void CSkinEdit::paintEvent(QPaintEvent* pEvent)
{
    {
        // Styles differ in whether a frameless line edit fills its panel.
        QPainter background(this);
        background.fillRect(rect(), palette().brush(QPalette::Base));
    }
    QLineEdit::paintEvent(pEvent);
    QPainter painter(this);
    painter.setPen(BorderColor());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
