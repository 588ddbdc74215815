// Checks the packages the build drew into the program folder, read back the
// way the program reads them.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"

using namespace SkinFields;

namespace {

constexpr QRgb KEY = 0xFFFF00FF;
constexpr int BMP_BITS_OFFSET = 28;
constexpr int FRAMES = 4;

const QDir PROGRAM_DIR(SKINREC_PROGRAM_DIR);

const char* const PACKAGES[] = { "Orange.zip", "Black.zip", "Purple.zip", "Blue.zip", "Red.zip",
                                 "Gray.zip",   "Pink.zip",  "Deluxe.zip", "Pink.skn" };

// Skin names the main window acts on, and the kinds of control every package
// carries so the controls can be tried with it.
const char* const REQUIRED_BUTTONS[] = { "BUTTON_CONVERT",   "BUTTON_PLAY",      "BUTTON_PAUSE",    "BUTTON_STOP",
                                         "BUTTON_EDIT",      "BUTTON_EDITVIDEO", "BUTTON_EDITAUDIO", "BUTTON_EDITMODE",
                                         "BUTTON_EDITFRAME", "BUTTON_EDITAVI",   "BUTTON_MINIMIZE", "BUTTON_EXIT" };
const char* const REQUIRED_SECTIONS[] = { "TASKBARBUTTON", "SLIDERINFO",  "CHECKINFO",   "LABELINFO",
                                          "PROGRESSINFO",  "EDITBOXINFO", "LISTBOXINFO", "COMBOBOXINFO" };

// Which fields of an entry name pictures, by section.
struct CImageFields
{
    const char* pSection;
    QList<int> arrFields;
};
const CImageFields IMAGE_FIELDS[] = {
    { "TASKBARBUTTON", { 1 } },
    { "BUTTONINFO", { 1 } },
    { "OPTIONINFO", { 1 } },
    { "CHECKINFO", { 1 } },
    { "SLIDERINFO", { 1, 2, 3 } },
    { "PROGRESSINFO", { 5 } },
    { "LISTBOXINFO", { 9, 10, 11, 12, 13, 14, 15 } },
    { "COMBOBOXINFO", { 5, 13, 14, 15, 16, 17, 18, 19 } },
};
const char* const STRIP_SECTIONS[] = { "TASKBARBUTTON", "BUTTONINFO", "OPTIONINFO", "CHECKINFO" };

QStringList Fields(QString strValue, int nCount)
{
    QStringList arrFields;
    for (int i = 0; i < nCount; ++i)
        arrFields << NextField(strValue);
    return arrFields;
}

int BmpBitsPerPixel(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(BMP_BITS_OFFSET + 2);
    if (header.size() < BMP_BITS_OFFSET + 2 || !header.startsWith("BM"))
        return 0;
    return uchar(header[BMP_BITS_OFFSET]) | (uchar(header[BMP_BITS_OFFSET + 1]) << 8);
}

int RunUnzip(const QStringList& arrArgs)
{
    QProcess process;
    process.start("unzip", arrArgs);
    process.waitForFinished();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class SkinPackage : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        m_strPackage = PROGRAM_DIR.filePath(GetParam());
        ASSERT_TRUE(QFile::exists(m_strPackage)) << m_strPackage.toStdString();
        ASSERT_EQ(RunUnzip({ "-tq", m_strPackage }), 0);
        ASSERT_EQ(RunUnzip({ "-q", m_strPackage, "-d", m_dir.path() }), 0);
    }

    QString PathOf(const QString& strName) const { return QDir(m_dir.path()).filePath(strName); }
    CIniFile Ini() const { return CIniFile(PathOf("Skin.ini")); }

    QString m_strPackage;
    QTemporaryDir m_dir;
};

