#include "skin/SkinFormat.h"

#include <gtest/gtest.h>

using namespace SkinFormat;

TEST(SkinFormat, CutFieldsRepeatTheLastOneUpToTheSectionsCount)
{
    const QStringList arrFields = CutFields(BUTTONS, "BUTTON_PLAY,play.bmp,1,2,3,40");
    EXPECT_EQ(arrFields, QStringList({ "BUTTON_PLAY", "play.bmp", "1", "2", "3", "40", "40", "40" }));
}

TEST(SkinFormat, ImageFieldsAreWhereTheTableSays)
{
    EXPECT_EQ(SLIDERS.FieldsOf(EField::eImage), QList<int>({ 1, 2, 3 }));
    EXPECT_EQ(COMBO_BOXES.FieldsOf(EField::eImage), QList<int>({ 5, 13, 14, 15, 16, 17, 18, 19 }));
    EXPECT_TRUE(LABELS.FieldsOf(EField::eImage).isEmpty());
}

TEST(SkinFormat, WriterAndReaderAgree)
{
    const QString strValue = CEntryWriter(PROGRESSES)
                                 .Put(EField::eName, "PROGRESS_LEVEL")
                                 .PutRect(QRect(10, 20, 30, 5))
                                 .Put(EField::eImage, "block.bmp")
                                 .Value();
    EXPECT_EQ(strValue, "PROGRESS_LEVEL,10,20,40,25,block.bmp");
    CEntryReader entry(PROGRESSES, strValue);
    EXPECT_EQ(entry.Take(EField::eName), "PROGRESS_LEVEL");
    EXPECT_EQ(entry.TakeRect(), QRect(10, 20, 30, 5));
    EXPECT_EQ(entry.NextKind(), EField::eImage);
    EXPECT_EQ(entry.Take(EField::eImage), "block.bmp");
}

// A reader or writer that drifts from the table must fail loudly, whatever
// the skin holds.
TEST(SkinFormatDeathTest, ReadingAFieldOfAnotherKindStops)
{
    EXPECT_DEATH(CEntryReader(BUTTONS, "BUTTON_PLAY,play.bmp").TakeRect(), "BUTTONINFO");
}

TEST(SkinFormatDeathTest, ReadingPastTheLastFieldStops)
{
    CEntryReader entry(CONTROL, "1,2,3,4");
    entry.TakeRect();
    EXPECT_DEATH(entry.NextKind(), "CONTROL");
    EXPECT_DEATH(entry.Take(EField::eCoordinate), "CONTROL");
}

TEST(SkinFormatDeathTest, AnEntryWrittenShortStops)
{
    EXPECT_DEATH(CEntryWriter(CONTROL).Put(EField::eCoordinate, "1").Value(), "CONTROL");
}
