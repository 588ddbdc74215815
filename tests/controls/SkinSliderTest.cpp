#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "controls/SkinSlider.h"
#include "tests/common/TestSkinParent.h"

namespace {

constexpr COLORREF KEY = MakeColorRef(255, 0, 255);
const QColor CHANNEL_COLOR(200, 0, 0);
const QColor THUMB_COLOR(0, 0, 200);
const QColor ACTIVE_THUMB_COLOR(0, 200, 0);
const QPoint SLIDER_ORIGIN(10, 30);

// A 220 x 20 horizontal slider: channel 220 x 10, thumbs 20 x 20 with a
// key-coloured square (5, 5)-(14, 14), range 0 to 7200 as skins get it.
class SkinSliderTest : public testing::Test
{
protected:
    SkinSliderTest()
        : m_parent(MakeGradientBackground(300, 300))
    {
        m_pSlider = new CSkinSlider(&m_parent, m_parent);
        m_pSlider->Create(QRect(SLIDER_ORIGIN, QSize(5, 5)));
        m_pSlider->SetTransparentColor(KEY);
    }

    void LoadImages(bool bVertical)
    {
        const QSize channel = bVertical ? QSize(10, 220) : QSize(220, 10);
        m_pSlider->LoadChannelImage(
            WriteBitmap(m_dir, "channel.bmp", channel.width(), channel.height(), CHANNEL_COLOR));
        const QRect rcKey(5, 5, 10, 10);
        m_pSlider->LoadThumbImages(WriteBitmap(m_dir, "thumb.bmp", 20, 20, THUMB_COLOR, rcKey, ColorFromRef(KEY)),
                                   WriteBitmap(m_dir, "drag.bmp", 20, 20, ACTIVE_THUMB_COLOR, rcKey, ColorFromRef(KEY)),
                                   true);
        m_pSlider->EnableFocusFrame(false, false);
        m_pSlider->SetRange(0, 7200, false);
        m_pSlider->MakeVertical(bVertical);
        m_parent.show();
    }

    // The slider's own picture: the window would repaint the background
    // beneath it anyway, so only this shows whether the slider draws its
    // copy of the background under the channel.
    QColor SliderPixel(int x, int y) { return m_pSlider->grab().toImage().pixelColor(x, y); }

    QColor BackgroundUnder(int x, int y) const
    {
        return m_parent.BackgroundCopy().pixelColor(SLIDER_ORIGIN + QPoint(x, y));
    }

    QTemporaryDir m_dir;
    CTestSkinParent m_parent;
    CSkinSlider* m_pSlider = nullptr;
};

} // namespace

TEST_F(SkinSliderTest, PositionAndPixelMapping)
{
    LoadImages(false);
    const struct
    {
        int nPos;
        int nPixel;
    } rows[] = { { 0, 10 }, { 3600, 110 }, { 7200, 210 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nPos);
        EXPECT_EQ(m_pSlider->PositionToPixel(row.nPos), row.nPixel);
        EXPECT_EQ(m_pSlider->PixelToPosition(row.nPixel), row.nPos);
    }
}

TEST_F(SkinSliderTest, ClickOnTrackJumpsAndDragClampsWithNotifications)
{
    LoadImages(false);
    QTest::mousePress(m_pSlider, Qt::LeftButton, Qt::NoModifier, QPoint(110, 10));
    ASSERT_EQ(m_parent.m_arrSliderChanges.size(), 1);
    EXPECT_EQ(m_parent.m_arrSliderChanges.last(), qMakePair(0, 3600));

    QTest::mouseMove(m_pSlider, QPoint(5, 10));
    EXPECT_EQ(m_pSlider->GetPos(), 0);
    QTest::mouseMove(m_pSlider, QPoint(300, 10));
    EXPECT_EQ(m_pSlider->GetPos(), 7200);
    EXPECT_EQ(m_parent.m_arrSliderChanges.size(), 3);
    QTest::mouseRelease(m_pSlider, Qt::LeftButton, Qt::NoModifier, QPoint(300, 10));

    QTest::mouseMove(m_pSlider, QPoint(50, 10));
    EXPECT_EQ(m_pSlider->GetPos(), 7200);
    EXPECT_EQ(m_parent.m_arrSliderChanges.size(), 3);
}

