// Runs the real program on a real X server (under tests/xvfb-exec.sh): its notifier
// popup must come up as a second, shaped window at the bottom right, show
// its page and go away through its exit button.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "auxiliary/NotifierPage.h"
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

QColor ScreenPixel(const QPoint& pt)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(pt);
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

} // namespace
