#include "tools/mpegrec/StartAndStop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <thread>

namespace {

// How often the clock is looked at while waiting for the start.
constexpr auto WAIT_SLICE = std::chrono::milliseconds(200);
// Cut as the window cuts titles for file names.
constexpr std::size_t MAX_TITLE_FILE_NAME = 120;

// Characters file systems or desktops refuse in names, as the window
// replaces them.
std::string FileNameForTitle(const std::string& strTitle)
{
    constexpr std::string_view REFUSED = "/\\:*?\"<>|";
    std::string strName = strTitle.substr(0, MAX_TITLE_FILE_NAME);
    for (char& ch : strName) {
        if (static_cast<unsigned char>(ch) < ' ' || REFUSED.find(ch) != std::string_view::npos)
            ch = '_';
    }
    if (std::all_of(strName.begin(), strName.end(), [](char ch) { return ch == '.' || ch == ' '; }))
        return "Recording";
    return strName;
}

} // namespace

std::optional<std::time_t> ParseLocalTime(const std::string& strText)
{
    std::tm parts {};
    int nConsumed = 0;
    const int nFields = std::sscanf(strText.c_str(), "%4d-%2d-%2d %2d:%2d%n", &parts.tm_year, &parts.tm_mon,
                                    &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &nConsumed);
    if (nFields != 5)
        return std::nullopt;
    if (static_cast<std::size_t>(nConsumed) < strText.size()) {
        int nSecondsConsumed = 0;
        if (std::sscanf(strText.c_str() + nConsumed, ":%2d%n", &parts.tm_sec, &nSecondsConsumed) != 1
            || static_cast<std::size_t>(nConsumed + nSecondsConsumed) != strText.size())
            return std::nullopt;
    }
    const std::tm given = parts;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    // The zone's rules say whether summer time is in force then.
    parts.tm_isdst = -1;
    const std::time_t time = std::mktime(&parts);
    // mktime carries 31 February into March; such a day is refused.
    if (time == static_cast<std::time_t>(-1) || parts.tm_mday != given.tm_mday || parts.tm_mon != given.tm_mon - 1
        || parts.tm_hour != given.tm_hour || parts.tm_min != given.tm_min || parts.tm_sec != given.tm_sec)
        return std::nullopt;
    return time;
}

bool WaitForWallClock(std::time_t start, const std::atomic<bool>& bInterrupted)
{
    const auto startPoint = std::chrono::system_clock::from_time_t(start);
    while (!bInterrupted) {
        const auto now = std::chrono::system_clock::now();
        if (now >= startPoint)
            return true;
        std::this_thread::sleep_for(std::min<std::chrono::system_clock::duration>(WAIT_SLICE, startPoint - now));
    }
    return false;
}

std::string FileInFolder(const std::string& strFolder, const std::string& strTitle, std::time_t start,
                         const std::string& strSuffix)
{
    std::tm local {};
    localtime_r(&start, &local);
    char szStart[sizeof "yyyy-mm-dd hh-mm"] = {};
    std::strftime(szStart, sizeof szStart, "%Y-%m-%d %H-%M", &local);
    const std::string strBase = FileNameForTitle(strTitle) + " " + szStart;
    const std::filesystem::path folder(strFolder);
    std::filesystem::path file = folder / (strBase + strSuffix);
    for (int nNumber = 2; std::filesystem::exists(file); ++nNumber)
        file = folder / (strBase + " (" + std::to_string(nNumber) + ")" + strSuffix);
    return file.string();
}
