#pragma once

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/DiscStandard.h"
#include "tools/mpegrec/MpegrecText.h"

// What mpegrec was asked to do.
struct CCommandLine
{
    bool bList = false;
    bool bHelp = false;
    bool bVersion = false;
    std::string strOutput;
    // Instead of -o: a file named after the title and the start, in this
    // folder. The title goes into the file's metadata either way.
    std::string strFolder;
    std::string strTitle;
    // Wall-clock times to start and stop at (local time).
    std::optional<std::time_t> startAt;
    std::optional<std::time_t> stopAt;
    // mpeg1, mpeg2 or avi; empty: as --target needs, else DEFAULT_TYPE.
    std::string strType;
    // The disc the recording is made for, in the norm of the frame rate.
    std::optional<EDiscStandard> target;
    ETvNorm eTargetNorm = ETvNorm::ePal;
    std::string strVideoDevice;
    std::string strAudioDevice;
    // AVI only: FFmpeg's encoder names (see --list), and streams left out.
    std::string strVideoCompressor;
    std::string strAudioCompressor;
    bool bNoVideo = false;
    bool bNoAudio = false;
    // The profile's frame rate code: 23, 29 and 59 for the NTSC rates.
    std::optional<int> frameRate;
    std::optional<int> nWidth;
    std::optional<int> nHeight;
    // The display aspect, as 16 and 9.
    std::optional<int> nAspectWidth;
    std::optional<int> nAspectHeight;
    std::optional<int> videoBitrate;
    std::optional<int> audioBitrate;
    std::optional<int> sampleRate;
    std::optional<int> channels;
    std::optional<int> syncMode;
    std::optional<int> audioOffsetMs;
    int nFrame = 0;
    double dDurationSeconds = 0;
    bool bFast = false;
    // For proving sync: marks in the built-in sources, and the test tone's
    // clock off by that many parts per million.
    bool bSyncMarks = false;
    std::optional<int> clockSkewPpm;
    // Each option's value as it was written ("--frame-rate" -> "29.97"), for
    // errors that arise after parsing to quote.
    std::map<std::string, std::string> givenValues;
};

// The window's Output selector starts on MPEG-1; mpegrec records what the
// window would.
inline constexpr const char* DEFAULT_TYPE = "mpeg1";

// Parses the arguments after the program name; on a mistake returns nothing
// and says why in strError.
std::optional<CCommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& strError);

// The line that follows a mistake in the command line, instead of the whole
// usage.
inline constexpr const char* TRY_HELP = QT_TRANSLATE_NOOP("CMpegrec", "Try 'mpegrec --help'.");

// What --help prints: the usage, one option per line, each default, and the
// exit statuses.
std::string MpegrecUsage();

// The frame rates MPEG-1 and MPEG-2 carry, as --frame-rate takes them (the
// source text of their list in the user's language).
inline constexpr const char* MPEG_FRAME_RATES =
    QT_TRANSLATE_NOOP("CMpegrec", "23.976, 24, 25, 29.97, 30, 50, 59.94 or 60");

// The profile's frame rate code as mpegrec takes it ("29.97" for 29).
std::string FrameRateText(int nCode);

inline constexpr int EXIT_USAGE = 2;
