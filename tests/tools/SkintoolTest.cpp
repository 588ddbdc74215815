#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>

#include <initializer_list>

#include "tests/skin/ZipFixtures.h"
#include "version/ProjectVersion.h"

namespace {

// Record, stop and close: the buttons a skin cannot do without.
const QByteArray CLEAN_BUTTONS = "1=BUTTON_EXIT,images\\Exit.bmp,10,10,30,30,Exit,FALSE\r\n"
                                 "2=BUTTON_PLAY,play.bmp,40,10,60,30,Play,TRUE\r\n"
                                 "3=BUTTON_CONVERT,play.bmp,70,10,90,30,Record,FALSE\r\n"
                                 "4=BUTTON_STOP,play.bmp,100,10,120,30,Stop,FALSE\r\n";

class SkintoolTest : public ::testing::Test
{
protected:
    int Skintool(const QStringList& arrArgs, QByteArray* pOutput = nullptr, QByteArray* pError = nullptr)
    {
        return m_work.Run(SKINTOOL_PATH, arrArgs, QByteArray(), pOutput, pError);
    }

    void WriteImage(const QString& strName, int nWidth, int nHeight)
    {
        QImage image(nWidth, nHeight, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QDir().mkpath(QFileInfo(m_work.Path(strName)).path());
        ASSERT_TRUE(image.save(m_work.Path(strName), "BMP"));
    }

    // A complete skin in "skin/" on a 300x200 background with a 100x60
    // notifier picture: every image named exists and loads. strButtons
    // replaces its buttons, strMore adds sections.
    void WriteCleanSkin(const QByteArray& strButtons = CLEAN_BUTTONS, const QByteArray& strMore = QByteArray())
    {
        m_work.Write("skin/Skin.ini",
                     "[Screen]\r\nMain=Back.bmp\r\n"
                     "[ICON]\r\nICON=icon.bmp,0,0,16,16\r\n"
                     "[BUTTONINFO]\r\n"
                         + strButtons
                         + "[SLIDERINFO]\r\n1=SLIDER_PROGRESS,ch.bmp,th.bmp,th.bmp,0,50,200,60,H,0,Seek\r\n" + strMore);
        WriteImage("skin/back.BMP", 300, 200);
        WriteImage("skin/icon.bmp", 16, 16);
        WriteImage("skin/Images/exit.bmp", 80, 20);
        WriteImage("skin/play.bmp", 80, 20);
        WriteImage("skin/ch.bmp", 200, 10);
        WriteImage("skin/th.bmp", 10, 10);
        WriteImage("skin/dlgTaskNotifier.bmp", 100, 60);
    }

    void Pack(const QString& strArchive) { ASSERT_EQ(m_work.Shell("cd skin && zip -qr ../" + strArchive + " ."), 0); }

    // skintool check of the skin as "skin/" holds it now.
    int CheckSkin(QString& strOutput)
    {
        QFile::remove(m_work.Path("check.skn"));
        Pack("check.skn");
        QByteArray arrOutput;
        const int nExit = Skintool({ "check", "check.skn" }, &arrOutput);
        strOutput = QString::fromUtf8(arrOutput);
        return nExit;
    }

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

TEST_F(SkintoolTest, UnpackNeverWritesThroughALinkInTheFolder)
{
    WriteCleanSkin();
    Pack("good.skn");
    QDir().mkpath(m_work.Path("outside"));
    QDir().mkpath(m_work.Path("out"));
    ASSERT_TRUE(QFile::link(m_work.Path("outside"), m_work.Path("out/Images")));
    ASSERT_TRUE(QFile::link(m_work.Path("outside/Skin.ini"), m_work.Path("out/Skin.ini")));
    for (const QStringList& arrArgs :
         { QStringList { "unpack", "good.skn", "out" }, QStringList { "unpack", "--force", "good.skn", "out" } }) {
        SCOPED_TRACE(qPrintable(arrArgs.join(' ')));
        QByteArray arrError;
        EXPECT_EQ(Skintool(arrArgs, nullptr, &arrError), 2);
        EXPECT_TRUE(arrError.contains("Extract failed (")) << arrError.constData();
        EXPECT_TRUE(QDir(m_work.Path("outside")).isEmpty());
    }
}

TEST_F(SkintoolTest, UnpackReplacesExistingFilesOnlyWithForce)
{
    WriteCleanSkin();
    Pack("good.skn");
    m_work.Write("out/Skin.ini", "mine");
    QFile::setPermissions(m_work.Path("out/Skin.ini"), QFile::ReadOwner);
    QByteArray arrError;
    EXPECT_EQ(Skintool({ "unpack", "good.skn", "out" }, nullptr, &arrError), 2);
    EXPECT_TRUE(arrError.contains("Extract failed (out/Skin.ini: already exists)")) << arrError.constData();
    EXPECT_TRUE(arrError.contains("--force replaces files that exist")) << arrError.constData();
    EXPECT_EQ(m_work.Read("out/Skin.ini"), "mine");

    arrError.clear();
    EXPECT_EQ(Skintool({ "unpack", "good.skn", "out", "--force" }, nullptr, &arrError), 0) << arrError.constData();
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

TEST_F(SkintoolTest, UnsupportedMethodIsNamed)
{
    WriteCleanSkin();
    ASSERT_EQ(m_work.Shell("cd skin && zip -qrX -Z bzip2 ../b.skn ."), 0);
    const QByteArray arrCause = "unsupported compression method bzip2 (use deflate)";
    QByteArray arrOutput;
    QByteArray arrError;
    EXPECT_EQ(Skintool({ "unpack", "b.skn", "out" }, nullptr, &arrError), 2);
    EXPECT_TRUE(arrError.contains("Extract failed (" + arrCause)) << arrError.constData();
    arrError.clear();
    EXPECT_EQ(Skintool({ "check", "b.skn" }, &arrOutput, &arrError), 1);
    EXPECT_TRUE(arrOutput.contains("package cannot be unpacked")) << arrOutput.constData();
    EXPECT_TRUE(arrError.contains(arrCause)) << arrError.constData();
    EXPECT_EQ(Skintool({ "list", "b.skn" }, &arrOutput), 0);
    EXPECT_TRUE(arrOutput.contains(" bzip2 ")) << arrOutput.constData();
}

TEST_F(SkintoolTest, ListRefusesAPackageTooLargeForASkin)
{
    ASSERT_EQ(m_work.Python("z = zipfile.ZipFile('many.zip', 'w')\n"
                            "for i in range(4097): z.writestr('f%d' % i, b'')\n"
                            "z.close()"),
              0);
    QByteArray arrOutput;
    QByteArray arrError;
    EXPECT_EQ(Skintool({ "list", "many.zip" }, &arrOutput, &arrError), 1);
    EXPECT_EQ(arrOutput, QByteArray());
    EXPECT_TRUE(arrError.contains("package too large")) << arrError.constData();
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
        { "numbering gap",
          "BUTTONINFO key 3 missing: the window reads keys 1 to 3 only, so BUTTON_LOST \\(key 5\\) "
          "is ignored" },
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

// skintool has no screen: the window is held to the control side too.
TEST_F(SkintoolTest, CheckReportsEntriesLargerThanAnyScreen)
{
    WriteCleanSkin(CLEAN_BUTTONS
                       + "5=BUTTON_HUGE,play.bmp,0,0,12000,12000,Huge,FALSE\r\n"
                         "6=BUTTON_WIDEST,play.bmp,0,0,8192,20,Widest,FALSE\r\n",
                   "[CONTROL]\r\nCONTROL=0,0,8193,100\r\n[LABELINFO]\r\n1=LABEL,0,-99999999999,10,10,t,Arial,9,0\r\n");
    WriteImage("skin/back.BMP", 8193, 1);
    QString strOutput;
    EXPECT_EQ(CheckSkin(strOutput), 1);
    const char* const arrExpected[] = {
        "BUTTONINFO 5: 12000x12000 is larger than the 8192x8192 a control may be; the window leaves it out",
        "CONTROL CONTROL: 8193x100 is larger than the 8192x8192 a window may be; the window leaves it out",
        "LABELINFO 1: 10x16777226 is larger than the 8192x8192 a control may be; the window leaves it out",
        "Screen Main: 8193x1 is larger than the 8192x8192 a window may be; the window leaves it out",
    };
    for (const char* pszExpected : arrExpected)
        EXPECT_TRUE(strOutput.contains(QString(pszExpected) + "\n")) << qPrintable(strOutput);
    EXPECT_FALSE(strOutput.contains("BUTTONINFO 6: 8192x20")) << qPrintable(strOutput);
}

// The window ignores a partner of any size but twice its picture's.
TEST_F(SkintoolTest, CheckReportsDoubleSizePicturesOfTheWrongSize)
{
    const struct
    {
        const char* pszPartner;
        int nWidth;
        int nHeight;
        const char* pszExpected; // empty when the skin is clean
    } rows[] = {
        { "skin/Images/EXIT@2x.bmp", 160, 40, "" },
        { "skin/dlgTaskNotifier@2x.bmp", 200, 120, "" },
        { "skin/lonely@2x.bmp", 7, 7, "" },
        { "skin/Images/exit@2x.bmp", 160, 41, "BUTTONINFO 1: exit@2x.bmp is 160x41, not twice 80x20" },
        { "skin/th@2x.bmp", 10, 10, "SLIDERINFO 1: th@2x.bmp is 10x10, not twice 10x10" },
        { "skin/dlgTaskNotifier@2x.bmp", 100, 60, "dlgTaskNotifier.bmp: dlgTaskNotifier@2x.bmp is 100x60" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszPartner);
        QDir(m_work.Path("skin")).removeRecursively();
        WriteCleanSkin();
        WriteImage(row.pszPartner, row.nWidth, row.nHeight);
        QString strOutput;
        const int nExit = CheckSkin(strOutput);
        if (*row.pszExpected == '\0') {
            EXPECT_EQ(nExit, 0) << qPrintable(strOutput);
        } else {
            EXPECT_EQ(nExit, 1);
            EXPECT_TRUE(strOutput.contains(row.pszExpected)) << qPrintable(strOutput);
        }
    }
}

// The window reads nothing outside its package, so a name leading there
// leaves the control without its picture.
TEST_F(SkintoolTest, CheckReportsImagesOutsideThePackage)
{
    m_work.Write("x.bmp", m_work.Read("skin/play.bmp"));
    WriteCleanSkin(CLEAN_BUTTONS + "5=BUTTON_UP,../x.bmp,10,40,30,60,Up,FALSE\r\n");
    m_work.Write("skin/Skin.ini",
                 m_work.Read("skin/Skin.ini").replace("Main=Back.bmp", "Main=" + m_work.Path("x.bmp").toUtf8())
                     + "[PROGRESSINFO]\r\n1=PROGRESS_LEVEL,10,70,50,80,..\\..\\x.bmp\r\n");
    QString strOutput;
    EXPECT_EQ(CheckSkin(strOutput), 1);
    const QString arrExpected[] = {
        "Screen Main: image " + m_work.Path("x.bmp") + " lies outside the package",
        "BUTTONINFO 5: image ../x.bmp lies outside the package",
        "PROGRESSINFO 1: image ..\\..\\x.bmp lies outside the package",
    };
    for (const QString& strExpected : arrExpected)
        EXPECT_TRUE(strOutput.split(u'\n').contains(strExpected)) << qPrintable(strOutput);
}

TEST_F(SkintoolTest, CheckReportsSectionsLongerThanTheWindowReads)
{
    QByteArray arrLabels = "[LABELINFO]\r\n";
    for (int i = 1; i <= 1025; ++i)
        arrLabels += QByteArray::number(i) + "=LABEL,0,0,10,10,Text,Arial,9,0\r\n";
    WriteCleanSkin(CLEAN_BUTTONS, arrLabels);
    QString strOutput;
    EXPECT_EQ(CheckSkin(strOutput), 1);
    EXPECT_EQ(strOutput,
              "LABELINFO: 1025 entries, more than the 1024 a section may have; the window reads the first 1024\n");
}

TEST_F(SkintoolTest, CheckReportsAMissingDescription)
{
    m_work.Write("skin/dlgTaskNotifier.bmp", "x");
    Pack("empty.skn");
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "check", "empty.skn" }, &arrOutput), 1);
    EXPECT_TRUE(arrOutput.startsWith("Skin.ini: missing"));
}

// One button entry whose only concern is its key and name.
QByteArray ButtonLine(int nKey, const char* pszName)
{
    const int nLeft = 10 + 12 * nKey;
    return QByteArray::number(nKey) + '=' + pszName + ",play.bmp," + QByteArray::number(nLeft) + ",100,"
        + QByteArray::number(nLeft + 10) + ",110,Tip,FALSE\r\n";
}

QByteArray ButtonLines(std::initializer_list<std::pair<int, const char*>> buttons)
{
    QByteArray arrLines;
    for (const auto& [nKey, pszName] : buttons)
        arrLines += ButtonLine(nKey, pszName);
    return arrLines;
}

TEST_F(SkintoolTest, CheckWantsButtonsToRecordStopAndClose)
{
    const struct
    {
        const char* pszCase;
        QByteArray arrButtons;
        const char* pszProblem; // nullptr: the skin passes
    } rows[] = {
        { "no Convert", ButtonLines({ { 1, "BUTTON_STOP" }, { 2, "BUTTON_EXIT" } }), "BUTTONINFO: no BUTTON_CONVERT" },
        { "no Stop", ButtonLines({ { 1, "BUTTON_CONVERT" }, { 2, "BUTTON_EXIT" } }), "BUTTONINFO: no BUTTON_STOP" },
        { "no Exit", ButtonLines({ { 1, "BUTTON_CONVERT" }, { 2, "BUTTON_STOP" } }), "BUTTONINFO: no BUTTON_EXIT" },
        { "names are exact", ButtonLines({ { 1, "BUTTON_CONVERT" }, { 2, "BUTTON_STOP" }, { 3, "button_exit" } }),
          "BUTTONINFO: no BUTTON_EXIT" },
        { "Stop behind a gap", ButtonLines({ { 1, "BUTTON_CONVERT" }, { 2, "BUTTON_EXIT" }, { 4, "BUTTON_STOP" } }),
          "BUTTONINFO: no BUTTON_STOP" },
        { "Close closes the window as Exit does",
          ButtonLines({ { 1, "BUTTON_CONVERT" }, { 2, "BUTTON_STOP" }, { 3, "BUTTON_CLOSE" } }), nullptr },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        WriteCleanSkin(row.arrButtons);
        QString strOutput;
        EXPECT_EQ(CheckSkin(strOutput), row.pszProblem ? 1 : 0) << qPrintable(strOutput);
        if (row.pszProblem) {
            EXPECT_TRUE(strOutput.contains(QRegularExpression(QStringLiteral("(^|\n)") + row.pszProblem + " button")))
                << qPrintable(strOutput);
        }
    }
}

// The background is 300x200 and the notifier picture 100x60.
TEST_F(SkintoolTest, CheckReportsRectanglesTheWindowCannotShow)
{
    const struct
    {
        const char* pszCase;
        QByteArray arrMore;
        const char* pszProblem; // nullptr: the skin passes
    } rows[] = {
        { "right left of left", "[LABELINFO]\r\n1=LABEL_TIME,90,10,70,30,Time,Arial,8,0\r\n",
          "LABELINFO 1: right 70 is less than left 90" },
        { "bottom above top", "[OPTIONINFO]\r\n1=OPTION_A,play.bmp,130,30,150,5,A,FALSE,TRUE\r\n",
          "OPTIONINFO 1: bottom 5 is less than top 30" },
        { "far right of the background", "[CHECKINFO]\r\n1=CHECK_MUTE,play.bmp,900,10,920,30,Mute,FALSE,FALSE\r\n",
          "CHECKINFO 1: rectangle 900,10,920,30 lies outside the 300x200 background" },
        { "mostly below the background", "[CONTROL]\r\nCONTROL=10,150,100,400\r\n",
          "CONTROL CONTROL: rectangle 10,150,100,400 lies mostly outside the 300x200 background" },
        { "task button off its notifier", "[TASKBARBUTTON]\r\n1=TASKBUTTON_EXIT,play.bmp,150,10,170,30,Close,FALSE\r\n",
          "TASKBARBUTTON 1: rectangle 150,10,170,30 lies outside the 100x60 notifier picture" },
        { "half over the edge", "[CHECKINFO]\r\n1=CHECK_MUTE,play.bmp,290,10,310,30,Mute,FALSE,FALSE\r\n", nullptr },
        { "task button on its notifier", "[TASKBARBUTTON]\r\n1=TASKBUTTON_EXIT,play.bmp,70,10,90,30,Close,FALSE\r\n",
          nullptr },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        WriteCleanSkin(CLEAN_BUTTONS, row.arrMore);
        QString strOutput;
        EXPECT_EQ(CheckSkin(strOutput), row.pszProblem ? 1 : 0) << qPrintable(strOutput);
        if (row.pszProblem) {
            EXPECT_TRUE(strOutput.split(u'\n').contains(QString::fromLatin1(row.pszProblem))) << qPrintable(strOutput);
        }
    }
}

// The window reads keys 1 up to the number of keys a section has.
TEST_F(SkintoolTest, CheckNamesTheEntriesANumberingGapHides)
{
    const struct
    {
        const char* pszCase;
        QByteArray arrExtra;
        const char* pszProblem;
    } rows[] = {
        { "one gap", ButtonLine(7, "BUTTON_EDIT"),
          "BUTTONINFO key 5 missing: the window reads keys 1 to 5 only, so BUTTON_EDIT (key 7) is ignored" },
        { "two gaps", ButtonLine(6, "BUTTON_EDIT") + ButtonLine(8, "BUTTON_EDITAUDIO") + ButtonLine(9, "BUTTON_UP"),
          "BUTTONINFO keys 5, 7 missing: the window reads keys 1 to 7 only, so BUTTON_EDITAUDIO (key 8) and 1 more "
          "entry after it are ignored" },
        { "a run of gaps",
          ButtonLine(20, "BUTTON_EDIT") + ButtonLine(21, "BUTTON_UP") + ButtonLine(22, "BUTTON_DOWN")
              + ButtonLine(23, "BUTTON_MINIMIZE"),
          "BUTTONINFO keys 5 to 8 missing: the window reads keys 1 to 8 only, so BUTTON_EDIT (key 20) and 3 more "
          "entries after it are ignored" },
        { "a key that is no number", "x=BUTTON_EDIT,play.bmp,1,1,2,2,Edit,FALSE\r\n",
          "BUTTONINFO x: never read; keys must be numbered 1 to 5 without gaps" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszCase);
        WriteCleanSkin(CLEAN_BUTTONS + row.arrExtra);
        QString strOutput;
        EXPECT_EQ(CheckSkin(strOutput), 1);
        EXPECT_EQ(strOutput, QString::fromLatin1(row.pszProblem) + u'\n');
    }
}

TEST_F(SkintoolTest, HelpPrintsTheUsageAndSucceeds)
{
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "--help" }, &arrOutput), 0);
    EXPECT_TRUE(arrOutput.startsWith("usage: skintool")) << arrOutput.constData();
}

