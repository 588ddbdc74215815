#include <gtest/gtest.h>

#include <algorithm>

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

const QStringList BUTTON_NAMES = { "BUTTON_EXIT",     "BUTTON_CLOSE", "BUTTON_UP",      "BUTTON_DOWN",
                                   "BUTTON_MINIMIZE", "button_exit",  "BUTTON_CONVERT", "BUTTON_STOP" };
const QRect CONTROL_RECT(100, 10, 80, 60);

// Runs each test in a current directory holding a default skin package with
// one button per name above.
class ConverterDlgTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath("cwd");
        m_strOldCurrent = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_root.filePath("cwd")));
        PackDefaultSkin(BUTTON_NAMES);
    }

    // Pink.skn in the current directory, with one button per name.
    void PackDefaultSkin(const QStringList& arrButtons) const
    {
        const CTestSkinFolder skin(m_root.filePath("src-" + arrButtons.join('-')));
        skin.WriteBackground("main.bmp", QSize(200, 80), QColor(250, 180, 200), 2);
        skin.WriteStrip("button.bmp", { Qt::red, Qt::green, Qt::blue, Qt::yellow });
        QString strIni = "[Screen]\nMain=main.bmp\n[TRANSPARENT]\nCOLOR=0xFF00FF\n[CONTROL]\nCONTROL=100,10,180,70\n"
                         "[BUTTONINFO]\n";
        for (int i = 0; i < arrButtons.size(); ++i)
            strIni +=
                QString("%1=%2,button.bmp,%3,10,%4,20,,\n").arg(i + 1).arg(arrButtons[i]).arg(i * 12).arg(i * 12 + 10);
        skin.WriteIni(strIni);
        QFile::remove("Pink.skn");
        QProcess zip;
        zip.setWorkingDirectory(skin.Folder());
        zip.start("zip", { "-q", "-r", QDir::current().filePath("Pink.skn"), "." });
        ASSERT_TRUE(zip.waitForFinished());
        ASSERT_EQ(zip.exitCode(), 0);
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
    EXPECT_EQ(dialog.RecorderWidget().geometry(), CONTROL_RECT);
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
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.skinrecorder.SkinRecorder");
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
    ConversionSettings settings;
    settings.strVideoDeviceName = QStringLiteral("Test Pattern");
    settings.strAudioDeviceName = QStringLiteral("Test Tone");
    CConverterDlg dialog(m_prompt, settings);
    ASSERT_EQ(dialog.FirstComboBox(), nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QList<CEncorda::EDispatchId> arrWritten;
    dialog.RecorderWidget().SetDispatchObserver(
        [&arrWritten](const CEncorda::CDispatchCall& call) { arrWritten.append(call.eId); });
    m_prompt.m_arrFiles = { m_root.filePath("out.mpg") };
    Click(dialog.FindButton("BUTTON_CONVERT"));
    EXPECT_FALSE(arrWritten.contains(CEncorda::EDispatchId::OutputType));
    EXPECT_TRUE(arrWritten.contains(CEncorda::EDispatchId::FrameRate));
    EXPECT_EQ(arrWritten.last(), CEncorda::EDispatchId::Start);
    EXPECT_EQ(m_prompt.Texts(), QStringList { "Save As" });
    EXPECT_TRUE(dialog.RecorderWidget().GetStatus().bRecordingToFile);
}

void WriteNotAZip(const QString& strPath)
{
    QFile package(strPath);
    ASSERT_TRUE(package.open(QIODevice::WriteOnly | QIODevice::Truncate));
    package.write("not a zip archive");
}

bool HasProgramSkins()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return std::all_of(SkinPackage::SkinCommands().begin(), SkinPackage::SkinCommands().end(),
                       [&](const SkinPackage::CSkinCommand& command) { return programDir.exists(command.strPackage); });
}

struct CStartupCase
{
    const char* pszWhat;
    // Packages damaged in the current directory, which is searched first.
    QStringList arrDamaged;
    // The skin command whose package the window starts with; none: no skin.
    int nSkinIndex;
};

