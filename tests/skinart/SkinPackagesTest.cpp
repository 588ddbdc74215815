// Checks the packages the build drew into the program folder, read back the
// way the program reads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "base/BmpHeader.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinListBox.h"
#include "settings/FramePictureNames.h"
#include "skin/IniFile.h"
#include "skin/SkinFactory.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skin/SkinImageFile.h"
#include "tests/common/TestSkinParent.h"

using namespace SkinFields;
using SkinFormat::CEntryReader;
using SkinFormat::CSectionFormat;
using SkinFormat::EField;

namespace {

constexpr QRgb KEY = 0xFFFF00FF;
constexpr int FRAMES = 4;
// The body's gradient moves a colour channel by at most this from one row
// to the next.
constexpr int MAX_BODY_STEP = 3;

const QDir PROGRAM_DIR(SKINREC_PROGRAM_DIR);

const char* const PACKAGES[] = { "Orange.zip", "Black.zip", "Purple.zip", "Blue.zip", "Red.zip",
                                 "Gray.zip",   "Pink.zip",  "Deluxe.zip", "Pink.skn" };

// Skin names the main window acts on, and the kinds of control every package
// carries so the controls can be tried with it.
const char* const REQUIRED_BUTTONS[] = { "BUTTON_CONVERT",   "BUTTON_PLAY",      "BUTTON_PAUSE",     "BUTTON_STOP",
                                         "BUTTON_EDIT",      "BUTTON_EDITVIDEO", "BUTTON_EDITAUDIO", "BUTTON_EDITMODE",
                                         "BUTTON_EDITFRAME", "BUTTON_EDITAVI",   "BUTTON_MINIMIZE",  "BUTTON_EXIT" };
const CSectionFormat* const REQUIRED_SECTIONS[] = { &SkinFormat::TASK_BUTTONS, &SkinFormat::SLIDERS,
                                                    &SkinFormat::CHECKS,       &SkinFormat::LABELS,
                                                    &SkinFormat::PROGRESSES,   &SkinFormat::EDITS,
                                                    &SkinFormat::LIST_BOXES,   &SkinFormat::COMBO_BOXES };

const CSectionFormat* const STRIP_SECTIONS[] = { &SkinFormat::TASK_BUTTONS, &SkinFormat::BUTTONS, &SkinFormat::OPTIONS,
                                                 &SkinFormat::CHECKS };

// The values of a section: its one value, or every entry of a control list.
QStringList ValuesOf(const CIniFile& ini, const CSectionFormat& format)
{
    if (!format.IsControlList())
        return { SkinFormat::SingleValue(ini, format) };
    QStringList arrValues;
    for (const CControlEntry& entry : ReadControlList(ini, format.Section()))
        arrValues << entry.strValue;
    return arrValues;
}

// A button of any kind: its name, its strip of frames and its rectangle.
struct CStripEntry
{
    QString strName;
    QString strImage;
    QRect rc;
};

QList<CStripEntry> StripsOf(const CIniFile& ini, const CSectionFormat& format)
{
    QList<CStripEntry> arrStrips;
    for (const QString& strValue : ValuesOf(ini, format)) {
        CEntryReader entry(format, strValue);
        CStripEntry strip;
        strip.strName = entry.Take(EField::eName);
        strip.strImage = entry.Take(EField::eImage);
        strip.rc = entry.TakeRect();
        arrStrips.append(strip);
    }
    return arrStrips;
}

int BmpBitsPerPixel(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(BMP_HEADER_BYTES);
    const CBmpHeaderRead read =
        ReadBmpHeader(reinterpret_cast<const std::uint8_t*>(header.constData()),
                      static_cast<std::size_t>(header.size()), file.size(), MAX_SKIN_IMAGE_SIDE);
    return read.eResult == EBmpHeaderResult::eOk ? read.header.nBitsPerPixel : 0;
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
    QStringList arrImages = { "dlgTaskNotifier.bmp" };
    for (const CSectionFormat* pFormat : SkinFormat::SECTIONS) {
        for (const QString& strValue : ValuesOf(ini, *pFormat)) {
            const QStringList arrFields = SkinFormat::CutFields(*pFormat, strValue);
            for (const int nField : pFormat->FieldsOf(EField::eImage))
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
    for (const CSectionFormat* pFormat : SkinFormat::SECTIONS) {
        if (!pFormat->IsControlList())
            continue;
        SCOPED_TRACE(pFormat->pszSection);
        QStringList arrKeys;
        ini.GetKeyNames(pFormat->Section(), arrKeys);
        const QList<CControlEntry> arrEntries = ReadControlList(ini, pFormat->Section());
        EXPECT_EQ(arrEntries.size(), arrKeys.size());
        for (const CControlEntry& entry : arrEntries)
            EXPECT_LE(entry.strValue.size(), MAX_ENTRY_CHARS);
    }
    for (const CSectionFormat* pFormat : REQUIRED_SECTIONS)
        EXPECT_FALSE(ValuesOf(ini, *pFormat).isEmpty()) << pFormat->pszSection;
    QStringList arrNames;
    for (const QString& strValue : ValuesOf(ini, SkinFormat::BUTTONS))
        arrNames << CEntryReader(SkinFormat::BUTTONS, strValue).Take(EField::eName);
    for (const char* pName : REQUIRED_BUTTONS)
        EXPECT_TRUE(arrNames.contains(pName)) << pName;
    CEntryReader taskButton(SkinFormat::TASK_BUTTONS, ValuesOf(ini, SkinFormat::TASK_BUTTONS).value(0));
    EXPECT_EQ(taskButton.Take(EField::eName), "TASKBUTTON_EXIT");
}

// Four frames, each exactly the button's size (so nothing is scaled), and
// each frame visibly different from the others.
TEST_P(SkinPackage, ButtonStripsHoldFourDistinctFramesOfTheButtonSize)
{
    const CIniFile ini = Ini();
    for (const CSectionFormat* pFormat : STRIP_SECTIONS) {
        for (const CStripEntry& strip : StripsOf(ini, *pFormat)) {
            SCOPED_TRACE(strip.strName.toStdString());
            const QImage imgStrip(PathOf(strip.strImage));
            const QRect rc = strip.rc;
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
    EXPECT_EQ(RgbFromRef(ParseColor(ValuesOf(ini, SkinFormat::KEY_COLOR).value(0))), KEY);
    const QImage imgBackground(PathOf(ValuesOf(ini, SkinFormat::BACKGROUND).value(0)));
    ASSERT_FALSE(imgBackground.isNull());
    for (const QPoint& ptCorner : { QPoint(0, 0), QPoint(imgBackground.width() - 1, imgBackground.height() - 1) })
        EXPECT_EQ(imgBackground.pixel(ptCorner), KEY);
    const QRect rcControl = CEntryReader(SkinFormat::CONTROL, ValuesOf(ini, SkinFormat::CONTROL).value(0)).TakeRect();
    ASSERT_TRUE(imgBackground.rect().contains(rcControl));
    EXPECT_NEAR(double(rcControl.width()) / rcControl.height(), 4.0 / 3.0, 0.01);
    int nKeyInside = 0;
    for (int y = rcControl.top(); y <= rcControl.bottom(); ++y) {
        for (int x = rcControl.left(); x <= rcControl.right(); ++x)
            nKeyInside += imgBackground.pixel(x, y) == KEY;
    }
    EXPECT_EQ(nKeyInside, 0);
}

// The window takes a partner only when it is exactly twice its picture.
TEST_P(SkinPackage, EveryPictureHasADoubleSizePartnerOfTwiceItsSize)
{
    const QStringList arrPictures = QDir(m_dir.path()).entryList({ "*.bmp" }, QDir::Files);
    int nPartners = 0;
    for (const QString& strPicture : arrPictures) {
        SCOPED_TRACE(strPicture.toStdString());
        if (strPicture.contains(DOUBLE_SIZE_MARK)) {
            EXPECT_TRUE(arrPictures.contains(QString(strPicture).remove(DOUBLE_SIZE_MARK)));
            ++nPartners;
            continue;
        }
        const QString strPartner = QString(strPicture).insert(strPicture.lastIndexOf('.'), DOUBLE_SIZE_MARK);
        ASSERT_TRUE(arrPictures.contains(strPartner));
        EXPECT_EQ(QImage(PathOf(strPartner)).size(), QImage(PathOf(strPicture)).size() * 2);
        EXPECT_EQ(BmpBitsPerPixel(PathOf(strPartner)), 24);
    }
    EXPECT_EQ(nPartners * 2, arrPictures.size());
}

// Drawn again at twice the size, not the plain picture's pixels doubled: the
// outline has 2x2 blocks that are partly key, and the corners stay key.
TEST_P(SkinPackage, DoubleSizeBackgroundHasAFinerOutline)
{
    const QString strBackground = ValuesOf(Ini(), SkinFormat::BACKGROUND).value(0);
    const QImage imgDouble(PathOf(QString(strBackground).insert(strBackground.lastIndexOf('.'), DOUBLE_SIZE_MARK)));
    ASSERT_FALSE(imgDouble.isNull());
    EXPECT_EQ(imgDouble.pixel(0, 0), KEY);
    EXPECT_EQ(imgDouble.pixel(imgDouble.width() - 1, imgDouble.height() - 1), KEY);
    int nMixedBlocks = 0;
    for (int y = 0; y + 1 < imgDouble.height(); y += 2) {
        for (int x = 0; x + 1 < imgDouble.width(); x += 2) {
            const int nKeys = (imgDouble.pixel(x, y) == KEY) + (imgDouble.pixel(x + 1, y) == KEY)
                + (imgDouble.pixel(x, y + 1) == KEY) + (imgDouble.pixel(x + 1, y + 1) == KEY);
            nMixedBlocks += nKeys != 0 && nKeys != 4;
        }
    }
    EXPECT_GT(nMixedBlocks, 0);
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
    for (const CSectionFormat* pFormat :
         { &SkinFormat::BUTTONS, &SkinFormat::OPTIONS, &SkinFormat::CHECKS, &SkinFormat::SLIDERS }) {
        for (const QString& strValue : ValuesOf(ini, *pFormat)) {
            CEntryReader entry(*pFormat, strValue);
            const QString strName = entry.Take(EField::eName);
            while (entry.NextKind() == EField::eImage)
                entry.Take(EField::eImage);
            // Pause takes Play's place; the window shows one of them at a time.
            if (strName != "BUTTON_PAUSE")
                arrControls.append({ strName, entry.TakeRect(), pFormat == &SkinFormat::SLIDERS });
        }
    }
    for (const CSectionFormat* pFormat :
         { &SkinFormat::LABELS, &SkinFormat::PROGRESSES, &SkinFormat::EDITS, &SkinFormat::LIST_BOXES }) {
        for (const QString& strValue : ValuesOf(ini, *pFormat)) {
            CEntryReader entry(*pFormat, strValue);
            const QString strName = entry.Take(EField::eName);
            arrControls.append({ strName, entry.TakeRect() });
        }
    }
    for (const QString& strValue : ValuesOf(ini, SkinFormat::COMBO_BOXES)) {
        CEntryReader entry(SkinFormat::COMBO_BOXES, strValue);
        const QString strName = entry.Take(EField::eName);
        const QRect rc = entry.TakeRect();
        const int nArrowHeight = QImage(dir.filePath(entry.Take(EField::eImage))).height();
        arrControls.append({ strName, QRect(rc.left(), rc.top() - 1, rc.width(), nArrowHeight + 2) });
    }
    CEntryReader caption(SkinFormat::CAPTION, ValuesOf(ini, SkinFormat::CAPTION).value(0));
    caption.Take(EField::eName);
    arrControls.append({ "CAPTION", caption.TakeRect() });
    CEntryReader icon(SkinFormat::ICON, ValuesOf(ini, SkinFormat::ICON).value(0));
    icon.Take(EField::eImage);
    arrControls.append({ "ICON", icon.TakeRect() });
    arrControls.append(
        { "CONTROL", CEntryReader(SkinFormat::CONTROL, ValuesOf(ini, SkinFormat::CONTROL).value(0)).TakeRect() });
    return arrControls;
}

// A control over a cut-out part of the window would be clipped; two
// controls on one spot would hide each other.
TEST_P(SkinPackage, ControlsLieInsideTheShapeAndApart)
{
    const CIniFile ini = Ini();
    const QImage imgBackground(PathOf(ValuesOf(ini, SkinFormat::BACKGROUND).value(0)));
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
    for (const CSectionFormat* pFormat : STRIP_SECTIONS) {
        if (pFormat == &SkinFormat::TASK_BUTTONS)
            continue;
        for (const CStripEntry& strip : StripsOf(ini, *pFormat)) {
            SCOPED_TRACE(strip.strName.toStdString());
            const QImage imgStrip(PathOf(strip.strImage));
            const QRect rc = strip.rc;
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
    for (const QString& strValue : ValuesOf(ini, SkinFormat::COMBO_BOXES)) {
        CEntryReader entry(SkinFormat::COMBO_BOXES, strValue);
        entry.Take(EField::eName);
        const QRect rc = entry.TakeRect();
        const int nArrowHeight = QImage(PathOf(entry.Take(EField::eImage))).height();
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

// The window never shows the progress slider, so the background may draw
// nothing for it: what lies under its rectangle is the plain body, which
// changes only slowly from row to row.
TEST_P(SkinPackage, NothingIsDrawnUnderTheHiddenProgressSlider)
{
    const CIniFile ini = Ini();
    const QImage imgBackground(PathOf(ValuesOf(ini, SkinFormat::BACKGROUND).value(0)));
    ASSERT_FALSE(imgBackground.isNull());
    int nSliders = 0;
    for (const QString& strValue : ValuesOf(ini, SkinFormat::SLIDERS)) {
        CEntryReader entry(SkinFormat::SLIDERS, strValue);
        if (entry.Take(EField::eName) != "SLIDER_PROGRESS")
            continue;
        ++nSliders;
        while (entry.NextKind() == EField::eImage)
            entry.Take(EField::eImage);
        const QRect rc = entry.TakeRect();
        int nLargestStep = 0;
        for (int x = rc.left(); x <= rc.right(); ++x) {
            for (int y = rc.top(); y <= rc.bottom() + 1; ++y) {
                const QRgb rgbAbove = imgBackground.pixel(x, y - 1);
                const QRgb rgb = imgBackground.pixel(x, y);
                nLargestStep = std::max({ nLargestStep, qAbs(qRed(rgb) - qRed(rgbAbove)),
                                          qAbs(qGreen(rgb) - qGreen(rgbAbove)), qAbs(qBlue(rgb) - qBlue(rgbAbove)) });
            }
        }
        EXPECT_LE(nLargestStep, MAX_BODY_STEP);
    }
    EXPECT_EQ(nSliders, 1);
}

// The drop button treats black as its colour key and draws the skin's key
// colour as it is, so its strip may hold neither.
TEST_P(SkinPackage, ComboArrowHasNoBlackOrKeyPixel)
{
    CEntryReader combo(SkinFormat::COMBO_BOXES, ValuesOf(Ini(), SkinFormat::COMBO_BOXES).value(0));
    combo.Take(EField::eName);
    combo.TakeRect();
    const QImage imgArrow = QImage(PathOf(combo.Take(EField::eImage))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(imgArrow.isNull());
    for (int y = 0; y < imgArrow.height(); ++y) {
        for (int x = 0; x < imgArrow.width(); ++x) {
            ASSERT_NE(imgArrow.pixel(x, y), 0xFF000000u) << x << "," << y;
            ASSERT_NE(imgArrow.pixel(x, y), KEY) << x << "," << y;
        }
    }
}

// The window puts its three output types into the first combo box; the
// list as the program builds it shows them all, with no scroll bar over one.
TEST_P(SkinPackage, OutputListShowsItsThreeRowsWithoutScrolling)
{
    const CIniFile ini = Ini();
    CTestSkinParent window;
    const CSkinFactory factory(window, window, ini, m_dir.path(),
                               SkinFields::ParseColor(SkinFormat::SingleValue(ini, SkinFormat::KEY_COLOR)));
    const QList<CSkinComboBox*> arrCombos = factory.MakeComboBoxes();
    ASSERT_FALSE(arrCombos.isEmpty());
    CSkinComboBox* pOutput = arrCombos.front();
    for (const char* pszRow : { "MPEG1", "MPEG2", "AVI" })
        pOutput->AddString(pszRow);
    const CSkinListBox* pList = pOutput->List();
    ASSERT_NE(pList, nullptr);
    EXPECT_GE(pList->RowsPerPage(), 3) << "list " << pList->height() << " pixels high, rows " << pList->RowHeight();
    EXPECT_EQ(pList->GetScrollLimit(), 0);
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
    const QStringList arrFrames = dirFrames.entryList({ "*bif" }, QDir::Files, QDir::Name);
    EXPECT_GE(arrFrames.size(), 5);
    EXPECT_LE(arrFrames.size(), 7);
    // Convert and Play show the first picture unless another is chosen.
    ASSERT_FALSE(arrFrames.isEmpty());
    EXPECT_EQ(arrFrames.first(), FramePictureNames::NO_FRAME_FILE);
    for (const QString& strFrame : arrFrames) {
        SCOPED_TRACE(strFrame.toStdString());
        EXPECT_EQ(BmpBitsPerPixel(dirFrames.filePath(strFrame)), 24);
        const QImage img = QImage(dirFrames.filePath(strFrame)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(img.isNull());
        // Edges decorated, the middle left to the video; the first picture
        // leaves all of it.
        EXPECT_EQ(img.pixel(img.width() / 2, img.height() / 2), KEY);
        int nDrawn = 0;
        for (int x = 0; x < img.width(); ++x)
            nDrawn += img.pixel(x, 10) != KEY || img.pixel(x, img.height() - 10) != KEY;
        for (int y = 0; y < img.height(); ++y)
            nDrawn += img.pixel(10, y) != KEY || img.pixel(img.width() - 10, y) != KEY;
        if (strFrame == FramePictureNames::NO_FRAME_FILE) {
            int nNotKey = 0;
            for (int y = 0; y < img.height(); ++y) {
                for (int x = 0; x < img.width(); ++x)
                    nNotKey += img.pixel(x, y) != KEY;
            }
            EXPECT_EQ(nNotKey, 0);
        } else {
            EXPECT_GT(nDrawn, 0);
        }
    }
}

} // namespace
