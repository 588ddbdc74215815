#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "controls/Label.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinComboButton.h"
#include "controls/SkinEdit.h"
#include "controls/SkinListBox.h"
#include "controls/SkinProgress.h"
#include "controls/SkinScrollBar.h"
#include "controls/SkinSlider.h"
#include "skin/SkinFactory.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"
#include "tests/skin/SkinTestDialog.h"

namespace {

// Exposes the tables of the kinds these loaders fill.
class CControlsTestDialog : public CSkinTestDialog
{
public:
    using CSkinTestDialog::CSkinTestDialog;

    QList<CSkinSlider*> Sliders() const { return m_sliders; }
    QList<CSkinEdit*> Edits() const { return m_edits; }
    QList<CSkinListBox*> ListBoxes() const { return m_listBoxes; }
    QList<CLabel*> Labels() const { return m_labels; }
    QList<CSkinProgress*> Progresses() const { return m_progresses; }
    QList<CSkinComboBox*> ComboBoxes() const { return m_comboBoxes; }
    CLabel* Caption() const { return m_pCaption; }

    QList<QPair<QString, int>> m_arrSliderMoves;

protected:
    void OnSkinSliderMoved(const QString& strName, int nPos) override { m_arrSliderMoves.append({ strName, nPos }); }
};

const QString SCROLL_IMAGES = QStringLiteral("sc.bmp,up.bmp,upp.bmp,dn.bmp,dnp.bmp,th.bmp,thp.bmp");

const QString FULL_SKIN =
    QString("[SLIDERINFO]\n"
            "1=SLIDER_PROGRESS,channel.bmp,thumb.bmp,drag.bmp,10,150,230,170,H,0,Progress\n"
            "2=SLIDER_VOLUME,vchannel.bmp,thumb.bmp,,250,10,270,230,V,9000,Volume\n"
            "[PROGRESSINFO]\n"
            "1=PROGRESS_BUFFER,10,240,210,252,block.bmp\n"
            "[CAPTION]\n"
            "CAPTION=CAPTION,10,2,200,20,Skin Recorder,DejaVu Sans,12,0xFFFF00\n"
            "[LABELINFO]\n"
            "1=LABEL_TIME,10,175,200,190,,Arial,9,0xFFFFFF\n"
            "2=LABEL_MODE,10,195,200,210,first,Arial,9,\n"
            "3=LABEL_MODE,10,215,200,230,second,Arial,9,0x00FF00\n"
            "[EDITBOXINFO]\n"
            "1=EDIT_NAME,300,10,400,30,0x102030,0xF0F0F0,0xFF0000,TRUE\n"
            "2=EDIT_PATH,300,40,400,60,,,,true\n"
            "[LISTBOXINFO]\n"
            "1=LIST_FILES,300,80,600,280,0x000040,0xFFFFFF,0xFFFF00,0x000000,"
            + SCROLL_IMAGES
            + "\n"
              "[COMBOBOXINFO]\n"
              "1=COMBO_TYPE,10,20,210,40,arrow.bmp,0x000000,0xFFFFFF,0xFF8000,0x000040,0xFFFFFF,0xFFFF00,0x000000,"
            + SCROLL_IMAGES + "\n");

class SkinControlLoadersTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_skin.WriteBackground("back.bmp", QSize(640, 300), QColor(30, 60, 90), 0);
        WriteImage("channel.bmp", QSize(220, 10), Qt::red);
        WriteImage("vchannel.bmp", QSize(10, 220), Qt::red);
        WriteImage("thumb.bmp", QSize(20, 20), Qt::blue);
        WriteImage("drag.bmp", QSize(20, 20), Qt::green);
        WriteImage("block.bmp", QSize(16, 12), Qt::green);
        WriteImage("arrow.bmp", QSize(64, 18), Qt::gray);
        WriteImage("sc.bmp", QSize(16, 10), Qt::darkGray);
        for (const char* pszName : { "up.bmp", "upp.bmp", "dn.bmp", "dnp.bmp" })
            WriteImage(pszName, QSize(16, 15), Qt::white);
        WriteImage("th.bmp", QSize(16, 20), Qt::yellow);
        WriteImage("thp.bmp", QSize(16, 20), Qt::yellow);
    }

    void WriteImage(const QString& strName, QSize size, const QColor& colour) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(m_skin.FilePath(strName), "BMP");
    }

    void Load(const QString& strSections)
    {
        m_skin.WriteIni("[Screen]\nMain=back.bmp\n[TRANSPARENT]\nCOLOR=" + CTestSkinFolder::KEY_FIELD + "\n"
                        + strSections);
        m_dialog.SetSkinFile(m_skin.SkinFile());
        m_dialog.LoadSkin();
    }

    QTemporaryDir m_dir;
    CTestSkinFolder m_skin { m_dir.filePath("Test") };
    CScriptedPrompt m_prompt;
    CControlsTestDialog m_dialog { m_prompt };
};

} // namespace

