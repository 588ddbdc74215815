// Runs at a device pixel ratio of 2, where a skin's @2x pictures replace the
// others.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "controls/SkinButton.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

const QColor DISC(40, 120, 200);
const QColor BACKGROUND(30, 60, 90);
const QSize WINDOW(60, 40);
const QRect BUTTON(10, 10, 30, 30);
constexpr int RATIO = 2;
// Set before main creates the application, which reads it once.
const bool SCALED = qputenv("QT_SCALE_FACTOR", QByteArray::number(RATIO));

QImage Pixels(const QString& strPath)
{
    return QImage(strPath).convertToFormat(QImage::Format_RGB32);
}

bool IsKey(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).rgb() == CTestSkinFolder::KEY.rgb();
}

// Whether some 2x2 block of the picture mixes key and other pixels: a
// picture made by doubling every pixel of a smaller one has none.
bool HasEdgeFinerThanDoubledPixels(const QImage& image)
{
    for (int y = 0; y + 1 < image.height(); y += RATIO) {
        for (int x = 0; x + 1 < image.width(); x += RATIO) {
            const int nKeys =
                IsKey(image, x, y) + IsKey(image, x + 1, y) + IsKey(image, x, y + 1) + IsKey(image, x + 1, y + 1);
            if (nKeys != 0 && nKeys != RATIO * RATIO)
                return true;
        }
    }
    return false;
}

class DoubleSizeSkinTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(SCALED);
        ASSERT_EQ(qApp->devicePixelRatio(), RATIO);
        m_skin.WriteDisc("back.bmp", WINDOW, DISC);
        m_skin.WriteDisc("back@2x.bmp", WINDOW * RATIO, DISC);
        m_skin.WriteIni("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=" + CTestSkinFolder::KEY_FIELD + "\n");
    }

    void Load()
    {
        m_dialog.SetSkinFile(m_skin.SkinFile());
        m_dialog.LoadSkin();
    }

    QTemporaryDir m_dir;
    CTestSkinFolder m_skin { m_dir.filePath("Test") };
    CScriptedPrompt m_prompt;
    CSkinTestDialog m_dialog { m_prompt };
};

TEST_F(DoubleSizeSkinTest, BackgroundShowsTheDoubleSizePictureWithItsFinerEdge)
{
    Load();
    const QImage imgDouble = Pixels(m_skin.FilePath("back@2x.bmp"));
    ASSERT_TRUE(HasEdgeFinerThanDoubledPixels(imgDouble));
    EXPECT_EQ(m_dialog.size(), WINDOW);

    const QImage imgShown = m_dialog.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(imgShown.size(), imgDouble.size());
    for (int y = 0; y < imgDouble.height(); ++y) {
        for (int x = 0; x < imgDouble.width(); ++x) {
            SCOPED_TRACE(QString("device pixel %1,%2").arg(x).arg(y).toStdString());
            if (IsKey(imgDouble, x, y))
                ASSERT_EQ(qAlpha(imgShown.pixel(x, y)), 0);
            else
                ASSERT_EQ(imgShown.pixelColor(x, y).rgb(), DISC.rgb());
        }
    }
}

// The shape is in logical pixels: it keeps every one the finer edge touches,
// and the picture's transparent key pixels draw the edge inside it.
TEST_F(DoubleSizeSkinTest, ShapeKeepsEveryLogicalPixelTheDoubleSizeDiscTouches)
{
    Load();
    const QImage imgDouble = Pixels(m_skin.FilePath("back@2x.bmp"));
    for (int y = 0; y < WINDOW.height(); ++y) {
        for (int x = 0; x < WINDOW.width(); ++x) {
            const int nX = x * RATIO;
            const int nY = y * RATIO;
            const bool bTouched = !IsKey(imgDouble, nX, nY) || !IsKey(imgDouble, nX + 1, nY)
                || !IsKey(imgDouble, nX, nY + 1) || !IsKey(imgDouble, nX + 1, nY + 1);
            ASSERT_EQ(m_dialog.WindowRegion().contains(QPoint(x, y)), bTouched) << x << ',' << y;
        }
    }
}

