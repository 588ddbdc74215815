#pragma once

#include <QWebEnginePage>
#include <QWebEngineUrlSchemeHandler>

class CHtmlCtrl;

// The pane's page: "app:" links are commands for the program, never
// addresses to load; each goes to the pane's OnAppLink instead.
class CHtmlPage : public QWebEnginePage
{
    Q_OBJECT

public:
    CHtmlPage(QWebEngineProfile* pProfile, CHtmlCtrl& pane);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType eType, bool bMainFrame) override;

private:
    CHtmlCtrl& m_pane;
};

// Chromium asks the page about a link only when it could load the link's
// scheme; this makes "app:" such a scheme. The page refuses every such
// link, so whatever reaches the handler is refused too.
class CAppSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    explicit CAppSchemeHandler(QObject* pParent);

    void requestStarted(QWebEngineUrlRequestJob* pJob) override;
};
