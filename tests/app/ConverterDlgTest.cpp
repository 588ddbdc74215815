#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/ConverterDlg.h"
#include "app/ProgramIdentity.h"
#include "controls/SkinButton.h"
#include "settings/ConversionSettings.h"
#include "skin/SkinPackage.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/common/TestSkinFolder.h"

namespace {

const QStringList BUTTON_NAMES = { "BUTTON_EXIT",     "BUTTON_CLOSE", "BUTTON_UP",     "BUTTON_DOWN",
                                   "BUTTON_MINIMIZE", "button_exit",  "BUTTON_CONVERT" };
const QRect CONTROL_RECT(100, 10, 80, 60);

// Runs each test in a current directory holding a default skin package with
// one button per name above.
class ConverterDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        const CTestSkinFolder skin(m_root.filePath("src"));
        skin.WriteBackground("main.bmp", QSize(200, 80), QColor(250, 180, 200), 2);
        skin.WriteStrip("button.bmp", { Qt::red, Qt::green, Qt::blue, Qt::yellow });
        QString strIni = "[Screen]\nMain=main.bmp\n[TRANSPARENT]\nCOLOR=0xFF00FF\n[CONTROL]\nCONTROL=100,10,180,70\n"
                         "[BUTTONINFO]\n";
        for (int i = 0; i < BUTTON_NAMES.size(); ++i)
            strIni += QString("%1=%2,button.bmp,%3,10,%4,20,,\n")
                          .arg(i + 1)
                          .arg(BUTTON_NAMES[i])
                          .arg(i * 12)
                          .arg(i * 12 + 10);
        skin.WriteIni(strIni);
        QDir(m_root.path()).mkpath("cwd");
        QProcess zip;
        zip.setWorkingDirectory(skin.Folder());
        zip.start("zip", { "-q", "-r", m_root.filePath("cwd/Pink.skn"), "." });
        ASSERT_TRUE(zip.waitForFinished());
        ASSERT_EQ(zip.exitCode(), 0);
        m_strOldCurrent = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_root.filePath("cwd")));
    }

    void TearDown() override { QDir::setCurrent(m_strOldCurrent); }

    static void Click(QWidget* pControl) { QTest::mouseClick(pControl, Qt::LeftButton, {}, pControl->rect().center()); }

    QTemporaryDir m_root;
    QString m_strOldCurrent;
    CScriptedPrompt m_prompt;
};

TEST_F(ConverterDlgTest, StartsWithTheDefaultSkinFromTheCurrentDirectory)
{
    CConverterDlg dialog(m_prompt);
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty());
    EXPECT_NE(dialog.FindButton("BUTTON_EXIT"), nullptr);
    EXPECT_EQ(dialog.Encoder().geometry(), CONTROL_RECT);
    EXPECT_EQ(QDir(dialog.PackageFolder()), QDir::current());
    // No skin command has this package.
    EXPECT_EQ(dialog.SkinIndex(), SkinPackage::NO_SKIN_COMMAND);
    // Nothing extracted is left in the current directory.
    EXPECT_EQ(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "Pink.skn" });
}

struct CCommandCase
{
    const char* pszButton;
    int nResult;
    QStringList arrMessages;
    bool bMinimized;
};

TEST_F(ConverterDlgTest, AnswersTheSkinCommands)
{
    const CCommandCase cases[] = {
        { "BUTTON_EXIT", QDialog::Accepted, {}, false },
        { "BUTTON_CLOSE", QDialog::Accepted, {}, false },
        { "BUTTON_UP", QDialog::Rejected, { "Up Button Pressed" }, false },
        { "BUTTON_DOWN", QDialog::Rejected, { "Down Button Pressed" }, false },
        { "BUTTON_MINIMIZE", QDialog::Rejected, {}, true },
        // Names compare exactly and with case.
        { "button_exit", QDialog::Rejected, {}, false },
        // The file dialog is cancelled.
        { "BUTTON_CONVERT", QDialog::Rejected, { "Save As" }, false },
    };
    for (const CCommandCase& c : cases) {
        SCOPED_TRACE(c.pszButton);
        m_prompt.m_arrAsked.clear();
        CConverterDlg dialog(m_prompt);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.setResult(QDialog::Rejected);
        Click(dialog.FindButton(c.pszButton));
        EXPECT_EQ(dialog.result(), c.nResult);
        EXPECT_EQ(dialog.isVisible(), c.nResult != QDialog::Accepted);
        EXPECT_EQ(m_prompt.Texts(), c.arrMessages);
        EXPECT_EQ(dialog.isMinimized(), c.bMinimized);
    }
}

