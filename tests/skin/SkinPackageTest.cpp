#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include "controls/SkinButton.h"
#include "skin/SkinPackage.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

// Packs strFolder's contents (not the folder itself) with Info-ZIP.
bool ZipFolder(const QString& strFolder, const QString& strZip)
{
    QProcess zip;
    zip.setWorkingDirectory(strFolder);
    zip.start("zip", { "-q", "-r", strZip, "." });
    return zip.waitForFinished() && zip.exitStatus() == QProcess::NormalExit && zip.exitCode() == 0;
}

// Runs a test in a folder of its own as the current directory, with
// temporary folders made inside another folder it can inspect.
class SkinPackageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath("cwd");
        QDir(m_root.path()).mkpath("tmp");
        m_strOldCurrent = QDir::currentPath();
        m_strOldTemp = qgetenv("TMPDIR");
        ASSERT_TRUE(QDir::setCurrent(Path("cwd")));
        qputenv("TMPDIR", Path("tmp").toLocal8Bit());
    }

    void TearDown() override
    {
        QDir::setCurrent(m_strOldCurrent);
        qputenv("TMPDIR", m_strOldTemp);
    }

    QString Path(const QString& strName) const { return QDir(m_root.path()).filePath(strName); }

    // A package with a background of the given colour and one button named
    // after the package.
    QString MakePackage(const QString& strName, QColor colour) const
    {
        const CTestSkinFolder skin(Path("src-" + strName));
        skin.WriteBackground("main.bmp", QSize(60, 40), colour, 2);
        skin.WriteStrip("button.bmp", { Qt::red, Qt::green, Qt::blue, Qt::yellow });
        skin.WriteIni("[Screen]\nMain=main.bmp\n[TRANSPARENT]\nCOLOR=0xFF00FF\n[BUTTONINFO]\n1=BUTTON_"
                      + strName.section('.', 0, 0).toUpper() + ",button.bmp,5,5,15,15,,\n");
        const QString strZip = Path("programs/" + strName);
        QDir().mkpath(Path("programs"));
        EXPECT_TRUE(ZipFolder(skin.Folder(), strZip));
        return strZip;
    }

    bool TempFolderIsEmpty() const
    {
        return QDir(Path("tmp")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // The skin menu's checked items, as it would show them.
    QStringList CheckedItems()
    {
        QStringList arrChecked;
        for (QAction* pAction : m_dialog.SkinMenu()->actions()) {
            m_dialog.OnUpdateChangeSkin(pAction);
            if (pAction->isChecked())
                arrChecked.append(pAction->text());
        }
        return arrChecked;
    }

    QColor ShownBackground() { return m_dialog.grab().toImage().pixelColor(30, 30); }

    QTemporaryDir m_root;
    QString m_strOldCurrent;
    QByteArray m_strOldTemp;
    CScriptedPrompt m_prompt;
    CSkinTestDialog m_dialog { m_prompt };
};

// The owner hears of each load twice: while the old skin's controls are
// still there, and once the new ones are made while the package's files
// still exist; a package that cannot be used tells it nothing.
TEST_F(SkinPackageTest, TheHooksFrameEveryLoadWhileItsFilesExist)
{
    const QString strPink = MakePackage("Pink.skn", QColor(250, 180, 200));
    MakePackage("Red.zip", QColor(200, 0, 0));
    m_dialog.SetPackageFolder(Path("programs"));
    const struct
    {
        const char* pszLoad;
        std::function<void()> load;
        QStringList arrHooks;
    } rows[] = {
        { "first package",
          [&] { m_dialog.MakeSkinCurrent(strPink); },
          { "releasing ", "loaded BUTTON_PINK on main.bmp in its folder" } },
        { "skin command",
          [&] { m_dialog.ChangeSkin(32775); },
          { "releasing BUTTON_PINK", "loaded BUTTON_RED on main.bmp in its folder", "changed" } },
        { "missing package", [&] { m_dialog.ChangeSkin(32772); }, {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszLoad);
        m_dialog.m_arrHooks.clear();
        row.load();
        EXPECT_EQ(m_dialog.m_arrHooks.join(" | ").toStdString(), row.arrHooks.join(" | ").toStdString());
    }
}

TEST_F(SkinPackageTest, RedCommandLoadsRedZipAndChecksOnlyRed)
{
    MakePackage("Pink.skn", QColor(250, 180, 200));
    MakePackage("Red.zip", QColor(200, 0, 0));
    m_dialog.SetPackageFolder(Path("programs"));
    ASSERT_TRUE(m_dialog.MakeSkinCurrent(Path("programs/Pink.skn")));

    m_dialog.ChangeSkin(32775);

    EXPECT_EQ(m_dialog.SkinIndex(), 4);
    EXPECT_EQ(ShownBackground(), QColor(200, 0, 0));
    EXPECT_NE(m_dialog.FindButton("BUTTON_RED"), nullptr);
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty());
    EXPECT_TRUE(TempFolderIsEmpty());

    QStringList arrTexts;
    for (const QAction* pAction : m_dialog.SkinMenu()->actions())
        arrTexts.append(pAction->text());
    EXPECT_EQ(m_dialog.SkinMenu()->title(), "&Change Skin");
    EXPECT_EQ(arrTexts, (QStringList { "&Orange", "&Black", "&Purple", "Bl&ue", "&Red", "&Gray", "P&ink", "&Deluxe" }));
    EXPECT_EQ(CheckedItems(), QStringList { "&Red" });
}

// The menu used to check "&Orange" whatever package the window started with.
TEST_F(SkinPackageTest, StartupPackageChecksTheCommandWithTheSameBytes)
{
    const QString strPink = MakePackage("Pink.zip", QColor(250, 180, 200));
    MakePackage("Orange.zip", QColor(250, 150, 0));
    ASSERT_TRUE(QFile::copy(strPink, Path("cwd/Pink.skn")));
    const QString strOther = MakePackage("Other.skn", QColor(0, 0, 250));
    m_dialog.SetPackageFolder(Path("programs"));

    ASSERT_TRUE(m_dialog.MakeSkinCurrent(Path("cwd/Pink.skn")));
    EXPECT_EQ(m_dialog.SkinIndex(), 6);
    EXPECT_EQ(CheckedItems(), QStringList { "P&ink" });

    ASSERT_TRUE(m_dialog.MakeSkinCurrent(strOther));
    EXPECT_EQ(m_dialog.SkinIndex(), SkinPackage::NO_SKIN_COMMAND);
    EXPECT_EQ(CheckedItems(), QStringList());
}

// Packages made on Windows, where letter case does not matter, may name
// their description "SKIN.INI" or "skin.ini"; skintool check accepts them,
// so the window must too.
TEST_F(SkinPackageTest, DescriptionNamedInAnyLetterCaseLoads)
{
    const CTestSkinFolder skin(Path("src-upper"));
    skin.WriteBackground("main.bmp", QSize(60, 40), QColor(0, 90, 0), 2);
    skin.WriteStrip("button.bmp", { Qt::red, Qt::green, Qt::blue, Qt::yellow });
    skin.WriteIni("[Screen]\nMain=main.bmp\n[BUTTONINFO]\n1=BUTTON_UPPER,button.bmp,5,5,15,15,,\n");
    ASSERT_TRUE(QFile::rename(skin.SkinFile(), QDir(skin.Folder()).filePath("SKIN.INI")));
    ASSERT_TRUE(ZipFolder(skin.Folder(), Path("Upper.zip")));

    ASSERT_TRUE(m_dialog.MakeSkinCurrent(Path("Upper.zip")));
    EXPECT_EQ(ShownBackground(), QColor(0, 90, 0));
    EXPECT_NE(m_dialog.FindButton("BUTTON_UPPER"), nullptr);
}

TEST_F(SkinPackageTest, MenuItemSwitchesTheSkin)
{
    MakePackage("Gray.zip", QColor(128, 128, 128));
    m_dialog.SetPackageFolder(Path("programs"));
    m_dialog.SkinMenu()->actions().at(5)->trigger();
    EXPECT_EQ(m_dialog.SkinIndex(), 5);
    EXPECT_EQ(ShownBackground(), QColor(128, 128, 128));
}

TEST_F(SkinPackageTest, MissingPackageKeepsTheSkinInUse)
{
    MakePackage("Pink.skn", QColor(250, 180, 200));
    ASSERT_TRUE(m_dialog.MakeSkinCurrent(Path("programs/Pink.skn")));
    m_dialog.SetPackageFolder(Path("programs"));

    m_dialog.ChangeSkin(32772);

    EXPECT_EQ(m_prompt.Texts(), QStringList { "Open failed" });
    EXPECT_EQ(m_dialog.SkinIndex(), SkinPackage::NO_SKIN_COMMAND);
    EXPECT_EQ(ShownBackground(), QColor(250, 180, 200));
    EXPECT_NE(m_dialog.FindButton("BUTTON_PINK"), nullptr);
    EXPECT_TRUE(TempFolderIsEmpty());
}

// What a package holds, written into its source folder before packing.
using CSkinContents = void (*)(const CTestSkinFolder& skin);

void WriteGoodSkin(const CTestSkinFolder& skin)
{
    skin.WriteBackground("main.bmp", QSize(60, 40), Qt::darkGreen, 2);
    skin.WriteIni("[Screen]\nMain=main.bmp\n");
}

void WriteFile(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// BITMAPFILEHEADER and BITMAPINFOHEADER of a 24-bit picture 0 by 0 pixels.
QByteArray ZeroSizeBmp()
{
    QByteArray bmp(54, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[2] = 54;
    bmp[10] = 54;
    bmp[14] = 40;
    bmp[26] = 1;
    bmp[28] = 24;
    return bmp;
}

struct CUnusableCase
{
    const char* pszWhat;
    // Written and packed with zip, or the package's bytes when given.
    CSkinContents write;
    QByteArray package;
    QStringList arrZipOptions;
    // What the message names as missing.
    const char* pszMissing;
};

// A package the window cannot be made from used to replace the skin in use
// with a window without background, shape or controls.
TEST_F(SkinPackageTest, UnusablePackageIsRefusedAndTheSkinInUseStays)
{
    // An archive of no entries at all: its end record alone.
    QByteArray emptyArchive(22, '\0');
    emptyArchive.replace(0, 4, "PK\x05\x06");
    const CUnusableCase cases[] = {
        { "an empty archive", nullptr, emptyArchive, {}, "holds no file that can be read" },
        { "only encrypted entries", &WriteGoodSkin, {}, { "-P", "secret" }, "holds no file that can be read" },
        { "no description",
          [](const CTestSkinFolder& skin) {
              skin.WriteBackground("main.bmp", { 60, 40 }, Qt::red, 0);
          },
          {},
          {},
          "it has no Skin.ini" },
        { "a folder for a description",
          [](const CTestSkinFolder& skin) { QDir(skin.Folder()).mkpath("Skin.ini/x"); },
          {},
          {},
          "its Skin.ini cannot be read" },
        { "no background named",
          [](const CTestSkinFolder& skin) { skin.WriteIni("[TRANSPARENT]\nCOLOR=0xFF00FF\n"); },
          {},
          {},
          "names no background picture (Main= in [Screen])" },
        { "the background missing",
          [](const CTestSkinFolder& skin) { skin.WriteIni("[Screen]\nMain=gone.bmp\n"); },
          {},
          {},
          "background picture gone.bmp cannot be used (not found)" },
        { "an empty background file",
          [](const CTestSkinFolder& skin) {
              skin.WriteIni("[Screen]\nMain=main.bmp\n");
              WriteFile(skin.FilePath("main.bmp"), {});
          },
          {},
          {},
          "background picture main.bmp cannot be used" },
        { "a background of no pixels",
          [](const CTestSkinFolder& skin) {
              skin.WriteIni("[Screen]\nMain=main.bmp\n");
              WriteFile(skin.FilePath("main.bmp"), ZeroSizeBmp());
          },
          {},
          {},
          "background picture main.bmp cannot be used (BMP header claims no pixels" },
    };
    MakePackage("Pink.skn", QColor(250, 180, 200));
    ASSERT_TRUE(m_dialog.MakeSkinCurrent(Path("programs/Pink.skn")));
    for (const CUnusableCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const QString strZip = Path(QStringLiteral("%1.zip").arg(c.pszWhat));
        if (c.write == nullptr) {
            WriteFile(strZip, c.package);
        } else {
            const CTestSkinFolder skin(Path(QStringLiteral("src-%1").arg(c.pszWhat)));
            c.write(skin);
            QProcess zip;
            zip.setWorkingDirectory(skin.Folder());
            zip.start("zip", c.arrZipOptions + QStringList { "-q", "-r", strZip, "." });
            ASSERT_TRUE(zip.waitForFinished() && zip.exitCode() == 0);
        }
        m_prompt.m_arrAsked.clear();

        EXPECT_FALSE(m_dialog.MakeSkinCurrent(strZip));

        EXPECT_EQ(m_prompt.Texts().size(), 1) << m_prompt.Texts().join('\n').toStdString();
        const QString strText = m_prompt.Texts().value(0);
        EXPECT_TRUE(strText.contains(c.pszMissing)) << strText.toStdString();
        EXPECT_TRUE(strText.contains(strZip)) << "names the package";
        EXPECT_EQ(ShownBackground(), QColor(250, 180, 200));
        EXPECT_NE(m_dialog.FindButton("BUTTON_PINK"), nullptr);
        EXPECT_TRUE(TempFolderIsEmpty());
    }
}

TEST_F(SkinPackageTest, ReadOnlyEntriesAreStillRemoved)
{
    const CTestSkinFolder skin(Path("src"));
    skin.WriteBackground("main.bmp", QSize(60, 40), Qt::darkGreen, 2);
    skin.WriteIni("[Screen]\nMain=images/main.bmp\n");
    QDir(skin.Folder()).mkpath("images");
    QFile::rename(skin.FilePath("main.bmp"), skin.FilePath("images/main.bmp"));
    QFile::setPermissions(skin.FilePath("images/main.bmp"), QFile::ReadOwner | QFile::ReadUser);
    QFile::setPermissions(skin.SkinFile(), QFile::ReadOwner | QFile::ReadUser);
    ASSERT_TRUE(ZipFolder(skin.Folder(), Path("ReadOnly.zip")));

    ASSERT_TRUE(m_dialog.MakeSkinCurrent(Path("ReadOnly.zip")));
    EXPECT_EQ(ShownBackground(), QColor(Qt::darkGreen));
    EXPECT_TRUE(TempFolderIsEmpty());
}

TEST_F(SkinPackageTest, RemoveSkinFolderTakesReadOnlyFilesAndFolders)
{
    const QString strFolder = Path("tmp/Test");
    QDir().mkpath(strFolder + "/sub/deeper");
    for (const char* pszFile : { "/a.bmp", "/sub/b.bmp", "/sub/deeper/c.bmp" }) {
        QFile file(strFolder + pszFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        QFile::setPermissions(file.fileName(), QFile::ReadOwner);
    }
    QFile::setPermissions(strFolder + "/sub/deeper", QFile::ReadOwner | QFile::ExeOwner);
    QFile::setPermissions(strFolder + "/sub", QFile::ReadOwner | QFile::ExeOwner);

    EXPECT_TRUE(SkinPackage::RemoveSkinFolder(strFolder));
    EXPECT_FALSE(QFileInfo::exists(strFolder));
}

TEST_F(SkinPackageTest, UsersOwnTestFolderSurvives)
{
    const CTestSkinFolder users(Path("cwd/Test"));
    users.WriteIni("[Screen]\nMain=mine.bmp\n");
    users.WriteBackground("mine.bmp", QSize(10, 10), Qt::cyan, 0);
    const QByteArray arrIniBefore = [&] {
        QFile file(users.SkinFile());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    MakePackage("Pink.skn", QColor(250, 180, 200));
    QFile::copy(Path("programs/Pink.skn"), Path("cwd/Pink.skn"));

    ASSERT_TRUE(m_dialog.MakeSkinCurrent(SkinPackage::FindSkinPackage("Pink.skn")));

    EXPECT_EQ(ShownBackground(), QColor(250, 180, 200));
    QFile file(users.SkinFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), arrIniBefore);
    EXPECT_TRUE(QFileInfo::exists(users.FilePath("mine.bmp")));
    EXPECT_EQ(QDir(users.Folder()).entryList(QDir::Files).size(), 2);
}

TEST_F(SkinPackageTest, ReadOnlyCurrentDirectoryStillLoads)
{
    MakePackage("Pink.skn", QColor(250, 180, 200));
    QFile::setPermissions(Path("cwd"), QFile::ReadOwner | QFile::ExeOwner);
    const bool bLoaded = m_dialog.MakeSkinCurrent(Path("programs/Pink.skn"));
    QFile::setPermissions(Path("cwd"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(bLoaded);
    EXPECT_EQ(ShownBackground(), QColor(250, 180, 200));
    EXPECT_TRUE(QDir(Path("cwd")).isEmpty());
}

TEST_F(SkinPackageTest, PackagesAreLookedUpInTheCurrentDirectoryFirst)
{
    EXPECT_EQ(SkinPackage::SearchFolders().first(), QDir::currentPath());
    EXPECT_EQ(SkinPackage::FindSkinPackage("None.zip"), QDir::current().filePath("None.zip"));
    QFile file("Here.zip");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(SkinPackage::FindSkinPackage("Here.zip"), QDir::current().filePath("Here.zip"));
}

} // namespace
