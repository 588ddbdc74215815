#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/NotifierPage.h"
#include "tests/auxiliary/LocalPageServer.h"

namespace {

constexpr int LOAD_WAIT_MS = 20000;
// Long enough that a wrong page (after one second) comes first.
constexpr int STAY_OVER_MS = 1600;
// Timers may fire a little before their time is quite up.
constexpr int TIMER_SLACK_MS = 5;
constexpr int MAX_CLICKS = 50;
constexpr int CLICK_RETRY_MS = 200;

class CRecordingPane : public CHtmlCtrl
{
public:
    using CHtmlCtrl::CHtmlCtrl;

    QStringList m_arrAppLinks;

protected:
    void OnAppLink(const QString& strCommand) override { m_arrAppLinks.append(strCommand); }
};

// When each of the pane's reports came, in ms since the pane was made.
struct CReportTimes
{
    explicit CReportTimes(CRecordingPane& pane)
    {
        m_clock.start();
        QObject::connect(&pane, &CHtmlCtrl::WrongPage, &pane, [this] { m_arrWrongPage.append(m_clock.elapsed()); });
        QObject::connect(&pane, &CHtmlCtrl::StayOver, &pane, [this] { m_arrStayOver.append(m_clock.elapsed()); });
    }

    void WatchLoads(QWebEnginePage* pPage)
    {
        QObject::connect(pPage, &QWebEnginePage::loadFinished, pPage,
                         [this] { m_arrLoaded.append(m_clock.elapsed()); });
    }

    QElapsedTimer m_clock;
    QList<qint64> m_arrWrongPage;
    QList<qint64> m_arrStayOver;
    QList<qint64> m_arrLoaded;
};

class HtmlCtrlTest : public ::testing::Test
{
protected:
    HtmlCtrlTest()
    {
        m_server.AddPage("/tessam", CLocalPageServer::Page("TESSAM", "the expected page"));
        m_server.AddPage("/lower", CLocalPageServer::Page("tessam", "a page by another name"));
        m_server.AddPage("/links",
                         CLocalPageServer::Page("links",
                                                "<a id='upper' href='APP:foo'>foo</a> "
                                                "<a id='lower' href='app:bar'>bar</a>"));
        // Ready once frames are drawn, when the page takes input.
        m_server.AddPage("/press",
                         "<!DOCTYPE html><html><head><title>waiting</title></head>"
                         "<body style='margin:0;height:100vh'"
                         " onmousedown=\"document.title='pressed'\"><script>"
                         "requestAnimationFrame(() => requestAnimationFrame(() => {"
                         " if (document.title == 'waiting') document.title = 'ready'; }));"
                         "</script></body></html>");
        m_window.resize(320, 240);
        m_window.show();
    }

    // A pane filling the window, its stay-over shortened.
    CRecordingPane* MakePane()
    {
        auto* pPane = new CRecordingPane(&m_window);
        pPane->setGeometry(m_window.rect());
        pPane->SetStayOverDelay(STAY_OVER_MS);
        pPane->show();
        return pPane;
    }

    static void LoadAndWait(CHtmlCtrl& pane, const QUrl& url)
    {
        ASSERT_TRUE(pane.Navigate(url));
        QSignalSpy loaded(pane.View()->page(), &QWebEnginePage::loadFinished);
        ASSERT_TRUE(loaded.wait(LOAD_WAIT_MS)) << qPrintable(url.toString());
    }

    // An address on this machine where nothing listens.
    static QUrl DeadAddress()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        const quint16 nPort = server.serverPort();
        server.close();
        return QUrl(QStringLiteral("http://127.0.0.1:%1/gone").arg(nPort));
    }

    // The server outlives the window: the pages' connections close first.
    CLocalPageServer m_server;
    QWidget m_window;
};

