#include "CommandLine.h"

#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

const char* const MPEGREC_USAGE =
    "usage: mpegrec --list\n"
    "       mpegrec -o FILE [--type mpeg1|mpeg2|avi] [--target vcd|svcd|dvd] [--video-device NAME]\n"
    "               [--audio-device NAME] [--frame-rate RATE] [--size WxH] [--aspect W:H]\n"
    "               [--video-bitrate N] [--audio-bitrate N]\n"
    "               [--sample-rate N] [--channels N] [--sync-mode 0|1|2] [--audio-offset MS]\n"
    "               [--frame N] [--duration SECONDS] [--fast] [--sync-marks] [--clock-skew PPM]\n"
    "               [--video-compressor NAME] [--audio-compressor NAME] [--no-audio|--no-video]\n"
    "The compressors (an encoder name such as mpeg4 or pcm_s16le, see --list) and\n"
    "--no-audio/--no-video apply to --type avi.\n"
    "--aspect is the shape the picture is shown at (4:3 unless given; 16:9 for wide).\n"
    "--sync-marks makes the Test Pattern flash white and the Test Tone beep (1 kHz, 50 ms) at\n"
    "every whole second; --clock-skew makes the Test Tone's clock run fast (positive) or\n"
    "slow (negative) by PPM parts per million, as a sound card's crystal may.\n"
    "--frame-rate takes 23.976, 24, 25, 29.97, 30, 50, 59.94 or 60 (also as 30000:1001).\n"
    "--target sets everything the disc needs: MPEG-1 (VCD) or MPEG-2, picture size, bit\n"
    "rates, audio; PAL at --frame-rate 25 (the default), NTSC (29.97) at 29.97 or 30.\n"
    "Options beside it may change what the disc allows (a lower SVCD or DVD bit rate,\n"
    "16:9 on SVCD and DVD, a DVD picture 704 or 352 wide); anything else is refused.\n"
    "Bit rates in bit/s. Without --duration, recording runs until interrupted (Ctrl+C).\n";

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

std::string FrameRateText(int nCode)
{
    for (const auto& [pszText, nDecimalCode] : NTSC_DECIMAL_RATES) {
        if (nCode == nDecimalCode)
            return pszText;
    }
    return std::to_string(nCode);
}

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

} // namespace

std::optional<CCommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& strError)
{
    CCommandLine command;
    using CIntTarget = std::optional<int> CCommandLine::*;
    const std::map<std::string, CIntTarget> intOptions = {
        { "--video-bitrate", &CCommandLine::videoBitrate }, { "--audio-bitrate", &CCommandLine::audioBitrate },
        { "--sample-rate", &CCommandLine::sampleRate },     { "--channels", &CCommandLine::channels },
        { "--sync-mode", &CCommandLine::syncMode },         { "--audio-offset", &CCommandLine::audioOffsetMs },
        { "--clock-skew", &CCommandLine::clockSkewPpm },
    };
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
        if (nIndex + 1 >= arguments.size()) {
            strError = strOption.rfind("-", 0) == 0 ? strOption + " needs a value" : "unexpected argument " + strOption;
            return std::nullopt;
        }
        const std::string& strValue = arguments[++nIndex];
        int nValue = 0;
        if (const auto target = intOptions.find(strOption); target != intOptions.end()) {
            if (!ParseInt(strValue, nValue)) {
                strError = strOption + " needs a whole number, not \"" + strValue + "\"";
                return std::nullopt;
            }
            command.*(target->second) = nValue;
        } else if (strOption == "--frame-rate") {
            if (!ParseFrameRate(strValue, nValue)) {
                strError = "--frame-rate needs a rate such as 25 or 29.97, not \"" + strValue + "\"";
                return std::nullopt;
            }
            command.frameRate = nValue;
        } else if (strOption == "--target") {
            if (!ParseTarget(strValue, command.target)) {
                strError = "--target is vcd, svcd or dvd, not \"" + strValue + "\"";
                return std::nullopt;
            }
        } else if (strOption == "-o") {
            command.strOutput = strValue;
        } else if (strOption == "--type") {
            if (strValue != "mpeg1" && strValue != "mpeg2" && strValue != "avi") {
                strError = "--type is mpeg1, mpeg2 or avi, not \"" + strValue + "\"";
                return std::nullopt;
            }
            command.strType = strValue;
        } else if (strOption == "--video-device") {
            command.strVideoDevice = strValue;
        } else if (strOption == "--audio-device") {
            command.strAudioDevice = strValue;
        } else if (strOption == "--video-compressor") {
            command.strVideoCompressor = strValue;
        } else if (strOption == "--audio-compressor") {
            command.strAudioCompressor = strValue;
        } else if (strOption == "--size") {
            if (!ParsePair(strValue, 'x', command.nWidth, command.nHeight)) {
                strError = "--size needs WIDTHxHEIGHT, not \"" + strValue + "\"";
                return std::nullopt;
            }
        } else if (strOption == "--aspect") {
            if (!ParsePair(strValue, ':', command.nAspectWidth, command.nAspectHeight)) {
                strError = "--aspect needs WIDTH:HEIGHT such as 16:9, not \"" + strValue + "\"";
                return std::nullopt;
            }
        } else if (strOption == "--frame") {
            if (!ParseInt(strValue, command.nFrame) || command.nFrame < 0) {
                strError = "--frame needs a picture number (0 for none)";
                return std::nullopt;
            }
        } else if (strOption == "--duration") {
            try {
                std::size_t nUsed = 0;
                command.dDurationSeconds = std::stod(strValue, &nUsed);
                if (nUsed != strValue.size() || command.dDurationSeconds <= 0)
                    throw std::invalid_argument(strValue);
            } catch (const std::exception&) {
                strError = "--duration needs a positive number of seconds, not \"" + strValue + "\"";
                return std::nullopt;
            }
        } else {
            strError = "unknown option " + strOption;
            return std::nullopt;
        }
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
