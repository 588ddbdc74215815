#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/ConverterDlg.h"
#include "app/SkinNotifier.h"
#include "auxiliary/HtmlCtrl.h"
#include "auxiliary/TaskNotifierDlg.h"
#include "controls/Label.h"
#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"

namespace {

using EState = CTaskNotifierDlg::EState;

constexpr int WAIT_MS = 10000;
const QSize NOTIFIER_SIZE(120, 80);
const QString BACKGROUND_ENTRY = QStringLiteral("[Screen]\nMain=main.bmp\n[TRANSPARENT]\nCOLOR=0xFF00FF\n");
// Two task buttons; the page leaves a title strip at the top.
const QString NOTIFIER_ENTRIES = QStringLiteral("[TASKBARBUTTON]\n"
                                                "1=TASKBUTTON_EXIT,close.bmp,100,4,116,20,Close,FALSE\n"
                                                "2=TASKBUTTON_EXIT,close.bmp,80,4,96,20,Close,FALSE\n"
                                                "[TASKNOTIFIER]\nPAGE=6,24,114,74\n");

// A skinned window that loads the notifier with each skin as the main
// window does, without the main window's start-up skin and recorder.
class CNotifierTestDialog : public CSkinDialog
{
public:
    using CSkinDialog::CSkinDialog;

    CTaskNotifierDlg* TaskNotifier() const { return m_notifier.Popup(); }
    QList<CSkinButton*> Buttons() const { return m_buttons; }

protected:
    void OnSkinReleasing() override { m_notifier.Release(); }
    void OnSkinLoaded(const CIniFile& ini, const QString& strFolder) override
    {
        m_notifier.Load(ini, strFolder, TransparentColor());
    }

private:
    CSkinNotifier m_notifier { *this };
};

class TaskNotifierLoadTest : public testing::Test
{
protected:
    // A skin in strName/, with the notifier picture when bPicture; a
    // notifier of nHeight pixels tells one skin from another.
    QString WriteSkin(const QString& strName, bool bPicture, const QString& strEntries, int nHeight = 80)
    {
        const CTestSkinFolder skin(m_root.filePath(strName));
        skin.WriteBackground("main.bmp", QSize(60, 40), Qt::darkCyan, 2);
        skin.WriteStrip("close.bmp", { Qt::red, Qt::green, Qt::blue, Qt::gray }, QSize(16, 16));
        if (bPicture)
            skin.WriteBackground("dlgTaskNotifier.bmp", QSize(NOTIFIER_SIZE.width(), nHeight), Qt::darkBlue, 3);
        skin.WriteIni(BACKGROUND_ENTRY + strEntries);
        return skin.Folder();
    }

    void Load(const QString& strFolder)
    {
        m_dialog.SetSkinFile(QDir(strFolder).filePath("Skin.ini"));
        m_dialog.LoadSkin();
    }

    static bool Zip(const QString& strFolder, const QString& strZip)
    {
        QProcess zip;
        zip.setWorkingDirectory(strFolder);
        zip.start("zip", { "-q", "-r", strZip, "." });
        return zip.waitForFinished() && zip.exitCode() == 0;
    }

    QTemporaryDir m_root;
    CScriptedPrompt m_prompt;
    CNotifierTestDialog m_dialog { m_prompt };
};

TEST_F(TaskNotifierLoadTest, EveryLoadSlidesInTheShapedPopupWithItsButtonsAndPage)
{
    Load(WriteSkin("a", true, NOTIFIER_ENTRIES));
    CTaskNotifierDlg* pPopup = m_dialog.TaskNotifier();
    ASSERT_NE(pPopup, nullptr);
    // It appears once the event loop runs, after an owner on its way.
    EXPECT_TRUE(QTest::qWaitFor([&] { return pPopup->isVisible(); }, WAIT_MS));
    EXPECT_EQ(pPopup->size(), NOTIFIER_SIZE);
    EXPECT_FALSE(pPopup->Region().contains(QPoint(0, 0)));
    EXPECT_TRUE(pPopup->Region().contains(QPoint(3, 3)));
    EXPECT_EQ(pPopup->ShowStep(), 300 / NOTIFIER_SIZE.height());

    // Both entries make a button on the popup; the last is the task button.
    ASSERT_EQ(pPopup->TaskButtons().size(), 2);
    EXPECT_EQ(pPopup->TaskButton(), pPopup->TaskButtons().last());
    EXPECT_EQ(pPopup->TaskButton()->geometry(), QRect(80, 4, 16, 16));
    for (const CSkinButton* pButton : pPopup->TaskButtons())
        EXPECT_EQ(pButton->parentWidget(), pPopup);
    EXPECT_TRUE(m_dialog.Buttons().isEmpty());
    EXPECT_EQ(pPopup->HtmlPane()->geometry(), QRect(6, 24, 108, 50));

    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->State() == EState::Shown; }, WAIT_MS));
}