TEST_F(HtmlCtrlTest, OnlyAPageTitledTessamIsTheExpectedOne)
{
    const struct
    {
        const char* pszCase;
        QUrl url;
        bool bWrong;
    } rows[] = {
        { "title TESSAM", m_server.Url("/tessam"), false },
        { "the program's own page", NotifierPage::PageUrl(), false },
        { "title tessam", m_server.Url("/lower"), true },
        { "error page", DeadAddress(), true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        CRecordingPane* pPane = MakePane();
        CReportTimes times(*pPane);
        ASSERT_TRUE(pPane->Navigate(row.url));
        times.WatchLoads(pPane->View()->page());
        QSignalSpy stayOver(pPane, &CHtmlCtrl::StayOver);
        ASSERT_TRUE(stayOver.wait(LOAD_WAIT_MS));

        ASSERT_EQ(times.m_arrLoaded.size(), 1);
        const qint64 nLoaded = times.m_arrLoaded.first();
        EXPECT_GE(times.m_arrStayOver.first() - nLoaded, STAY_OVER_MS - TIMER_SLACK_MS);
        ASSERT_EQ(times.m_arrWrongPage.size(), row.bWrong ? 1 : 0);
        if (row.bWrong) {
            EXPECT_GE(times.m_arrWrongPage.first() - nLoaded, CHtmlCtrl::WRONG_PAGE_DELAY_MS - TIMER_SLACK_MS);
        }
        delete pPane;
    }
}

TEST_F(HtmlCtrlTest, ASecondLoadPushesStayOverBack)
{
    CRecordingPane* pPane = MakePane();
    CReportTimes times(*pPane);
    // The wrong page's report, a second after the first load, starts the
    // second load.
    QObject::connect(pPane, &CHtmlCtrl::WrongPage, pPane, [this, pPane] { pPane->Navigate(m_server.Url("/tessam")); });
    ASSERT_TRUE(pPane->Navigate(m_server.Url("/lower")));
    times.WatchLoads(pPane->View()->page());
    QSignalSpy stayOver(pPane, &CHtmlCtrl::StayOver);
    ASSERT_TRUE(stayOver.wait(LOAD_WAIT_MS));

    ASSERT_EQ(times.m_arrLoaded.size(), 2);
    EXPECT_EQ(times.m_arrStayOver.size(), 1);
    EXPECT_GE(times.m_arrStayOver.first() - times.m_arrLoaded[1], STAY_OVER_MS - TIMER_SLACK_MS);
    EXPECT_EQ(pPane->View()->title(), "TESSAM");
}

// The report is about the page on show: an expected page that finishes
// within the second takes back the report of a wrong one before it.
TEST_F(HtmlCtrlTest, AnExpectedPageTakesBackTheWrongPageReport)
{
    CRecordingPane* pPane = MakePane();
    CReportTimes times(*pPane);
    ASSERT_TRUE(pPane->Navigate(m_server.Url("/lower")));
    times.WatchLoads(pPane->View()->page());
    QObject::connect(pPane->View()->page(), &QWebEnginePage::loadFinished, pPane, [this, pPane] {
        if (pPane->View()->title() != CHtmlCtrl::EXPECTED_TITLE)
            pPane->Navigate(m_server.Url("/tessam"));
    });
    QSignalSpy stayOver(pPane, &CHtmlCtrl::StayOver);
    ASSERT_TRUE(stayOver.wait(LOAD_WAIT_MS));

    ASSERT_EQ(times.m_arrLoaded.size(), 2);
    ASSERT_LT(times.m_arrLoaded[1] - times.m_arrLoaded[0], CHtmlCtrl::WRONG_PAGE_DELAY_MS);
    EXPECT_TRUE(times.m_arrWrongPage.isEmpty());
}

TEST_F(HtmlCtrlTest, AppLinksReachOnAppLinkAndNeverNavigate)
{
    CRecordingPane* pPane = MakePane();
    LoadAndWait(*pPane, m_server.Url("/links"));
    const int nHistory = pPane->View()->history()->count();
    pPane->View()->page()->runJavaScript("document.getElementById('upper').click();"
                                         "document.getElementById('lower').click();");
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPane->m_arrAppLinks.size() == 2; }, LOAD_WAIT_MS));
    EXPECT_EQ(pPane->m_arrAppLinks, (QStringList { "foo", "bar" }));
    EXPECT_EQ(pPane->View()->url(), m_server.Url("/links"));
    EXPECT_EQ(pPane->View()->title(), "links");
    EXPECT_EQ(pPane->View()->history()->count(), nHistory);
}

