#pragma once

#include <atomic>
#include <ctime>
#include <optional>
#include <string>

// Recording at a wall-clock time: reading the times mpegrec is given, and
// waiting for the start.

// "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" in local time; nothing for
// text that is not such a time or names no real day.
std::optional<std::time_t> ParseLocalTime(const std::string& strText);

// Waits until the wall clock reads the time or later, looking at it every
// moment rather than sleeping once: a suspend or a clock set forward or
// back is noticed. False when bInterrupted was raised first.
bool WaitForWallClock(std::time_t start, const std::atomic<bool>& bInterrupted);

// The file for a recording named after its title and start in the folder:
// "TITLE YYYY-MM-DD hh-mm.EXT", with " (2)", " (3)"... before the suffix
// when the name is taken.
std::string FileInFolder(const std::string& strFolder, const std::string& strTitle, std::time_t start,
                         const std::string& strSuffix);
