#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>

#include "tests/skin/ZipFixtures.h"

namespace {

class SkintoolTest : public ::testing::Test
{
protected:
    int Skintool(const QStringList& arrArgs, QByteArray* pOutput = nullptr)
    {
        return m_work.Run(SKINTOOL_PATH, arrArgs, QByteArray(), pOutput);
    }

    void WriteImage(const QString& strName, int nWidth, int nHeight)
    {
        QImage image(nWidth, nHeight, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QDir().mkpath(QFileInfo(m_work.Path(strName)).path());
        ASSERT_TRUE(image.save(m_work.Path(strName), "BMP"));
    }

    // A complete skin in "skin/": every image named exists and loads.
    void WriteCleanSkin()
    {
        m_work.Write("skin/Skin.ini",
                     "[Screen]\r\nMain=Back.bmp\r\n"
                     "[ICON]\r\nICON=icon.bmp,0,0,16,16\r\n"
                     "[BUTTONINFO]\r\n1=BUTTON_EXIT,images\\Exit.bmp,10,10,30,30,Exit,FALSE\r\n"
                     "2=BUTTON_PLAY,play.bmp,40,10,60,30,Play,TRUE\r\n"
                     "[SLIDERINFO]\r\n1=SLIDER_PROGRESS,ch.bmp,th.bmp,th.bmp,0,50,200,60,H,0,Seek\r\n");
        WriteImage("skin/back.BMP", 300, 200);
        WriteImage("skin/icon.bmp", 16, 16);
        WriteImage("skin/Images/exit.bmp", 80, 20);
        WriteImage("skin/play.bmp", 80, 20);
        WriteImage("skin/ch.bmp", 200, 10);
        WriteImage("skin/th.bmp", 10, 10);
        WriteImage("skin/dlgTaskNotifier.bmp", 100, 60);
    }

    void Pack(const QString& strArchive) { ASSERT_EQ(m_work.Shell("cd skin && zip -qr ../" + strArchive + " ."), 0); }

    CZipWorkspace m_work;
};

TEST_F(SkintoolTest, UnpackExitCodesFollowTheMessages)
{
    WriteCleanSkin();
    Pack("good.skn");
    m_work.Write("text.skn", CZipWorkspace::TextBytes(1000));
    const CZipLayout layout = ReadLayout(m_work, m_work.Path("good.skn"));
    QByteArray arrBad = m_work.Read("good.skn");
    // Local header +8: the method, here no longer the central record's.
    arrBad.replace(layout.arrLocalHeaders[0] + 8, 2, Le16(12));
    m_work.Write("bad.skn", arrBad);
    const struct
    {
        const char* pszName;
        QStringList arrArgs;
        int nExit;
    } rows[] = {
        { "good", { "unpack", "good.skn", "out" }, 0 },
        { "missing package", { "unpack", "none.skn", "out" }, 1 },
        { "damaged entry", { "unpack", "bad.skn", "out" }, 2 },
        { "no central directory, not retried", { "unpack", "text.skn", "out" }, 3 },
        { "no command", {}, 64 },
        { "unknown command", { "pack", "x" }, 64 },
        { "missing folder", { "unpack", "good.skn" }, 64 },
        { "list", { "list", "good.skn" }, 0 },
        { "list of a non-archive", { "list", "text.skn" }, 1 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        EXPECT_EQ(Skintool(row.arrArgs), row.nExit);
    }
    EXPECT_EQ(CZipWorkspace::Tree(m_work.Path("out")), CZipWorkspace::Tree(m_work.Path("skin")));
}

TEST_F(SkintoolTest, ListShowsIndexSizeMethodAndName)
{
    m_work.Write("skin/Skin.ini", QByteArray(1000, 'a'));
    m_work.Write("skin/x.bin", "xyz");
    ASSERT_EQ(m_work.Shell("cd skin && zip -qX ../l.zip Skin.ini && zip -qX0 ../l.zip x.bin"), 0);
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "list", "l.zip" }, &arrOutput), 0);
    const QList<QByteArray> arrLines = arrOutput.trimmed().split('\n');
    ASSERT_EQ(arrLines.size(), 2);
    EXPECT_EQ(arrLines[0].simplified(), "0 1000 deflated Skin.ini");
    EXPECT_EQ(arrLines[1].simplified(), "1 3 stored x.bin");
}

TEST_F(SkintoolTest, CheckOfACleanSkinPasses)
{
    WriteCleanSkin();
    Pack("clean.skn");
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "check", "clean.skn" }, &arrOutput), 0);
    EXPECT_EQ(arrOutput, QByteArray());
}

