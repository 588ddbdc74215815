#include "tools/mpegrec/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <stdexcept>

#include "engine/CompressorCatalog.h"
#include "engine/ProfileLimits.h"
#include "engine/RecordingProfile.h"
#include "tools/mpegrec/StartAndStop.h"

namespace {

bool ParseInt(const std::string& strText, int& nValue)
{
    const char* pEnd = strText.data() + strText.size();
    const auto [pStop, error] = std::from_chars(strText.data(), pEnd, nValue);
    return error == std::errc() && pStop == pEnd;
}

// Two positive whole numbers with cSeparator between them ("720x480", "16:9").
bool ParsePair(const std::string& strText, char cSeparator, std::optional<int>& first, std::optional<int>& second)
{
    const std::size_t nSeparator = strText.find(cSeparator);
    int nFirst = 0;
    int nSecond = 0;
    if (nSeparator == std::string::npos || !ParseInt(strText.substr(0, nSeparator), nFirst)
        || !ParseInt(strText.substr(nSeparator + 1), nSecond) || nFirst <= 0 || nSecond <= 0)
        return false;
    first = nFirst;
    second = nSecond;
    return true;
}

// The NTSC rates as people write them, with the profile's codes for them.
constexpr std::pair<const char*, int> NTSC_DECIMAL_RATES[] = { { "23.976", 23 }, { "29.97", 29 }, { "59.94", 59 } };

// A frame rate as a whole number, the NTSC rates as decimals or fractions
// ("29.97", "30000:1001"); the profile's code for it.
bool ParseFrameRate(const std::string& strText, int& nCode)
{
    // An NTSC rate is N000/1001 pictures a second, coded as N - 1 (29 for
    // 30000/1001).
    constexpr int NTSC_DIVISOR = 1001;
    constexpr int NTSC_MULTIPLIER = 1000;
    for (const auto& [pszText, nDecimalCode] : NTSC_DECIMAL_RATES) {
        if (strText == pszText) {
            nCode = nDecimalCode;
            return true;
        }
    }
    const std::size_t nSeparator = strText.find_first_of(":/");
    if (nSeparator == std::string::npos)
        return ParseInt(strText, nCode);
    std::optional<int> numerator;
    std::optional<int> denominator;
    if (!ParsePair(strText, strText[nSeparator], numerator, denominator))
        return false;
    if (*denominator == 1) {
        nCode = *numerator;
        return true;
    }
    if (*denominator != NTSC_DIVISOR || *numerator % NTSC_MULTIPLIER != 0)
        return false;
    nCode = *numerator / NTSC_MULTIPLIER - 1;
    return true;
}

bool ParseTarget(const std::string& strText, std::optional<EDiscStandard>& target)
{
    const std::pair<const char*, EDiscStandard> names[] = { { "vcd", EDiscStandard::eVcd },
                                                            { "svcd", EDiscStandard::eSvcd },
                                                            { "dvd", EDiscStandard::eDvd } };
    for (const auto& [pszName, eStandard] : names) {
        if (strText == pszName) {
            target = eStandard;
            return true;
        }
    }
    return false;
}

// A disc is PAL or NTSC; the frame rate says which.
bool ChooseTargetNorm(CCommandLine& command, std::string& strError)
{
    constexpr int PAL_RATE = 25;
    constexpr int NTSC_RATE = 29;
    constexpr int NTSC_WHOLE_RATE = 30;
    if (!command.frameRate || *command.frameRate == PAL_RATE) {
        command.eTargetNorm = ETvNorm::ePal;
        return true;
    }
    if (*command.frameRate == NTSC_RATE || *command.frameRate == NTSC_WHOLE_RATE) {
        command.eTargetNorm = ETvNorm::eNtsc;
        return true;
    }
    strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "%1 records at --frame-rate 25 (PAL) or 29.97 (NTSC), not %2"),
                   std::string(DiscStandard(*command.target).pszName), FrameRateText(*command.frameRate));
    return false;
}

// The units of engine/ProfileLimits.h, marked for the catalogue.
[[maybe_unused]] constexpr const char* RANGE_UNITS[] = {
    QT_TRANSLATE_NOOP("CMpegrec", "bit/s"),    QT_TRANSLATE_NOOP("CMpegrec", "Hz"),
    QT_TRANSLATE_NOOP("CMpegrec", "channels"), QT_TRANSLATE_NOOP("CMpegrec", "pixels"),
    QT_TRANSLATE_NOOP("CMpegrec", "ms"),       QT_TRANSLATE_NOOP("CMpegrec", "frames/s"),
    QT_TRANSLATE_NOOP("CMpegrec", "ppm"),
};

