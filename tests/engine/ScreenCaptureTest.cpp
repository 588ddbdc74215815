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
#include "engine/RecordingProfile.h"
#include "tests/engine/MediaProbe.h"

namespace {

// Covers the screen in red, or in blue with a red bottom right quarter.
// (xsetroot's root background does not reach Xvfb's frame buffer here, so
// the test draws a window of its own.)
class CRedWindow : public QRasterWindow
{
public:
    bool m_bRedQuarterOnly = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect whole(QPoint(0, 0), size());
        if (!m_bRedQuarterOnly) {
            painter.fillRect(whole, Qt::red);
            return;
        }
        painter.fillRect(whole, Qt::blue);
        painter.fillRect(QRect(whole.center(), whole.bottomRight()), Qt::red);
    }
};

// One application for the whole run, on the virtual X server.
void EnsureApplication()
{
    static int s_nArguments = 1;
    static char s_szName[] = "test_engine_screen";
    static char* s_arguments[] = { s_szName, nullptr };
    qputenv("QT_QPA_PLATFORM", "xcb");
    static QGuiApplication s_application(s_nArguments, s_arguments);
}

// Records a second of the screen while the window keeps painting.
void RecordScreen(CRecorder& recorder)
{
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    while (!recorder.WaitUntilFinished(20))
        QCoreApplication::processEvents();
    recorder.Stop();
    ASSERT_EQ(recorder.GetLastError(), "");
}

} // namespace

// Runs under its own virtual X server (tests/xvfb-exec.sh): whatever is drawn on the
// screen must show in the recording.
TEST(ScreenCapture, RecordsWhatIsDrawn)
{
    if (!IsDisplayReachable())
        GTEST_SKIP() << "no X display; run under tests/xvfb-exec.sh";
    EnsureApplication();
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
    ASSERT_NO_FATAL_FAILURE(RecordScreen(recorder));

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

// A custom frame took the screen's top left corner at its size, black on
// most desktops, and did so for MPEG files too. It is an AVI file's picture
// size: the whole screen is scaled into it, keeping its shape, and MPEG
// files keep the profile's size.
TEST(ScreenCapture, CustomFrameScalesTheWholeScreenIntoAviOnly)
{
    if (!IsDisplayReachable())
        GTEST_SKIP() << "no X display; run under tests/xvfb-exec.sh";
    EnsureApplication();
    CRedWindow window;
    window.m_bRedQuarterOnly = true;
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    struct CCustomFrameCase
    {
        const char* pszName;
        int nWorkMode;
        const char* pszFile;
        int nWidth;
        int nHeight;
        int nScreenLeft; // the 5:4 screen between black bars
        int nScreenWidth;
    } const cases[] = {
        { "AVI", WORK_MODE_AVI, "custom.avi", 320, 240, 10, 300 },
        { "MPEG", WORK_MODE_MPEG, "custom.mpg", 352, 240, 10, 330 },
    };
    const QTemporaryDir folder;
    for (const CCustomFrameCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        const std::string strFile = folder.filePath(testCase.pszFile).toStdString();
        CRecorder recorder;
        CRecordingRequest request;
        request.strVideoDevice = "Screen";
        request.nOutputType = OUTPUT_TYPE_MPEG1;
        request.nFrameRate = 25;
        request.nSampleRate = 44100;
        request.bFast = false;
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        recorder.Profile().nWorkMode = testCase.nWorkMode;
        recorder.Profile().bUseCustomFrame = true;
        recorder.Profile().nCustomFrameWidth = 320;
        recorder.Profile().nCustomFrameHeight = 240;
        ASSERT_NO_FATAL_FAILURE(RecordScreen(recorder));

        const QJsonObject video = FindStream(ProbeFile(strFile), "video");
        EXPECT_EQ(video["width"].toInt(), testCase.nWidth);
        EXPECT_EQ(video["height"].toInt(), testCase.nHeight);
        const std::vector<std::uint8_t> rgb = DecodePictureRgb(strFile, 0.5);
        ASSERT_EQ(rgb.size(), static_cast<std::size_t>(testCase.nWidth * testCase.nHeight * 3));
        // A fifth in from the corners, away from the pointer in the middle.
        const auto pixel = [&](double dAcross, double dDown) {
            const int nX = testCase.nScreenLeft + static_cast<int>(dAcross * testCase.nScreenWidth);
            const int nY = static_cast<int>(dDown * testCase.nHeight);
            return &rgb[(static_cast<std::size_t>(nY) * testCase.nWidth + nX) * 3];
        };
        const std::uint8_t* pTopLeft = pixel(0.2, 0.2);
        const std::uint8_t* pBottomRight = pixel(0.8, 0.8);
        EXPECT_GT(pTopLeft[2], 150) << "blue where the screen is blue";
        EXPECT_LT(pTopLeft[0], 80);
        EXPECT_GT(pBottomRight[0], 150) << "the screen's red corner is in the picture";
        EXPECT_LT(pBottomRight[2], 80);
    }
}
