#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/ProgramFolders.h"

TEST(ProgramFolders, SearchOrder)
{
    const std::filesystem::path dataFromBin = SKINREC_DATA_DIR_FROM_PROGRAM;
    const std::filesystem::path installed = ("/opt/rec/bin" / dataFromBin).lexically_normal();
    const struct
    {
        const char* pszName;
        std::filesystem::path current;
        std::filesystem::path program;
        std::vector<std::filesystem::path> expected;
    } cases[] = {
        { "current, program, installed data", "/home/u", "/opt/rec/bin", { "/home/u", "/opt/rec/bin", installed } },
        { "started in the program's folder", "/opt/rec/bin", "/opt/rec/bin", { "/opt/rec/bin", installed } },
        { "started in the data folder", installed, "/opt/rec/bin", { installed, "/opt/rec/bin" } },
        { "trailing separators", "/home/u/", "/opt/rec/bin/", { "/home/u", "/opt/rec/bin", installed } },
        { "program not found", "/home/u", "", { "/home/u" } },
        { "current folder gone", "", "/opt/rec/bin", { "/opt/rec/bin", installed } },
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        EXPECT_EQ(ProgramDataFolders(testCase.current, testCase.program), testCase.expected);
    }
}

TEST(ProgramFolders, StartsInTheCurrentFolder)
{
    const std::vector<std::filesystem::path> folders = ProgramDataFolders();
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), std::filesystem::current_path());
}