TEST_P(SkinPackage, EveryNamedPictureIsThereLoadsAndIs24Bit)
{
    const CIniFile ini = Ini();
    QStringList arrImages = { ini.GetString("Screen", "Main", ""), "dlgTaskNotifier.bmp" };
    arrImages << Fields(ini.GetString("ICON", "ICON", ""), 1);
    for (const CImageFields& fields : IMAGE_FIELDS) {
        for (const CControlEntry& entry : ReadControlList(ini, fields.pSection)) {
            const QStringList arrFields = Fields(entry.strValue, 20);
            for (const int nField : fields.arrFields)
                arrImages << arrFields[nField];
        }
    }
    for (const QString& strImage : arrImages) {
        SCOPED_TRACE(strImage.toStdString());
        ASSERT_FALSE(strImage.isEmpty());
        EXPECT_FALSE(QImage(PathOf(strImage)).isNull());
        EXPECT_EQ(BmpBitsPerPixel(PathOf(strImage)), 24);
    }
}

TEST_P(SkinPackage, SectionsAreNumberedWithoutGapsAndEntriesAreShort)
{
    const CIniFile ini = Ini();
    for (const CImageFields& fields : IMAGE_FIELDS) {
        SCOPED_TRACE(fields.pSection);
        QStringList arrKeys;
        ini.GetKeyNames(fields.pSection, arrKeys);
        const QList<CControlEntry> arrEntries = ReadControlList(ini, fields.pSection);
        EXPECT_EQ(arrEntries.size(), arrKeys.size());
        for (const CControlEntry& entry : arrEntries)
            EXPECT_LE(entry.strValue.size(), MAX_ENTRY_CHARS);
    }
    for (const char* pSection : REQUIRED_SECTIONS)
        EXPECT_FALSE(ReadControlList(ini, pSection).isEmpty()) << pSection;
    QStringList arrNames;
    for (const CControlEntry& entry : ReadControlList(ini, "BUTTONINFO"))
        arrNames << Fields(entry.strValue, 1);
    for (const char* pName : REQUIRED_BUTTONS)
        EXPECT_TRUE(arrNames.contains(pName)) << pName;
    EXPECT_EQ(Fields(ReadControlList(ini, "TASKBARBUTTON").value(0).strValue, 1).value(0), "TASKBUTTON_EXIT");
}

// Four frames, each exactly the button's size (so nothing is scaled), and
// each frame visibly different from the others.
TEST_P(SkinPackage, ButtonStripsHoldFourDistinctFramesOfTheButtonSize)
{
    const CIniFile ini = Ini();
    for (const char* pSection : STRIP_SECTIONS) {
        for (const CControlEntry& entry : ReadControlList(ini, pSection)) {
            QString strValue = entry.strValue;
            const QString strName = NextField(strValue);
            SCOPED_TRACE(strName.toStdString());
            const QImage imgStrip(PathOf(NextField(strValue)));
            const QRect rc = ParseRect(strValue);
            ASSERT_EQ(imgStrip.width(), rc.width() * FRAMES);
            ASSERT_EQ(imgStrip.height(), rc.height());
            for (int i = 0; i < FRAMES; ++i) {
                for (int j = i + 1; j < FRAMES; ++j) {
                    EXPECT_NE(imgStrip.copy(i * rc.width(), 0, rc.width(), rc.height()),
                              imgStrip.copy(j * rc.width(), 0, rc.width(), rc.height()))
                        << "frames " << i << " and " << j;
                }
            }
        }
    }
}

TEST_P(SkinPackage, BackgroundIsShapedAndThePreviewAreaIsSolid)
{
    const CIniFile ini = Ini();
    EXPECT_EQ(RgbFromRef(ParseColor(ini.GetString("TRANSPARENT", "COLOR", ""))), KEY);
    const QImage imgBackground(PathOf(ini.GetString("Screen", "Main", "")));
    ASSERT_FALSE(imgBackground.isNull());
    for (const QPoint& ptCorner : { QPoint(0, 0), QPoint(imgBackground.width() - 1, imgBackground.height() - 1) })
        EXPECT_EQ(imgBackground.pixel(ptCorner), KEY);
    QString strControl = ini.GetString("CONTROL", "CONTROL", "");
    const QRect rcControl = ParseRect(strControl);
    ASSERT_TRUE(imgBackground.rect().contains(rcControl));
    EXPECT_NEAR(double(rcControl.width()) / rcControl.height(), 4.0 / 3.0, 0.01);
    int nKeyInside = 0;
    for (int y = rcControl.top(); y <= rcControl.bottom(); ++y) {
        for (int x = rcControl.left(); x <= rcControl.right(); ++x)
            nKeyInside += imgBackground.pixel(x, y) == KEY;
    }
    EXPECT_EQ(nKeyInside, 0);
}

