#pragma once

#include <string>
#include <thread>

#include "engine/FfmpegLog.h"

// The engine's trace of a recording, for a bug report: the devices opened,
// the formats they deliver, the profile, frames dropped and why, the close.
// No Qt here: the window sends it to its skinrecorder.engine category.
// Lines below the sink's level are never formatted, so a normal run pays
// nothing for them.
namespace EngineLog {

// Where lines of eLowest and more severe go from now on; an empty sink drops
// them. Callable from any thread; the sink is called from any thread.
void SetSink(CLogSink sink, ELogLevel eLowest);

// Whether a line of eLevel reaches a sink. Callable from any thread.
bool IsWanted(ELogLevel eLevel);

// Callable from any thread.
void Write(ELogLevel eLevel, const std::string& strLine);

} // namespace EngineLog

// Names a thread the engine starts, as `top -H`, gdb and a crash report show
// it; at most 15 characters ("capture-video", "mux"). Callable from any thread.
void NameThread(std::thread& thread, const char* pszName);
