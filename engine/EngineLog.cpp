#include "engine/EngineLog.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

#include <pthread.h>

namespace {

// No sink: no level is wanted.
constexpr int NO_LEVEL = -1;

std::atomic<int> g_nLowestLevel = NO_LEVEL;
std::mutex g_sinkMutex;
std::shared_ptr<const CLogSink> g_pSink;

std::shared_ptr<const CLogSink> CurrentSink()
{
    std::lock_guard lock(g_sinkMutex);
    return g_pSink;
}

} // namespace

namespace EngineLog {

void SetSink(CLogSink sink, ELogLevel eLowest)
{
    const bool bSink = static_cast<bool>(sink);
    auto pSink = std::make_shared<const CLogSink>(std::move(sink));
    std::lock_guard lock(g_sinkMutex);
    g_pSink = std::move(pSink);
    g_nLowestLevel = bSink ? static_cast<int>(eLowest) : NO_LEVEL;
}

bool IsWanted(ELogLevel eLevel)
{
    // The levels run from the most severe, eError, up.
    return static_cast<int>(eLevel) <= g_nLowestLevel.load();
}

void Write(ELogLevel eLevel, const std::string& strLine)
{
    if (!IsWanted(eLevel))
        return;
    if (const std::shared_ptr<const CLogSink> pSink = CurrentSink(); pSink && *pSink)
        (*pSink)(eLevel, strLine);
}

} // namespace EngineLog

void NameThread(std::thread& thread, const char* pszName)
{
    // A name the system refuses (too long) leaves the thread unnamed; it
    // runs all the same.
    pthread_setname_np(thread.native_handle(), pszName);
}