// "16 to 8192 pixels" in the user's language.
std::string RangeWords(const CValueRange& range)
{
    return Say(QT_TRANSLATE_NOOP("CMpegrec", "%1 to %2 %3"), std::to_string(range.nMinimum),
               std::to_string(range.nMaximum), Say(range.pszUnit));
}

// Reads an option's value into the command; returns what the value should
// be when it cannot, else nothing.
using CValueReader = std::function<std::string(const std::string& strValue, CCommandLine& command)>;

// A whole number a recording can use.
CValueReader Ranged(std::optional<int> CCommandLine::*pTarget, const CValueRange& range)
{
    return [=](const std::string& strValue, CCommandLine& command) -> std::string {
        int nValue = 0;
        if (!ParseInt(strValue, nValue) || !range.Contains(nValue))
            return Say(QT_TRANSLATE_NOOP("CMpegrec", "needs a whole number from %1"), RangeWords(range));
        command.*pTarget = nValue;
        return {};
    };
}

CValueReader Text(std::string CCommandLine::*pTarget)
{
    return [=](const std::string& strValue, CCommandLine& command) -> std::string {
        command.*pTarget = strValue;
        return {};
    };
}

std::string ReadFrameRate(const std::string& strValue, CCommandLine& command)
{
    int nCode = 0;
    // Whether the file takes the rate is known once its type is.
    if (!ParseFrameRate(strValue, nCode))
        return Say(QT_TRANSLATE_NOOP("CMpegrec", "needs a rate such as 25 or 29.97"));
    command.frameRate = nCode;
    return {};
}

std::string ReadTarget(const std::string& strValue, CCommandLine& command)
{
    return ParseTarget(strValue, command.target) ? std::string()
                                                 : Say(QT_TRANSLATE_NOOP("CMpegrec", "is vcd, svcd or dvd"));
}

std::string ReadType(const std::string& strValue, CCommandLine& command)
{
    if (strValue != "mpeg1" && strValue != "mpeg2" && strValue != "avi")
        return Say(QT_TRANSLATE_NOOP("CMpegrec", "is mpeg1, mpeg2 or avi"));
    command.strType = strValue;
    return {};
}

std::string ReadPictureSize(const std::string& strValue, CCommandLine& command)
{
    if (!ParsePair(strValue, 'x', command.nWidth, command.nHeight) || !PICTURE_SIDE_RANGE.Contains(*command.nWidth)
        || !PICTURE_SIDE_RANGE.Contains(*command.nHeight))
        return Say(QT_TRANSLATE_NOOP("CMpegrec", "needs WIDTHxHEIGHT, each %1"), RangeWords(PICTURE_SIDE_RANGE));
    return {};
}

std::string ReadAspect(const std::string& strValue, CCommandLine& command)
{
    // A player shows an MPEG picture at one of these; AVI marks its pixels
    // the same way.
    constexpr std::pair<int, int> SHAPES[] = { { 4, 3 }, { 16, 9 } };
    std::optional<int> width;
    std::optional<int> height;
    if (!ParsePair(strValue, ':', width, height)
        || std::find(std::begin(SHAPES), std::end(SHAPES), std::pair(*width, *height)) == std::end(SHAPES))
        return Say(QT_TRANSLATE_NOOP("CMpegrec", "is 4:3 or 16:9"));
    command.nAspectWidth = width;
    command.nAspectHeight = height;
    return {};
}

std::string ReadSyncMode(const std::string& strValue, CCommandLine& command)
{
    int nMode = 0;
    if (!ParseInt(strValue, nMode) || nMode < SYNC_MODE_NONE || nMode > SYNC_MODE_MANUAL)
        return Say(QT_TRANSLATE_NOOP("CMpegrec", "is 0 (no sync), 1 (auto) or 2 (manual)"));
    command.syncMode = nMode;
    return {};
}

std::string ReadFrame(const std::string& strValue, CCommandLine& command)
{
    if (!ParseInt(strValue, command.nFrame) || command.nFrame < 0)
        return Say(QT_TRANSLATE_NOOP("CMpegrec", "needs a picture number (0 for none)"));
    return {};
}

