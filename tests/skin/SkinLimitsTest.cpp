#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

#include "controls/Label.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinProgress.h"
#include "controls/SkinSlider.h"
#include "skin/SkinLimits.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

const QString SCROLL_IMAGES = QStringLiteral("s.bmp,s.bmp,s.bmp,s.bmp,s.bmp,s.bmp,s.bmp");

// One entry of every kind of control at strRect, named NAME_HUGE.
QString EveryKindAt(const QString& strRect)
{
    return "[BUTTONINFO]\n1=BUTTON_EXIT,strip.bmp,0,0,32,8,Exit,FALSE\n2=BUTTON_HUGE,strip.bmp," + strRect
        + ",Huge,FALSE\n3=BUTTON_STOP,strip.bmp,40,0,72,8,Stop,FALSE\n"
          "[SLIDERINFO]\n1=SLIDER_HUGE,s.bmp,s.bmp,s.bmp,"
        + strRect + ",H,0,Huge\n[PROGRESSINFO]\n1=PROGRESS_HUGE," + strRect + ",s.bmp\n[LABELINFO]\n1=LABEL_HUGE,"
        + strRect + ",text,Arial,9,0xFFFFFF\n[EDITBOXINFO]\n1=EDIT_HUGE," + strRect
        + ",0,0,0,TRUE\n[LISTBOXINFO]\n1=LIST_HUGE," + strRect + ",0,0,0,0," + SCROLL_IMAGES
        + "\n[COMBOBOXINFO]\n1=COMBO_HUGE," + strRect + ",s.bmp,0,0,0,0,0,0,0," + SCROLL_IMAGES + "\n";
}

class SkinLimitsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_skin.WriteBackground("back.bmp", QSize(120, 80), Qt::darkBlue, 0);
        m_skin.WriteStrip("strip.bmp", {});
        m_skin.WriteStrip("s.bmp", {}, QSize(4, 4));
    }

    void Load(const QString& strSections, const QString& strBackground = QStringLiteral("back.bmp"))
    {
        m_skin.WriteIni("[Screen]\nMain=" + strBackground + "\n" + strSections);
        m_dialog.SetSkinFile(m_skin.SkinFile());
        m_dialog.LoadSkin();
    }

    // Every control the dialog made from EveryKindAt, apart from the two
    // buttons of a fitting size.
    int HugeControlsMade() const
    {
        return int(m_dialog.FindButton("BUTTON_HUGE") != nullptr) + int(m_dialog.FindSlider("SLIDER_HUGE") != nullptr)
            + int(m_dialog.FindProgress("PROGRESS_HUGE") != nullptr) + int(m_dialog.FindLabel("LABEL_HUGE") != nullptr)
            + int(m_dialog.FindEdit("EDIT_HUGE") != nullptr) + int(m_dialog.FindListBox("LIST_HUGE") != nullptr)
            + int(m_dialog.FirstComboBox() != nullptr);
    }

    static QSize Screen() { return QGuiApplication::primaryScreen()->size(); }

    QTemporaryDir m_dir;
    CTestSkinFolder m_skin { m_dir.filePath("Test") };
    CScriptedPrompt m_prompt;
    CSkinTestDialog m_dialog { m_prompt };
};

TEST_F(SkinLimitsTest, ControlsLargerThanAnyScreenAreLeftOutAndTheRestLoads)
{
    QElapsedTimer timer;
    timer.start();
    Load(EveryKindAt("0,0,12000,12000") + "[CAPTION]\nCAPTION=CAP,0,0,12000,20,t,Arial,9,0\n"
         + "[ICON]\nICON=strip.bmp,0,0,9000,16\n");
    RecordProperty("load_ms", int(timer.elapsed()));
    EXPECT_EQ(HugeControlsMade(), 0);
    ASSERT_EQ(m_dialog.Buttons().size(), 2);
    // The entry left out does not move its neighbours' indexes.
    EXPECT_EQ(m_dialog.FindButton("BUTTON_STOP")->GetIndex(), 2);
    EXPECT_FALSE(m_dialog.BackgroundCopy().isNull());
    EXPECT_TRUE(m_dialog.findChildren<CLabel*>().isEmpty());
}

