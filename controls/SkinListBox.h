#pragma once

#include <QFont>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "controls/ScrollBarOwner.h"
#include "controls/SkinColor.h"
#include "controls/SkinControl.h"
#include "controls/SkinScrollBar.h"

class ISkinParent;

// A report-style list without header whose rows are painted in the skin's
// four colours and whose scroll bar is a CSkinScrollBar beside it. A
// LISTBOXINFO list numbers its rows; the drop-down list of a combo box
// reports a clicked row's text through RowPicked.
class CSkinListBox : public CSkinControl<QWidget>, public IScrollBarOwner
{
    Q_OBJECT

public:
    enum class EKind {
        eListBox,
        eComboList,
    };
    // Lists scroll by rows; a wheel notch moves this many.
    static constexpr int WHEEL_LINES = 3;
    // Space between a cell's text and its column edges.
    static constexpr int CELL_MARGIN = 2;

    // Made like every control, with its window's skin parent, though the
    // list reports only through its signals.
    CSkinListBox(QWidget* pParent, ISkinParent& skinParent, EKind kind = EKind::eListBox);
    ~CSkinListBox() override;

    // None of the colour setters repaints. CLR_NONE_GIVEN selects the
    // platform's colour for that role.
    void SetBkColor(COLORREF crBack) { m_crBack = crBack; }
    void SetTextColor(COLORREF crText) { m_crText = crText; }
    void SetSelBkColor(COLORREF crSelBack) { m_crSelBack = crSelBack; }
    void SetSelTextColor(COLORREF crSelText) { m_crSelText = crSelText; }
    QColor BackColor() const;
    QColor TextColor() const;
    QColor SelBackColor() const;
    QColor SelTextColor() const;

    // The skin lists' font: Arial, 18 logical units from cell top to bottom.
    static QFont SkinListFont();

    // Builds the scroll bar from the seven scroll images (channel, up, up
    // pressed, down, down pressed, thumb, thumb pressed), narrows the list by
    // the bar's width and stands the bar in the freed strip. Follows Create
    // and the colour setters.
    void InitScrollBar(const QStringList& arrImagePaths);
    CSkinScrollBar* ScrollBar() const { return m_pScrollBar; }

    void InsertColumn(int nWidth, Qt::Alignment alignment);
    int ColumnWidth(int nColumn) const;
    int ColumnCount() const { return int(m_arrColumns.size()); }

    // A LISTBOXINFO list shows the row number in the first column, right-
    // aligned in three characters and followed by a point.
    void AddItem(const QString& strText);
    int GetItemCount() const { return int(m_arrRows.size()); }
    void DeleteAllItems();
    QString GetItemText(int nRow, int nColumn) const;

    // With details shown, every row is two lines tall: its cells, then its
    // details right-aligned across the whole row, where the first line's
    // narrow columns leave room to spare. Text wider than its place ends in
    // an ellipsis.
    void SetDetailsShown(bool bShown);
    bool DetailsShown() const { return m_bDetailsShown; }
    void SetItemDetails(int nRow, const QString& strDetails);
    QString GetItemDetails(int nRow) const;
    // The width a row's details have, in pixels.
    int DetailsWidth() const;
    // Shown while the mouse rests on the row.
    void SetItemToolTip(int nRow, const QString& strToolTip);
    QString GetItemToolTip(int nRow) const;
    // -1 when no row is selected.
    int GetSelectedRow() const { return m_nSelectedRow; }
    void SetSelectedRow(int nRow);

    int RowHeight() const;
    // Whole rows the client area shows.
    int RowsPerPage() const;
    int GetScrollPos() const override { return m_nTopRow; }
    int GetScrollLimit() const override;
    void ScrollLines(int nLines) override;
    void ScrollPages(int nPages) override;

signals:
    // A row was double-clicked, or Enter pressed on the selected row.
    void RowActivated(int nRow);
    // A drop-down list's click ended on a row; the text is empty when no
    // row is selected.
    void RowPicked(const QString& strText);

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    struct CColumn
    {
        int nWidth = 0;
        Qt::Alignment alignment;
    };

    struct CRow
    {
        QStringList arrCells;
        QString strDetails;
        QString strToolTip;
    };

    void PositionScrollBar();
    void UpdateScrollBar();
    int RowAt(const QPoint& pt) const;
    void EnsureVisible(int nRow);
    void DrawRow(QPainter& painter, int nRow, const QRect& rcRow) const;
    void DrawCells(QPainter& painter, const QStringList& arrCells, const QRect& rcLine) const;
    // Draws one line of text into rc, elided when wider.
    void DrawLine(QPainter& painter, const QRect& rc, Qt::Alignment alignment, const QString& strText) const;

    EKind m_kind;
    // A child of the list's parent, deleted with the list.
    QPointer<CSkinScrollBar> m_pScrollBar;
    COLORREF m_crSelText = CLR_NONE_GIVEN;
    COLORREF m_crSelBack = CLR_NONE_GIVEN;
    COLORREF m_crText = CLR_NONE_GIVEN;
    COLORREF m_crBack = CLR_NONE_GIVEN;
    QList<CColumn> m_arrColumns;
    QList<CRow> m_arrRows;
    bool m_bDetailsShown = false;
    int m_nSelectedRow = -1;
    int m_nTopRow = 0;
};
