// Runs the real program on a real X server (under tests/xvfb-exec.sh): its notifier
// popup must come up as a second, shaped window at the bottom right, show
// its page and go away through its exit button. The popup in this process
// shows what its page costs: OpenGL for its own window only, and a
// renderer process only while it is there.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <optional>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QOpenGLContext>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>
#include <QWindow>

#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/NotifierPage.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "auxiliary/WebEngineStart.h"
#include "skinart/SkinLayout.h"
#include "tests/auxiliary/LocalPageServer.h"

// Xlib's macros (Bool, Status, None) break Qt headers that come after them.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

namespace {

constexpr int START_WAIT_MS = 20000;
constexpr int SLIDE_WAIT_MS = 10000;
constexpr unsigned int LEFT_BUTTON = 1;
const QColor PAGE_COLOUR(32, 128, 240);

// The program's top-level windows as the X server sees them.
class CScreenWindows
{
public:
    CScreenWindows()
        : m_pDisplay(XOpenDisplay(nullptr))
    {
    }
    ~CScreenWindows()
    {
        if (m_pDisplay != nullptr)
            XCloseDisplay(m_pDisplay);
    }
    CScreenWindows(const CScreenWindows&) = delete;
    CScreenWindows& operator=(const CScreenWindows&) = delete;

    bool IsOpen() const { return m_pDisplay != nullptr; }

    // The mapped children of the root window, largest first.
    QList<QPair<Window, QRect>> Mapped() const
    {
        QList<QPair<Window, QRect>> arrMapped;
        Window root = 0;
        Window parent = 0;
        Window* pChildren = nullptr;
        unsigned int nCount = 0;
        if (XQueryTree(m_pDisplay, DefaultRootWindow(m_pDisplay), &root, &parent, &pChildren, &nCount) == 0)
            return arrMapped;
        for (unsigned int i = 0; i < nCount; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(m_pDisplay, pChildren[i], &attributes) != 0 && attributes.map_state == IsViewable)
                arrMapped.append(
                    { pChildren[i], QRect(attributes.x, attributes.y, attributes.width, attributes.height) });
        }
        XFree(pChildren);
        std::sort(arrMapped.begin(), arrMapped.end(), [](const auto& a, const auto& b) {
            return a.second.width() * a.second.height() > b.second.width() * b.second.height();
        });
        return arrMapped;
    }

    int ShapeRectangleCount(Window window) const
    {
        int nCount = 0;
        int nOrdering = 0;
        XRectangle* pRects = XShapeGetRectangles(m_pDisplay, window, ShapeBounding, &nCount, &nOrdering);
        if (pRects != nullptr)
            XFree(pRects);
        return nCount;
    }

    void Click(const QPoint& pt) const
    {
        XTestFakeMotionEvent(m_pDisplay, -1, pt.x(), pt.y(), CurrentTime);
        XTestFakeButtonEvent(m_pDisplay, LEFT_BUTTON, True, CurrentTime);
        XTestFakeButtonEvent(m_pDisplay, LEFT_BUTTON, False, CurrentTime);
        XFlush(m_pDisplay);
    }

private:
    Display* m_pDisplay;
};

// The web engine's helper processes below this one, however deep. As root
// the sandbox is off and Chromium runs without its zygote: there are only
// renderers. Otherwise the zygote stays as long as the engine runs, and
// only renderers are counted.
int EngineHelpers()
{
    const QByteArray arrKind = geteuid() == 0 ? "QtWebEngineProcess" : "--type=renderer";
    QMap<qint64, qint64> mapParent;
    QMap<qint64, QByteArray> mapCommand;
    const QStringList arrPids = QDir(QStringLiteral("/proc")).entryList({ QStringLiteral("[0-9]*") }, QDir::Dirs);
    for (const QString& strPid : arrPids) {
        QFile stat("/proc/" + strPid + "/stat");
        QFile command("/proc/" + strPid + "/cmdline");
        if (!stat.open(QIODevice::ReadOnly) || !command.open(QIODevice::ReadOnly))
            continue;
        // The parent is the second field after the command's parenthesis.
        const QByteArray arrStat = stat.readAll();
        mapParent.insert(strPid.toLongLong(),
                         arrStat.mid(arrStat.lastIndexOf(')') + 2).split(' ').value(1).toLongLong());
        mapCommand.insert(strPid.toLongLong(), command.readAll());
    }
    QList<qint64> arrBelow { getpid() };
    int nHelpers = 0;
    for (qsizetype i = 0; i < arrBelow.size(); ++i) {
        for (auto it = mapParent.cbegin(); it != mapParent.cend(); ++it) {
            if (it.value() != arrBelow[i])
                continue;
            arrBelow.append(it.key());
            nHelpers += mapCommand.value(it.key()).contains(arrKind) ? 1 : 0;
        }
    }
    return nHelpers;
}

