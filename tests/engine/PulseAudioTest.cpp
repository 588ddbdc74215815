#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

namespace {

constexpr auto SERVER_START_TIMEOUT = std::chrono::seconds(5);
constexpr auto SERVER_POLL_INTERVAL = std::chrono::milliseconds(50);

// A private PulseAudio server with one null sink, whose monitor is a capture
// source delivering silence in real time.
class CPulseServer
{
public:
    bool Start(std::string& strReason)
    {
        if (!m_folder.isValid()) {
            strReason = "no temporary folder";
            return false;
        }
        m_strSocket = m_folder.filePath("native").toStdString();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", m_folder.path());
        environment.insert("HOME", m_folder.path());
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(
            "pulseaudio",
            { "--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no",
              "--load=module-null-sink sink_name=skinrec_test",
              QString::fromStdString("--load=module-native-protocol-unix auth-anonymous=1 socket=" + m_strSocket) });
        if (!m_server.waitForStarted()) {
            strReason = "pulseaudio cannot be started here";
            return false;
        }
        const auto deadline = std::chrono::steady_clock::now() + SERVER_START_TIMEOUT;
        while (!std::filesystem::exists(m_strSocket)) {
            if (m_server.state() != QProcess::Running || std::chrono::steady_clock::now() > deadline) {
                strReason = "pulseaudio did not come up: " + m_server.readAll().left(300).toStdString();
                return false;
            }
            std::this_thread::sleep_for(SERVER_POLL_INTERVAL);
        }
        setenv("PULSE_SERVER", ("unix:" + m_strSocket).c_str(), 1);
        return true;
    }

    // Runs pactl against this server; false with its complaint on failure.
    // What it prints (a loaded module's number) goes to *pOutput.
    static bool Control(const QStringList& arguments, std::string& strReason, QByteArray* pOutput = nullptr)
    {
        int nExitCode = -1;
        QByteArray errors;
        const QByteArray output = RunProgram("pactl", arguments, &nExitCode, &errors);
        if (pOutput)
            *pOutput = output.trimmed();
        strReason = errors.toStdString();
        return nExitCode == 0;
    }

    // A null sink whose monitor is a capture source "Monitor of <description>".
    static bool AddSource(const QString& strDescription, std::string& strReason, QByteArray* pModule = nullptr)
    {
        return Control({ "load-module", "module-null-sink", "sink_name=" + strDescription.toLower(),
                         "sink_properties=device.description=" + strDescription },
                       strReason, pModule);
    }

    ~CPulseServer()
    {
        unsetenv("PULSE_SERVER");
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(3000))
                m_server.kill();
            m_server.waitForFinished(1000);
        }
    }

private:
    QTemporaryDir m_folder;
    QProcess m_server;
    std::string m_strSocket;
};

} // namespace

TEST(PulseAudio, RecordsFromAServerSource)
{
    CPulseServer server;
    std::string strReason;
    if (!server.Start(strReason))
        GTEST_SKIP() << strReason;

    CRecorder recorder;
    const CNameList audioDevices = recorder.GetAudioDevices();
    const short nMonitor = audioDevices.FindIndex("Monitor of Null Output");
    ASSERT_GE(nMonitor, 0) << "the server's source is listed";
    EXPECT_EQ(recorder.GetAudioDevice(), 0) << "a real source is chosen before the test tone";
    EXPECT_GE(recorder.GetAudioInputs().Count(), 1);

    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("pulse.mpg").toStdString();
    CRecordingRequest request;
    request.strAudioDevice = "Monitor of Null Output";
    request.bFast = false;
    request.dSeconds = 1.0;
    ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
    ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
    ASSERT_TRUE(recorder.WaitUntilFinished(10000));
    recorder.Stop();
    EXPECT_EQ(recorder.GetLastError(), "");

    const QJsonObject probe = ProbeFile(strFile);
    const QJsonObject audio = FindStream(probe, "audio");
    const QJsonObject video = FindStream(probe, "video");
    EXPECT_EQ(audio["codec_name"].toString(), "mp2");
    // A null sink's monitor may deliver late (here half its samples, in
    // bursts); the sync mode fills with silence once it lags 0.1 s, so the
    // audio ends at most that plus one delivery short.
    EXPECT_NEAR(StreamSpanSeconds(strFile, "a"), 1.0, 0.25);
    EXPECT_NEAR(JsonNumber(audio, "start_time"), JsonNumber(video, "start_time"), 1.001 / 30 + 0.03);
}

TEST(PulseAudio, TheServersDefaultSourceIsChosenAndKeptByNameAcrossScans)
{
    CPulseServer server;
    std::string strReason;
    if (!server.Start(strReason))
        GTEST_SKIP() << strReason;
    // The user's microphone is the server's default, listed after other
    // sources such as the monitor of the speakers.
    QByteArray moduleFirst;
    ASSERT_TRUE(CPulseServer::AddSource("First", strReason, &moduleFirst)) << strReason;
    ASSERT_TRUE(CPulseServer::AddSource("Studio", strReason)) << strReason;
    ASSERT_TRUE(CPulseServer::Control({ "set-default-source", "studio.monitor" }, strReason)) << strReason;

    CRecorder recorder;
    const CNameList devices = recorder.GetAudioDevices();
    const short nStudio = devices.FindIndex("Monitor of Studio");
    ASSERT_GT(nStudio, devices.FindIndex("Monitor of First")) << "the default is not simply the first";
    EXPECT_EQ(recorder.GetAudioDevice(), nStudio);

    // One source unplugged before it, another plugged in: the choice follows
    // its name, not its old place.
    ASSERT_TRUE(CPulseServer::Control({ "unload-module", QString::fromLatin1(moduleFirst) }, strReason)) << strReason;
    ASSERT_TRUE(CPulseServer::AddSource("Added", strReason)) << strReason;
    recorder.RefreshDevices();
    const CNameList rescanned = recorder.GetAudioDevices();
    EXPECT_LT(rescanned.FindIndex("Monitor of First"), 0);
    EXPECT_GE(rescanned.FindIndex("Monitor of Added"), 0);
    ASSERT_NE(rescanned.FindIndex("Monitor of Studio"), nStudio);
    EXPECT_EQ(recorder.GetAudioDevice(), rescanned.FindIndex("Monitor of Studio"));
}