std::string ReadDuration(const std::string& strValue, CCommandLine& command)
{
    const std::string strNeeded = Say(QT_TRANSLATE_NOOP("CMpegrec", "needs a positive number of seconds"));
    try {
        std::size_t nUsed = 0;
        command.dDurationSeconds = std::stod(strValue, &nUsed);
        return nUsed == strValue.size() && command.dDurationSeconds > 0 ? std::string() : strNeeded;
    } catch (const std::exception&) {
        return strNeeded;
    }
}

CValueReader WallClockTime(std::optional<std::time_t> CCommandLine::*pTarget)
{
    return [=](const std::string& strValue, CCommandLine& command) -> std::string {
        command.*pTarget = ParseLocalTime(strValue);
        return command.*pTarget
            ? std::string()
            : Say(
                QT_TRANSLATE_NOOP("CMpegrec", "needs a local time as \"YYYY-MM-DD HH:MM\" or \"YYYY-MM-DD HH:MM:SS\""));
    };
}

// Every option that takes a value, with how it is read.
const std::map<std::string, CValueReader>& ValueOptions()
{
    static const std::map<std::string, CValueReader> s_options = {
        { "-o", Text(&CCommandLine::strOutput) },
        { "--folder", Text(&CCommandLine::strFolder) },
        { "--title", Text(&CCommandLine::strTitle) },
        { "--start-at", WallClockTime(&CCommandLine::startAt) },
        { "--stop-at", WallClockTime(&CCommandLine::stopAt) },
        { "--type", ReadType },
        { "--target", ReadTarget },
        { "--video-device", Text(&CCommandLine::strVideoDevice) },
        { "--audio-device", Text(&CCommandLine::strAudioDevice) },
        { "--video-compressor", Text(&CCommandLine::strVideoCompressor) },
        { "--audio-compressor", Text(&CCommandLine::strAudioCompressor) },
        { "--frame-rate", ReadFrameRate },
        { "--size", ReadPictureSize },
        { "--aspect", ReadAspect },
        { "--video-bitrate", Ranged(&CCommandLine::videoBitrate, VIDEO_BITRATE_RANGE) },
        { "--audio-bitrate", Ranged(&CCommandLine::audioBitrate, AUDIO_BITRATE_RANGE) },
        { "--sample-rate", Ranged(&CCommandLine::sampleRate, SAMPLE_RATE_RANGE) },
        { "--channels", Ranged(&CCommandLine::channels, AUDIO_CHANNELS_RANGE) },
        { "--sync-mode", ReadSyncMode },
        { "--audio-offset", Ranged(&CCommandLine::audioOffsetMs, AUDIO_OFFSET_RANGE) },
        { "--frame", ReadFrame },
        { "--duration", ReadDuration },
        { "--clock-skew", Ranged(&CCommandLine::clockSkewPpm, CLOCK_SKEW_RANGE) },
    };
    return s_options;
}

// One line an option: the recorder's own defaults, which the window's
// settings start from too.
std::string DefaultsText()
{
    const CRecordingProfile defaults;
    const std::pair<const char*, std::string> lines[] = {
        { "--type", DEFAULT_TYPE },
        { "--frame-rate", FrameRateText(defaults.nFrameRate) },
        { "--size", std::to_string(defaults.nVideoWidth) + "x" + std::to_string(defaults.nVideoHeight) },
        { "--aspect", std::to_string(defaults.nAspectNumerator) + ":" + std::to_string(defaults.nAspectDenominator) },
        { "--video-bitrate", std::to_string(defaults.nVideoBitrate) },
        { "--audio-bitrate", std::to_string(defaults.nAudioBitrate) },
        { "--sample-rate", std::to_string(defaults.nAudioSampleRate) },
        { "--channels", std::to_string(defaults.nAudioChannels) },
        { "--sync-mode", std::to_string(defaults.nSyncMode) },
        { "--audio-offset", std::to_string(defaults.nAudioOffset) },
        { "--frame", std::to_string(defaults.nVideoFrame) },
        { "--video-device", Say(QT_TRANSLATE_NOOP("CMpegrec", "the first camera or TV card, else Test Pattern")) },
        { "--audio-device",
          Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "the sound server's default source, else the first sound card, else Test Tone")) },
        { "--video-compressor", DEFAULT_VIDEO_COMPRESSOR },
        { "--audio-compressor", DEFAULT_AUDIO_COMPRESSOR },
        { "--duration", Say(QT_TRANSLATE_NOOP("CMpegrec", "none: until interrupted")) },
        { "--start-at", Say(QT_TRANSLATE_NOOP("CMpegrec", "now")) },
    };
    std::string strText;
    for (const auto& [pszOption, strValue] : lines)
        strText += std::string("  ") + pszOption + " " + strValue + "\n";
    return strText;
}

