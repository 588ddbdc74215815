#include "auxiliary/HtmlCtrl.h"

#include <QChildEvent>
#include <QQuickWidget>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include "auxiliary/HtmlPage.h"
#include "auxiliary/WebEngineStart.h"

CHtmlCtrl::CHtmlCtrl(QWidget* pParent)
    : QWidget(pParent)
    , m_timerWrongPage(this)
    , m_timerStayOver(this)
{
    // Coarse timers may fire a twentieth early.
    m_timerWrongPage.setTimerType(Qt::PreciseTimer);
    m_timerStayOver.setTimerType(Qt::PreciseTimer);
    m_timerWrongPage.setSingleShot(true);
    m_timerWrongPage.setInterval(WRONG_PAGE_DELAY_MS);
    m_timerStayOver.setSingleShot(true);
    m_timerStayOver.setInterval(STAY_OVER_DELAY_MS);
    connect(&m_timerWrongPage, &QTimer::timeout, this, &CHtmlCtrl::WrongPage);
    connect(&m_timerStayOver, &QTimer::timeout, this, &CHtmlCtrl::StayOver);
}

// The browser draws through a texture widget. A window made while one lies
// anywhere below it, even inside a window of its own, is made for OpenGL;
// one that gets its first while on the screen is made anew, and flickers.
// So the owner's window is made first, while there is none, and stays a
// plain one; this window is then made around a passing one.
void CHtmlCtrl::ReadyWindowForBrowser()
{
    QWidget* pWindow = window();
    if (pWindow->testAttribute(Qt::WA_WState_Created) || !WebEngineStart::Prepare())
        return;
    if (QWidget* pOwner = pWindow->parentWidget())
        pOwner->window()->winId();
    auto* pTexture = new QQuickWidget(this);
    pTexture->hide();
    pWindow->winId();
    delete pTexture;
}

void CHtmlCtrl::Release()
{
    m_timerWrongPage.stop();
    m_timerStayOver.stop();
    if (m_pView == nullptr)
        return;
    // The page may still be reporting a load; no report reaches us now.
    m_pView->page()->disconnect(this);
    m_pView->page()->deleteLater();
    m_pView->deleteLater();
    m_pView = nullptr;
}

bool CHtmlCtrl::Navigate(const QUrl& url)
{
    if (m_pView == nullptr && !CreateView())
        return false;
    m_pView->load(url);
    return true;
}

bool CHtmlCtrl::SplitAppLink(const QUrl& url, QString& strCommand)
{
    if (url.scheme().compare(APP_SCHEME, Qt::CaseInsensitive) != 0)
        return false;
    const QString strUrl = url.toString();
    strCommand = strUrl.mid(strUrl.indexOf(u':') + 1);
    return true;
}

void CHtmlCtrl::OnAppLink(const QString&)
{
}

bool CHtmlCtrl::CreateView()
{
    if (!WebEngineStart::Prepare())
        return false;
    m_pView = new QWebEngineView(this);
    auto* pPage = new CHtmlPage(WebEngineStart::Profile(), *this);
    m_pView->setPage(pPage);
    m_pView->setGeometry(rect());
    // Until a page is there the owner's window shows through.
    m_pView->hide();
    WatchMousePresses(m_pView);
    connect(pPage, &QWebEnginePage::loadingChanged, this, &CHtmlCtrl::OnLoadingChanged);
    connect(pPage, &QWebEnginePage::renderProcessTerminated, this, &CHtmlCtrl::OnRenderProcessGone);
    return true;
}

// The page is drawn, and takes the mouse, in a widget the view makes as its
// child, when it likes; every such child is watched as it comes.
void CHtmlCtrl::WatchMousePresses(QObject* pObject)
{
    pObject->installEventFilter(this);
    const QList<QWidget*> arrChildren = pObject->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : arrChildren)
        pChild->installEventFilter(this);
}

bool CHtmlCtrl::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::ChildAdded:
        if (pWatched == m_pView) {
            QObject* pChild = static_cast<QChildEvent*>(pEvent)->child();
            if (pChild->isWidgetType())
                pChild->installEventFilter(this);
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A press the page widget ignores comes to the view as well.
        if (pWatched != m_pView)
            emit Activated();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CHtmlCtrl::resizeEvent(QResizeEvent*)
{
    if (m_pView != nullptr)
        m_pView->setGeometry(rect());
}

// A document is complete when it loaded or when the engine shows its error
// page instead; a navigation stopped before that (an "app:" link refused)
// leaves the page as it was.
void CHtmlCtrl::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus
        && info.status() != QWebEngineLoadingInfo::LoadFailedStatus)
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && m_urlFallback.isValid()
        && info.url() != m_urlFallback) {
        m_pView->load(m_urlFallback);
        return;
    }
    // The report is about the page now shown: an expected page cancels
    // one still pending for the page before it.
    if (m_pView->title() == EXPECTED_TITLE)
        m_timerWrongPage.stop();
    else
        m_timerWrongPage.start();
    m_timerStayOver.start();
    m_pView->show();
}

void CHtmlCtrl::OnRenderProcessGone()
{
    m_timerWrongPage.stop();
    m_timerStayOver.stop();
    m_pView->hide();
}