TEST_F(SkinControlLoadersTest, SlidersTakeTheFixedRange)
{
    Load(FULL_SKIN);
    ASSERT_EQ(m_dialog.Sliders().size(), 2);
    CSkinSlider* pProgress = m_dialog.FindSlider("SLIDER_PROGRESS");
    CSkinSlider* pVolume = m_dialog.FindSlider("SLIDER_VOLUME");
    ASSERT_TRUE(pProgress && pVolume);
    EXPECT_EQ(pVolume->GetPos(), CSkinFactory::SLIDER_RANGE_MAX);
    EXPECT_TRUE(pVolume->IsVertical());
    EXPECT_FALSE(pProgress->IsVertical());
    EXPECT_EQ(pVolume->GetIndex(), 1);
    EXPECT_EQ(pProgress->geometry(), QRect(10, 150, 220, 20));
    EXPECT_EQ(pVolume->toolTip(), QStringLiteral("Volume"));
    EXPECT_FALSE(pVolume->isHidden());
}

TEST_F(SkinControlLoadersTest, SliderMovesReachTheWindowByName)
{
    Load(FULL_SKIN);
    CSkinSlider* pVolume = m_dialog.FindSlider("SLIDER_VOLUME");
    m_dialog.show();
    QTest::mouseClick(pVolume, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    ASSERT_FALSE(m_dialog.m_arrSliderMoves.isEmpty());
    EXPECT_EQ(m_dialog.m_arrSliderMoves.first(), qMakePair(QStringLiteral("SLIDER_VOLUME"), 0));
}

TEST_F(SkinControlLoadersTest, LabelsKeepEntryOrderAndTheCaptionItsFont)
{
    Load(FULL_SKIN);
    const QList<CLabel*> labels = m_dialog.Labels();
    ASSERT_EQ(labels.size(), 3);
    EXPECT_EQ(labels[1]->GetLabelText(), QStringLiteral("first"));
    EXPECT_EQ(m_dialog.FindLabel("LABEL_MODE"), labels[1]);
    EXPECT_EQ(labels[1]->GetTextRgb(), CLR_NONE_GIVEN);
    EXPECT_EQ(labels[2]->GetIndex(), 2);

    CLabel* pCaption = m_dialog.Caption();
    ASSERT_NE(pCaption, nullptr);
    EXPECT_EQ(pCaption->GetLabelText(), QStringLiteral("Skin Recorder"));
    EXPECT_EQ(pCaption->GetLabelFont().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(pCaption->GetLabelFont().pointSize(), 12);
    EXPECT_EQ(pCaption->GetTextRgb(), MakeColorRef(0xFF, 0xFF, 0));
    EXPECT_TRUE(pCaption->GetName().isEmpty());
}

TEST_F(SkinControlLoadersTest, EditBoxesEnabledOnlyByExactTrue)
{
    Load(FULL_SKIN);
    const QList<CSkinEdit*> edits = m_dialog.Edits();
    ASSERT_EQ(edits.size(), 2);
    EXPECT_TRUE(edits[0]->isEnabled());
    EXPECT_FALSE(edits[1]->isEnabled());
    EXPECT_EQ(edits[0]->GetBkColor(), MakeColorRef(0x10, 0x20, 0x30));
    EXPECT_EQ(edits[0]->GetBorderColor(), MakeColorRef(0xFF, 0, 0));
    EXPECT_EQ(edits[1]->GetBkColor(), CLR_NONE_GIVEN);
    EXPECT_EQ(edits[1]->BackColor(), QPalette().color(QPalette::Base));
}

TEST_F(SkinControlLoadersTest, ListBoxColumnsLeaveRoomForTheBar)
{
    Load(FULL_SKIN);
    ASSERT_EQ(m_dialog.ListBoxes().size(), 1);
    CSkinListBox* pList = m_dialog.ListBoxes().first();
    EXPECT_EQ(pList->ColumnWidth(0), 35);
    EXPECT_EQ(pList->ColumnWidth(1), 244);
    EXPECT_EQ(pList->geometry(), QRect(300, 80, 284, 200));
    EXPECT_EQ(pList->ScrollBar()->geometry(), QRect(584, 80, 16, 200));
    EXPECT_EQ(pList->GetName(), QStringLiteral("LIST_FILES"));
}

TEST_F(SkinControlLoadersTest, ComboBoxLoadsClosedAndClosesOnMouseMoveOutside)
{
    Load(FULL_SKIN);
    ASSERT_EQ(m_dialog.ComboBoxes().size(), 1);
    CSkinComboBox* pCombo = m_dialog.ComboBoxes().first();
    EXPECT_EQ(m_dialog.FirstComboBox(), pCombo);
    EXPECT_FALSE(pCombo->Button()->isHidden());
    EXPECT_FALSE(pCombo->Edit()->isHidden());
    EXPECT_TRUE(pCombo->List()->isHidden());
    EXPECT_TRUE(pCombo->List()->ScrollBar()->isHidden());
    EXPECT_EQ(pCombo->Edit()->GetName(), QStringLiteral("COMBO_EDIT"));
    EXPECT_EQ(pCombo->List()->GetName(), QStringLiteral("COMBO_LIST"));
    EXPECT_EQ(pCombo->Button()->GetName(), QStringLiteral("COMBO_BTN"));
    EXPECT_EQ(pCombo->List()->ColumnCount(), 1);

    m_dialog.show();
    pCombo->ToggleDropDown();
    EXPECT_TRUE(m_dialog.IsDropDownOpen());
    const auto moveTo = [this](const QPoint& pt) {
        QMouseEvent move(QEvent::MouseMove, pt, m_dialog.mapToGlobal(pt), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&m_dialog, &move);
    };
    moveTo(QPoint(100, 60));
    EXPECT_TRUE(pCombo->IsDropDownVisible());
    moveTo(QPoint(500, 290));
    EXPECT_FALSE(pCombo->IsDropDownVisible());
    EXPECT_FALSE(m_dialog.IsDropDownOpen());
}

TEST_F(SkinControlLoadersTest, ProgressBarsAndAReloadReleasingEverything)
{
    Load(FULL_SKIN);
    ASSERT_EQ(m_dialog.Progresses().size(), 1);
    EXPECT_EQ(m_dialog.Progresses().first()->GetName(), QStringLiteral("PROGRESS_BUFFER"));

    Load(QString());
    EXPECT_TRUE(m_dialog.Sliders().isEmpty());
    EXPECT_TRUE(m_dialog.Labels().isEmpty());
    EXPECT_TRUE(m_dialog.Edits().isEmpty());
    EXPECT_TRUE(m_dialog.ListBoxes().isEmpty());
    EXPECT_TRUE(m_dialog.ComboBoxes().isEmpty());
    EXPECT_TRUE(m_dialog.Progresses().isEmpty());
    EXPECT_EQ(m_dialog.Caption(), nullptr);
    EXPECT_EQ(m_dialog.FirstComboBox(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(m_dialog.findChildren<CSkinListBox*>().isEmpty());
    EXPECT_TRUE(m_dialog.findChildren<CSkinScrollBar*>().isEmpty());
    EXPECT_TRUE(m_dialog.findChildren<CSkinEdit*>().isEmpty());
}