QColor ScreenPixel(const QPoint& pt)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(pt);
}

// Qt WebEngine set up OpenGL, in software without a GPU, as every start
// began, ahead of the first window. It waits for the page now. Comes first
// in this file: nothing here has started the engine yet.
TEST(WebEngineOnX11, OpenGLWaitsUntilTheEngineIsToStart)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    const QOpenGLContext* pShared = QOpenGLContext::globalShareContext();
    ASSERT_NE(pShared, nullptr);
    EXPECT_FALSE(pShared->isValid());
    if (WebEngineStart::Prepare()) {
        EXPECT_TRUE(pShared->isValid());
    }
}

class NotifierOnX11 : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        ASSERT_TRUE(m_windows.IsOpen());
        m_server.AddPage(NotifierPage::PATH,
                         CLocalPageServer::Page("TESSAM", "")
                             .replace("<body>", "<body style='background:" + PAGE_COLOUR.name().toLatin1() + "'>"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(NotifierPage::HOST_VARIABLE,
                           QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
        // Packages are found beside the program.
        m_program.setWorkingDirectory(m_currentDir.path());
        m_program.setProcessEnvironment(environment);
        m_program.start(SKINRECORDER_PATH, QStringList());
        ASSERT_TRUE(m_program.waitForStarted());
    }

    void TearDown() override
    {
        m_program.terminate();
        if (!m_program.waitForFinished())
            m_program.kill();
    }

    // The popup: the program's second window.
    std::optional<QPair<Window, QRect>> Popup() const
    {
        const auto arrMapped = m_windows.Mapped();
        if (arrMapped.size() < 2)
            return std::nullopt;
        return arrMapped.last();
    }

    // The popup's place whenever the test looks, until done holds.
    template <class TDone>
    bool Watch(QList<QRect>& arrSeen, int nTimeoutMs, TDone done)
    {
        return QTest::qWaitFor(
            [&] {
                const auto popup = Popup();
                if (popup && (arrSeen.isEmpty() || arrSeen.last() != popup->second))
                    arrSeen.append(popup->second);
                if (popup)
                    m_setPopupWindows.insert(popup->first);
                return done();
            },
            nTimeoutMs);
    }

    CScreenWindows m_windows;
    // Every X window the popup has had.
    QSet<Window> m_setPopupWindows;
    CLocalPageServer m_server;
    QTemporaryDir m_currentDir;
    QProcess m_program;
};

TEST_F(NotifierOnX11, ThePopupRisesShowsItsPageAndLeavesByItsExitButton)
{
    const QRect rcScreen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Popup().has_value(); }, START_WAIT_MS));
    EXPECT_EQ(Popup()->second.size(), NotifierSize());
    const QPoint ptShown(rcScreen.right() + 1 - NotifierSize().width(),
                         rcScreen.bottom() + 1 - NotifierSize().height());

    QList<QRect> arrRising;
    ASSERT_TRUE(
        Watch(arrRising, SLIDE_WAIT_MS, [&] { return !arrRising.isEmpty() && arrRising.last().topLeft() == ptShown; }));
    // Seen on its way up, from below, at the right edge.
    EXPECT_GE(arrRising.size(), 2);
    EXPECT_GT(arrRising.first().top(), ptShown.y());
    for (const QRect& rc : arrRising)
        EXPECT_EQ(rc.left(), ptShown.x());

    if (WebEngineStart::Prepare()) {
        const QPoint ptPage = ptShown + NotifierPageArea().center();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ScreenPixel(ptPage) == PAGE_COLOUR; }, START_WAIT_MS))
            << qPrintable(ScreenPixel(ptPage).name());
    }
    // Cut to its picture's rounded outline.
    EXPECT_GT(m_windows.ShapeRectangleCount(Popup()->first), 1);
    // The page appeared in the window the popup had from the start: a
    // window made anew would flicker.
    EXPECT_EQ(m_setPopupWindows.size(), 1);

    m_windows.Click(ptShown + NotifierCloseButton().rc.center());
    QList<QRect> arrSinking;
    ASSERT_TRUE(Watch(arrSinking, SLIDE_WAIT_MS, [&] { return !Popup().has_value(); }));
    ASSERT_FALSE(arrSinking.isEmpty());
    for (qsizetype i = 1; i < arrSinking.size(); ++i)
        EXPECT_GT(arrSinking[i].top(), arrSinking[i - 1].top());
    EXPECT_EQ(m_windows.Mapped().size(), 1);
}

