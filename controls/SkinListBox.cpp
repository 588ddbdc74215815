#include "controls/SkinListBox.h"

#include <algorithm>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "controls/OffscreenDC.h"
#include "controls/SkinScrollBar.h"

namespace {

// Arial's cell is about 1.15 em, so an 18-unit cell holds a 16-pixel em.
constexpr int SKIN_LIST_FONT_PIXELS = 16;
// Row height beyond the text's, as list views leave it.
constexpr int ROW_PADDING = 2;
// Width of the row number before its point.
constexpr int ROW_NUMBER_DIGITS = 3;
// A row with details: its cells' line and the details' line.
constexpr int DETAILED_ROW_LINES = 2;

} // namespace

CSkinListBox::CSkinListBox(QWidget* pParent, ISkinParent&, EKind kind)
    : CSkinControl(pParent)
    , m_kind(kind)
{
    setFocusPolicy(Qt::StrongFocus);
}

CSkinListBox::~CSkinListBox()
{
    delete m_pScrollBar;
}

QFont CSkinListBox::SkinListFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(SKIN_LIST_FONT_PIXELS);
    return font;
}

QColor CSkinListBox::BackColor() const
{
    return ColorFromRef(m_crBack, palette().color(QPalette::Base));
}

QColor CSkinListBox::TextColor() const
{
    return ColorFromRef(m_crText, palette().color(QPalette::Text));
}

QColor CSkinListBox::SelBackColor() const
{
    return ColorFromRef(m_crSelBack, palette().color(QPalette::Highlight));
}

QColor CSkinListBox::SelTextColor() const
{
    return ColorFromRef(m_crSelText, palette().color(QPalette::HighlightedText));
}

void CSkinListBox::InitScrollBar(const QStringList& arrImagePaths)
{
    delete m_pScrollBar;
    m_pScrollBar = new CSkinScrollBar(parentWidget());
    m_pScrollBar->LoadStrip(arrImagePaths);
    m_pScrollBar->SetOwner(this);
    m_pScrollBar->SetFillColor(m_crBack);
    PositionScrollBar();
    m_pScrollBar->setVisible(isVisibleTo(parentWidget()));
}

void CSkinListBox::PositionScrollBar()
{
    const int nBarWidth = m_pScrollBar->BarWidth();
    const QRect rcList = geometry();
    resize(rcList.width() - nBarWidth, rcList.height());
    m_pScrollBar->setGeometry(geometry().right() + 1, rcList.top(), nBarWidth, rcList.height());
    m_pScrollBar->UpdateThumb();
}

void CSkinListBox::InsertColumn(int nWidth, Qt::Alignment alignment)
{
    m_arrColumns.append({ nWidth, alignment });
    update();
}

int CSkinListBox::ColumnWidth(int nColumn) const
{
    return nColumn >= 0 && nColumn < m_arrColumns.size() ? m_arrColumns[nColumn].nWidth : 0;
}

void CSkinListBox::AddItem(const QString& strText)
{
    if (m_kind == EKind::eListBox) {
        const QString strNumber = QStringLiteral("%1.").arg(GetItemCount() + 1, ROW_NUMBER_DIGITS);
        m_arrRows.append({ { strNumber, strText }, QString(), QString() });
    } else {
        m_arrRows.append({ { strText }, QString(), QString() });
    }
    UpdateScrollBar();
    update();
}

void CSkinListBox::DeleteAllItems()
{
    m_arrRows.clear();
    m_nSelectedRow = -1;
    m_nTopRow = 0;
    UpdateScrollBar();
    update();
}

QString CSkinListBox::GetItemText(int nRow, int nColumn) const
{
    return nRow >= 0 && nRow < m_arrRows.size() ? m_arrRows[nRow].arrCells.value(nColumn) : QString();
}

void CSkinListBox::SetDetailsShown(bool bShown)
{
    m_bDetailsShown = bShown;
    ScrollLines(0);
    UpdateScrollBar();
}