struct CPlacedControl
{
    QString strName;
    QRect rc;
    bool bFillsRect = true; // false for strips, whose key pixels let the outline through
};

// The rectangles the window gives its controls, as they sit on the face; a
// combo box counts with its closed face only (its list drops over others).
QList<CPlacedControl> PlacedControls(const CIniFile& ini, const QDir& dir)
{
    QList<CPlacedControl> arrControls;
    for (const char* pSection : { "BUTTONINFO", "OPTIONINFO", "CHECKINFO", "SLIDERINFO" }) {
        for (const CControlEntry& entry : ReadControlList(ini, pSection)) {
            QString strValue = entry.strValue;
            const QString strName = NextField(strValue);
            const int nImages = QString(pSection) == "SLIDERINFO" ? 3 : 1;
            for (int i = 0; i < nImages; ++i)
                NextField(strValue);
            // Pause takes Play's place; the window shows one of them at a time.
            if (strName != "BUTTON_PAUSE")
                arrControls.append({ strName, ParseRect(strValue), QString(pSection) == "SLIDERINFO" });
        }
    }
    for (const char* pSection : { "LABELINFO", "PROGRESSINFO", "EDITBOXINFO", "LISTBOXINFO" }) {
        for (const CControlEntry& entry : ReadControlList(ini, pSection)) {
            QString strValue = entry.strValue;
            const QString strName = NextField(strValue);
            arrControls.append({ strName, ParseRect(strValue) });
        }
    }
    for (const CControlEntry& entry : ReadControlList(ini, "COMBOBOXINFO")) {
        QString strValue = entry.strValue;
        const QString strName = NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const int nArrowHeight = QImage(dir.filePath(NextField(strValue))).height();
        arrControls.append({ strName, QRect(rc.left(), rc.top() - 1, rc.width(), nArrowHeight + 2) });
    }
    QString strCaption = ini.GetString("CAPTION", "CAPTION", "");
    NextField(strCaption);
    arrControls.append({ "CAPTION", ParseRect(strCaption) });
    QString strIcon = ini.GetString("ICON", "ICON", "");
    NextField(strIcon);
    arrControls.append({ "ICON", ParseRect(strIcon) });
    QString strControl = ini.GetString("CONTROL", "CONTROL", "");
    arrControls.append({ "CONTROL", ParseRect(strControl) });
    return arrControls;
}

