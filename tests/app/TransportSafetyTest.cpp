#include <gtest/gtest.h>

#include <csignal>

#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include "app/ConverterDlg.h"
#include "app/QuitSignals.h"
#include "tests/app/ProgramDriver.h"
#include "tests/common/ProgramSkin.h"
#include "tests/common/ScriptedPrompt.h"
#include "tests/engine/MediaProbe.h"

// The transport buttons never lose a recording and never leave the window
// in a state that lies about it.

namespace {

constexpr int EXIT_TIMEOUT_MS = 30000;

class TransportSafety : public CProgramTest
{
protected:
    std::string File(const char* pszName) const { return m_current.FilePath(pszName).toStdString(); }

    // Convert, answered with the given file.
    void Convert(CConverterDlg& dialog, const std::string& strFile)
    {
        m_prompt.m_arrFiles.append(QString::fromStdString(strFile));
        ClickButton(dialog, "BUTTON_CONVERT");
    }

    static bool IsShown(CConverterDlg& dialog, const char* pszButton)
    {
        const CSkinButton* pButton = dialog.FindButton(pszButton);
        return pButton && pButton->isVisible();
    }
};

// Decodes to its last frame without a complaint and holds at least dSeconds.
::testing::AssertionResult IsWholeRecording(const std::string& strFile, double dSeconds)
{
    const QString strErrors = DecodeErrors(strFile);
    if (!strErrors.isEmpty())
        return ::testing::AssertionFailure() << "decoding complains: " << strErrors.toStdString();
    const double dHeld = StreamSpanSeconds(strFile, "v");
    if (dHeld < dSeconds)
        return ::testing::AssertionFailure() << "holds " << dHeld << " s of " << dSeconds;
    return ::testing::AssertionSuccess();
}

TEST_F(TransportSafety, PlayDuringARecordingKeepsItGoing)
{
    const std::string strFile = File("kept.mpg");
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    Convert(dialog, strFile);
    const CEncorda& encoder = dialog.RecorderWidget();
    ASSERT_TRUE(WaitForElapsed(encoder, 1.0));

    ClickButton(dialog, "BUTTON_PLAY");
    EXPECT_TRUE(IsShown(dialog, "BUTTON_PAUSE"));
    EXPECT_TRUE(encoder.GetStatus().bRecordingToFile);
    // Paused and played again: the same recording resumes.
    ClickButton(dialog, "BUTTON_PAUSE");
    ClickButton(dialog, "BUTTON_PLAY");
    ASSERT_TRUE(WaitForElapsed(encoder, 2.5));
    ClickButton(dialog, "BUTTON_STOP");

    EXPECT_TRUE(IsWholeRecording(strFile, 2.0));
    EXPECT_EQ(m_prompt.Texts(), QStringList { "Save As" });
}

TEST_F(TransportSafety, ConvertDuringARecordingLeavesTwoWholeFiles)
{
    const std::string strFirst = File("first.mpg");
    const std::string strSecond = File("second.mpg");
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    Convert(dialog, strFirst);
    const CEncorda& encoder = dialog.RecorderWidget();
    ASSERT_TRUE(WaitForElapsed(encoder, 1.0));

    // The very file being written is refused, and the recording goes on.
    Convert(dialog, strFirst);
    ASSERT_EQ(m_prompt.Texts().size(), 3);
    EXPECT_EQ(m_prompt.m_arrAsked.last().strText, CConverterDlg::FILE_BEING_RECORDED);
    EXPECT_TRUE(encoder.GetStatus().bRecordingToFile);
    ASSERT_TRUE(WaitForElapsed(encoder, 1.5));

    Convert(dialog, strSecond);
    ASSERT_TRUE(encoder.GetStatus().bRecordingToFile) << encoder.GetLastError().toStdString();
    ASSERT_TRUE(WaitForElapsed(encoder, 1.0));
    ClickButton(dialog, "BUTTON_STOP");

    EXPECT_TRUE(IsWholeRecording(strFirst, 1.3));
    EXPECT_TRUE(IsWholeRecording(strSecond, 0.8));
}

TEST_F(TransportSafety, AFailedPlayIsReportedAndPlayComesBack)
{
    // A sync mode the recorder does not have.
    m_settings.nSyncMode = 7;
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    ClickButton(dialog, "BUTTON_PLAY");

    ASSERT_EQ(m_prompt.Texts(), QStringList { QStringLiteral("Capture Failure, the settings cannot be recorded") });
    EXPECT_FALSE(m_prompt.m_arrAsked.first().strDetail.isEmpty()) << "the cause is shown";
    EXPECT_TRUE(IsShown(dialog, "BUTTON_PLAY"));
    EXPECT_FALSE(IsShown(dialog, "BUTTON_PAUSE"));
}

TEST_F(TransportSafety, ARecordingThatEndsByItselfLeavesTheWindowStopped)
{
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    CEncorda& encoder = dialog.RecorderWidget();
    ClickButton(dialog, "BUTTON_PLAY");
    ASSERT_TRUE(WaitUntil([&] { return encoder.HasPreview(); }, RECORDING_START_TIMEOUT_MS))
        << encoder.GetLastError().toStdString();
    ClickButton(dialog, "BUTTON_PAUSE");
    ASSERT_TRUE(dialog.IsPaused());
    // A camera pulled out while paused.
    encoder.StallTestSources(true);
    ASSERT_TRUE(WaitUntil([&] { return !encoder.GetStatus().bRunning; }, RECORDING_START_TIMEOUT_MS));

    EXPECT_FALSE(dialog.IsPaused());
    EXPECT_TRUE(IsShown(dialog, "BUTTON_PLAY"));
    EXPECT_FALSE(IsShown(dialog, "BUTTON_PAUSE"));
    ASSERT_EQ(m_prompt.Texts(), QStringList { QStringLiteral("Capture Failure, the video or audio source stopped") });
    EXPECT_TRUE(m_prompt.m_arrAsked.last().strDetail.contains("stopped delivering"))
        << m_prompt.m_arrAsked.last().strDetail.toStdString();

    // Play now starts afresh instead of resuming nothing.
    encoder.StallTestSources(false);
    ClickButton(dialog, "BUTTON_PLAY");
    EXPECT_TRUE(encoder.GetStatus().bRunning);
    EXPECT_TRUE(IsShown(dialog, "BUTTON_PAUSE"));
    ClickButton(dialog, "BUTTON_STOP");
}

TEST_F(TransportSafety, AQuitSignalClosesTheRecordingWhole)
{
    const std::string strFile = File("signalled.mpg");
    CConverterDlg dialog(m_prompt, m_settings);
    CQuitSignals quitSignals;
    ASSERT_TRUE(quitSignals.IsInstalled());
    QObject::connect(&quitSignals, &CQuitSignals::Received, &dialog, &CConverterDlg::EndOnQuitSignal);
    dialog.show();
    Convert(dialog, strFile);
    ASSERT_TRUE(WaitForElapsed(dialog.RecorderWidget(), 1.0));

    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }, EXIT_TIMEOUT_MS));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.RecorderWidget().GetStatus().bRunning);
    EXPECT_TRUE(IsWholeRecording(strFile, 0.8));
}