TEST_F(ConverterDlgTest, RunningWindowEndsWhicheverWayItCloses)
{
    {
        CConverterDlg dialog(m_prompt);
        QTimer::singleShot(0, &dialog, [&dialog] { Click(dialog.FindButton("BUTTON_EXIT")); });
        EXPECT_EQ(dialog.RunAsMainWindow(), QDialog::Accepted);
    }
    {
        // What the window system's close (Alt+F4, a close menu) does.
        CConverterDlg dialog(m_prompt);
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });
        EXPECT_EQ(dialog.RunAsMainWindow(), QDialog::Rejected);
    }
}

// The window class (WM_CLASS) comes from the application's name.
TEST(ProgramIdentity, NamesTheProgramForTheWindowSystem)
{
    ProgramIdentity::Apply();
    EXPECT_EQ(QGuiApplication::applicationName(), "skinrecorder");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "skinrecorder");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "SkinRecorder");
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
}

TEST_F(ConverterDlgTest, RunsAsAnOrdinaryTopLevelWindow)
{
    CConverterDlg dialog(m_prompt);
    bool bChecked = false;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(dialog.isModal());
        EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
        EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);
        EXPECT_EQ(dialog.windowType(), Qt::Window) << "not a dialog window";
        EXPECT_EQ(dialog.parentWidget(), nullptr);
        EXPECT_FALSE(dialog.windowIcon().isNull());
        bChecked = true;
        dialog.close();
    });
    dialog.RunAsMainWindow();
    EXPECT_TRUE(bChecked);
}

TEST_F(ConverterDlgTest, WithoutASelectorConvertKeepsTheOutputType)
{
    ConversionSettings::Instance() = ConversionSettings();
    ConversionSettings::Instance().strVideoDeviceName = QStringLiteral("Test Pattern");
    ConversionSettings::Instance().strAudioDeviceName = QStringLiteral("Test Tone");
    CConverterDlg dialog(m_prompt);
    ASSERT_EQ(dialog.FirstComboBox(), nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QList<CEncorda::EDispatchId> arrWritten;
    dialog.Encoder().SetDispatchObserver(
        [&arrWritten](const CEncorda::CDispatchCall& call) { arrWritten.append(call.eId); });
    m_prompt.m_arrFiles = { m_root.filePath("out.mpg") };
    Click(dialog.FindButton("BUTTON_CONVERT"));
    EXPECT_FALSE(arrWritten.contains(CEncorda::EDispatchId::OutputType));
    EXPECT_TRUE(arrWritten.contains(CEncorda::EDispatchId::FrameRate));
    EXPECT_EQ(arrWritten.last(), CEncorda::EDispatchId::Start);
    EXPECT_EQ(m_prompt.Texts(), QStringList { "Save As" });
    EXPECT_TRUE(dialog.Encoder().GetStatus().bRecordingToFile);
    ConversionSettings::Instance() = ConversionSettings();
}

TEST_F(ConverterDlgTest, DamagedDefaultSkinIsReportedAndTheWindowStays)
{
    // The current directory is searched first, so a damaged package there is
    // the one the program tries, whatever is installed elsewhere.
    QFile package("Pink.skn");
    ASSERT_TRUE(package.open(QIODevice::WriteOnly | QIODevice::Truncate));
    package.write("not a zip archive");
    package.close();

    CConverterDlg dialog(m_prompt);
    // The retry question, answered No, then the failure.
    ASSERT_EQ(m_prompt.Texts().size(), 2);
    EXPECT_EQ(m_prompt.Texts().last(), "Open failed");
    EXPECT_EQ(dialog.FindButton("BUTTON_EXIT"), nullptr);
}

} // namespace

namespace {

// The program's own skins, when they have been built beside it: each skin
// command loads its package without a message.
TEST(ProgramSkins, EverySkinCommandLoadsItsPackage)
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands()) {
        if (!programDir.exists(command.strPackage))
            GTEST_SKIP() << command.strPackage.toStdString() << " is not built beside the program";
    }
    CScriptedPrompt prompt;
    CConverterDlg dialog(prompt);
    dialog.SetPackageFolder(programDir.path());
    prompt.m_arrAsked.clear();
    for (int i = 0; i < SkinPackage::SkinCommands().size(); ++i) {
        const SkinPackage::CSkinCommand& command = SkinPackage::SkinCommands()[i];
        SCOPED_TRACE(command.strPackage.toStdString());
        dialog.ChangeSkin(command.nCommandId);
        EXPECT_EQ(dialog.SkinIndex(), i);
        EXPECT_FALSE(dialog.BackgroundCopy().isNull());
        EXPECT_NE(dialog.FindButton("BUTTON_EXIT"), nullptr);
        EXPECT_FALSE(dialog.WindowRegion().isEmpty());
        EXPECT_EQ(dialog.Encoder().geometry(), dialog.ControlRect());
    }
    EXPECT_TRUE(prompt.m_arrAsked.isEmpty());
}

} // namespace
