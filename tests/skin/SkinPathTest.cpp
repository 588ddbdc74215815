#include "skin/SkinPath.h"

#include <gtest/gtest.h>

#include "tests/skin/ZipFixtures.h"

namespace {

TEST(SkinPath, ResolvesNamesWrittenInAnyCaseAndSeparator)
{
    CZipWorkspace work;
    work.Write("skin/Skin.ini", "x");
    work.Write("skin/Images/Buttons/Play.BMP", "x");
    work.Write("skin/exact.bmp", "x");
    work.Write("skin/EXACT.bmp", "x");
    const QString strFolder = work.Path("skin");
    const struct
    {
        const char* pszName;
        const char* pszResolved;
    } rows[] = {
        { "SKIN.INI", "Skin.ini" },
        { "images\\buttons\\play.bmp", "Images/Buttons/Play.BMP" },
        { "IMAGES/Buttons\\PLAY.bmp", "Images/Buttons/Play.BMP" },
        { "EXACT.bmp", "EXACT.bmp" },
        { "exact.bmp", "exact.bmp" },
        { "Exact.BMP", "EXACT.bmp" },
        { "images/missing.bmp", "images/missing.bmp" },
        { "nothing/Play.bmp", "nothing/Play.bmp" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        EXPECT_EQ(ResolveSkinFile(strFolder, row.pszName), strFolder + "/" + row.pszResolved);
    }
}

} // namespace