TEST_F(TaskNotifierLoadTest, TheNextLoadReplacesEveryTaskButton)
{
    Load(WriteSkin("a", true, NOTIFIER_ENTRIES));
    const QPointer<CSkinButton> pFirst = m_dialog.TaskNotifier()->TaskButtons().first();
    const QPointer<CSkinButton> pSecond = m_dialog.TaskNotifier()->TaskButtons().last();
    Load(WriteSkin("b", true, "[TASKBARBUTTON]\n1=TASKBUTTON_EXIT,close.bmp,2,2,18,18,Close,FALSE\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pFirst.isNull() && pSecond.isNull(); }, WAIT_MS));
    ASSERT_EQ(m_dialog.TaskNotifier()->TaskButtons().size(), 1);
    EXPECT_EQ(m_dialog.TaskNotifier()->TaskButton()->geometry(), QRect(2, 2, 16, 16));
    // Without a page entry the page covers the whole picture.
    EXPECT_EQ(m_dialog.TaskNotifier()->HtmlPane()->geometry(), QRect(QPoint(0, 0), NOTIFIER_SIZE));
}

TEST_F(TaskNotifierLoadTest, ItsExitButtonSlidesThePopupOut)
{
    Load(WriteSkin("a", true, NOTIFIER_ENTRIES));
    CTaskNotifierDlg* pPopup = m_dialog.TaskNotifier();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->State() == EState::Shown; }, WAIT_MS));
    QTest::mouseClick(pPopup->TaskButton(), Qt::LeftButton);
    EXPECT_EQ(pPopup->State(), EState::Shown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->isHidden(); }, WAIT_MS));
    EXPECT_EQ(pPopup->State(), EState::Hidden);
}

TEST_F(TaskNotifierLoadTest, WithoutItsPictureThePopupStaysHidden)
{
    Load(WriteSkin("bare", false, QString()));
    ASSERT_NE(m_dialog.TaskNotifier(), nullptr);
    EXPECT_TRUE(m_dialog.TaskNotifier()->isHidden());
    EXPECT_EQ(m_dialog.TaskNotifier()->State(), EState::Hidden);
}

// A picture that leads out of the skin, here through a link, is not read.
TEST_F(TaskNotifierLoadTest, APictureOutsideTheSkinIsNotShown)
{
    const QString strFolder = WriteSkin("linked", false, NOTIFIER_ENTRIES);
    WriteSkin("outside", true, QString());
    ASSERT_TRUE(QFile::link(QDir(m_root.filePath("outside")).filePath(CTaskNotifierDlg::PICTURE_NAME),
                            QDir(strFolder).filePath(CTaskNotifierDlg::PICTURE_NAME)));
    Load(strFolder);
    ASSERT_NE(m_dialog.TaskNotifier(), nullptr);
    EXPECT_TRUE(m_dialog.TaskNotifier()->Picture().isNull());
    EXPECT_TRUE(m_dialog.TaskNotifier()->isHidden());
}

// The main window owns the popup: the tests below run on it.
TEST_F(TaskNotifierLoadTest, ASkinChangeShowsThePopupAgain)
{
    CConverterDlg window(m_prompt);
    const QString strPrograms = m_root.filePath("programs");
    QDir().mkpath(strPrograms);
    ASSERT_TRUE(Zip(WriteSkin("pink", true, NOTIFIER_ENTRIES), QDir(strPrograms).filePath("Pink.skn")));
    ASSERT_TRUE(Zip(WriteSkin("red", true, NOTIFIER_ENTRIES, 60), QDir(strPrograms).filePath("Red.zip")));
    window.SetPackageFolder(strPrograms);
    ASSERT_TRUE(window.MakeSkinCurrent(QDir(strPrograms).filePath("Pink.skn")));
    CTaskNotifierDlg* pPopup = window.TaskNotifier();
    pPopup->SlideOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->isHidden(); }, WAIT_MS));

    window.ChangeSkin(32775);
    EXPECT_EQ(window.TaskNotifier(), pPopup);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pPopup->isVisible(); }, WAIT_MS));
    EXPECT_EQ(pPopup->Picture().height(), 60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->State() == EState::Shown; }, WAIT_MS));
}

