#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "controls/SkinEdit.h"
#include "controls/SkinProgress.h"
#include "tests/common/TestSkinParent.h"

namespace {

constexpr COLORREF KEY = MakeColorRef(255, 0, 255);
const QColor BLOCK_COLOR(0, 160, 0);
const QPoint BAR_ORIGIN(20, 40);

QColor PixelOf(QWidget& parent, QWidget& control, int x, int y)
{
    return parent.grab(control.geometry()).toImage().pixelColor(x, y);
}

} // namespace

TEST(SkinProgress, BlocksFillThePositionWithTheLastOneSqueezed)
{
    QTemporaryDir dir;
    CTestSkinParent parent(MakeGradientBackground(300, 100));
    CSkinProgress bar(&parent, parent);
    bar.Create(QRect(BAR_ORIGIN, QSize(200, 12)));
    bar.SetTransparentColor(KEY);
    // Block 16 x 12 whose rows 8..11 are key-coloured.
    ASSERT_TRUE(
        bar.LoadBlock(WriteBitmap(dir, "block.bmp", 16, 12, BLOCK_COLOR, QRect(0, 8, 16, 4), ColorFromRef(KEY))));
    parent.show();
    const auto background = [&](int x, int y) { return parent.BackgroundCopy().pixelColor(BAR_ORIGIN + QPoint(x, y)); };

    const struct
    {
        int nPos;
        int nFilled;
        int nStored;
    } rows[] = { { 50, 100, 50 }, { 100, 200, 100 }, { 150, 200, 100 }, { -5, 0, 0 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.nPos);
        bar.SetPos(row.nPos);
        EXPECT_EQ(bar.GetPos(), row.nStored);
        EXPECT_EQ(bar.FilledWidth(), row.nFilled);
        if (row.nFilled > 0) {
            EXPECT_EQ(PixelOf(parent, bar, row.nFilled - 1, 2), BLOCK_COLOR);
        }
        if (row.nFilled < 200) {
            EXPECT_EQ(PixelOf(parent, bar, row.nFilled, 2), background(row.nFilled, 2));
        }
        EXPECT_EQ(PixelOf(parent, bar, 5, 10), background(5, 10));
    }
}

TEST(SkinProgress, WithoutBlockImageShowsOnlyTheBackground)
{
    CTestSkinParent parent(MakeGradientBackground(300, 100));
    CSkinProgress bar(&parent, parent);
    bar.Create(QRect(BAR_ORIGIN, QSize(200, 12)));
    EXPECT_FALSE(bar.LoadBlock(QString()));
    bar.SetPos(60);
    parent.show();
    EXPECT_EQ(PixelOf(parent, bar, 10, 3), parent.BackgroundCopy().pixelColor(BAR_ORIGIN + QPoint(10, 3)));
}

TEST(SkinEdit, DrawsSkinColoursAndBorderInsideItsRectangle)
{
    CTestSkinParent parent(MakeGradientBackground(300, 100));
    CSkinEdit edit(&parent, parent);
    edit.Create(QRect(10, 10, 120, 24));
    edit.SetBkColor(MakeColorRef(0x10, 0x20, 0x30));
    edit.SetTextColor(MakeColorRef(0xF0, 0xF0, 0xF0));
    edit.SetBorderColor(MakeColorRef(0xFF, 0, 0));
    parent.show();
    EXPECT_EQ(PixelOf(parent, edit, 0, 0), QColor(0xFF, 0, 0));
    EXPECT_EQ(PixelOf(parent, edit, 119, 23), QColor(0xFF, 0, 0));
    EXPECT_EQ(PixelOf(parent, edit, 110, 12), QColor(0x10, 0x20, 0x30));

    // A later background colour shows at the next paint.
    edit.SetBkColor(MakeColorRef(0, 0x80, 0));
    EXPECT_EQ(PixelOf(parent, edit, 110, 12), QColor(0, 0x80, 0));
}

TEST(SkinEdit, EmptyColourFieldsTakeThePlatformColours)
{
    CTestSkinParent parent(MakeGradientBackground(300, 100));
    CSkinEdit edit(&parent, parent, CSkinEdit::EKind::eComboField);
    edit.Create(QRect(10, 10, 120, 24));
    edit.SetBkColor(CLR_NONE_GIVEN);
    edit.SetTextColor(CLR_NONE_GIVEN);
    edit.SetBorderColor(CLR_NONE_GIVEN);
    const QPalette platform;
    EXPECT_EQ(edit.BackColor(), platform.color(QPalette::Base));
    EXPECT_EQ(edit.TextColor(), platform.color(QPalette::Text));
    EXPECT_EQ(edit.BorderColor(), platform.color(QPalette::Shadow));
    parent.show();
    EXPECT_EQ(PixelOf(parent, edit, 110, 12).rgb(), platform.color(QPalette::Base).rgb());
    EXPECT_EQ(PixelOf(parent, edit, 0, 5).rgb(), platform.color(QPalette::Shadow).rgb());
}