TEST_F(SkintoolTest, VersionPrintsTheProgramAndTheProjectVersion)
{
    QByteArray arrOutput;
    EXPECT_EQ(Skintool({ "--version" }, &arrOutput), 0);
    EXPECT_EQ(arrOutput, QByteArray("skintool (SkinRecorder) ") + SKINREC_VERSION + '\n');
}

// A mistake in the command line is named in one line, not buried under the
// whole usage.
TEST_F(SkintoolTest, UsageErrorsNameTheMistake)
{
    const struct
    {
        QStringList arrArgs;
        const char* pszMistake;
    } rows[] = {
        { {}, "no command given" },
        { { "pack", "x" }, "unknown command 'pack'" },
        { { "--frob" }, "unknown option '--frob'" },
        { { "unpack", "--frob", "a", "b" }, "unknown option '--frob'" },
        { { "list", "--force", "a" }, "unknown option '--force'" },
        { { "unpack", "a" }, "too few arguments for unpack" },
        { { "check", "a", "b" }, "too many arguments for check" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(qPrintable(row.arrArgs.join(' ')));
        QByteArray arrOutput;
        QByteArray arrError;
        EXPECT_EQ(Skintool(row.arrArgs, &arrOutput, &arrError), 64);
        EXPECT_EQ(arrOutput, QByteArray());
        EXPECT_EQ(arrError, QByteArray("skintool: ") + row.pszMistake + "\nTry 'skintool --help'.\n");
    }
}

// A file that is no ZIP archive asks whether to retry; the tool answers No
// itself and ends with the status of a missing central directory, both
// without a terminal and on one where every answer typed would be "y". It
// reports the failure in a plain line, not as a question with its answer,
// which would read as a prompt.
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
        for (const char* pszOutput : { "plain.txt", "pty.txt" }) {
            const QByteArray arrOutput = m_work.Read(pszOutput);
            EXPECT_EQ(arrOutput.count("skintool: Open failed (central directory not found: text.skn)"), 1)
                << arrOutput.constData();
            EXPECT_FALSE(arrOutput.contains('?')) << arrOutput.constData();
        }
    }
}

} // namespace
