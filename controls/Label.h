#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include "controls/CapturedBackground.h"
#include "controls/SkinColor.h"
#include "controls/SkinControl.h"

class ISkinParent;

// Text over the skin background: the label copies the background under
// itself on its first paint and from then on draws that copy and the text,
// so changing text leaves no trace of the old one.
class CLabel : public CSkinControl<QWidget>
{
    Q_OBJECT

public:
    // Longest face name a skin font can carry.
    static constexpr int MAX_FACE_NAME_CHARS = 31;

    CLabel(QWidget* pParent, ISkinParent& skinParent);

    // None of the setters repaints; callers update() to show the change.
    void SetLabelText(const QString& strText);
    void SetFaceName(const QString& strFaceName);
    void SetPointSize(int nPoints);
    // CLR_NONE_GIVEN draws in the platform's window text colour.
    CLabel& SetTextRgb(COLORREF crText);

    const QString& GetLabelText() const { return m_strText; }
    const QFont& GetLabelFont() const { return m_font; }
    COLORREF GetTextRgb() const { return m_crText; }
    QColor TextColor() const;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    ISkinParent& m_skinParent;
    CCapturedBackground m_backCopy;
    QString m_strText;
    QFont m_font;
    COLORREF m_crText;
};
