#include "auxiliary/HtmlPage.h"

#include <QWebEngineUrlRequestJob>

#include "auxiliary/HtmlCtrl.h"

CHtmlPage::CHtmlPage(QWebEngineProfile* pProfile, CHtmlCtrl& pane)
    : QWebEnginePage(pProfile, &pane)
    , m_pane(pane)
{
}

bool CHtmlPage::acceptNavigationRequest(const QUrl& url, NavigationType eType, bool bMainFrame)
{
    QString strCommand;
    if (CHtmlCtrl::SplitAppLink(url, strCommand)) {
        m_pane.OnAppLink(strCommand);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, eType, bMainFrame);
}

CAppSchemeHandler::CAppSchemeHandler(QObject* pParent)
    : QWebEngineUrlSchemeHandler(pParent)
{
}

void CAppSchemeHandler::requestStarted(QWebEngineUrlRequestJob* pJob)
{
    pJob->fail(QWebEngineUrlRequestJob::RequestDenied);
}
