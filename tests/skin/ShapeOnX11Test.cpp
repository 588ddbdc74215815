// Runs on a real X server (under tests/xvfb-exec.sh), where the window shape is cut
// by the X SHAPE extension: a cut pixel shows the root window behind it.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

const QColor ROOT_COLOUR(0, 255, 0);
const QColor BACKGROUND(0, 0, 200);
const QPoint WINDOW_POS(40, 30);
constexpr int CORNER = 12;
constexpr int MAX_WAIT_MS = 5000;
constexpr int POLL_MS = 20;

QColor ScreenPixel(QPoint pt)
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(pt);
}

// Waits until the screen shows colour at pt; returns the colour last seen.
QColor WaitForScreenPixel(QPoint pt, const QColor& colour)
{
    QColor seen = ScreenPixel(pt);
    for (int nWaited = 0; seen != colour && nWaited < MAX_WAIT_MS; nWaited += POLL_MS) {
        QTest::qWait(POLL_MS);
        seen = ScreenPixel(pt);
    }
    return seen;
}

TEST(ShapeOnX11, CutPixelsShowTheRootWindow)
{
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_EQ(QProcess::execute("xsetroot", { "-solid", ROOT_COLOUR.name() }), 0);

    QTemporaryDir dir;
    const CTestSkinFolder skin(dir.filePath("Test"));
    skin.WriteBackground("back.bmp", QSize(160, 100), BACKGROUND, CORNER);
    skin.WriteIni("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=" + CTestSkinFolder::KEY_FIELD + "\n");
    CScriptedPrompt prompt;
    CSkinTestDialog dialog(prompt);
    dialog.SetSkinFile(skin.SkinFile());
    dialog.LoadSkin();
    dialog.move(WINDOW_POS);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    EXPECT_EQ(WaitForScreenPixel(WINDOW_POS + QPoint(80, 50), BACKGROUND), BACKGROUND);
    for (const QPoint& ptCorner : { QPoint(2, 2), QPoint(157, 2), QPoint(2, 97), QPoint(157, 97) }) {
        SCOPED_TRACE(QString("corner %1,%2").arg(ptCorner.x()).arg(ptCorner.y()).toStdString());
        EXPECT_EQ(ScreenPixel(WINDOW_POS + ptCorner), ROOT_COLOUR);
    }
    // Just inside the cut: the window's own pixels.
    EXPECT_EQ(ScreenPixel(WINDOW_POS + QPoint(CORNER, CORNER)), BACKGROUND);
}

} // namespace
