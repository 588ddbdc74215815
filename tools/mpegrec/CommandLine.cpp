#include "tools/mpegrec/CommandLine.h"

#include <charconv>
#include <functional>
#include <limits>
#include <stdexcept>

#include "engine/CompressorCatalog.h"
#include "engine/RecordingProfile.h"

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
    strError = std::string(DiscStandard(*command.target).pszName)
        + " records at --frame-rate 25 (PAL) or 29.97 (NTSC), not " + FrameRateText(*command.frameRate);
    return false;
}

// Reads an option's value into the command; returns what the value should
// be when it cannot, else nothing.
using CValueReader = std::function<std::string(const std::string& strValue, CCommandLine& command)>;

// A whole number that counts pszUnit; some make sense only above 0.
CValueReader WholeNumber(std::optional<int> CCommandLine::*pTarget, const char* pszUnit, bool bPositive)
{
    return [=](const std::string& strValue, CCommandLine& command) -> std::string {
        int nValue = 0;
        if (!ParseInt(strValue, nValue) || (bPositive && nValue <= 0))
            return std::string(bPositive ? "needs a whole number above 0" : "needs a whole number") + " (" + pszUnit
                + ")";
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
    if (!ParseFrameRate(strValue, nCode) || nCode <= 0)
        return "needs a rate such as 25 or 29.97";
    command.frameRate = nCode;
    return {};
}

std::string ReadTarget(const std::string& strValue, CCommandLine& command)
{
    return ParseTarget(strValue, command.target) ? std::string() : "is vcd, svcd or dvd";
}

std::string ReadType(const std::string& strValue, CCommandLine& command)
{
    if (strValue != "mpeg1" && strValue != "mpeg2" && strValue != "avi")
        return "is mpeg1, mpeg2 or avi";
    command.strType = strValue;
    return {};
}

std::string ReadPictureSize(const std::string& strValue, CCommandLine& command)
{
    // The profile keeps each side in a short.
    constexpr int MAX_SIDE = std::numeric_limits<short>::max();
    if (!ParsePair(strValue, 'x', command.nWidth, command.nHeight) || *command.nWidth > MAX_SIDE
        || *command.nHeight > MAX_SIDE)
        return "needs WIDTHxHEIGHT, each 1 to " + std::to_string(MAX_SIDE);
    return {};
}

std::string ReadAspect(const std::string& strValue, CCommandLine& command)
{
    if (!ParsePair(strValue, ':', command.nAspectWidth, command.nAspectHeight))
        return "needs WIDTH:HEIGHT such as 16:9";
    return {};
}

std::string ReadFrame(const std::string& strValue, CCommandLine& command)
{
    if (!ParseInt(strValue, command.nFrame) || command.nFrame < 0)
        return "needs a picture number (0 for none)";
    return {};
}

std::string ReadDuration(const std::string& strValue, CCommandLine& command)
{
    constexpr const char* NEEDED = "needs a positive number of seconds";
    try {
        std::size_t nUsed = 0;
        command.dDurationSeconds = std::stod(strValue, &nUsed);
        return nUsed == strValue.size() && command.dDurationSeconds > 0 ? std::string() : NEEDED;
    } catch (const std::exception&) {
        return NEEDED;
    }
}

// Every option that takes a value, with how it is read.
const std::map<std::string, CValueReader>& ValueOptions()
{
    static const std::map<std::string, CValueReader> s_options = {
        { "-o", Text(&CCommandLine::strOutput) },
        { "--type", ReadType },
        { "--target", ReadTarget },
        { "--video-device", Text(&CCommandLine::strVideoDevice) },
        { "--audio-device", Text(&CCommandLine::strAudioDevice) },
        { "--video-compressor", Text(&CCommandLine::strVideoCompressor) },
        { "--audio-compressor", Text(&CCommandLine::strAudioCompressor) },
        { "--frame-rate", ReadFrameRate },
        { "--size", ReadPictureSize },
        { "--aspect", ReadAspect },
        { "--video-bitrate", WholeNumber(&CCommandLine::videoBitrate, "bit/s", true) },
        { "--audio-bitrate", WholeNumber(&CCommandLine::audioBitrate, "bit/s", true) },
        { "--sample-rate", WholeNumber(&CCommandLine::sampleRate, "Hz", true) },
        { "--channels", WholeNumber(&CCommandLine::channels, "channels", true) },
        { "--sync-mode", WholeNumber(&CCommandLine::syncMode, "0, 1 or 2", false) },
        { "--audio-offset", WholeNumber(&CCommandLine::audioOffsetMs, "ms", false) },
        { "--frame", ReadFrame },
        { "--duration", ReadDuration },
        { "--clock-skew", WholeNumber(&CCommandLine::clockSkewPpm, "ppm", false) },
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
        { "--video-device", "the first camera or TV card, else Test Pattern" },
        { "--audio-device", "the sound server's default source, else the first sound card, else Test Tone" },
        { "--video-compressor", DEFAULT_VIDEO_COMPRESSOR },
        { "--audio-compressor", DEFAULT_AUDIO_COMPRESSOR },
        { "--duration", "none: until interrupted" },
    };
    std::string strText;
    for (const auto& [pszOption, strValue] : lines)
        strText += std::string("  ") + pszOption + " " + strValue + "\n";
    return strText;
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
    return "usage: mpegrec --list\n"
           "       mpegrec -o FILE [--type mpeg1|mpeg2|avi] [--target vcd|svcd|dvd] [--video-device NAME]\n"
           "               [--audio-device NAME] [--frame-rate RATE] [--size WxH] [--aspect W:H]\n"
           "               [--video-bitrate N] [--audio-bitrate N]\n"
           "               [--sample-rate N] [--channels N] [--sync-mode 0|1|2] [--audio-offset MS]\n"
           "               [--frame N] [--duration SECONDS] [--fast] [--sync-marks] [--clock-skew PPM]\n"
           "               [--video-compressor NAME] [--audio-compressor NAME] [--no-audio|--no-video]\n"
           "       mpegrec --help\n"
           "The compressors (an encoder name such as mpeg4 or pcm_s16le, see --list) and\n"
           "--no-audio/--no-video apply to --type avi.\n"
           "--aspect is the shape the picture is shown at (4:3 unless given; 16:9 for wide).\n"
           "--sync-mode is 0 (no sync), 1 (auto) or 2 (manual: auto shifted by --audio-offset MS).\n"
           "--frame N lays the Nth picture of the Frame folder (in name order) over the video;\n"
           "0 lays none.\n"
           "--sync-marks makes the Test Pattern flash white and the Test Tone beep (1 kHz, 50 ms) at\n"
           "every whole second; --clock-skew makes the Test Tone's clock run fast (positive) or\n"
           "slow (negative) by PPM parts per million, as a sound card's crystal may.\n"
           "--frame-rate takes "
        + std::string(MPEG_FRAME_RATES)
        + " (also as 30000:1001).\n"
          "--target sets everything the disc needs: MPEG-1 (VCD) or MPEG-2, picture size, bit\n"
          "rates, audio; PAL at --frame-rate 25 (the default), NTSC (29.97) at 29.97 or 30.\n"
          "Options beside it may change what the disc allows (a lower SVCD or DVD bit rate,\n"
          "16:9 on SVCD and DVD, a DVD picture 704 or 352 wide); anything else is refused.\n"
          "Bit rates in bit/s. Without --duration, recording runs until interrupted (Ctrl+C).\n"
          "Defaults, the same as the window's:\n"
        + DefaultsText()
        + "Exit status: 0 when done; 1 when the recording cannot start or fails; 2 for a mistake in\n"
          "the command line (an unknown option, a value mpegrec cannot read, a device, compressor\n"
          "or frame picture it does not have, or a value the --target disc does not allow).\n";
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
        const auto reader = ValueOptions().find(strOption);
        if (reader == ValueOptions().end()) {
            strError = (strOption.rfind('-', 0) == 0 ? "unknown option " : "unexpected argument ") + strOption;
            return std::nullopt;
        }
        if (nIndex + 1 >= arguments.size()) {
            strError = strOption + " needs a value";
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
        strError = "--target makes an MPEG file, not --type avi";
        return std::nullopt;
    }
    if (command.target && !ChooseTargetNorm(command, strError))
        return std::nullopt;
    if (bAviOptions && command.strType != "avi") {
        strError = "--video-compressor, --audio-compressor, --no-video and --no-audio go with --type avi";
        return std::nullopt;
    }
    if (command.bNoVideo && command.bNoAudio) {
        strError = "--no-video and --no-audio leave nothing to record";
        return std::nullopt;
    }
    if (!command.bList && !command.bHelp && command.strOutput.empty()) {
        strError = "nothing to do: give --list or -o FILE";
        return std::nullopt;
    }
    return command;
}