// One line an option that takes a number of a range.
std::string RangesText()
{
    struct CRangeLine
    {
        const char* pszOption;
        CValueRange range;
        const char* pszNote;
    };
    const CRangeLine lines[] = {
        { "--size", PICTURE_SIDE_RANGE, QT_TRANSLATE_NOOP("CMpegrec", " each side") },
        { "--video-bitrate", VIDEO_BITRATE_RANGE, "" },
        { "--audio-bitrate", AUDIO_BITRATE_RANGE, "" },
        { "--sample-rate", SAMPLE_RATE_RANGE, QT_TRANSLATE_NOOP("CMpegrec", ", of those the audio encoder codes") },
        { "--channels", AUDIO_CHANNELS_RANGE, "" },
        { "--audio-offset", AUDIO_OFFSET_RANGE, "" },
        { "--frame-rate", AVI_FRAME_RATE_RANGE, QT_TRANSLATE_NOOP("CMpegrec", " (AVI; MPEG as above)") },
        { "--clock-skew", CLOCK_SKEW_RANGE, "" },
    };
    std::string strText;
    for (const CRangeLine& line : lines)
        strText += std::string("  ") + line.pszOption + " " + RangeWords(line.range)
            + (*line.pszNote != '\0' ? Say(line.pszNote) : std::string()) + "\n";
    return strText;
}

bool IsAvi(const CCommandLine& command)
{
    return command.strType == "avi";
}

// The value as it was written, for a message about it.
std::string Given(const CCommandLine& command, const std::string& strOption)
{
    return strOption + " " + command.givenValues.at(strOption);
}

// MPEG has a table of rates; a disc's rate its norm chose.
bool CheckFrameRate(const CCommandLine& command, std::string& strError)
{
    if (!command.frameRate || command.target)
        return true;
    if (IsAvi(command) ? AVI_FRAME_RATE_RANGE.Contains(*command.frameRate) : IsMpegFrameRate(*command.frameRate))
        return true;
    strError = Given(command, "--frame-rate") + ": "
        + (IsAvi(command)
               ? Say(QT_TRANSLATE_NOOP("CMpegrec", "an AVI file is recorded at %1"), RangeWords(AVI_FRAME_RATE_RANGE))
               : Say(QT_TRANSLATE_NOOP("CMpegrec", "an MPEG file is recorded at %1 frames/s"), Say(MPEG_FRAME_RATES)));
    return false;
}

// The encoder that will code the audio decides the sample rates; one that
// lists none (PCM) takes any.
bool CheckSampleRate(const CCommandLine& command, std::string& strError)
{
    if (!command.sampleRate || command.bNoAudio)
        return true;
    const std::string strEncoder = !IsAvi(command) ? MPEG_AUDIO_ENCODER
        : command.strAudioCompressor.empty()       ? DEFAULT_AUDIO_COMPRESSOR
                                                   : command.strAudioCompressor;
    const std::vector<int> rates = EncoderSampleRates(strEncoder);
    if (rates.empty() || std::find(rates.begin(), rates.end(), *command.sampleRate) != rates.end())
        return true;
    const std::string strOr = Say(QT_TRANSLATE_NOOP("CMpegrec", " or "));
    std::string strRates;
    for (std::size_t nIndex = 0; nIndex < rates.size(); ++nIndex)
        strRates += (nIndex == 0 ? "" : nIndex + 1 == rates.size() ? strOr : ", ") + std::to_string(rates[nIndex]);
    strError = Given(command, "--sample-rate") + ": "
        + (IsAvi(command) ? Say(QT_TRANSLATE_NOOP("CMpegrec", "the %1 compressor codes %2 Hz"), strEncoder, strRates)
                          : Say(QT_TRANSLATE_NOOP("CMpegrec", "MPEG audio is coded at %1 Hz"), strRates));
    return false;
}