// A skin change that failed used to leave the popup hidden until the next
// one that worked.
TEST_F(TaskNotifierLoadTest, AFailedSkinChangeLeavesThePopupAsItWas)
{
    CConverterDlg window(m_prompt);
    const QString strPrograms = m_root.filePath("programs");
    QDir().mkpath(strPrograms);
    ASSERT_TRUE(Zip(WriteSkin("pink", true, NOTIFIER_ENTRIES), QDir(strPrograms).filePath("Pink.skn")));
    // Black.zip is missing; Red.zip holds no description.
    const CTestSkinFolder notASkin(m_root.filePath("red"));
    notASkin.WriteBackground("main.bmp", QSize(60, 40), Qt::red, 0);
    ASSERT_TRUE(Zip(notASkin.Folder(), QDir(strPrograms).filePath("Red.zip")));
    window.SetPackageFolder(strPrograms);
    ASSERT_TRUE(window.MakeSkinCurrent(QDir(strPrograms).filePath("Pink.skn")));
    CTaskNotifierDlg* pPopup = window.TaskNotifier();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->State() == EState::Shown; }, WAIT_MS));

    for (const int nCommand : { 32772, 32775 }) {
        SCOPED_TRACE(nCommand);
        m_prompt.m_arrAsked.clear();
        window.ChangeSkin(nCommand);
        EXPECT_EQ(m_prompt.m_arrAsked.size(), 1);
        EXPECT_TRUE(pPopup->isVisible());
        EXPECT_EQ(pPopup->State(), EState::Shown);
        EXPECT_EQ(pPopup->Picture().height(), 80);
    }
}

// A button of the window named as the popup's exit button slides it out.
TEST_F(TaskNotifierLoadTest, TheWindowsExitTaskButtonSlidesThePopupOut)
{
    CConverterDlg window(m_prompt);
    window.SetSkinFile(QDir(WriteSkin("a", true, "[BUTTONINFO]\n1=TASKBUTTON_EXIT,close.bmp,2,2,18,18,Close,\n"))
                           .filePath("Skin.ini"));
    window.LoadSkin();
    CTaskNotifierDlg* pPopup = window.TaskNotifier();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->State() == EState::Shown; }, WAIT_MS));
    CSkinButton* pExit = window.FindButton(CTaskNotifierDlg::TASK_EXIT_NAME);
    ASSERT_NE(pExit, nullptr);
    window.OnButtonClicked(pExit->GetIndex());
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPopup->isHidden(); }, WAIT_MS));
}

// Nothing reads progress from a recording: every skin load hides the
// progress slider and its time label, which still tells the range.
TEST_F(TaskNotifierLoadTest, TheWindowHidesTheProgressDisplay)
{
    CConverterDlg window(m_prompt);
    const QString strFolder = WriteSkin("a", false,
                                        "[SLIDERINFO]\n1=SLIDER_PROGRESS,close.bmp,close.bmp,,10,10,50,20,H,0,\n"
                                        "[LABELINFO]\n1=LABEL_TIME,10,22,50,32,,Arial,9,0xFFFFFF\n");
    window.SetSkinFile(QDir(strFolder).filePath("Skin.ini"));
    window.LoadSkin();
    const CSkinSlider* pSlider = window.FindSlider("SLIDER_PROGRESS");
    const CLabel* pLabel = window.FindLabel("LABEL_TIME");
    ASSERT_TRUE(pSlider && pLabel);
    EXPECT_TRUE(pSlider->isHidden());
    EXPECT_TRUE(pLabel->isHidden());
    EXPECT_EQ(pLabel->GetLabelText(), QStringLiteral("00:00:00/02:00:00"));
}

} // namespace
