#include <gtest/gtest.h>

#include <csignal>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "app/ConverterDlg.h"
#include "app/QuitSignals.h"
#include "controls/SkinButton.h"
#include "controls/SkinEdit.h"
#include "skin/SkinPackage.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"

// The main window as the window system and the keyboard reach it.

namespace {

constexpr int START_TIMEOUT_MS = 30000;

class MainWindow : public CProgramTest
{
protected:
    // Recording the built-in sources into a file of the test's folder, in
    // a window that is shown and active, so that its keys reach it.
    void StartRecording(CConverterDlg& dialog)
    {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        m_prompt.m_arrFiles = { m_current.FilePath(QStringLiteral("closing.mpg")) };
        ClickButton(dialog, "BUTTON_CONVERT");
        ASSERT_TRUE(dialog.RecorderWidget().GetStatus().bRecordingToFile)
            << dialog.RecorderWidget().GetLastError().toStdString();
        m_prompt.m_arrAsked.clear();
    }

    QStringList StopAndQuitAsked() const
    {
        QStringList arrAsked = m_prompt.Texts();
        arrAsked.removeAll(QStringLiteral("Save As"));
        return arrAsked;
    }
};

// A point of the window that shows the background itself: no control on it
// and not cut away by the colour key.
QPoint BareBackgroundPoint(const CConverterDlg& dialog)
{
    const QImage& imgBackground = dialog.BackgroundCopy();
    for (int y = 0; y < imgBackground.height(); y += 3) {
        for (int x = 0; x < imgBackground.width(); x += 3) {
            const QPoint pt(x, y);
            if (dialog.WindowRegion().contains(pt) && dialog.childAt(pt) == nullptr)
                return pt;
        }
    }
    return QPoint(-1, -1);
}

TEST_F(MainWindow, ASkinSwitchAfterMinimiseKeepsTheBackground)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.SetPackageFolder(QCoreApplication::applicationDirPath());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ClickButton(dialog, "BUTTON_MINIMIZE");
    // Another skin from the right-click menu.
    const QList<QAction*> arrSkins = dialog.SkinMenu()->actions();
    const auto itOther = std::find_if(arrSkins.begin(), arrSkins.end(), [&dialog](const QAction* pAction) {
        return pAction->data().toInt() != SkinPackage::FIRST_SKIN_COMMAND + dialog.SkinIndex();
    });
    ASSERT_NE(itOther, arrSkins.end());
    (*itOther)->trigger();
    ASSERT_NE(dialog.SkinIndex(), SkinPackage::NO_SKIN_COMMAND);

    const QPoint pt = BareBackgroundPoint(dialog);
    ASSERT_NE(pt, QPoint(-1, -1));
    const QImage imgShown = dialog.grab().toImage();
    EXPECT_EQ(imgShown.pixelColor(pt).rgb(), dialog.BackgroundCopy().pixelColor(pt).rgb())
        << "at " << pt.x() << "," << pt.y();
}

struct CCloseCase
{
    const char* pszWay;
    std::function<void(CConverterDlg&)> close;
};

const CCloseCase CLOSE_WAYS[] = {
    { "exit button", [](CConverterDlg& dialog) { ClickButton(dialog, "BUTTON_EXIT"); } },
    // What the window manager's close and Alt+F4 send.
    { "window system", [](CConverterDlg& dialog) { dialog.close(); } },
    { "Ctrl+Q", [](CConverterDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Q, Qt::ControlModifier); } },
};

TEST_F(MainWindow, ClosingDuringARecordingAsksAndNoKeepsRecording)
{
    for (const CCloseCase& c : CLOSE_WAYS) {
        SCOPED_TRACE(c.pszWay);
        CConverterDlg dialog(m_prompt, m_settings);
        StartRecording(dialog);
        m_prompt.m_arrYesNo = { IPrompt::EAnswer::No };
        c.close(dialog);
        EXPECT_EQ(m_prompt.Texts(), QStringList { CConverterDlg::STOP_AND_QUIT });
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.RecorderWidget().GetStatus().bRecordingToFile);
        ClickButton(dialog, "BUTTON_STOP");
    }
}

TEST_F(MainWindow, ClosingDuringARecordingAndYesStopsAndQuits)
{
    for (const CCloseCase& c : CLOSE_WAYS) {
        SCOPED_TRACE(c.pszWay);
        CConverterDlg dialog(m_prompt, m_settings);
        StartRecording(dialog);
        m_prompt.m_arrYesNo = { IPrompt::EAnswer::Yes };
        c.close(dialog);
        EXPECT_EQ(m_prompt.Texts(), QStringList { CConverterDlg::STOP_AND_QUIT });
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.RecorderWidget().GetStatus().bRunning);
        EXPECT_EQ(dialog.Recordings().Entries().size(), 1) << "the file was closed and listed";
    }
}