// Chromium's messages stay off the terminal unless asked for.
TEST_F(NotifierOnX11, TheTerminalStaysQuietAsThePageLoads)
{
    const QRect rcScreen = QGuiApplication::primaryScreen()->geometry();
    const QPoint ptPage(rcScreen.right() + 1 - NotifierSize().width() + NotifierPageArea().center().x(),
                        rcScreen.bottom() + 1 - NotifierSize().height() + NotifierPageArea().center().y());
    if (!WebEngineStart::Prepare())
        GTEST_SKIP() << "the web engine cannot start here";
    ASSERT_TRUE(QTest::qWaitFor([&] { return ScreenPixel(ptPage) == PAGE_COLOUR; }, START_WAIT_MS));
    m_program.terminate();
    ASSERT_TRUE(m_program.waitForFinished());
    const QString strErrors = QString::fromLocal8Bit(m_program.readAllStandardError());
    for (const char* pszChatter : { "Sandboxing disabled", "qt.webenginecontext", "Init Parameters" }) {
        SCOPED_TRACE(pszChatter);
        EXPECT_FALSE(strErrors.contains(QLatin1String(pszChatter))) << qPrintable(strErrors);
    }
}

// The popup in this process over an owner window, shown before the owner
// as at the program's start, its host a port where nothing listens.
class NotifierPageOnX11 : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        if (!WebEngineStart::Prepare())
            GTEST_SKIP() << "the web engine cannot start here";
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        qputenv(NotifierPage::HOST_VARIABLE, QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()).toLatin1());
        QImage picture(PICTURE_SIZE, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        const QString strPicture = m_dir.filePath(CTaskNotifierDlg::PICTURE_NAME);
        ASSERT_TRUE(picture.save(strPicture, "BMP"));
        ASSERT_TRUE(m_pPopup->SetSkin(strPicture, 255, 0, 255));
        m_pPopup->Show(SLIDE_MS, STAY_MS, SLIDE_MS);
        m_owner.resize(PICTURE_SIZE * 2);
        m_owner.show();
    }

    void TearDown() override { qunsetenv(NotifierPage::HOST_VARIABLE); }

    bool PageShown() const
    {
        const QWebEngineView* pView = m_pPopup->HtmlPane()->View();
        return pView != nullptr && pView->isVisible() && pView->title() == CHtmlCtrl::EXPECTED_TITLE;
    }

    static constexpr QSize PICTURE_SIZE { 200, 120 };
    static constexpr int SLIDE_MS = 100;
    static constexpr int STAY_MS = 1000;

    QTemporaryDir m_dir;
    QWidget m_owner;
    CTaskNotifierDlg* m_pPopup = new CTaskNotifierDlg(&m_owner);
};

// Software OpenGL took a good part of a core to draw an idle owner window
// that had been made for OpenGL because of the page in the popup.
TEST_F(NotifierPageOnX11, TheOwnerStaysAPlainWindowBesideThePage)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return PageShown(); }, START_WAIT_MS));
    // The built-in page stands in for the host that does not answer.
    EXPECT_EQ(m_pPopup->HtmlPane()->View()->url(), NotifierPage::BuiltInUrl());
    EXPECT_EQ(m_pPopup->windowHandle()->surfaceType(), QSurface::OpenGLSurface);
    EXPECT_EQ(m_owner.windowHandle()->surfaceType(), QSurface::RasterSurface);
}

TEST_F(NotifierPageOnX11, ThePageAndItsHelpersGoWithThePopupAndComeBackWithIt)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return PageShown(); }, START_WAIT_MS));
    EXPECT_GT(EngineHelpers(), 0);
    m_pPopup->SlideOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_pPopup->isHidden(); }, SLIDE_WAIT_MS));
    EXPECT_EQ(m_pPopup->HtmlPane()->View(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([] { return EngineHelpers() == 0; }, SLIDE_WAIT_MS)) << EngineHelpers();

    m_pPopup->Show(SLIDE_MS, STAY_MS, SLIDE_MS);
    EXPECT_TRUE(QTest::qWaitFor([&] { return PageShown(); }, START_WAIT_MS));
}

} // namespace
