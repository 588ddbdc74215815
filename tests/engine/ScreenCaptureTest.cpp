#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "engine/DeviceCatalog.h"
#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

namespace {

// Covers the screen in red. (xsetroot's root background does not reach
// Xvfb's frame buffer here, so the test draws a window of its own.)
class CRedWindow : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(0, 0), size()), Qt::red);
    }
};

} // namespace

// Runs under its own virtual X server (tests/xvfb-exec.sh): whatever is drawn on the
// screen must show in the recording.
TEST(ScreenCapture, RecordsWhatIsDrawn)
{
    if (!IsDisplayReachable())
        GTEST_SKIP() << "no X display; run under tests/xvfb-exec.sh";
    qputenv("QT_QPA_PLATFORM", "xcb");
    int nArguments = 1;
    char szName[] = "test_engine_screen";
    char* arguments[] = { szName, nullptr };
    QGuiApplication application(nArguments, arguments);
    CRedWindow window;
    // Without a window manager, the window takes the size it is given.
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    CRecorder recorder;
    const CNameList devices = recorder.GetVideoDevices();
    const short nScreen = devices.FindIndex("Screen");
    ASSERT_GE(nScreen, 0);
    recorder.SetVideoDevice(nScreen);
    ASSERT_EQ(recorder.GetVideoFormats().Count(), 1);
    EXPECT_NE(recorder.GetVideoFormats().Name(0).find('x'), std::string::npos) << "the screen's size";

    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("screen.mpg").toStdString();
    CRecordingRequest request;
    request.strVideoDevice = "Screen";
    request.nOutputType = 5;
    request.nFrameRate = 25;
    request.nSampleRate = 44100;
    request.bFast = false;
    request.dSeconds = 1.0;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    // The window keeps painting while the recording runs.
    while (!recorder.WaitUntilFinished(20))
        QCoreApplication::processEvents();
    recorder.Stop();
    ASSERT_EQ(recorder.GetLastError(), "");

    const std::vector<std::uint8_t> rgb = DecodePictureRgb(strFile, 0.5);
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(352 * 240 * 3));
    // Away from the centre, where the grabber draws the mouse pointer.
    for (const auto& [x, y] : { std::pair { 40, 40 }, { 300, 200 }, { 100, 180 } }) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        const std::uint8_t* pPixel = &rgb[(static_cast<std::size_t>(y) * 352 + x) * 3];
        EXPECT_GT(pPixel[0], 200);
        EXPECT_LT(pPixel[1], 60);
        EXPECT_LT(pPixel[2], 60);
    }
    // The 1280x1024 screen is 5:4, narrower than the picture's 4:3: it fills
    // columns 10 to 339 and black bars the rest, where it was stretched before.
    for (const auto& [x, y] : { std::pair { 2, 40 }, { 6, 200 }, { 344, 40 }, { 349, 200 } }) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        const std::uint8_t* pPixel = &rgb[(static_cast<std::size_t>(y) * 352 + x) * 3];
        EXPECT_LT(std::max({ pPixel[0], pPixel[1], pPixel[2] }), 24);
    }
    for (const auto& [x, y] : { std::pair { 14, 120 }, { 335, 120 } }) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_GT(rgb[(static_cast<std::size_t>(y) * 352 + x) * 3], 200) << "the screen reaches the bar";
    }
}
