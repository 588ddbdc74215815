#include "CommandLine.h"

#include <charconv>
#include <functional>
#include <map>
#include <stdexcept>

const char* const MPEGREC_USAGE =
    "usage: mpegrec --list\n"
    "       mpegrec -o FILE [--type mpeg1|mpeg2|avi] [--video-device NAME] [--audio-device NAME]\n"
    "               [--frame-rate N] [--size WxH] [--aspect W:H] [--video-bitrate N] [--audio-bitrate N]\n"
    "               [--sample-rate N] [--channels N] [--sync-mode 0|1|2] [--audio-offset MS]\n"
    "               [--frame N] [--duration SECONDS] [--fast] [--sync-marks] [--clock-skew PPM]\n"
    "               [--video-compressor NAME] [--audio-compressor NAME] [--no-audio|--no-video]\n"
    "The compressors (an encoder name such as mpeg4 or pcm_s16le, see --list) and\n"
    "--no-audio/--no-video apply to --type avi.\n"
    "--aspect is the shape the picture is shown at (4:3 unless given; 16:9 for wide).\n"
    "--sync-marks makes the Test Pattern flash white and the Test Tone beep (1 kHz, 50 ms) at\n"
    "every whole second; --clock-skew makes the Test Tone's clock run fast (positive) or\n"
    "slow (negative) by PPM parts per million, as a sound card's crystal may.\n"
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

} // namespace

std::optional<CCommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& strError)
{
    CCommandLine command;
    using CIntTarget = std::optional<int> CCommandLine::*;
    const std::map<std::string, CIntTarget> intOptions = {
        { "--frame-rate", &CCommandLine::frameRate },       { "--video-bitrate", &CCommandLine::videoBitrate },
        { "--audio-bitrate", &CCommandLine::audioBitrate }, { "--sample-rate", &CCommandLine::sampleRate },
        { "--channels", &CCommandLine::channels },          { "--sync-mode", &CCommandLine::syncMode },
        { "--audio-offset", &CCommandLine::audioOffsetMs }, { "--clock-skew", &CCommandLine::clockSkewPpm },
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
