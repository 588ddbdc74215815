#pragma once

#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class QWebEngineLoadingInfo;
class QWebEngineView;

// A web browser pane inside another window. It tells its owner, through
// signals meant to be connected queued, when the user presses the mouse in
// it, when a page that finished loading is not the expected one, and when a
// page has been there for a while. Links of the "app:" scheme are never
// followed: their text goes to OnAppLink.
//
// The browser itself (Chromium) is started on the first Navigate, which
// takes a good part of a second, so an owner can show its own window first.
// Release gives the page and its renderer process back; the next Navigate
// makes them anew. Where the engine cannot start, the pane stays empty and
// transparent.
class CHtmlCtrl : public QWidget
{
    Q_OBJECT

public:
    static inline const QString APP_SCHEME = QStringLiteral("app");
    // A page whose title is exactly this is the expected one.
    static inline const QString EXPECTED_TITLE = QStringLiteral("TESSAM");
    static constexpr int WRONG_PAGE_DELAY_MS = 1000;
    static constexpr int STAY_OVER_DELAY_MS = 30000;

    explicit CHtmlCtrl(QWidget* pParent);

    // Loads url, starting the browser first if need be. False, and nothing
    // loaded, when the web engine cannot start in this process.
    bool Navigate(const QUrl& url);
    // Null until a Navigate has started the browser, and after Release.
    QWebEngineView* View() const { return m_pView; }
    // Drops the page and the view; its renderer process ends with them.
    void Release();
    // The browser draws through an OpenGL window. Makes the window this pane
    // lies in, hidden and not yet made, for that, so the page later appears
    // without the window being made anew (a flicker); the window's owner is
    // made first and stays a plain window, drawn without OpenGL.
    void ReadyWindowForBrowser();
    // A page that fails to load (its server unreachable, say) is replaced
    // by this one rather than by the browser's error page.
    void SetFallbackUrl(const QUrl& url) { m_urlFallback = url; }

    // The thirty seconds of STAY_OVER_DELAY_MS would make up most of a test
    // run; tests shorten them here.
    void SetStayOverDelay(int nDelayMs) { m_timerStayOver.setInterval(nDelayMs); }

    // True when url is an "app:" link (the scheme in any letter case);
    // strCommand then receives the text after the colon.
    static bool SplitAppLink(const QUrl& url, QString& strCommand);
    // An "app:" link was followed; the page stays where it is. Does nothing
    // here: a pane that offers commands to its page gives them a meaning.
    virtual void OnAppLink(const QString& strCommand);

signals:
    // The user pressed a mouse button in the pane; emitted before the page
    // sees the press.
    void Activated();
    // WRONG_PAGE_DELAY_MS after a page finished loading whose title is not
    // EXPECTED_TITLE (error pages included).
    void WrongPage();
    // STAY_OVER_DELAY_MS after a page finished loading; every load starts
    // the wait anew.
    void StayOver();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    bool CreateView();
    void WatchMousePresses(QObject* pObject);
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void OnRenderProcessGone();

    // A child; deleted with the pane, its page with it.
    QWebEngineView* m_pView = nullptr;
    QTimer m_timerWrongPage;
    QTimer m_timerStayOver;
    QUrl m_urlFallback;
};