TEST_F(HtmlCtrlTest, AClickIsReportedBeforeThePageSeesIt)
{
    CRecordingPane* pPane = MakePane();
    LoadAndWait(*pPane, m_server.Url("/press"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPane->View()->title() == "ready"; }, LOAD_WAIT_MS));
    QWidget* pTarget = pPane->View()->focusProxy();
    ASSERT_NE(pTarget, nullptr);
    QStringList arrTitlesWhenReported;
    QObject::connect(pPane, &CHtmlCtrl::Activated, pPane,
                     [&] { arrTitlesWhenReported.append(pPane->View()->title()); });

    // Chromium drops input that comes too soon after its first frames:
    // clicks go in until the page has seen one.
    for (int nClicks = 1; nClicks <= MAX_CLICKS; ++nClicks) {
        QTest::mouseClick(pTarget, Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
        EXPECT_EQ(arrTitlesWhenReported.size(), nClicks);
        if (QTest::qWaitFor([&] { return pPane->View()->title() == "pressed"; }, CLICK_RETRY_MS))
            break;
    }
    EXPECT_EQ(pPane->View()->title(), "pressed");
    // Every report came while the page had not yet seen a press.
    EXPECT_FALSE(arrTitlesWhenReported.contains("pressed"));
}

// The popup's own page, not the browser's "This site can't be reached", is
// what a user sees when the notifier's host does not answer.
TEST_F(HtmlCtrlTest, AnUnreachableHostFallsBackToTheBuiltInPage)
{
    CRecordingPane* pPane = MakePane();
    pPane->SetFallbackUrl(NotifierPage::BuiltInUrl());
    CReportTimes times(*pPane);
    ASSERT_TRUE(pPane->Navigate(DeadAddress()));
    QSignalSpy stayOver(pPane, &CHtmlCtrl::StayOver);
    ASSERT_TRUE(stayOver.wait(LOAD_WAIT_MS));
    EXPECT_EQ(pPane->View()->url(), NotifierPage::BuiltInUrl());
    EXPECT_EQ(pPane->View()->title(), CHtmlCtrl::EXPECTED_TITLE);
    // Only the page shown counts: the failed one reports nothing.
    EXPECT_TRUE(times.m_arrWrongPage.isEmpty());
    EXPECT_EQ(times.m_arrStayOver.size(), 1);
}

TEST(HtmlCtrlAppLink, TheSchemeIsComparedWithoutCase)
{
    const struct
    {
        const char* pszUrl;
        bool bAppLink;
        const char* pszCommand;
    } rows[] = {
        { "app:foo", true, "foo" }, { "APP:foo", true, "foo" },      { "App:open%20file", true, "open file" },
        { "apps:foo", false, "" },  { "http://app/foo", false, "" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszUrl);
        QString strCommand;
        EXPECT_EQ(CHtmlCtrl::SplitAppLink(QUrl(row.pszUrl), strCommand), row.bAppLink);
        EXPECT_EQ(strCommand, row.pszCommand);
    }
}

// Run with the engine's helper program missing (see CMakeLists.txt): the
// engine would end the process if it were started.
TEST(HtmlCtrlWithoutEngine, ThePaneStaysEmpty)
{
    if (!qEnvironmentVariableIsSet("QTWEBENGINEPROCESS_PATH"))
        GTEST_SKIP() << "needs QTWEBENGINEPROCESS_PATH naming a missing file";
    QWidget window;
    CHtmlCtrl pane(&window);
    EXPECT_FALSE(pane.Navigate(NotifierPage::PageUrl()));
    EXPECT_EQ(pane.View(), nullptr);
}

} // namespace