// Manual sync holds one stream back by the offset; held back for the whole
// --duration, that stream would be missing from the file.
bool CheckAudioOffset(const CCommandLine& command, std::string& strError)
{
    constexpr double MS_PER_SECOND = 1000;
    if (!command.audioOffsetMs || command.syncMode.value_or(SYNC_MODE_NONE) != SYNC_MODE_MANUAL
        || command.dDurationSeconds <= 0 || std::abs(*command.audioOffsetMs) < command.dDurationSeconds * MS_PER_SECOND)
        return true;
    strError = Given(command, "--audio-offset") + ": "
        + Say(*command.audioOffsetMs > 0
                  ? QT_TRANSLATE_NOOP(
                      "CMpegrec",
                      "the audio would begin only after the recording ends (%1), so the file would have none")
                  : QT_TRANSLATE_NOOP(
                      "CMpegrec",
                      "the video would begin only after the recording ends (%1), so the file would have none"),
              Given(command, "--duration"));
    return false;
}

bool CheckStartAndStop(const CCommandLine& command, std::string& strError)
{
    if (!command.strOutput.empty() && !command.strFolder.empty()) {
        strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "-o names the file, --folder has it named: give one of them"));
        return false;
    }
    if (command.stopAt && command.dDurationSeconds > 0) {
        strError =
            Say(QT_TRANSLATE_NOOP("CMpegrec", "--stop-at and --duration both say when to stop: give one of them"));
        return false;
    }
    if (command.startAt && command.stopAt && *command.stopAt <= *command.startAt) {
        strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "%1 is not after %2"), Given(command, "--stop-at"),
                       Given(command, "--start-at"));
        return false;
    }
    return true;
}

} // namespace

std::string FrameRateText(int nCode)
{
    for (const auto& [pszText, nDecimalCode] : NTSC_DECIMAL_RATES) {
        if (nCode == nDecimalCode)
            return pszText;
    }
    return std::to_string(nCode);
}

std::string MpegrecUsage()
{
    // Paragraph by paragraph, so that a translation follows each on its own.
    return Say(QT_TRANSLATE_NOOP(
               "CMpegrec",
               "usage: mpegrec --list\n"
               "       mpegrec -o FILE|--folder FOLDER [--title TITLE] [--start-at TIME]\n"
               "               [--stop-at TIME|--duration SECONDS] [--type mpeg1|mpeg2|avi] "
               "[--target vcd|svcd|dvd] [--video-device NAME]\n"
               "               [--audio-device NAME] [--frame-rate RATE] [--size WxH] [--aspect W:H]\n"
               "               [--video-bitrate N] [--audio-bitrate N]\n"
               "               [--sample-rate N] [--channels N] [--sync-mode 0|1|2] "
               "[--audio-offset MS]\n"
               "               [--frame N] [--duration SECONDS] [--fast] [--sync-marks] "
               "[--clock-skew PPM]\n"
               "               [--video-compressor NAME] [--audio-compressor NAME] "
               "[--no-audio|--no-video]\n"
               "       mpegrec --help | --version\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "The compressors (an encoder name such as mpeg4 or pcm_s16le, see --list) and\n"
                                "--no-audio/--no-video apply to --type avi.\n"
                                "--aspect is the shape the picture is shown at (4:3 unless given; 16:9 for wide).\n"
                                "--sync-mode is 0 (no sync), 1 (auto) or 2 (manual: auto shifted by --audio-offset "
                                "MS).\n"
                                "--frame N lays the Nth picture of the Frame folder (in name order) over the "
                                "video;\n"
                                "0 lays none.\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "--sync-marks makes the Test Pattern flash white and the Test Tone beep (1 kHz, 50 ms) "
                                "at\n"
                                "every whole second; --clock-skew makes the Test Tone's clock run fast (positive) "
                                "or\n"
                                "slow (negative) by PPM parts per million, as a sound card's crystal may.\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec", "--frame-rate takes %1 (also as 30000:1001).\n"), Say(MPEG_FRAME_RATES))
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "--target sets everything the disc needs: MPEG-1 (VCD) or MPEG-2, picture size, bit\n"
                                "rates, audio; PAL at --frame-rate 25 (the default), NTSC (29.97) at 29.97 or 30.\n"
                                "Options beside it may change what the disc allows (a lower SVCD or DVD bit rate,\n"
                                "16:9 on SVCD and DVD, a DVD picture 704 or 352 wide); anything else is refused.\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "--folder records into \"TITLE YYYY-MM-DD hh-mm.mpg\" (.avi) there, named at the "
                                "start,\n"
                                "never over another file: a name taken gets \" (2)\", \" (3)\"...; --title (also "
                                "the\n"
                                "file's title) is \"Recording\" unless given.\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "--start-at and --stop-at take a local time, \"YYYY-MM-DD HH:MM\" or with \":SS\"; "
                                "mpegrec\n"
                                "waits for the start, looking at the clock so that a suspend or a clock change "
                                "does not\n"
                                "delay it. A start already past records what is left until --stop-at (or the "
                                "start\n"
                                "plus --duration); an end already past records nothing and exits with status 2.\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "Bit rates in bit/s. Without --duration, recording runs until interrupted (Ctrl+C, or\n"
                                "SIGTERM or SIGHUP, as when its terminal closes).\n"))
        + Say(QT_TRANSLATE_NOOP("CMpegrec", "Ranges, the same as the window's:\n")) + RangesText()
        + Say(QT_TRANSLATE_NOOP("CMpegrec", "Defaults, the same as the window's:\n")) + DefaultsText()
        + Say(QT_TRANSLATE_NOOP("CMpegrec",
                                "Exit status: 0 when done; 1 when the recording cannot start or fails; 2 for a mistake "
                                "in\n"
                                "the command line (an unknown option, a value mpegrec cannot read or beyond its "
                                "range, a\n"
                                "device, compressor or frame picture it does not have, a value the --target disc "
                                "does\n"
                                "not allow, or an end that has passed).\n"));
}