TEST_F(DoubleSizeSkinTest, ButtonFramesComeFromTheDoubleSizeStrip)
{
    m_skin.WriteBackground("back.bmp", WINDOW, BACKGROUND, 0);
    m_skin.WriteBackground("back@2x.bmp", WINDOW * RATIO, BACKGROUND, 0);
    m_skin.WriteDisc("disc.bmp", QSize(BUTTON.width() * CSkinButton::FRAME_COUNT, BUTTON.height()), DISC);
    m_skin.WriteDisc("disc@2x.bmp", QSize(BUTTON.width() * CSkinButton::FRAME_COUNT, BUTTON.height()) * RATIO, DISC);
    m_skin.WriteIni("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=" + CTestSkinFolder::KEY_FIELD
                    + "\n[BUTTONINFO]\n1=BUTTON_DISC,disc.bmp,10,10,40,40,,\n");
    Load();
    ASSERT_EQ(m_dialog.Buttons().size(), 1);
    EXPECT_EQ(m_dialog.Buttons().front()->geometry(), BUTTON);

    const QImage imgFrame = Pixels(m_skin.FilePath("disc@2x.bmp")).copy(QRect(QPoint(0, 0), BUTTON.size() * RATIO));
    ASSERT_TRUE(HasEdgeFinerThanDoubledPixels(imgFrame));
    const QImage imgShown = m_dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint ptOrigin = BUTTON.topLeft() * RATIO;
    for (int y = 0; y < imgFrame.height(); ++y) {
        for (int x = 0; x < imgFrame.width(); ++x) {
            const QColor expected = IsKey(imgFrame, x, y) ? BACKGROUND : DISC;
            ASSERT_EQ(imgShown.pixelColor(ptOrigin + QPoint(x, y)).rgb(), expected.rgb()) << x << ',' << y;
        }
    }
}

// Controls drawn over a copy of the background take the copy from the same
// place at either resolution.
TEST_F(DoubleSizeSkinTest, ControlsCopyTheDoubleSizeBackgroundBeneathThem)
{
    m_skin.WriteBackground("back.bmp", WINDOW, BACKGROUND, 0);
    QImage imgPattern(WINDOW * RATIO, QImage::Format_RGB32);
    for (int y = 0; y < imgPattern.height(); ++y) {
        for (int x = 0; x < imgPattern.width(); ++x)
            imgPattern.setPixel(x, y, qRgb(x, y, 100));
    }
    ASSERT_TRUE(imgPattern.save(m_skin.FilePath("back@2x.bmp"), "BMP"));
    const QRect rcProgress(10, 10, 30, 10);
    m_skin.WriteIni("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=" + CTestSkinFolder::KEY_FIELD
                    + "\n[PROGRESSINFO]\n1=PROGRESS_LEVEL,10,10,40,20,none.bmp\n");
    Load();
    const QImage imgShown = m_dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect rcDevice(rcProgress.topLeft() * RATIO, rcProgress.size() * RATIO);
    for (int y = rcDevice.top(); y <= rcDevice.bottom(); ++y) {
        for (int x = rcDevice.left(); x <= rcDevice.right(); ++x)
            ASSERT_EQ(imgShown.pixel(x, y), imgPattern.pixel(x, y)) << x << ',' << y;
    }
}

// A partner of the wrong size would move every control off its picture.
TEST_F(DoubleSizeSkinTest, PartnerOfTheWrongSizeIsIgnored)
{
    m_skin.WriteDisc("back@2x.bmp", WINDOW * RATIO + QSize(1, 0), DISC);
    Load();
    EXPECT_EQ(m_dialog.BackgroundCopy().devicePixelRatio(), 1.0);
    EXPECT_EQ(m_dialog.BackgroundCopy().size(), WINDOW);
}

// As before partners existed: each pixel of the picture covers four.
TEST_F(DoubleSizeSkinTest, SkinWithoutPartnersShowsItsPicturesDoubled)
{
    QFile::remove(m_skin.FilePath("back@2x.bmp"));
    Load();
    EXPECT_EQ(m_dialog.BackgroundCopy().devicePixelRatio(), 1.0);
    const QImage imgPicture = Pixels(m_skin.FilePath("back.bmp"));
    const QImage imgShown = m_dialog.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(imgShown.size(), WINDOW * RATIO);
    for (int y = 0; y < imgShown.height(); ++y) {
        for (int x = 0; x < imgShown.width(); ++x) {
            if (IsKey(imgPicture, x / RATIO, y / RATIO))
                ASSERT_EQ(qAlpha(imgShown.pixel(x, y)), 0) << x << ',' << y;
            else
                ASSERT_EQ(imgShown.pixelColor(x, y).rgb(), DISC.rgb()) << x << ',' << y;
        }
    }
}

} // namespace