TEST_F(SkintoolTest, CheckReportsEveryProblemOnItsOwnLine)
{
    WriteCleanSkin();
    QFile::remove(m_work.Path("skin/dlgTaskNotifier.bmp"));
    QFile::remove(m_work.Path("skin/th.bmp"));
    m_work.Write("skin/broken.bmp", "not a bitmap");
    m_work.Write("skin/Skin.ini",
                 "[Screen]\r\nMain=Back.bmp\r\n"
                 "[ICON]\r\nICON=icon.bmp,0,0,32,16\r\n"
                 "[BUTTONINFO]\r\n1=BUTTON_EXIT,images\\Exit.bmp,10,10,30,30,Exit,FALSE\r\n"
                 "2=BUTTON_PLAY,broken.bmp,40,10,60,30\r\n"
                 "5=BUTTON_LOST,play.bmp,1,1,2,2,Lost,FALSE\r\n"
                 "[SLIDERINFO]\r\n1=SLIDER_PROGRESS,ch.bmp,th.bmp,th.bmp,0,50,200,60,H,0,Seek\r\n"
                 "[LISTBOXINFO]\r\n1=LIST,"
                     + QByteArray(300, '9')
                     + "\r\n"
                       "[COMBOBOXINFO]\r\n1=COMBO,0,0,10,10,gone.bmp,1,2,3,4,5,6,7,s1.bmp\r\n");
    Pack("flawed.skn");
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "check", "flawed.skn" }, &arrOutput), 1);
    const QString strOutput = QString::fromUtf8(arrOutput);
    const struct
    {
        const char* pszProblem;
        const char* pszExpected; // words the line must hold, in order
    } rows[] = {
        { "icon smaller than its rectangle", "ICON ICON: .*16x16.*32x16.*icon.bmp" },
        { "image that does not load", "BUTTONINFO 2: image cannot be loaded: broken.bmp" },
        { "too few fields", "BUTTONINFO 2: 6 fields, BUTTONINFO needs 8" },
        { "numbering gap", "BUTTONINFO 5: never read" },
        { "missing slider thumb", "SLIDERINFO 1: image not found: th.bmp" },
        { "overlong value", "LISTBOXINFO 1: value has 305 characters" },
        { "missing combo image", "COMBOBOXINFO 1: image not found: gone.bmp" },
        { "missing scroll image", "COMBOBOXINFO 1: image not found: s1.bmp" },
        { "missing notifier picture", "dlgTaskNotifier.bmp: missing" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszProblem);
        EXPECT_TRUE(strOutput.contains(QRegularExpression("(^|\n)" + QString(row.pszExpected))))
            << qPrintable(strOutput);
    }
    // The slider names th.bmp twice: one line each. The combo box's
    // missing fields repeat its last one, s1.bmp, through all seven
    // scroll images.
    EXPECT_EQ(strOutput.count("th.bmp"), 2);
    EXPECT_EQ(strOutput.count("s1.bmp"), 7);
}

// The notifier picture is 100x60: a page reaching past it would be cut off
// the popup, one inside it is clean.
TEST_F(SkintoolTest, CheckWantsTheNotifierPageOnTheNotifierPicture)
{
    const struct
    {
        const char* pszPage;
        int nExitCode;
    } rows[] = {
        { "10,20,90,55", 0 }, { "0,0,100,60", 0 }, { "10,20,101,55", 1 }, { "-1,20,90,55", 1 }, { "50,20,50,55", 1 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszPage);
        WriteCleanSkin();
        m_work.Write("skin/Skin.ini", m_work.Read("skin/Skin.ini") + "[TASKNOTIFIER]\r\nPAGE=" + row.pszPage + "\r\n");
        QFile::remove(m_work.Path("page.skn"));
        Pack("page.skn");
        QByteArray arrOutput;
        EXPECT_EQ(Skintool({ "check", "page.skn" }, &arrOutput), row.nExitCode);
        if (row.nExitCode != 0) {
            EXPECT_TRUE(arrOutput.startsWith("TASKNOTIFIER PAGE: page ")) << arrOutput.constData();
        }
    }
}

TEST_F(SkintoolTest, CheckReportsAMissingDescription)
{
    m_work.Write("skin/dlgTaskNotifier.bmp", "x");
    Pack("empty.skn");
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "check", "empty.skn" }, &arrOutput), 1);
    EXPECT_TRUE(arrOutput.startsWith("Skin.ini: missing"));
}

TEST_F(SkintoolTest, HelpPrintsTheUsageAndSucceeds)
{
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "--help" }, &arrOutput), 0);
    EXPECT_TRUE(arrOutput.startsWith("usage: skintool")) << arrOutput.constData();
}

// A file that is no ZIP archive asks whether to retry; the tool answers No
// itself and ends with the status of a missing central directory, both
// without a terminal and on one where every answer typed would be "y".
TEST_F(SkintoolTest, NeverWaitsForAnAnswer)
{
    m_work.Write("text.skn", CZipWorkspace::TextBytes(1000));
    // Bounds a run that waits for input, which would otherwise hang the test.
    const QString strTimeLimit = QStringLiteral("timeout 60 ");
    const QString strTool = QStringLiteral("'") + SKINTOOL_PATH + u'\'';
    const struct
    {
        const char* pszArgs;
        int nExit;
    } rows[] = { { "unpack text.skn out", 3 }, { "check text.skn", 1 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszArgs);
        const QString strCommand = strTool + u' ' + row.pszArgs;
        EXPECT_EQ(m_work.Shell("yes | " + strTimeLimit + strCommand + " 2>plain.txt >/dev/null"), row.nExit);
        EXPECT_EQ(m_work.Shell("yes | head -c 1000 | " + strTimeLimit + "script -qec \"" + strCommand
                               + "\" /dev/null >pty.txt"),
                  row.nExit);
        // One question each, answered at once.
        EXPECT_EQ(m_work.Read("plain.txt").count("[y/N] n"), 1);
        EXPECT_EQ(m_work.Read("pty.txt").count("[y/N] n"), 1);
    }
}

} // namespace