TEST_F(SkinSliderTest, KeysMoveWithinRangeWithoutNotifying)
{
    LoadImages(false);
    const struct
    {
        int nStart;
        Qt::Key key;
        int nExpected;
    } rows[] = {
        { 7190, Qt::Key_PageDown, 7200 }, { 30, Qt::Key_PageUp, 10 }, { 10, Qt::Key_PageUp, 0 },
        { 500, Qt::Key_Home, 0 },         { 500, Qt::Key_End, 7200 }, { 500, Qt::Key_Down, 501 },
        { 0, Qt::Key_Left, 0 },           { 500, Qt::Key_A, 500 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nStart);
        m_pSlider->SetPos(row.nStart);
        QTest::keyClick(m_pSlider, row.key);
        EXPECT_EQ(m_pSlider->GetPos(), row.nExpected);
    }
    EXPECT_TRUE(m_parent.m_arrSliderChanges.isEmpty());
}

TEST_F(SkinSliderTest, EmptyRangeNeitherDividesByZeroNorMoves)
{
    LoadImages(false);
    m_pSlider->SetRange(5, 5, true);
    m_pSlider->SetPos(9);
    EXPECT_EQ(m_pSlider->PositionToPixel(m_pSlider->GetPos()), 10);
    QTest::mousePress(m_pSlider, Qt::LeftButton, Qt::NoModifier, QPoint(150, 10));
    QTest::mouseRelease(m_pSlider, Qt::LeftButton, Qt::NoModifier, QPoint(150, 10));
    EXPECT_EQ(m_pSlider->GetPos(), 5);
    EXPECT_EQ(SliderPixel(1, 2), THUMB_COLOR);
    EXPECT_EQ(SliderPixel(30, 2), BackgroundUnder(30, 2));
}

TEST_F(SkinSliderTest, ChannelUpToThumbAndKeyPixelsShowWhatIsBeneath)
{
    LoadImages(false);
    m_pSlider->SetPos(3600);
    // Thumb spans columns 100..119; the channel (rows 5..14) ends at 110.
    EXPECT_EQ(SliderPixel(50, 7), CHANNEL_COLOR);
    EXPECT_EQ(SliderPixel(180, 7), BackgroundUnder(180, 7));
    EXPECT_EQ(SliderPixel(101, 2), THUMB_COLOR);
    EXPECT_EQ(SliderPixel(107, 7), CHANNEL_COLOR);
    EXPECT_EQ(SliderPixel(112, 7), BackgroundUnder(112, 7));

    QTest::mousePress(m_pSlider, Qt::LeftButton, Qt::NoModifier, QPoint(110, 10));
    EXPECT_EQ(SliderPixel(101, 2), ACTIVE_THUMB_COLOR);
    EXPECT_EQ(SliderPixel(107, 7), CHANNEL_COLOR);
    QTest::mouseRelease(m_pSlider, Qt::LeftButton, Qt::NoModifier, QPoint(110, 10));
    EXPECT_EQ(SliderPixel(101, 2), THUMB_COLOR);
}

TEST_F(SkinSliderTest, VerticalShowsChannelOnlyBelowThumb)
{
    LoadImages(true);
    m_pSlider->SetPos(3600);
    EXPECT_EQ(SliderPixel(7, 50), BackgroundUnder(7, 50));
    EXPECT_EQ(SliderPixel(7, 180), CHANNEL_COLOR);
    EXPECT_EQ(SliderPixel(2, 101), THUMB_COLOR);
}

TEST(SkinSlider, MissingThumbSizesToChannelAndMissingDragImageDropsThumb)
{
    QTemporaryDir dir;
    CTestSkinParent parent(MakeGradientBackground(300, 100));
    CSkinSlider slider(&parent, parent);
    slider.Create(QRect(0, 0, 5, 5));
    ASSERT_TRUE(slider.LoadChannelImage(WriteBitmap(dir, "channel.bmp", 120, 8, CHANNEL_COLOR)));
    EXPECT_FALSE(slider.LoadThumbImages(dir.filePath("missing.bmp"), QString(), true));
    EXPECT_EQ(slider.size(), QSize(120, 8));

    const QString strThumb = WriteBitmap(dir, "thumb.bmp", 20, 20, THUMB_COLOR);
    EXPECT_FALSE(slider.LoadThumbImages(strThumb, dir.filePath("missing.bmp"), true));
    EXPECT_TRUE(slider.LoadThumbImages(strThumb, QString(), true));
    EXPECT_EQ(slider.size(), QSize(120, 20));
}
