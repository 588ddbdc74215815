#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include "app/DesktopStatus.h"
#include "tests/app/ProgramDriver.h"

// The tray icon in a real X11 system tray (trayer) on a real X server: none
// until a tray runs, then docked there, drawn with the recording mark while
// recording; its Stop entry stops the recording and a click shows the window.

namespace {

constexpr int TRAY_TIMEOUT_MS = 30000;
constexpr int TRAY_STOP_ENTRY = 2;

// What the tray shows of the icon, from the screen.
QImage TrayPixels(CRecorderTrayIcon& tray)
{
    const QRect rcIcon = tray.TrayIcon().geometry();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, rcIcon.x(), rcIcon.y(), rcIcon.width(), rcIcon.height())
        .toImage();
}

// The pixels as red as the recording mark in the lower right quarter, where
// the mark goes; the program's icon has a red centre of its own.
int RedPixelsAtTheMark(const QImage& image)
{
    int nRed = 0;
    for (int nY = image.height() / 2; nY < image.height(); ++nY) {
        for (int nX = image.width() / 2; nX < image.width(); ++nX) {
            const QColor colour = image.pixelColor(nX, nY);
            nRed += colour.red() > 180 && colour.green() < 60 && colour.blue() < 60 ? 1 : 0;
        }
    }
    return nRed;
}

class TrayOnX11 : public CProgramTest
{
protected:
    ~TrayOnX11() override
    {
        m_tray.kill();
        m_tray.waitForFinished();
    }

    QProcess m_tray;
};

} // namespace

TEST_F(TrayOnX11, DocksOnceATrayRunsShowsTheRecordingAndStopsIt)
{
    CConverterDlg dialog(m_prompt, m_settings);
    CRecorderControl control(dialog);
    CDesktopStatus status(dialog, control);
    CRecorderTrayIcon& tray = status.TrayIcon();
    // No tray yet: no icon, and nothing asked or told.
    EXPECT_FALSE(tray.IsInTray());

    m_tray.start(QStringLiteral("trayer"), { QStringLiteral("--height"), QStringLiteral("32") });
    ASSERT_TRUE(
        WaitUntil([&tray] { return tray.IsInTray() && !tray.TrayIcon().geometry().isEmpty(); }, TRAY_TIMEOUT_MS))
        << "trayer did not take the icon";
    // Drawn once the tray has given it its place: the centre is the icon's,
    // the corner the tray's.
    QImage stopped;
    ASSERT_TRUE(WaitUntil(
        [&] {
            stopped = TrayPixels(tray);
            return stopped.pixel(0, 0) != stopped.pixel(stopped.rect().center());
        },
        TRAY_TIMEOUT_MS));

    ASSERT_EQ(control.Record(m_current.FilePath("tray.mpg")), QString());
    ASSERT_TRUE(WaitForElapsed(dialog.RecorderWidget(), 1.0));
    EXPECT_TRUE(
        WaitUntil([&] { return RedPixelsAtTheMark(TrayPixels(tray)) > RedPixelsAtTheMark(stopped); }, TRAY_TIMEOUT_MS))
        << "no recording mark in the tray";
    EXPECT_TRUE(tray.TrayIcon().toolTip().contains("tray.mpg"));

    tray.Menu().actions().at(TRAY_STOP_ENTRY)->trigger();
    EXPECT_EQ(control.State(), CRecorderControl::EState::Stopped);
    EXPECT_EQ(dialog.Recordings().Entries().size(), 1);
    EXPECT_TRUE(WaitUntil([&] { return TrayPixels(tray) == stopped; }, TRAY_TIMEOUT_MS));

    // A click on the docked icon, Qt's window in the tray, shows the window.
    const QWidgetList arrWindows = QApplication::topLevelWidgets();
    const auto docked = std::find_if(arrWindows.begin(), arrWindows.end(),
                                     [](const QWidget* pWindow) { return pWindow->inherits("QSystemTrayIconSys"); });
    ASSERT_NE(docked, arrWindows.end());
    QTest::mouseClick(*docked, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(m_prompt.Texts().isEmpty());
}