// A control over a cut-out part of the window would be clipped; two
// controls on one spot would hide each other.
TEST_P(SkinPackage, ControlsLieInsideTheShapeAndApart)
{
    const CIniFile ini = Ini();
    const QImage imgBackground(PathOf(ini.GetString("Screen", "Main", "")));
    const QList<CPlacedControl> arrControls = PlacedControls(ini, QDir(m_dir.path()));
    for (const CPlacedControl& control : arrControls) {
        SCOPED_TRACE(control.strName.toStdString());
        ASSERT_TRUE(imgBackground.rect().contains(control.rc));
        int nOutside = 0;
        for (int y = control.rc.top(); control.bFillsRect && y <= control.rc.bottom(); ++y) {
            for (int x = control.rc.left(); x <= control.rc.right(); ++x)
                nOutside += imgBackground.pixel(x, y) == KEY;
        }
        EXPECT_EQ(nOutside, 0);
    }
    for (const char* pSection : STRIP_SECTIONS) {
        if (QString(pSection) == "TASKBARBUTTON")
            continue;
        for (const CControlEntry& entry : ReadControlList(ini, pSection)) {
            QString strValue = entry.strValue;
            const QString strName = NextField(strValue);
            SCOPED_TRACE(strName.toStdString());
            const QImage imgStrip(PathOf(NextField(strValue)));
            const QRect rc = ParseRect(strValue);
            int nOutside = 0;
            for (int y = 0; y < rc.height(); ++y) {
                for (int x = 0; x < rc.width(); ++x)
                    nOutside += imgStrip.pixel(x, y) != KEY && imgBackground.pixel(rc.topLeft() + QPoint(x, y)) == KEY;
            }
            EXPECT_EQ(nOutside, 0);
        }
    }
    // The dropped-down list must not reach past the outline either: at least
    // 50 pixels tall, two below the edit field, one short of the right edge.
    for (const CControlEntry& entry : ReadControlList(ini, "COMBOBOXINFO")) {
        QString strValue = entry.strValue;
        NextField(strValue);
        const QRect rc = ParseRect(strValue);
        const int nArrowHeight = QImage(PathOf(NextField(strValue))).height();
        const int nListTop = rc.top() + nArrowHeight + 2;
        const QRect rcList(QPoint(rc.left(), nListTop), QPoint(rc.right() - 1, qMax(rc.bottom(), nListTop + 49)));
        int nOutside = 0;
        for (int y = rcList.top() - 1; y <= rcList.bottom() + 1; ++y) {
            for (int x = rcList.left() - 1; x <= rcList.right() + 1; ++x)
                nOutside += !imgBackground.valid(x, y) || imgBackground.pixel(x, y) == KEY;
        }
        EXPECT_EQ(nOutside, 0) << "combo box list";
    }
    for (int i = 0; i < arrControls.size(); ++i) {
        for (int j = i + 1; j < arrControls.size(); ++j) {
            EXPECT_FALSE(arrControls[i].rc.intersects(arrControls[j].rc))
                << arrControls[i].strName.toStdString() << " overlaps " << arrControls[j].strName.toStdString();
        }
    }
}

// The drop button treats black as its colour key and draws the skin's key
// colour as it is, so its strip may hold neither.
TEST_P(SkinPackage, ComboArrowHasNoBlackOrKeyPixel)
{
    const QStringList arrFields = Fields(ReadControlList(Ini(), "COMBOBOXINFO").value(0).strValue, 6);
    const QImage imgArrow = QImage(PathOf(arrFields[5])).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(imgArrow.isNull());
    for (int y = 0; y < imgArrow.height(); ++y) {
        for (int x = 0; x < imgArrow.width(); ++x) {
            ASSERT_NE(imgArrow.pixel(x, y), 0xFF000000u) << x << "," << y;
            ASSERT_NE(imgArrow.pixel(x, y), KEY) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ProgramFolder, SkinPackage, ::testing::ValuesIn(PACKAGES));

TEST(SkinPackages, StartupSkinIsThePinkPackage)
{
    QFile skn(PROGRAM_DIR.filePath("Pink.skn"));
    QFile zip(PROGRAM_DIR.filePath("Pink.zip"));
    ASSERT_TRUE(skn.open(QIODevice::ReadOnly));
    ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
    EXPECT_EQ(skn.readAll(), zip.readAll());
}

TEST(SkinPackages, FramePicturesAreKeyedBitmaps)
{
    const QDir dirFrames(PROGRAM_DIR.filePath("Frame"));
    const QStringList arrFrames = dirFrames.entryList({ "*bif" }, QDir::Files);
    EXPECT_GE(arrFrames.size(), 4);
    EXPECT_LE(arrFrames.size(), 6);
    for (const QString& strFrame : arrFrames) {
        SCOPED_TRACE(strFrame.toStdString());
        EXPECT_EQ(BmpBitsPerPixel(dirFrames.filePath(strFrame)), 24);
        const QImage img = QImage(dirFrames.filePath(strFrame)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(img.isNull());
        // Edges decorated, the middle left to the video.
        EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), KEY);
        int nDrawn = 0;
        for (int x = 0; x < img.width(); ++x)
            nDrawn += img.pixel(x, 10) != KEY || img.pixel(x, img.height() - 10) != KEY;
        for (int y = 0; y < img.height(); ++y)
            nDrawn += img.pixel(10, y) != KEY || img.pixel(img.width() - 10, y) != KEY;
        EXPECT_GT(nDrawn, 0);
    }
}

} // namespace