TEST_F(SkinLimitsTest, ControlsUpToTheLimitAreMade)
{
    const int nSide = SkinLimits::MAX_CONTROL_SIDE;
    Load(EveryKindAt(QStringLiteral("0,0,%1,8").arg(nSide)));
    EXPECT_EQ(HugeControlsMade(), 7);
    EXPECT_EQ(m_dialog.FindButton("BUTTON_HUGE")->width(), nSide);
    Load(EveryKindAt(QStringLiteral("0,0,8,%1").arg(nSide + 1)));
    EXPECT_EQ(HugeControlsMade(), 0);
}

TEST_F(SkinLimitsTest, WindowsUpToTwiceTheScreenLoad)
{
    const QSize sizeMax = Screen() * SkinLimits::WINDOW_SCREENS;
    const QRect rcFits(QPoint(0, 0), sizeMax);
    const QString strFits = QStringLiteral("0,0,%1,%2").arg(sizeMax.width()).arg(sizeMax.height());
    const QString strWider = QStringLiteral("0,0,%1,10").arg(sizeMax.width() + 1);
    Load("[CONTROL]\nCONTROL=" + strFits + "\n");
    EXPECT_EQ(m_dialog.ControlRect(), rcFits);
    Load("[CONTROL]\nCONTROL=" + strWider + "\n");
    EXPECT_EQ(m_dialog.ControlRect(), rcFits);

    m_skin.WriteBackground("wide.bmp", QSize(sizeMax.width() + 1, 1), Qt::darkBlue, 0);
    Load(QString(), "wide.bmp");
    EXPECT_TRUE(m_dialog.BackgroundCopy().isNull());
    m_skin.WriteBackground("wide.bmp", QSize(sizeMax.width(), 1), Qt::darkBlue, 0);
    Load(QString(), "wide.bmp");
    EXPECT_EQ(m_dialog.BackgroundCopy().size(), QSize(sizeMax.width(), 1));
}

// Found by fuzzing: with no background the window took the size its
// controls span, and one far down made it 16 million pixels tall.
TEST_F(SkinLimitsTest, AWindowWithoutBackgroundStaysWithinTwiceTheScreen)
{
    Load("[LABELINFO]\n1=LABEL_FAR,20,2147483647,0,0,t,Arial,9,0\n2=LABEL_NEAR,0,-1,300,1,t,Arial,9,0\n", "none.bmp");
    m_dialog.show();
    const QSize sizeMax = Screen() * SkinLimits::WINDOW_SCREENS;
    EXPECT_LE(m_dialog.width(), sizeMax.width());
    EXPECT_LE(m_dialog.height(), sizeMax.height());
    EXPECT_LE(m_dialog.grab().height(), sizeMax.height());
}

// Under the sanitizer build these once stopped at a signed overflow.
TEST_F(SkinLimitsTest, ExtremeRectangleNumbersLoadWithoutOverflow)
{
    for (const char* pszRect : { "-2147483648,0,2147483647,10", "0,-99999999999,10,99999999999",
                                 "2147483647,2147483647,-2147483648,-2147483648", "99999999999,0,99999999999,8" }) {
        SCOPED_TRACE(pszRect);
        Load(EveryKindAt(pszRect) + "[CONTROL]\nCONTROL=" + pszRect + "\n[CAPTION]\nCAPTION=CAP," + pszRect
             + ",t,Arial,9,0\n[ICON]\nICON=strip.bmp," + pszRect + "\n[TASKNOTIFIER]\nPAGE=" + pszRect + "\n");
        ASSERT_NE(m_dialog.FindButton("BUTTON_STOP"), nullptr);
    }
    // Four equal coordinates far out make an empty control there.
    EXPECT_NE(m_dialog.FindButton("BUTTON_HUGE"), nullptr);
}

} // namespace