void CSkinListBox::SetItemDetails(int nRow, const QString& strDetails)
{
    if (nRow >= 0 && nRow < m_arrRows.size()) {
        m_arrRows[nRow].strDetails = strDetails;
        update();
    }
}

QString CSkinListBox::GetItemDetails(int nRow) const
{
    return nRow >= 0 && nRow < m_arrRows.size() ? m_arrRows[nRow].strDetails : QString();
}

int CSkinListBox::DetailsWidth() const
{
    return width() - 2 * CELL_MARGIN;
}

void CSkinListBox::SetItemToolTip(int nRow, const QString& strToolTip)
{
    if (nRow >= 0 && nRow < m_arrRows.size())
        m_arrRows[nRow].strToolTip = strToolTip;
}

QString CSkinListBox::GetItemToolTip(int nRow) const
{
    return nRow >= 0 && nRow < m_arrRows.size() ? m_arrRows[nRow].strToolTip : QString();
}

void CSkinListBox::SetSelectedRow(int nRow)
{
    m_nSelectedRow = nRow >= 0 && nRow < m_arrRows.size() ? nRow : -1;
    update();
}

int CSkinListBox::RowHeight() const
{
    return fontMetrics().height() * (m_bDetailsShown ? DETAILED_ROW_LINES : 1) + ROW_PADDING;
}

int CSkinListBox::RowsPerPage() const
{
    return std::max(1, height() / RowHeight());
}

int CSkinListBox::GetScrollLimit() const
{
    return std::max(0, GetItemCount() - RowsPerPage());
}

void CSkinListBox::ScrollLines(int nLines)
{
    m_nTopRow = std::clamp(m_nTopRow + nLines, 0, GetScrollLimit());
    update();
}

void CSkinListBox::ScrollPages(int nPages)
{
    ScrollLines(nPages * RowsPerPage());
}

void CSkinListBox::UpdateScrollBar()
{
    if (m_pScrollBar)
        m_pScrollBar->UpdateThumb();
}

int CSkinListBox::RowAt(const QPoint& pt) const
{
    const int nRow = m_nTopRow + pt.y() / RowHeight();
    return pt.y() >= 0 && nRow < GetItemCount() ? nRow : -1;
}

void CSkinListBox::EnsureVisible(int nRow)
{
    if (nRow < 0)
        return;
    if (nRow < m_nTopRow)
        ScrollLines(nRow - m_nTopRow);
    else if (nRow >= m_nTopRow + RowsPerPage())
        ScrollLines(nRow - (m_nTopRow + RowsPerPage() - 1));
}

void CSkinListBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    COffscreenDC offscreen(painter, rect(), false, palette().color(QPalette::Window));
    QPainter& dc = offscreen.Painter();
    dc.fillRect(rect(), BackColor());
    dc.setFont(font());
    const int nRowHeight = RowHeight();
    for (int nRow = m_nTopRow, y = 0; nRow < GetItemCount() && y < height(); ++nRow, y += nRowHeight)
        DrawRow(dc, nRow, QRect(0, y, width(), nRowHeight));
}

void CSkinListBox::DrawRow(QPainter& painter, int nRow, const QRect& rcRow) const
{
    const bool bSelected = nRow == m_nSelectedRow;
    const CRow& row = m_arrRows[nRow];
    // Full-row selection: the row is one band, its empty columns included;
    // details reach across the whole row.
    int nRowWidth = 0;
    for (const CColumn& column : m_arrColumns)
        nRowWidth += column.nWidth;
    if (m_arrColumns.isEmpty() || m_bDetailsShown)
        nRowWidth = rcRow.width();
    painter.fillRect(QRect(rcRow.topLeft(), QSize(nRowWidth, rcRow.height())),
                     bSelected ? SelBackColor() : BackColor());
    painter.setPen(bSelected ? SelTextColor() : TextColor());
    if (!m_bDetailsShown) {
        DrawCells(painter, row.arrCells, rcRow);
        return;
    }
    const int nLineHeight = fontMetrics().height();
    const QRect rcCells(rcRow.left(), rcRow.top() + ROW_PADDING / 2, rcRow.width(), nLineHeight);
    DrawCells(painter, row.arrCells, rcCells);
    const QRect rcDetails = rcCells.translated(0, nLineHeight).adjusted(CELL_MARGIN, 0, -CELL_MARGIN, 0);
    DrawLine(painter, rcDetails, Qt::AlignRight, row.strDetails);
}