// Without its start-up package the window used to show "Open failed" and
// then stand there grey, without a control.
TEST_F(ConverterDlgTest, AnUnusableStartupPackageFallsBackToTheSkinCommandsPackages)
{
    if (!HasProgramSkins())
        GTEST_SKIP() << "the program's skins are not built beside the test";
    QStringList arrAll { CConverterDlg::DEFAULT_SKIN };
    for (const SkinPackage::CSkinCommand& command : SkinPackage::SkinCommands())
        arrAll.append(command.strPackage);
    const CStartupCase cases[] = {
        { "the start-up package", { CConverterDlg::DEFAULT_SKIN }, 0 },
        { "it and the first two commands'", arrAll.mid(0, 3), 2 },
        { "every package", arrAll, SkinPackage::NO_SKIN_COMMAND },
    };
    for (const CStartupCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        for (const QString& strPackage : c.arrDamaged)
            WriteNotAZip(strPackage);
        m_prompt.m_arrAsked.clear();

        CConverterDlg dialog(m_prompt);

        const bool bLoaded = c.nSkinIndex != SkinPackage::NO_SKIN_COMMAND;
        EXPECT_EQ(dialog.HasSkin(), bLoaded);
        EXPECT_EQ(dialog.SkinIndex(), c.nSkinIndex);
        EXPECT_EQ(dialog.FindButton("BUTTON_EXIT") != nullptr, bLoaded);
        // Each damaged package: the retry question, answered No, then "Open failed".
        const qsizetype nDamageReports = 2 * c.arrDamaged.size();
        ASSERT_EQ(m_prompt.Texts().size(), nDamageReports + (bLoaded ? 0 : 1));
        EXPECT_EQ(m_prompt.Texts().value(1), "Open failed");
        if (!bLoaded) {
            const QString strLast = m_prompt.Texts().last();
            EXPECT_TRUE(strLast.startsWith(CConverterDlg::NO_SKIN)) << strLast.toStdString();
            for (const QString& strFolder : SkinPackage::SearchFolders())
                EXPECT_TRUE(strLast.contains(strFolder)) << strFolder.toStdString();
            EXPECT_TRUE(strLast.contains("Deluxe.zip"));
        }
        EXPECT_EQ(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), c.arrDamaged.size())
            << "nothing extracted is left behind";
    }
}

// With the start-up package in the current directory, every other skin used
// to be looked for there alone, and said "Open failed".
TEST_F(ConverterDlgTest, SkinCommandsFindTheirPackagesInEverySearchFolder)
{
    if (!HasProgramSkins())
        GTEST_SKIP() << "the program's skins are not built beside the test";
    CConverterDlg dialog(m_prompt);
    ASSERT_TRUE(dialog.HasSkin());
    for (int nIndex = 0; nIndex < SkinPackage::SkinCommands().size(); ++nIndex) {
        SCOPED_TRACE(nIndex);
        dialog.ChangeSkin(SkinPackage::FIRST_SKIN_COMMAND + nIndex);
        EXPECT_EQ(dialog.SkinIndex(), nIndex);
    }
    EXPECT_TRUE(m_prompt.m_arrAsked.isEmpty()) << m_prompt.Texts().join('\n').toStdString();
}

// A skin made for other uses may lack buttons the window needs; it still
// loads, and the user learns once which keys stand in.
TEST_F(ConverterDlgTest, MissingButtonsAreNamedWithTheKeysThatStandIn)
{
    struct CCase
    {
        QStringList arrButtons;
        QStringList arrMessages;
    };
    const CCase cases[] = {
        { { "BUTTON_CONVERT", "BUTTON_STOP", "BUTTON_EXIT" }, {} },
        { { "BUTTON_CONVERT", "BUTTON_EXIT" }, { "This skin has no Stop button; Ctrl+. does its work." } },
        // The close button does what the exit button does.
        { { "BUTTON_CONVERT", "BUTTON_STOP", "BUTTON_CLOSE" }, {} },
        { {},
          { "This skin has no Convert button; Ctrl+R does its work.\n"
            "This skin has no Stop button; Ctrl+. does its work.\n"
            "This skin has no Exit button; Ctrl+Q does its work." } },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.arrButtons.join(' ').toStdString());
        PackDefaultSkin(c.arrButtons);
        m_prompt.m_arrAsked.clear();

        CConverterDlg dialog(m_prompt);

        EXPECT_TRUE(dialog.HasSkin());
        EXPECT_EQ(m_prompt.Texts(), c.arrMessages);
    }
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
        EXPECT_EQ(dialog.RecorderWidget().geometry(), dialog.ControlRect());
    }
    EXPECT_TRUE(prompt.m_arrAsked.isEmpty());
}

} // namespace
