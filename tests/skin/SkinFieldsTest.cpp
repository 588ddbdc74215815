#include "skin/SkinFields.h"

#include <gtest/gtest.h>

#include <climits>

#include <QFile>
#include <QTemporaryDir>

#include "skin/IniFile.h"

using namespace SkinFields;

TEST(SkinFields, MissingFieldsRepeatTheLastOne)
{
    QString strValue = "BUTTON_PLAY,play.bmp,1,2,3,40";
    EXPECT_EQ(NextField(strValue), "BUTTON_PLAY");
    EXPECT_EQ(NextField(strValue), "play.bmp");
    EXPECT_EQ(ParseRect(strValue), QRect(1, 2, 2, 38));
    const QString strTip = NextField(strValue);
    const QString strLatch = NextField(strValue);
    EXPECT_EQ(strTip, "40");
    EXPECT_EQ(strLatch, "40");
    EXPECT_FALSE(IsFlagSet(strLatch));
}

TEST(SkinFields, BlanksAfterACommaGoButBlanksBeforeOneStay)
{
    QString strValue = "10, 20 ,30,40";
    EXPECT_EQ(NextField(strValue), "10");
    EXPECT_EQ(NextField(strValue), "20 ");
    strValue = "10, 20 ,30,40";
    EXPECT_EQ(ParseRect(strValue), QRect(QPoint(10, 20), QPoint(29, 39)));
}

TEST(SkinFields, TwoCommasInARowGiveAnEmptyField)
{
    QString strValue = "a,,b";
    EXPECT_EQ(NextField(strValue), "a");
    EXPECT_EQ(NextField(strValue), "");
    EXPECT_EQ(NextField(strValue), "b");
    EXPECT_EQ(strValue, "b");
}

TEST(SkinFields, NumbersReadLikeAtoi)
{
    const struct
    {
        const char* szField;
        int nValue;
    } rows[] = {
        { "42", 42 }, { "  -7px", -7 }, { "+3", 3 }, { "", 0 }, { "abc", 0 }, { "12abc", 12 }, { "- 5", 0 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.szField);
        EXPECT_EQ(ToInt(row.szField), row.nValue);
    }
}

TEST(SkinFields, NumbersBeyondIntReadAsTheNearestEnd)
{
    const struct
    {
        const char* szField;
        int nValue;
    } rows[] = {
        { "2147483647", INT_MAX },  { "2147483648", INT_MAX },  { "99999999999", INT_MAX },
        { "-2147483648", INT_MIN }, { "-2147483649", INT_MIN }, { "-99999999999999999999999", INT_MIN },
        { "4294967306", INT_MAX },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.szField);
        EXPECT_EQ(ToInt(row.szField), row.nValue);
    }
}

// Each row once overflowed int in right minus left or in QRect's own edges,
// which the sanitizer build stops at.
TEST(SkinFields, ExtremeRectangleNumbersAreHeldWithinTheCoordinateLimit)
{
    const struct
    {
        const char* szValue;
        QRect rc;
    } rows[] = {
        { "-2147483648,0,2147483647,10", QRect(QPoint(-MAX_COORDINATE, 0), QPoint(MAX_COORDINATE - 1, 9)) },
        { "0,-99999999999,10,99999999999", QRect(QPoint(0, -MAX_COORDINATE), QPoint(9, MAX_COORDINATE - 1)) },
        { "2147483647,2147483647,-2147483648,-2147483648",
          QRect(MAX_COORDINATE, MAX_COORDINATE, -2 * MAX_COORDINATE, -2 * MAX_COORDINATE) },
        { "16777216,0,16777217,1", QRect(MAX_COORDINATE, 0, 0, 1) },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.szValue);
        QString strValue = row.szValue;
        const QRect rc = ParseRect(strValue);
        EXPECT_EQ(rc, row.rc);
        EXPECT_EQ(qint64(rc.width()), qint64(row.rc.width()));
    }
}

TEST(SkinFields, ColoursSwapRedAndBlue)
{
    const struct
    {
        const char* szField;
        COLORREF cr;
    } rows[] = {
        { "0xFF00FF", 0x00FF00FFu }, { "16711935", 0x00FF00FFu }, { "0x123456", 0x00563412u },
        { "0X0000ff", 0x00FF0000u }, { "255", 0x00FF0000u },      { "0", 0u },
        { "", CLR_NONE_GIVEN },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.szField);
        EXPECT_EQ(ParseColor(row.szField), row.cr);
    }
}

TEST(SkinFields, FlagsFollowTheirOwnRules)
{
    EXPECT_TRUE(IsFlagSet("TRUE"));
    EXPECT_TRUE(IsFlagSet("True"));
    EXPECT_FALSE(IsFlagSet("true"));
    EXPECT_FALSE(IsFlagSet(""));
    EXPECT_TRUE(IsEnabled("TRUE"));
    EXPECT_FALSE(IsEnabled("True"));
    EXPECT_TRUE(IsVertical("VERT"));
    EXPECT_FALSE(IsVertical("vertical"));
}

TEST(SkinFields, ControlListsReadKeysOneToTheKeyCount)
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("Skin.ini");
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[BUTTONINFO]\n1=first\n2=\n5=fifth\n[OPTIONINFO]\n1=a\n2=b\n5=e\n1=again\n");
    file.close();
    const CIniFile ini(strPath);

    const QList<CControlEntry> buttons = ReadControlList(ini, "BUTTONINFO");
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0].nIndex, 0);
    EXPECT_EQ(buttons[0].strValue, "first");

    const QList<CControlEntry> options = ReadControlList(ini, "OPTIONINFO");
    ASSERT_EQ(options.size(), 2);
    EXPECT_EQ(options[0].strValue, "a");
    EXPECT_EQ(options[1].nIndex, 1);
    EXPECT_EQ(options[1].strValue, "b");
}

// A description of a hundred thousand entries once held the window for
// minutes: a section is read no further than its limit.
TEST(SkinFields, ControlListsStopAtTheSectionEntryLimit)
{
    constexpr int ENTRIES = 1500;
    QTemporaryDir dir;
    const QString strPath = dir.filePath("Skin.ini");
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[BUTTONINFO]\n");
    for (int i = 1; i <= ENTRIES; ++i)
        file.write(QByteArray::number(i) + "=entry " + QByteArray::number(i) + "\n");
    file.write("[Screen]\nMain=back.bmp\n");
    file.close();
    const CIniFile ini(strPath);

    const QList<CControlEntry> buttons = ReadControlList(ini, "BUTTONINFO");
    ASSERT_EQ(buttons.size(), CIniFile::MAX_SECTION_ENTRIES);
    EXPECT_EQ(buttons.back().strValue, QString("entry %1").arg(CIniFile::MAX_SECTION_ENTRIES));
    EXPECT_EQ(ini.GetString("BUTTONINFO", QString::number(ENTRIES), "past the limit"), "past the limit");
    EXPECT_EQ(ini.CountKeyLines("BUTTONINFO"), ENTRIES);
    EXPECT_EQ(ini.GetString("SCREEN", "MAIN", ""), "back.bmp");
}
