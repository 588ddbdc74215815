#include "engine/FfmpegLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>

#include "engine/EngineLog.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

constexpr std::size_t MAX_LINE_LENGTH = 1024;

struct CNamedLevel
{
    const char* pszName;
    int nLevel;
};
constexpr CNamedLevel LOG_LEVELS[] = {
    { "quiet", AV_LOG_QUIET },     { "panic", AV_LOG_PANIC },     { "fatal", AV_LOG_FATAL },
    { "error", AV_LOG_ERROR },     { "warning", AV_LOG_WARNING }, { "info", AV_LOG_INFO },
    { "verbose", AV_LOG_VERBOSE }, { "debug", AV_LOG_DEBUG },     { "trace", AV_LOG_TRACE },
};

thread_local std::string t_strLastError;
// av_log_format_line2 keeps whether the next piece starts a line.
thread_local int t_nPrintPrefix = 1;

std::atomic<int> g_nSinkLevel = AV_LOG_QUIET;
std::mutex g_sinkMutex;
std::shared_ptr<const CLogSink> g_pSink;

ELogLevel ToLogLevel(int nAvLevel)
{
    if (nAvLevel <= AV_LOG_ERROR)
        return ELogLevel::eError;
    if (nAvLevel <= AV_LOG_WARNING)
        return ELogLevel::eWarning;
    return nAvLevel <= AV_LOG_INFO ? ELogLevel::eInfo : ELogLevel::eDebug;
}

std::shared_ptr<const CLogSink> CurrentSink()
{
    std::lock_guard lock(g_sinkMutex);
    return g_pSink;
}

void TrimLineEnd(std::string& strLine)
{
    while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == ' '))
        strLine.pop_back();
}

void LogCallback(void* pContext, int nLevel, const char* pszFormat, va_list args)
{
    const bool bError = nLevel <= AV_LOG_ERROR;
    const bool bToSink = nLevel <= g_nSinkLevel.load();
    // FFmpeg's warnings and errors belong in a bug report's trace, below the
    // engine's own lines, so a normal run never shows them.
    const bool bToEngine = nLevel <= AV_LOG_WARNING && EngineLog::IsWanted(ELogLevel::eDebug);
    if (!bError && !bToSink && !bToEngine)
        return;
    char szLine[MAX_LINE_LENGTH];
    va_list copy;
    va_copy(copy, args);
    if (bError) {
        // The reason quotes FFmpeg's words without the part that said them.
        vsnprintf(szLine, sizeof(szLine), pszFormat, copy);
        t_strLastError = szLine;
        TrimLineEnd(t_strLastError);
    }
    va_end(copy);
    if (!bToSink && !bToEngine)
        return;
    av_log_format_line2(pContext, nLevel, pszFormat, args, szLine, sizeof(szLine), &t_nPrintPrefix);
    std::string strLine = szLine;
    TrimLineEnd(strLine);
    if (bToEngine && !strLine.empty())
        EngineLog::Write(ELogLevel::eDebug, "FFmpeg: " + strLine);
    if (!bToSink)
        return;
    const std::shared_ptr<const CLogSink> pSink = CurrentSink();
    if (pSink && *pSink && !strLine.empty())
        (*pSink)(ToLogLevel(nLevel), strLine);
}

void ReportUnreadableLevel(const std::string& strValue)
{
    if (const std::shared_ptr<const CLogSink> pSink = CurrentSink(); pSink && *pSink) {
        (*pSink)(
            ELogLevel::eWarning,
            std::string(FFMPEG_LOG_VARIABLE) + "=" + strValue
                + " names no level (quiet, error, warning, info, verbose, debug or a number); FFmpeg logs nothing");
    }
}

} // namespace

void CaptureFfmpegErrors()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        if (const char* pszValue = std::getenv(FFMPEG_LOG_VARIABLE); pszValue && *pszValue) {
            const std::optional<int> level = ParseFfmpegLogLevel(pszValue);
            if (level)
                SetFfmpegLogLevel(*level);
            else
                ReportUnreadableLevel(pszValue);
        }
        av_log_set_callback(&LogCallback);
    });
}

void SetFfmpegLogSink(CLogSink sink)
{
    auto pSink = std::make_shared<const CLogSink>(std::move(sink));
    std::lock_guard lock(g_sinkMutex);
    g_pSink = std::move(pSink);
}

void SetFfmpegLogLevel(int nAvLevel)
{
    g_nSinkLevel = nAvLevel;
}

std::optional<int> ParseFfmpegLogLevel(const std::string& strValue)
{
    for (const CNamedLevel& named : LOG_LEVELS) {
        if (strValue == named.pszName)
            return named.nLevel;
    }
    char* pszEnd = nullptr;
    const long nLevel = std::strtol(strValue.c_str(), &pszEnd, 10);
    if (strValue.empty() || *pszEnd != '\0' || nLevel < AV_LOG_QUIET || nLevel > AV_LOG_TRACE)
        return std::nullopt;
    return static_cast<int>(nLevel);
}

std::string TakeLastFfmpegError()
{
    return std::exchange(t_strLastError, std::string());
}
