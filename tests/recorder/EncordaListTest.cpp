#include <gtest/gtest.h>

#include "recorder/EncordaList.h"

namespace {

TEST(EncordaList, LooksUpNamesExactly)
{
    const CEncordaList list({ "Test Pattern", "Screen", "test pattern", "" });
    struct CCase
    {
        const char* pszName;
        short nIndex;
    };
    const CCase cases[] = {
        { "Test Pattern", 0 },
        { "test pattern", 2 },
        { "Screen", 1 },
        { "Screen ", -1 },
        { "TEST PATTERN", -1 },
        // An empty name finds only an empty entry.
        { "", 3 },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(list.FindIndex(c.pszName), c.nIndex);
    }
    EXPECT_EQ(CEncordaList({ "a" }).FindIndex(""), -1);
}

TEST(EncordaList, ReadsOutsideTheListGiveEmptyText)
{
    const CEncordaList list({ "YUYV 640x480", "MJPG 1280x720" });
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.FormatName(1), "MJPG 1280x720");
    for (const short nIndex : { short(-1), short(2), short(-32768), short(32767) }) {
        SCOPED_TRACE(nIndex);
        EXPECT_TRUE(list.Name(nIndex).isEmpty());
        EXPECT_TRUE(list.FormatName(nIndex).isEmpty());
    }
}

TEST(EncordaList, OnlyEntriesOfAListWithPagesShowOne)
{
    QList<short> arrShown;
    const CEncordaList compressors({ "mpeg1video", "rawvideo" }, [&arrShown](short nIndex) {
        arrShown.append(nIndex);
        return nIndex == 0;
    });
    EXPECT_TRUE(compressors.ShowPropertyPage(0));
    EXPECT_FALSE(compressors.ShowPropertyPage(1));
    // A name that was not found arrives as -1 and has no page.
    EXPECT_FALSE(compressors.ShowPropertyPage(-1));
    EXPECT_FALSE(compressors.ShowPropertyPage(2));
    EXPECT_EQ(arrShown, (QList<short> { 0, 1 }));
    EXPECT_FALSE(CEncordaList({ "Test Tone" }).ShowPropertyPage(0));
}

} // namespace
