#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "controls/SkinButton.h"
#include "controls/SkinCheck.h"
#include "controls/SkinOption.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

const QColor BACKGROUND(30, 60, 90);
const QList<QColor> FRAMES = { QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200), QColor(200, 200, 0) };

class SkinDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_skin.WriteBackground("back.bmp", QSize(120, 80), BACKGROUND, 4);
        m_skin.WriteStrip("button.bmp", FRAMES);
    }

    // A description with the background and colour key, then strSections.
    void WriteSkin(const QString& strSections) const
    {
        m_skin.WriteIni("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=" + CTestSkinFolder::KEY_FIELD + "\n"
                        + strSections);
    }

    void Load()
    {
        m_dialog.SetSkinFile(m_skin.SkinFile());
        m_dialog.LoadSkin();
    }

    void ShowActive()
    {
        m_dialog.show();
        m_dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog));
    }

    void Click(QWidget* pControl) { QTest::mouseClick(pControl, Qt::LeftButton, {}, pControl->rect().center()); }

    QTemporaryDir m_dir;
    CTestSkinFolder m_skin { m_dir.filePath("Test") };
    CScriptedPrompt m_prompt;
    CSkinTestDialog m_dialog { m_prompt };
};

TEST_F(SkinDialogTest, KeyColouredCornersAreCutFromTheWindow)
{
    WriteSkin("");
    Load();
    const QRegion expected = QRegion(0, 0, 120, 80) - QRegion(0, 0, 4, 4) - QRegion(116, 0, 4, 4) - QRegion(0, 76, 4, 4)
        - QRegion(116, 76, 4, 4);
    EXPECT_EQ(m_dialog.size(), QSize(120, 80));
    EXPECT_EQ(m_dialog.mask(), expected);
    EXPECT_EQ(m_dialog.WindowRegion(), expected);

    // Cut pixels are also painted fully transparent for a compositor.
    const QImage shown = m_dialog.grab().toImage();
    EXPECT_EQ(qAlpha(shown.pixel(1, 1)), 0);
    EXPECT_EQ(shown.pixelColor(60, 40), BACKGROUND);
}

// At a device pixel ratio of 1 the window shows its own pictures, pixel for
// pixel, whatever double-resolution partners lie beside them.
TEST_F(SkinDialogTest, DoubleSizePartnersAreUnusedAtRatioOne)
{
    const QColor disc(40, 120, 200);
    m_skin.WriteDisc("back.bmp", QSize(60, 40), disc);
    m_skin.WriteDisc("back@2x.bmp", QSize(120, 80), Qt::red);
    WriteSkin("[BUTTONINFO]\n1=BUTTON_A,button.bmp,10,10,18,18,,\n");
    QImage strip2x(64, 16, QImage::Format_RGB32);
    strip2x.fill(Qt::white);
    strip2x.save(m_skin.FilePath("button@2x.bmp"), "BMP");
    Load();
    ASSERT_EQ(m_dialog.devicePixelRatio(), 1);

    const QImage imgPicture = QImage(m_skin.FilePath("back.bmp")).convertToFormat(QImage::Format_RGB32);
    const QImage imgShown = m_dialog.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(imgShown.size(), imgPicture.size());
    const QRect rcButton(10, 10, 8, 8);
    for (int y = 0; y < imgShown.height(); ++y) {
        for (int x = 0; x < imgShown.width(); ++x) {
            const QRgb rgbPicture = imgPicture.pixel(x, y);
            if (rcButton.contains(x, y))
                ASSERT_EQ(imgShown.pixelColor(x, y).rgb(), FRAMES[0].rgb()) << x << ',' << y;
            else if (QColor(rgbPicture) == CTestSkinFolder::KEY)
                ASSERT_EQ(qAlpha(imgShown.pixel(x, y)), 0) << x << ',' << y;
            else
                ASSERT_EQ(imgShown.pixel(x, y), rgbPicture) << x << ',' << y;
        }
    }
}

TEST_F(SkinDialogTest, BackgroundWithoutKeyGivesItsFullRectangle)
{
    m_skin.WriteBackground("back.bmp", QSize(50, 20), BACKGROUND, 0);
    WriteSkin("");
    Load();
    EXPECT_EQ(m_dialog.mask(), QRegion(0, 0, 50, 20));
}

TEST_F(SkinDialogTest, FileNamesMatchInAnyLetterCase)
{
    m_skin.WriteIni("[Screen]\nMain=BACK.BMP\n[BUTTONINFO]\n1=BUTTON_A,Button.Bmp,0,0,10,10,,\n");
    Load();
    EXPECT_FALSE(m_dialog.BackgroundCopy().isNull());
    EXPECT_EQ(m_dialog.grab().toImage().pixelColor(5, 5), FRAMES[0]);
}

TEST_F(SkinDialogTest, EnterAndEscDoNothing)
{
    WriteSkin("");
    Load();
    ShowActive();
    for (const Qt::Key key : { Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter }) {
        SCOPED_TRACE(int(key));
        QTest::keyClick(&m_dialog, key);
        EXPECT_TRUE(m_dialog.isVisible());
        EXPECT_EQ(m_dialog.result(), 0);
    }
}

