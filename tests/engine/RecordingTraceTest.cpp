#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "engine/EngineLog.h"
#include "engine/Recorder.h"
#include "tests/engine/MediaProbe.h"

namespace {

// The names of this process's threads, as `top -H` shows them.
std::set<std::string> ThreadNames()
{
    std::set<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string strName;
        if (std::getline(comm, strName))
            names.insert(strName);
    }
    return names;
}

// Collects the engine's trace while it lives.
class CTraceLines
{
public:
    explicit CTraceLines(ELogLevel eLowest)
    {
        EngineLog::SetSink(
            [this](ELogLevel, const std::string& strLine) {
                std::lock_guard lock(m_mutex);
                m_lines.push_back(strLine);
            },
            eLowest);
    }
    ~CTraceLines() { EngineLog::SetSink(CLogSink(), ELogLevel::eError); }

    std::vector<std::string> Lines()
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

bool AnyLineHolds(const std::vector<std::string>& lines, const std::string& strPart)
{
    for (const std::string& strLine : lines) {
        if (strLine.find(strPart) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

// A bug report's trace: every thread of a recording is named, and the
// engine's log tells the devices with what they deliver, the profile and
// the close; a log that wants only warnings hears none of it.
TEST(RecordingTrace, ARecordingNamesItsThreadsAndTracesItsCourse)
{
    const QTemporaryDir folder;
    const std::string strFile = folder.filePath("trace.mpg").toStdString();
    struct CTraceCase
    {
        ELogLevel eLowest;
        std::vector<std::string> arrParts;
    } const cases[] = {
        { ELogLevel::eInfo,
          { "video device \"Test Pattern\" opened: rawvideo ", "audio device \"Test Tone\" opened: pcm_",
            "recording started: MPEG-2 file " + strFile, "sync mode 1", "recording closed after " } },
        { ELogLevel::eWarning, {} },
    };
    for (const CTraceCase& traceCase : cases) {
        SCOPED_TRACE(static_cast<int>(traceCase.eLowest));
        CTraceLines trace(traceCase.eLowest);
        CRecorder recorder;
        CRecordingRequest request;
        request.dSeconds = 0;
        ASSERT_TRUE(ConfigureRecorder(recorder, request, strFile));
        ASSERT_NE(recorder.Start(), -1) << recorder.GetLastError();
        ASSERT_TRUE(WaitForElapsed(recorder, 0.3)) << recorder.GetLastError();
        const std::set<std::string> names = ThreadNames();
        recorder.Stop();
        for (const char* pszThread :
             { "capture-video", "capture-audio", "encode-video", "encode-audio", "mux", "supervise" })
            EXPECT_EQ(names.count(pszThread), 1u) << pszThread;
        const std::vector<std::string> lines = trace.Lines();
        for (const std::string& strPart : traceCase.arrParts)
            EXPECT_TRUE(AnyLineHolds(lines, strPart)) << strPart;
        if (traceCase.arrParts.empty()) {
            EXPECT_EQ(lines, std::vector<std::string>());
        }
    }
}
