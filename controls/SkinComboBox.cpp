#include "controls/SkinComboBox.h"

#include <algorithm>

#include <QFrame>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>

#include "controls/SkinComboButton.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinParent.h"
#include "controls/SkinScrollBar.h"

namespace {

// Rectangle from left, top and exclusive right and bottom edges.
QRect RectFromEdges(int nLeft, int nTop, int nRight, int nBottom)
{
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

} // namespace

CSkinComboBox::CSkinComboBox(QWidget* pParent, ISkinParent& skinParent)
    : CSkinControl(pParent)
    , m_skinParent(skinParent)
{
    // The container never shows and never takes the mouse; its parts do.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

CSkinComboBox::~CSkinComboBox()
{
    delete m_pButton;
    delete m_pEdit;
    delete m_pList;
    delete m_pListFrame;
}

void CSkinComboBox::LoadArrowSize(const QString& strPath)
{
    const QSize size = QImageReader(strPath).size();
    m_nArrowWidth = size.isValid() ? size.width() / ARROW_FRAMES : 0;
    m_nArrowHeight = size.isValid() ? size.height() : 0;
}

void CSkinComboBox::SetRects(const QRect& rcSkin)
{
    const int nLeft = rcSkin.left();
    const int nTop = rcSkin.top();
    const int nRight = rcSkin.left() + rcSkin.width();
    const int nBottom = rcSkin.top() + rcSkin.height();
    const int w = m_nArrowWidth;
    const int h = m_nArrowHeight;
    const int nListTop = nTop + h + 2;
    m_rcEdit = RectFromEdges(nLeft, nTop, nRight - w, nTop + h);
    m_rcButton = RectFromEdges(nRight - w, nTop - 1, nRight, nTop + h + 1);
    m_rcList = RectFromEdges(nLeft, nListTop, nRight - 1, std::max(nBottom, nListTop + MIN_LIST_HEIGHT));
    m_rcWhole = RectFromEdges(nLeft, nTop, nRight, m_rcList.top() + m_rcList.height());
}

void CSkinComboBox::CreateButton(const QString& strArrowPath)
{
    m_pButton = new CSkinComboButton(parentWidget(), m_skinParent);
    m_pButton->Create(m_rcButton);
    m_pButton->LoadStrip(strArrowPath, m_rcButton.left(), m_rcButton.top(), m_rcButton.left() + m_rcButton.width(),
                         m_rcButton.top() + m_rcButton.height());
    m_pButton->SetLatched(false);
    m_pButton->SetName(CSkinComboButton::NAME);
    // The keyboard opens the list from the edit field (Alt+Down).
    m_pButton->setFocusPolicy(Qt::NoFocus);
    // Only the first combo box of the window answers any drop button.
    connect(m_pButton, &CSkinComboButton::DropDownRequested, this, [this] {
        if (CSkinComboBox* pFirst = m_skinParent.FirstComboBox())
            pFirst->ToggleDropDown();
    });
}

void CSkinComboBox::CreateEdit(const CColors& colors)
{
    m_pEdit = new CSkinEdit(parentWidget(), m_skinParent, CSkinEdit::EKind::eComboField);
    m_pEdit->Create(m_rcEdit);
    m_pEdit->SetName(EDIT_NAME);
    m_pEdit->SetBkColor(colors.crEditBack);
    m_pEdit->SetTextColor(colors.crEditText);
    m_pEdit->SetBorderColor(colors.crEditBorder);
    m_pEdit->setEnabled(true);
}

void CSkinComboBox::CreateList(const CColors& colors, const QStringList& arrScrollImages)
{
    // Made before the list so that the list stacks above it.
    m_pListFrame = new QFrame(parentWidget());
    m_pListFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_pListFrame->setLineWidth(1);
    m_pListFrame->setAttribute(Qt::WA_TransparentForMouseEvents);
    const QRect rcFrame = m_rcList.adjusted(-1, -1, 1, 1);
    m_pListFrame->setGeometry(rcFrame);
    m_pListFrame->setMask(QRegion(0, 0, rcFrame.width(), rcFrame.height())
                          - QRegion(1, 1, rcFrame.width() - 2, rcFrame.height() - 2));
    QPalette framePalette = m_pListFrame->palette();
    framePalette.setColor(QPalette::WindowText, m_pEdit ? m_pEdit->BorderColor() : ColorFromRef(colors.crEditBorder));
    m_pListFrame->setPalette(framePalette);
    m_pListFrame->hide();

    m_pList = new CSkinListBox(parentWidget(), m_skinParent, CSkinListBox::EKind::eComboList);
    m_pList->Create(m_rcList);
    m_pList->SetName(LIST_NAME);
    m_pList->SetBkColor(colors.crItemBack);
    m_pList->SetTextColor(colors.crItemText);
    m_pList->SetSelBkColor(colors.crSelectedBack);
    m_pList->SetSelTextColor(colors.crSelectedText);
    m_pList->setFont(CSkinListBox::SkinListFont());
    m_pList->InitScrollBar(arrScrollImages);
    m_pList->InsertColumn(m_pList->width(), Qt::AlignLeft);
    m_pList->ScrollBar()->hide();
    m_pList->hide();
    // Only the window's first combo box is wired to a list.
    connect(m_pList, &CSkinListBox::RowPicked, this, [this](const QString& strText) {
        if (CSkinComboBox* pFirst = m_skinParent.FirstComboBox())
            pFirst->SelectText(strText);
    });
}

void CSkinComboBox::DeleteParts()
{
    const QList<QWidget*> arrParts = { m_pButton, m_pEdit, m_pList, m_pListFrame };
    for (QWidget* pPart : arrParts) {
        if (pPart) {
            pPart->hide();
            pPart->deleteLater();
        }
    }
}

CSkinComboButton* CSkinComboBox::Button() const
{
    return m_pButton;
}

CSkinEdit* CSkinComboBox::Edit() const
{
    return m_pEdit;
}

CSkinListBox* CSkinComboBox::List() const
{
    return m_pList;
}

bool CSkinComboBox::IsDropDownVisible() const
{
    return m_pList && !m_pList->isHidden();
}

void CSkinComboBox::ToggleDropDown()
{
    if (!m_pList)
        return;
    const bool bShow = m_bShowNext;
    if (m_pListFrame)
        m_pListFrame->setVisible(bShow);
    m_pList->ScrollBar()->setVisible(bShow);
    m_pList->setVisible(bShow);
    if (bShow) {
        m_pList->raise();
        m_pList->ScrollBar()->raise();
    } else if (parentWidget()) {
        // What lay under the list, background, options and labels alike,
        // paints again.
        parentWidget()->update(m_rcList.adjusted(-1, -1, 1, 1));
    }
    m_skinParent.SetDropDownOpen(bShow);
    m_bShowNext = !m_bShowNext;
}

void CSkinComboBox::MakeSelectOnly()
{
    if (!m_pEdit)
        return;
    m_pEdit->setReadOnly(true);
    m_pEdit->setCursor(Qt::ArrowCursor);
    m_pEdit->installEventFilter(this);
}

bool CSkinComboBox::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // Mouse events first: the edit may be part way through its destruction
    // when other events arrive, and is no edit any more then.
    const QEvent::Type eType = pEvent->type();
    if (eType == QEvent::KeyPress && pWatched == m_pEdit)
        return OnEditKey(*static_cast<QKeyEvent*>(pEvent));
    if ((eType != QEvent::MouseButtonPress && eType != QEvent::MouseButtonDblClick) || pWatched != m_pEdit)
        return CSkinControl::eventFilter(pWatched, pEvent);
    if (eType == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton)
        ToggleDropDown();
    return true;
}

bool CSkinComboBox::OnEditKey(const QKeyEvent& event)
{
    if (!m_pList || m_pList->GetItemCount() == 0)
        return false;
    const int nKey = event.key();
    const bool bAlt = event.modifiers() & Qt::AltModifier;
    const bool bOpen = IsDropDownVisible();
    if (nKey == Qt::Key_F4 || (bAlt && (nKey == Qt::Key_Down || nKey == Qt::Key_Up))) {
        ToggleDropDown();
        return true;
    }
    if (nKey == Qt::Key_Up || nKey == Qt::Key_Down) {
        const int nStep = nKey == Qt::Key_Up ? -1 : 1;
        const int nRow = std::clamp(m_pList->GetSelectedRow() + nStep, 0, m_pList->GetItemCount() - 1);
        m_pList->SetSelectedRow(nRow);
        // A closed list takes the row at once, as the platform's combo boxes do.
        if (!bOpen)
            SelectText(m_pList->GetItemText(nRow, 0));
        return true;
    }
    if (!bOpen)
        return false;
    if (nKey == Qt::Key_Return || nKey == Qt::Key_Enter)
        SelectText(m_pList->GetItemText(m_pList->GetSelectedRow(), 0));
    else if (nKey == Qt::Key_Escape)
        ToggleDropDown();
    else
        return false;
    return true;
}

void CSkinComboBox::AddString(const QString& strText)
{
    if (m_pList)
        m_pList->AddItem(strText);
}

void CSkinComboBox::SelectText(const QString& strText)
{
    m_bShowNext = false;
    if (m_pEdit)
        m_pEdit->setText(strText);
    ToggleDropDown();
}

bool CSkinComboBox::CloseDropDownOnMouseMove(const QPoint& ptWindow)
{
    if (m_rcWhole.contains(ptWindow) || !IsDropDownVisible())
        return false;
    ToggleDropDown();
    return true;
}