// Another window (or process) stands for the second recording: Convert says
// why it cannot record there, and the first recording goes on.
TEST_F(TransportSafety, ConvertIntoAFileAnotherWindowRecordsIsRefusedWithTheCause)
{
    const std::string strFile = File("shared.mpg");
    CConverterDlg first(m_prompt, m_settings);
    first.show();
    Convert(first, strFile);
    ASSERT_TRUE(WaitForElapsed(first.RecorderWidget(), 1.0));

    CConverterDlg second(m_prompt, m_settings);
    second.show();
    Convert(second, strFile);
    ASSERT_EQ(m_prompt.Texts().last(), CConverterDlg::CAPTURE_FAILURE);
    EXPECT_TRUE(m_prompt.m_arrAsked.last().strCause.contains("being recorded"))
        << m_prompt.m_arrAsked.last().strCause.toStdString();
    EXPECT_TRUE(first.RecorderWidget().GetStatus().bRecordingToFile);
    ASSERT_TRUE(WaitForElapsed(first.RecorderWidget(), 1.5));
    ClickButton(first, "BUTTON_STOP");
    EXPECT_TRUE(IsWholeRecording(strFile, 1.3));
}

TEST_F(TransportSafety, AFileDeletedWhileRecordingIsReportedAtStop)
{
    const std::string strFile = File("deleted.mpg");
    CConverterDlg dialog(m_prompt, m_settings);
    dialog.show();
    Convert(dialog, strFile);
    ASSERT_TRUE(WaitForElapsed(dialog.RecorderWidget(), 0.5));
    ASSERT_TRUE(QFile::remove(QString::fromStdString(strFile)));
    ClickButton(dialog, "BUTTON_STOP");

    ASSERT_EQ(m_prompt.Texts().last(),
              QStringLiteral("Recording Failure, the file was deleted while it was being recorded"));
    EXPECT_TRUE(m_prompt.m_arrAsked.last().strCause.contains("was deleted"))
        << m_prompt.m_arrAsked.last().strCause.toStdString();
    EXPECT_TRUE(IsShown(dialog, "BUTTON_PLAY"));
}

// The program itself, as a user's kill or logout reaches it.
TEST(ProgramExit, TerminateEndsWithStatusZero)
{
    const QString strProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/skinrecorder");
    if (!QFileInfo(strProgram).isExecutable())
        GTEST_SKIP() << "the program is not built beside the test";
    for (const int nSignal : { SIGTERM, SIGINT, SIGHUP }) {
        SCOPED_TRACE(nSignal);
        QProcess program;
        program.setWorkingDirectory(QCoreApplication::applicationDirPath());
        program.start(strProgram, {});
        ASSERT_TRUE(program.waitForStarted());
        // Its handler is in place once the kernel lists the signal as caught.
        const QString strStatus = QStringLiteral("/proc/%1/status").arg(program.processId());
        const auto isCaught = [&] {
            QFile status(strStatus);
            if (!status.open(QIODevice::ReadOnly))
                return false;
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("SigCgt:"))
                    return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (nSignal - 1) & 1) != 0;
            }
            return false;
        };
        ASSERT_TRUE(WaitUntil(isCaught, RECORDING_START_TIMEOUT_MS));
        ASSERT_EQ(kill(static_cast<pid_t>(program.processId()), nSignal), 0);
        ASSERT_TRUE(program.waitForFinished(EXIT_TIMEOUT_MS));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    }
}

} // namespace
