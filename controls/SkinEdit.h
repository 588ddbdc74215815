#pragma once

#include <QBrush>
#include <QLineEdit>
#include <QRect>
#include <QString>

#include "controls/SkinColor.h"
#include "controls/SkinControl.h"

class ISkinParent;

// Single-line edit whose text, background and border colours come from the
// skin: an EDITBOXINFO entry, or the text field of a skinned combo box.
// Entry, caret and selection are QLineEdit's own.
class CSkinEdit : public CSkinControl<QLineEdit>
{
    Q_OBJECT

public:
    // The two uses differ only in their colours before the skin sets them.
    enum class EKind {
        eEditBox,
        eComboField,
    };

    CSkinEdit(QWidget* pParent, ISkinParent& skinParent, EKind kind = EKind::eEditBox);

    // None of the setters repaints; the change shows at the next paint.
    // CLR_NONE_GIVEN selects the platform's colour for that role.
    void SetTextColor(COLORREF crText);
    void SetBkColor(COLORREF crBack);
    void SetBorderColor(COLORREF crBorder);

    COLORREF GetBkColor() const { return m_crBack; }
    COLORREF GetBorderColor() const { return m_crBorder; }
    // The colours as painted, with the platform's colours in place of
    // CLR_NONE_GIVEN.
    QColor TextColor() const;
    QColor BackColor() const;
    QColor BorderColor() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void ApplyColors();

    COLORREF m_crText;
    COLORREF m_crBack;
    COLORREF m_crBorder;
    // No brush until SetBkColor: the platform's background applies.
    QBrush m_brBack;
};
