#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include <signal.h>

#include "tests/engine/MediaProbe.h"
#include "version/ProjectVersion.h"

// What mpegrec owes a user beyond recording: a file closed whole however it
// is told to stop, and a mistake in the command line named in one line. The
// engine's tests hold the file lock and the report of a deleted file.

namespace {

const QString MPEGREC = MPEGREC_PATH;
constexpr int PROCESS_TIMEOUT_MS = 60000;
// Past the header and the first write blocks: the recording is under way.
constexpr qint64 RECORDING_UNDER_WAY_BYTES = 64 * 1024;

// A recording that runs until it is told to stop, in real time.
class CRunningRecording
{
public:
    explicit CRunningRecording(const QString& strFile, const QStringList& extra = {})
    {
        m_process.start(MPEGREC, QStringList { "-o", strFile, "--size", "176x144" } + extra);
        m_strFile = strFile;
    }

    // Waits until the file has grown past its first blocks, or mpegrec ended.
    bool WaitUntilUnderWay()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < PROCESS_TIMEOUT_MS) {
            if (QFile(m_strFile).size() > RECORDING_UNDER_WAY_BYTES)
                return true;
            if (m_process.waitForFinished(50))
                return false;
        }
        return false;
    }

    // Sends the signal and waits for the end; the exit code, -1 for a crash.
    int StopWith(int nSignal)
    {
        kill(static_cast<pid_t>(m_process.processId()), nSignal);
        m_process.waitForFinished(PROCESS_TIMEOUT_MS);
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    QByteArray Errors() { return m_process.readAllStandardError(); }

private:
    QProcess m_process;
    QString m_strFile;
};

} // namespace

TEST(MpegrecSafety, HangUpClosesTheRecordingWholeAsInterruptDoes)
{
    struct CSignalCase
    {
        int nSignal;
        const char* pszType;
    } const cases[] = {
        { SIGHUP, "mpeg1" },
        { SIGHUP, "avi" },
        { SIGINT, "avi" },
        { SIGTERM, "mpeg2" },
    };
    const QTemporaryDir folder;
    for (const CSignalCase& signalCase : cases) {
        SCOPED_TRACE(std::string(strsignal(signalCase.nSignal)) + " " + signalCase.pszType);
        const QString strFile =
            folder.filePath(QStringLiteral("signal%1.%2").arg(signalCase.nSignal).arg(signalCase.pszType));
        CRunningRecording recording(strFile, { "--type", signalCase.pszType });
        ASSERT_TRUE(recording.WaitUntilUnderWay()) << recording.Errors().toStdString();
        EXPECT_EQ(recording.StopWith(signalCase.nSignal), 0) << recording.Errors().toStdString();
        const std::string strPath = strFile.toStdString();
        EXPECT_EQ(DecodeErrors(strPath).toStdString(), "");
        // An AVI counts its frames in the header only when it was closed.
        const QJsonObject video = FindStream(ProbeFile(strPath), "video");
        if (QString(signalCase.pszType) == "avi") {
            EXPECT_GT(video["nb_frames"].toString().toInt(), 0);
        }
        EXPECT_GT(StreamSpanSeconds(strPath, "v"), 0.5);
        EXPECT_GT(StreamSpanSeconds(strPath, "a"), 0.5);
    }
}

// One line names the mistake, the next says where to read more; nothing is
// recorded.
TEST(MpegrecSafety, CommandLineMistakesExitTwoWithOneLineAndAHint)
{
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("mistaken.mpg");
    struct CMistakeCase
    {
        QStringList arguments;
        const char* pszNamed;
    } const cases[] = {
        { { "--bogus" }, "unknown option --bogus" },
        { { "--frame-rate", "12" }, "--frame-rate 12: " },
        { { "--type", "avi", "--frame-rate", "500" }, "--frame-rate 500: " },
        { { "--sync-mode", "3" }, "--sync-mode 3: " },
        { { "--audio-bitrate", "123" }, "--audio-bitrate 123: " },
        { { "--sample-rate", "8000" }, "--sample-rate 8000: MPEG audio is coded at 16000, " },
        { { "--clock-skew", "999999999" }, "--clock-skew 999999999: " },
        { { "--aspect", "5:3" }, "--aspect 5:3: is 4:3 or 16:9" },
        { { "--video-bitrate", "abc" }, "--video-bitrate abc: " },
        { { "--size", "0x480" }, "--size 0x480: " },
        { { "--audio-offset", "99999999" }, "--audio-offset 99999999: " },
        { { "--sync-mode", "2", "--audio-offset", "5000", "--duration", "3" }, "--audio-offset 5000: " },
        { { "--video-device", "No Such Camera" }, "no video device named" },
    };
    for (const CMistakeCase& mistake : cases) {
        SCOPED_TRACE(mistake.arguments.join(' ').toStdString());
        int nExitCode = -1;
        QByteArray errors;
        RunProgram(MPEGREC, QStringList { "-o", strFile, "--fast" } + mistake.arguments, &nExitCode, &errors);
        EXPECT_EQ(nExitCode, 2);
        const QList<QByteArray> lines = errors.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2) << errors.toStdString();
        EXPECT_TRUE(lines[0].startsWith(QByteArray("mpegrec: ") + mistake.pszNamed)) << errors.toStdString();
        EXPECT_EQ(lines[1], "Try 'mpegrec --help'.");
    }
    EXPECT_FALSE(std::filesystem::exists(strFile.toStdString()));
}

TEST(MpegrecSafety, VersionNamesTheProgramAndTheProjectsVersion)
{
    int nExitCode = -1;
    const QByteArray output = RunProgram(MPEGREC, { "--version" }, &nExitCode);
    EXPECT_EQ(nExitCode, 0);
    EXPECT_EQ(output, QByteArray("mpegrec (SkinRecorder) ") + SKINREC_VERSION + "\n");
}

// The manual page's first example says what it records; it must record that.
TEST(MpegrecSafety, TheManualPagesMpeg2ExampleRecordsMpeg2)
{
    QFile page(MPEGREC_MAN_PAGE_SOURCE);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString strPage = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    const QRegularExpressionMatch example =
        QRegularExpression(QStringLiteral("as MPEG-2:\\n(?:\\.[A-Za-z]+\\n)*(mpegrec [^\\n]+)\\n")).match(strPage);
    ASSERT_TRUE(example.hasMatch());
    QStringList arguments = QProcess::splitCommand(example.captured(1)).mid(1);
    const qsizetype nOutput = arguments.indexOf("-o");
    ASSERT_GE(nOutput, 0);
    const QTemporaryDir folder;
    arguments[nOutput + 1] = folder.filePath(arguments[nOutput + 1]);
    const qsizetype nDuration = arguments.indexOf("--duration");
    ASSERT_GE(nDuration, 0);
    // The same recording, shorter and as fast as it can be made.
    arguments[nDuration + 1] = "0.5";
    arguments << "--fast"
              << "--size"
              << "176x144";
    int nExitCode = -1;
    QByteArray errors;
    RunProgram(MPEGREC, arguments, &nExitCode, &errors);
    ASSERT_EQ(nExitCode, 0) << errors.toStdString();
    const QJsonObject probe = ProbeFile(arguments[nOutput + 1].toStdString());
    EXPECT_EQ(FindStream(probe, "video")["codec_name"].toString().toStdString(), "mpeg2video");
}
