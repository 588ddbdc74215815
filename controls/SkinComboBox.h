#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "controls/SkinColor.h"
#include "controls/SkinControl.h"

class CSkinComboButton;
class CSkinEdit;
class CSkinListBox;
class ISkinParent;
class QFrame;
class QKeyEvent;

// A drop-down combo box assembled from three siblings in the skinned window:
// a drop button, an edit field "COMBO_EDIT" and a list "COMBO_LIST" with its
// scroll bar. The container itself is invisible; it lays the parts out, opens
// and closes the list and owns the parts.
class CSkinComboBox : public CSkinControl<QWidget>
{
    Q_OBJECT

public:
    static constexpr int MIN_LIST_HEIGHT = 50;
    // The arrow strip holds four frames side by side.
    static constexpr int ARROW_FRAMES = 4;
    static inline const QString EDIT_NAME = QStringLiteral("COMBO_EDIT");
    static inline const QString LIST_NAME = QStringLiteral("COMBO_LIST");

    // The colours of a COMBOBOXINFO entry.
    struct CColors
    {
        COLORREF crEditBack = CLR_NONE_GIVEN;
        COLORREF crEditText = CLR_NONE_GIVEN;
        COLORREF crEditBorder = CLR_NONE_GIVEN;
        COLORREF crItemBack = CLR_NONE_GIVEN;
        COLORREF crItemText = CLR_NONE_GIVEN;
        COLORREF crSelectedBack = CLR_NONE_GIVEN;
        COLORREF crSelectedText = CLR_NONE_GIVEN;
    };

    CSkinComboBox(QWidget* pParent, ISkinParent& skinParent);
    // Deletes the drop button, the edit field and the list, in that order.
    ~CSkinComboBox() override;

    // Records one frame's size of the arrow strip; 0 x 0 when it does not load.
    void LoadArrowSize(const QString& strPath);
    // Lays the parts out from the skin rectangle (exclusive right and bottom).
    void SetRects(const QRect& rcSkin);

    // The parts, built in this order after SetRects.
    void CreateButton(const QString& strArrowPath);
    void CreateEdit(const CColors& colors);
    // Builds the list closed, with its scroll bar from the seven scroll images.
    void CreateList(const CColors& colors, const QStringList& arrScrollImages);

    // Hides the parts and deletes them once control returns to the event
    // loop, drop button first; the window does this before deleting the
    // combo box at a skin change.
    void DeleteParts();

    // The edit field takes no typing, and a press anywhere on it opens or
    // closes the list: a choice among fixed rows, where typed text would
    // stand for none of them. From the keyboard, Alt+Down or F4 opens and
    // closes it, Up and Down choose a row (of the open list, Enter takes it
    // and Esc closes it).
    void MakeSelectOnly();

    void ToggleDropDown();
    void AddString(const QString& strText);
    // Puts the text into the edit field and closes the list.
    void SelectText(const QString& strText);
    bool IsDropDownVisible() const;
    // The window's mouse-move rule: a move outside the whole combo area
    // closes an open list. ptWindow is in the parent's client coordinates.
    // Returns whether the list was closed.
    bool CloseDropDownOnMouseMove(const QPoint& ptWindow);

    CSkinComboButton* Button() const;
    CSkinEdit* Edit() const;
    CSkinListBox* List() const;
    const QRect& ButtonRect() const { return m_rcButton; }
    const QRect& EditRect() const { return m_rcEdit; }
    const QRect& ListRect() const { return m_rcList; }
    const QRect& WholeRect() const { return m_rcWhole; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Whether the select-only edit field's key was the combo box's.
    bool OnEditKey(const QKeyEvent& event);

    ISkinParent& m_skinParent;
    QPointer<CSkinListBox> m_pList;
    QPointer<CSkinComboButton> m_pButton;
    QPointer<CSkinEdit> m_pEdit;
    // The frame around the open list, in the edit field's border colour.
    QPointer<QFrame> m_pListFrame;
    QRect m_rcButton;
    QRect m_rcEdit;
    QRect m_rcList;
    QRect m_rcWhole;
    int m_nArrowWidth = 0;
    int m_nArrowHeight = 0;
    bool m_bShowNext = true;
};
