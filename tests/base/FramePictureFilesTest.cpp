#include <gtest/gtest.h>

#include <string>

#include "base/FramePictureFiles.h"

// The frame dialog lists the files, the settings keep the list index, and
// the recorder, the window's commands, mpegrec and the timers' export number
// the pictures from 1.
TEST(FramePictureFiles, NamesAndNumbers)
{
    const struct
    {
        const char* pszFile;
        int nListIndex;
        const char* pszEntry;
        int nNumber;
    } cases[] = {
        { "Frame00.bif", 0, "No frame", 1 },
        { "Frame01.bif", 1, "Frame01.bif", 2 },
        { "Frame02.bif", 2, "Frame02.bif", 3 },
        { "frame00.bif", 0, "frame00.bif", 1 },
        { "bif", 0, "bif", 1 },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.pszFile);
        EXPECT_EQ(FramePictureEntry(testCase.pszFile), testCase.pszEntry);
        EXPECT_EQ(FramePictureNumber(testCase.nListIndex), testCase.nNumber);
        EXPECT_EQ(FramePictureListIndex(testCase.nNumber), testCase.nListIndex);
    }
    EXPECT_LT(FramePictureListIndex(NO_FRAME_PICTURE_NUMBER), 0);
}
