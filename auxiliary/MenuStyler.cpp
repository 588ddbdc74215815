#include "auxiliary/MenuStyler.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QThread>

#include "auxiliary/MenuColours.h"
#include "auxiliary/MenuFrame.h"

namespace {

// The styled menu sits this much higher than the style placed it, so its
// frame lines up with the item or point it was opened from.
constexpr int RAISE_PIXELS = 1;

// What the style already puts between the menu's edge and its items.
QMargins StyleFrame(const QMenu* pMenu)
{
    const QStyle* pStyle = pMenu->style();
    const int nPanel = pStyle->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, pMenu);
    const int nHorizontal = nPanel + pStyle->pixelMetric(QStyle::PM_MenuHMargin, nullptr, pMenu);
    const int nVertical = nPanel + pStyle->pixelMetric(QStyle::PM_MenuVMargin, nullptr, pMenu);
    return QMargins(nHorizontal, nVertical, nHorizontal, nVertical);
}

} // namespace

CMenuStyler* CMenuStyler::s_pInstalled = nullptr;

CMenuStyler::CMenuStyler(const CMenuSystemFacts& facts, QObject* pParent)
    : QObject(pParent)
    , m_facts(facts)
{
    if (s_pInstalled != nullptr || qApp == nullptr)
        return;
    s_pInstalled = this;
    qApp->installEventFilter(this);
}

CMenuStyler::~CMenuStyler()
{
    if (!IsInstalled())
        return;
    qApp->removeEventFilter(this);
    s_pInstalled = nullptr;
    const QList<CStyledMenu> arrMenus = m_menus.values();
    for (const CStyledMenu& record : arrMenus)
        Restore(record.pMenu);
}

bool CMenuStyler::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const QEvent::Type eType = pEvent->type();
    if (eType != QEvent::Show && eType != QEvent::Hide && eType != QEvent::Paint && eType != QEvent::Move)
        return false;
    QMenu* pMenu = qobject_cast<QMenu*>(pWatched);
    // Menus of other threads are theirs to draw.
    if (pMenu == nullptr || !pMenu->isWindow() || pMenu->thread() != thread())
        return false;
    if (!m_menus.contains(pMenu)) {
        if (eType == QEvent::Show)
            Restyle(pMenu);
        return false;
    }
    switch (eType) {
    case QEvent::Hide:
        Restore(pMenu);
        return false;
    case QEvent::Move:
        // The shadow shows the screen of the new place.
        pMenu->update();
        return false;
    case QEvent::Paint:
        Paint(pMenu, pEvent);
        return true;
    default:
        return false;
    }
}

// The window is not mapped yet: its new geometry is the one first shown,
// and the screen grab does not hold the menu.
void CMenuStyler::Restyle(QMenu* pMenu)
{
    CStyledMenu record;
    record.pMenu = pMenu;
    record.marginsNative = pMenu->contentsMargins();
    if (!m_facts.bSystemShadows) {
        QScreen* pScreen = pMenu->screen();
        record.imgScreen = pScreen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
        record.ptScreenOrigin = pScreen->geometry().topLeft();
    }
    m_menus.insert(pMenu, record);
    connect(pMenu, &QObject::destroyed, this, &CMenuStyler::OnMenuDestroyed, Qt::UniqueConnection);
    // The menu's size hint then holds its items and the new frame.
    pMenu->setContentsMargins(CMenuFrame::ClientInsets(m_facts.bSystemShadows) - StyleFrame(pMenu));
    pMenu->setGeometry(QRect(pMenu->pos() - QPoint(0, RAISE_PIXELS), pMenu->sizeHint()));
}

void CMenuStyler::Restore(QMenu* pMenu)
{
    const CStyledMenu record = m_menus.take(pMenu);
    disconnect(pMenu, &QObject::destroyed, this, &CMenuStyler::OnMenuDestroyed);
    pMenu->setContentsMargins(record.marginsNative);
}

void CMenuStyler::OnMenuDestroyed(QObject* pMenu)
{
    m_menus.remove(pMenu);
}

void CMenuStyler::Paint(QMenu* pMenu, QEvent* pEvent) const
{
    // The style draws the panel and the items first; the frame goes over
    // its edges. Sent straight to the menu, past this filter.
    static_cast<QObject*>(pMenu)->event(pEvent);
    QPainter painter(pMenu);
    const CMenuFrame frame(m_facts, MenuColours::FrameColours(pMenu->palette(), m_facts.nScreenDepth));
    frame.Paint(painter, pMenu->size(), ScreenUnder(pMenu, m_menus.value(pMenu)));
}

QImage CMenuStyler::ScreenUnder(const QMenu* pMenu, const CStyledMenu& record) const
{
    if (record.imgScreen.isNull())
        return QImage();
    return record.imgScreen.copy(QRect(pMenu->pos() - record.ptScreenOrigin, pMenu->size()));
}
