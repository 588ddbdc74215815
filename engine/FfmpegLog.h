#pragma once

#include <functional>
#include <optional>
#include <string>

// FFmpeg's libraries log freely: every encoder start and many pictures
// ("clipping 1 dct coefficients"). The engine takes their log over; the last
// error line of each thread is kept for reasons to quote, and lines reach a
// sink only at or above the level SKINREC_FFMPEG_LOG names, so a terminal
// stays quiet unless a user asks.

// The variable that names the level, in FFmpeg's words: quiet, panic,
// fatal, error, warning, info, verbose, debug, trace, or its number.
inline constexpr const char* FFMPEG_LOG_VARIABLE = "SKINREC_FFMPEG_LOG";

enum class ELogLevel {
    eError,
    eWarning,
    eInfo,
    eDebug,
};

// One line, without its line break, prefixed by the FFmpeg part that wrote
// it ("[mpeg2video @ 0x...] ...").
using CLogSink = std::function<void(ELogLevel eLevel, const std::string& strLine)>;

// Installs the engine's handler of FFmpeg's log, once, with the level the
// variable names (none when unset; an unreadable value is reported to the
// sink once and logs nothing). Callable from any thread.
void CaptureFfmpegErrors();

// Where FFmpeg's lines go from now on; an empty sink drops them. Callable
// from any thread; the sink is called from any thread.
void SetFfmpegLogSink(CLogSink sink);

// Lines at or above this av_log level reach the sink; AV_LOG_QUIET none.
void SetFfmpegLogLevel(int nAvLevel);

// The av_log level of a value of the variable; nothing for one that names none.
std::optional<int> ParseFfmpegLogLevel(const std::string& strValue);

// The last error line FFmpeg logged on this thread, cleared.
std::string TakeLastFfmpegError();