std::optional<CCommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& strError)
{
    CCommandLine command;
    for (std::size_t nIndex = 0; nIndex < arguments.size(); ++nIndex) {
        const std::string& strOption = arguments[nIndex];
        if (strOption == "--list") {
            command.bList = true;
            continue;
        }
        if (strOption == "--fast" || strOption == "--sync-marks") {
            (strOption == "--fast" ? command.bFast : command.bSyncMarks) = true;
            continue;
        }
        if (strOption == "--no-video" || strOption == "--no-audio") {
            (strOption == "--no-video" ? command.bNoVideo : command.bNoAudio) = true;
            continue;
        }
        if (strOption == "--help" || strOption == "-h") {
            command.bHelp = true;
            continue;
        }
        if (strOption == "--version") {
            command.bVersion = true;
            continue;
        }
        const auto reader = ValueOptions().find(strOption);
        if (reader == ValueOptions().end()) {
            strError = Say(strOption.rfind('-', 0) == 0 ? QT_TRANSLATE_NOOP("CMpegrec", "unknown option %1")
                                                        : QT_TRANSLATE_NOOP("CMpegrec", "unexpected argument %1"),
                           strOption);
            return std::nullopt;
        }
        if (nIndex + 1 >= arguments.size()) {
            strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "%1 needs a value"), strOption);
            return std::nullopt;
        }
        const std::string& strValue = arguments[++nIndex];
        if (const std::string strNeeded = reader->second(strValue, command); !strNeeded.empty()) {
            strError = strOption + " " + strValue + ": " + strNeeded;
            return std::nullopt;
        }
        command.givenValues[strOption] = strValue;
    }
    const bool bAviOptions = !command.strVideoCompressor.empty() || !command.strAudioCompressor.empty()
        || command.bNoVideo || command.bNoAudio;
    if (command.target && command.strType == "avi") {
        strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "--target makes an MPEG file, not --type avi"));
        return std::nullopt;
    }
    if (command.target && !ChooseTargetNorm(command, strError))
        return std::nullopt;
    if (bAviOptions && command.strType != "avi") {
        strError = Say(QT_TRANSLATE_NOOP(
            "CMpegrec", "--video-compressor, --audio-compressor, --no-video and --no-audio go with --type avi"));
        return std::nullopt;
    }
    if (command.bNoVideo && command.bNoAudio) {
        strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "--no-video and --no-audio leave nothing to record"));
        return std::nullopt;
    }
    if (!CheckFrameRate(command, strError) || !CheckSampleRate(command, strError)
        || !CheckAudioOffset(command, strError))
        return std::nullopt;
    if (!CheckStartAndStop(command, strError))
        return std::nullopt;
    if (!command.bList && !command.bHelp && !command.bVersion && command.strOutput.empty()
        && command.strFolder.empty()) {
        strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "nothing to do: give --list, -o FILE or --folder FOLDER"));
        return std::nullopt;
    }
    return command;
}