TEST_F(SkinDialogTest, ClicksReachTheButtonThatCarriesTheIndex)
{
    // Entry 1 is empty: the buttons carry the indexes 1 and 2 but sit at
    // positions 0 and 1 of the table.
    WriteSkin("[BUTTONINFO]\n1=\n2=BUTTON_FIRST,button.bmp,10,10,30,30,,\n3=BUTTON_SECOND,button.bmp,40,10,60,30,,\n");
    Load();
    ShowActive();
    ASSERT_EQ(m_dialog.Buttons().size(), 2);
    Click(m_dialog.FindButton("BUTTON_FIRST"));
    Click(m_dialog.FindButton("BUTTON_SECOND"));
    EXPECT_EQ(m_dialog.m_arrCommands, (QStringList { "BUTTON_FIRST", "BUTTON_SECOND" }));

    // An index no control carries is ignored.
    m_dialog.OnButtonClicked(0);
    m_dialog.OnButtonClicked(7);
    m_dialog.OnButtonClicked(-1);
    EXPECT_EQ(m_dialog.m_arrCommands.size(), 2);
    EXPECT_EQ(m_dialog.OnCheckClicked(3), nullptr);
}

struct COptionCase
{
    const char* pszName;
    QStringList arrNames;
    QList<bool> arrCheckedBefore;
    int nClicked;
    QList<bool> arrCheckedAfter;
};

TEST_F(SkinDialogTest, OptionsBehaveAsOneGroupExceptThoseKeptOutside)
{
    m_dialog.SetOptionsOutsideGroup({ "OPTION_KEPT" });
    const COptionCase cases[] = {
        { "second of three", { "OPTION_A", "OPTION_B", "OPTION_C" }, { true, false, true }, 1, { false, true, false } },
        { "checked kept option stays",
          { "OPTION_KEPT", "OPTION_B", "OPTION_C" },
          { true, false, true },
          2,
          { true, false, true } },
        { "kept option clears the others",
          { "OPTION_A", "OPTION_KEPT", "OPTION_C" },
          { true, false, true },
          1,
          { false, true, false } },
    };
    for (const COptionCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        QString strSection = "[OPTIONINFO]\n";
        for (int i = 0; i < c.arrNames.size(); ++i) {
            strSection += QString("%1=%2,button.bmp,%3,10,%4,30,tip,,%5\n")
                              .arg(i + 1)
                              .arg(c.arrNames[i])
                              .arg(10 + 30 * i)
                              .arg(30 + 30 * i)
                              .arg(c.arrCheckedBefore[i] ? "TRUE" : "FALSE");
        }
        WriteSkin(strSection);
        Load();
        ShowActive();
        m_dialog.m_arrOptionsSelected.clear();
        Click(m_dialog.Options()[c.nClicked]);
        QList<bool> arrChecked;
        for (const CSkinOption* pOption : m_dialog.Options())
            arrChecked.append(pOption->IsChecked());
        EXPECT_EQ(arrChecked, c.arrCheckedAfter);
        EXPECT_EQ(m_dialog.m_arrOptionsSelected, QStringList { c.arrNames[c.nClicked] });
    }
}

TEST_F(SkinDialogTest, PlayShowsAndPauseHidesWhateverTheSkinSays)
{
    WriteSkin("[BUTTONINFO]\n1=BUTTON_PAUSE,button.bmp,10,10,30,30,,\n2=BUTTON_PLAY,button.bmp,10,10,30,30,,\n");
    Load();
    m_dialog.show();
    EXPECT_TRUE(m_dialog.FindButton("BUTTON_PLAY")->isVisible());
    EXPECT_FALSE(m_dialog.FindButton("BUTTON_PAUSE")->isVisible());
}

TEST_F(SkinDialogTest, SkinWithoutIconOrControlKeepsThePreviousOnes)
{
    QImage icon(6, 6, QImage::Format_RGB32);
    icon.fill(QColor(0, 250, 0));
    icon.setPixelColor(0, 0, CTestSkinFolder::KEY);
    icon.save(m_skin.FilePath("icon.bmp"));
    WriteSkin("[ICON]\nICON=icon.bmp,20,20,26,26\n[CONTROL]\nCONTROL=5,6,55,36\n");
    Load();
    WriteSkin("");
    Load();
    EXPECT_EQ(m_dialog.ControlRect(), QRect(5, 6, 50, 30));
    const QImage shown = m_dialog.grab().toImage();
    EXPECT_EQ(shown.pixelColor(22, 22), QColor(0, 250, 0));
    EXPECT_EQ(shown.pixelColor(20, 20), BACKGROUND);
}