TEST_F(MainWindow, ClosingWithoutARecordingDoesNotAsk)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    ClickButton(dialog, "BUTTON_PLAY");
    dialog.close();
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(MainWindow, AQuitSignalDuringARecordingDoesNotAsk)
{
    CConverterDlg dialog(m_prompt, m_settings);
    CQuitSignals quitSignals;
    ASSERT_TRUE(quitSignals.IsInstalled());
    QObject::connect(&quitSignals, &CQuitSignals::Received, &dialog, &CConverterDlg::EndOnQuitSignal);
    StartRecording(dialog);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }, START_TIMEOUT_MS));
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty());
    EXPECT_FALSE(dialog.RecorderWidget().GetStatus().bRunning);
}

TEST_F(MainWindow, KeysDriveTheTransport)
{
    CConverterDlg dialog(m_prompt, m_settings);
    StartRecording(dialog);
    const CEncorda& encoder = dialog.RecorderWidget();
    QTest::keyClick(&dialog, Qt::Key_Space);
    EXPECT_TRUE(dialog.IsPaused());
    EXPECT_TRUE(dialog.FindButton("BUTTON_PLAY")->isVisible());
    QTest::keyClick(&dialog, Qt::Key_Space);
    EXPECT_TRUE(dialog.FindButton("BUTTON_PAUSE")->isVisible());
    EXPECT_TRUE(encoder.GetStatus().bRecordingToFile) << "resumed, not restarted";
    QTest::keyClick(&dialog, Qt::Key_Period, Qt::ControlModifier);
    EXPECT_FALSE(encoder.GetStatus().bRunning);
    EXPECT_EQ(dialog.Recordings().Entries().size(), 1);

    // Space from the stopped state previews.
    QTest::keyClick(&dialog, Qt::Key_Space);
    EXPECT_TRUE(encoder.GetStatus().bRunning);
    EXPECT_FALSE(encoder.GetStatus().bRecordingToFile);
    // Ctrl+R asks for a file as Convert does.
    m_prompt.m_arrFiles = { m_current.FilePath(QStringLiteral("second.mpg")) };
    QTest::keyClick(&dialog, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(m_prompt.Texts(), QStringList { "Save As" });
    EXPECT_TRUE(encoder.GetStatus().bRecordingToFile);
    QTest::keyClick(&dialog, Qt::Key_Period, Qt::ControlModifier);
}

TEST_F(MainWindow, SpaceInTheTitleBoxIsText)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CSkinEdit* pTitle = dialog.FindEdit(QStringLiteral("EDIT_TITLE"));
    ASSERT_NE(pTitle, nullptr) << "our skins have a title box";
    pTitle->setFocus();
    QTest::keyClicks(pTitle, QStringLiteral("a b"));
    EXPECT_EQ(pTitle->text(), QStringLiteral("a b"));
    EXPECT_FALSE(dialog.RecorderWidget().IsRunning());
}

TEST_F(MainWindow, ASkinSwitchDuringARecordingKeepsPauseOffered)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.SetPackageFolder(QCoreApplication::applicationDirPath());
    StartRecording(dialog);
    dialog.ChangeSkin(SkinPackage::SkinCommands().last().nCommandId);
    EXPECT_TRUE(dialog.FindButton("BUTTON_PAUSE")->isVisible());
    EXPECT_FALSE(dialog.FindButton("BUTTON_PLAY")->isVisible());
    ClickButton(dialog, "BUTTON_STOP");
}

TEST_F(MainWindow, EnterAndEscapeStillDoNothing)
{
    CConverterDlg dialog(m_prompt, m_settings);
    StartRecording(dialog);
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape }) {
        QTest::keyClick(&dialog, key);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.RecorderWidget().GetStatus().bRecordingToFile);
    }
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty());
    ClickButton(dialog, "BUTTON_STOP");
}

TEST_F(MainWindow, TooltipsNameTheKeys)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.SetPackageFolder(QCoreApplication::applicationDirPath());
    const QList<std::pair<const char*, QString>> arrTips = {
        { "BUTTON_CONVERT", QStringLiteral("Record to file (Ctrl+R)") },
        { "BUTTON_PLAY", QStringLiteral("Play (Space)") },
        { "BUTTON_PAUSE", QStringLiteral("Pause (Space)") },
        { "BUTTON_STOP", QStringLiteral("Stop (Ctrl+.)") },
        { "BUTTON_EXIT", QStringLiteral("Close (Ctrl+Q)") },
    };
    // And again on a skin loaded later, whose buttons are new.
    for (int nLoad = 0; nLoad < 2; ++nLoad) {
        SCOPED_TRACE(nLoad);
        for (const auto& [pszButton, strTip] : arrTips) {
            const CSkinButton* pButton = dialog.FindButton(pszButton);
            ASSERT_NE(pButton, nullptr) << pszButton;
            EXPECT_EQ(pButton->toolTip(), strTip);
        }
        dialog.ChangeSkin(SkinPackage::SkinCommands().last().nCommandId);
    }
}

} // namespace