void CSkinListBox::DrawCells(QPainter& painter, const QStringList& arrCells, const QRect& rcLine) const
{
    if (m_arrColumns.isEmpty()) {
        DrawLine(painter, rcLine.adjusted(CELL_MARGIN, 0, -CELL_MARGIN, 0), Qt::AlignLeft, arrCells.value(0));
        return;
    }
    int x = rcLine.left();
    for (int nColumn = 0; nColumn < m_arrColumns.size(); ++nColumn) {
        const CColumn& column = m_arrColumns[nColumn];
        const QRect rcCell(x + CELL_MARGIN, rcLine.top(), column.nWidth - 2 * CELL_MARGIN, rcLine.height());
        DrawLine(painter, rcCell, column.alignment, arrCells.value(nColumn));
        x += column.nWidth;
    }
}

void CSkinListBox::DrawLine(QPainter& painter, const QRect& rc, Qt::Alignment alignment, const QString& strText) const
{
    const QString strShown = painter.fontMetrics().elidedText(strText, Qt::ElideRight, rc.width());
    painter.drawText(rc, alignment | Qt::AlignVCenter, strShown);
}

bool CSkinListBox::event(QEvent* pEvent)
{
    if (pEvent->type() != QEvent::ToolTip)
        return CSkinControl::event(pEvent);
    const auto* pHelp = static_cast<QHelpEvent*>(pEvent);
    const QString strToolTip = GetItemToolTip(RowAt(pHelp->pos()));
    if (strToolTip.isEmpty()) {
        QToolTip::hideText();
        pEvent->ignore();
    } else {
        QToolTip::showText(pHelp->globalPos(), strToolTip, this);
    }
    return true;
}

void CSkinListBox::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    SetSelectedRow(RowAt(pEvent->position().toPoint()));
}

void CSkinListBox::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton || m_kind != EKind::eComboList)
        return;
    emit RowPicked(GetItemText(m_nSelectedRow, 0));
}

void CSkinListBox::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    const int nRow = RowAt(pEvent->position().toPoint());
    if (pEvent->button() == Qt::LeftButton && nRow >= 0)
        emit RowActivated(nRow);
}

void CSkinListBox::keyPressEvent(QKeyEvent* pEvent)
{
    const int nLast = GetItemCount() - 1;
    int nRow = m_nSelectedRow;
    switch (pEvent->key()) {
    case Qt::Key_Up:
        nRow = std::max(0, nRow - 1);
        break;
    case Qt::Key_Down:
        nRow = std::min(nLast, nRow + 1);
        break;
    case Qt::Key_PageUp:
        nRow = std::max(0, nRow - RowsPerPage());
        break;
    case Qt::Key_PageDown:
        nRow = std::min(nLast, std::max(0, nRow) + RowsPerPage());
        break;
    case Qt::Key_Home:
        nRow = 0;
        break;
    case Qt::Key_End:
        nRow = nLast;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_nSelectedRow >= 0)
            emit RowActivated(m_nSelectedRow);
        return;
    default:
        QWidget::keyPressEvent(pEvent);
        return;
    }
    if (nLast >= 0) {
        SetSelectedRow(nRow);
        EnsureVisible(nRow);
    }
    UpdateScrollBar();
}

void CSkinListBox::wheelEvent(QWheelEvent* pEvent)
{
    const int nNotches = pEvent->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    ScrollLines(-nNotches * WHEEL_LINES);
    UpdateScrollBar();
}

void CSkinListBox::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    UpdateScrollBar();
}

void CSkinListBox::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    // Hidden on purpose (not with its window): the bar goes with it.
    if (isHidden() && m_pScrollBar)
        m_pScrollBar->hide();
}
