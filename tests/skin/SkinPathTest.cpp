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

// A skin may name nothing but the files of its own package, however the
// name gets out of it.
TEST(SkinPath, NamesLeadingOutOfTheFolderAreRefused)
{
    CZipWorkspace work;
    work.Write("skin/Skin.ini", "x");
    work.Write("skin/sub/inside.bmp", "x");
    work.Write("outside/x.bmp", "x");
    const QString strFolder = work.Path("skin");
    ASSERT_TRUE(QFile::link(work.Path("outside/x.bmp"), work.Path("skin/link.bmp")));
    ASSERT_TRUE(QFile::link(work.Path("outside"), work.Path("skin/LinkedFolder")));
    ASSERT_TRUE(QFile::link("sub/inside.bmp", work.Path("skin/inner.bmp")));
    const struct
    {
        QString strName;
        ESkinFileLookup eResult;
        const char* pszFound; // for eFound, relative to the folder
    } rows[] = {
        { work.Path("outside/x.bmp"), ESkinFileLookup::eOutside, nullptr },
        { "/proc/self/environ", ESkinFileLookup::eOutside, nullptr },
        { "../outside/x.bmp", ESkinFileLookup::eOutside, nullptr },
        { "..\\outside\\X.BMP", ESkinFileLookup::eOutside, nullptr },
        { "sub/../../outside/x.bmp", ESkinFileLookup::eOutside, nullptr },
        { "../outside/missing.bmp", ESkinFileLookup::eOutside, nullptr },
        { "link.bmp", ESkinFileLookup::eOutside, nullptr },
        { "LINK.BMP", ESkinFileLookup::eOutside, nullptr },
        { "linkedfolder/x.bmp", ESkinFileLookup::eOutside, nullptr },
        { "LINKEDFOLDER/X.BMP", ESkinFileLookup::eOutside, nullptr },
        { "inner.bmp", ESkinFileLookup::eFound, "inner.bmp" },
        { "sub/../SUB/Inside.bmp", ESkinFileLookup::eFound, "sub/inside.bmp" },
        { "sub/missing.bmp", ESkinFileLookup::eMissing, nullptr },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.strName.toStdString());
        const CSkinFileLookup lookup = LookUpSkinFile(strFolder, row.strName);
        EXPECT_EQ(lookup.eResult, row.eResult);
        if (row.pszFound) {
            EXPECT_EQ(QFileInfo(lookup.strPath).canonicalFilePath(),
                      QFileInfo(strFolder + "/" + row.pszFound).canonicalFilePath());
        }
        if (row.eResult == ESkinFileLookup::eOutside) {
            EXPECT_EQ(ResolveSkinFile(strFolder, row.strName), QString());
        }
    }
}

} // namespace
