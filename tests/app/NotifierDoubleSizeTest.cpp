// Runs at a device pixel ratio of 2, where the notifier's @2x picture
// replaces the other.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>

#include "app/SkinNotifier.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "skin/IniFile.h"
#include "tests/common/TestSkinFolder.h"

namespace {

const QColor DISC(40, 120, 200);
constexpr int RATIO = 2;
// Set before main creates the application, which reads it once.
const bool SCALED = qputenv("QT_SCALE_FACTOR", QByteArray::number(RATIO));

TEST(NotifierDoubleSize, ThePopupTakesTheDoubleSizePicture)
{
    ASSERT_TRUE(SCALED);
    ASSERT_EQ(qApp->devicePixelRatio(), RATIO);
    const QTemporaryDir dir;
    const CTestSkinFolder skin(dir.filePath("Test"));
    const QSize sizePicture(64, 32);
    skin.WriteDisc(CTaskNotifierDlg::PICTURE_NAME, sizePicture, DISC);
    skin.WriteDisc("dlgTaskNotifier@2x.bmp", sizePicture * RATIO, DISC);
    skin.WriteIni(QString());
    QWidget owner;
    CSkinNotifier notifier(owner);
    notifier.Load(CIniFile(skin.SkinFile()), skin.Folder(), 0);
    const CTaskNotifierDlg* pNotifier = notifier.Popup();
    ASSERT_NE(pNotifier, nullptr);
    EXPECT_EQ(pNotifier->Picture().devicePixelRatio(), RATIO);
    EXPECT_EQ(pNotifier->Picture().size(), sizePicture * RATIO);
    EXPECT_EQ(pNotifier->size(), sizePicture);
    EXPECT_EQ(pNotifier->Region().boundingRect(), QRect(QPoint(0, 0), sizePicture));
}

} // namespace