TEST_F(SkinDialogTest, ButtonsOptionsAndChecksShowTheTooltipTheirEntryGives)
{
    WriteSkin("[BUTTONINFO]\n1=BUTTON_RECORD,button.bmp,10,10,30,30,Record to a file,\n"
              "2=BUTTON_QUIET,button.bmp,40,10,60,30,,\n"
              "[OPTIONINFO]\n1=OPTION_MPEG2,button.bmp,10,40,30,60,MPEG-2,,\n"
              "[CHECKINFO]\n1=CHECK_MUTE,button.bmp,40,40,60,60,Mute,,\n");
    Load();
    EXPECT_EQ(m_dialog.FindButton("BUTTON_RECORD")->toolTip(), QStringLiteral("Record to a file"));
    EXPECT_EQ(m_dialog.FindButton("BUTTON_QUIET")->toolTip(), QString());
    EXPECT_EQ(m_dialog.FindOption("OPTION_MPEG2")->toolTip(), QStringLiteral("MPEG-2"));
    EXPECT_EQ(m_dialog.FindCheck("CHECK_MUTE")->toolTip(), QStringLiteral("Mute"));
}

TEST_F(SkinDialogTest, ReloadingReplacesEveryControl)
{
    WriteSkin(
        "[BUTTONINFO]\n1=BUTTON_A,button.bmp,10,10,30,30,,\n[OPTIONINFO]\n1=OPTION_A,button.bmp,40,10,60,30,,,\n");
    Load();
    WriteSkin("[BUTTONINFO]\n1=BUTTON_B,button.bmp,10,10,30,30,,\n");
    Load();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_dialog.FindButton("BUTTON_A"), nullptr);
    EXPECT_NE(m_dialog.FindButton("BUTTON_B"), nullptr);
    EXPECT_TRUE(m_dialog.Options().isEmpty());
    EXPECT_EQ(m_dialog.findChildren<CSkinButton*>().size(), 1);
}

TEST_F(SkinDialogTest, DraggingTheBackgroundMovesTheWindow)
{
    WriteSkin("[BUTTONINFO]\n1=BUTTON_A,button.bmp,10,10,30,30,,\n");
    Load();
    m_dialog.move(100, 100);
    ShowActive();
    const QPoint ptStart = m_dialog.pos();
    QTest::mousePress(&m_dialog, Qt::LeftButton, {}, QPoint(60, 40));
    QTest::mouseMove(&m_dialog, QPoint(80, 50));
    QTest::mouseRelease(&m_dialog, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(m_dialog.pos(), ptStart + QPoint(20, 10));
    EXPECT_GT(m_dialog.m_nMouseMoves, 0);
    EXPECT_TRUE(m_dialog.m_arrCommands.isEmpty());
}

TEST_F(SkinDialogTest, RightClickOnTheBackgroundOpensTheSkinMenu)
{
    WriteSkin("[BUTTONINFO]\n1=BUTTON_A,button.bmp,10,10,30,30,,\n");
    Load();
    ShowActive();
    const QPoint ptButton(15, 15);
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, ptButton, m_dialog.mapToGlobal(ptButton));
    QApplication::sendEvent(m_dialog.childAt(ptButton), &onButton);
    EXPECT_FALSE(m_dialog.SkinMenu()->isVisible());

    const QPoint ptBackground(60, 50);
    QContextMenuEvent onBackground(QContextMenuEvent::Mouse, ptBackground, m_dialog.mapToGlobal(ptBackground));
    QApplication::sendEvent(&m_dialog, &onBackground);
    ASSERT_TRUE(m_dialog.SkinMenu()->isVisible());
    const QList<QAction*> arrActions = m_dialog.SkinMenu()->actions();
    ASSERT_EQ(arrActions.size(), 8);
    // A skin loaded from its description came from none of the packages.
    for (const QAction* pAction : arrActions)
        EXPECT_FALSE(pAction->isChecked()) << pAction->text().toStdString();
    m_dialog.SkinMenu()->close();
}

TEST(SkinDialog, FormatTime)
{
    const QList<QPair<int, QString>> cases = {
        { 0, "00:00:00" },      { 59, "00:00:59" },     { 3725, "01:02:05" },   { 7200, "02:00:00" },
        { 359999, "99:59:59" }, { 360000, "99:59:59" }, { 400000, "99:59:59" }, { -5, "00:00:00" },
    };
    for (const auto& [nSeconds, strExpected] : cases) {
        SCOPED_TRACE(nSeconds);
        EXPECT_EQ(CSkinDialog::FormatTime(nSeconds), strExpected);
    }
}

TEST(SkinDialog, GetFolderOf)
{
    QTemporaryDir dir;
    const QString strOld = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString strCurrent = QDir::currentPath();
    const QList<QPair<QString, QString>> cases = {
        { "Skin.ini", strCurrent + "/" },
        { "Test/Skin.ini", strCurrent + "/Test/" },
        { "/tmp/x/Skin.ini", "/tmp/x/" },
        { "/Skin.ini", "/" },
        // A folder whose name holds the file name is kept whole.
        { "/opt/Skin.ini.d/Skin.ini", "/opt/Skin.ini.d/" },
    };
    for (const auto& [strPath, strExpected] : cases) {
        SCOPED_TRACE(strPath.toStdString());
        EXPECT_EQ(CSkinDialog::GetFolderOf(strPath), strExpected);
    }
    QDir::setCurrent(strOld);
}

} // namespace
