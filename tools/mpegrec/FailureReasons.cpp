#include "tools/mpegrec/FailureReasons.h"

#include <regex>
#include <utility>
#include <vector>

namespace {

// Options of the ffmpeg command that FFmpeg's messages suggest, with
// mpegrec's for the same setting.
constexpr std::pair<const char*, const char*> FFMPEG_OPTIONS[] = {
    { "-b:v", "--video-bitrate" }, { "-b:a", "--audio-bitrate" }, { "-s", "--size" },        { "-r", "--frame-rate" },
    { "-ar", "--sample-rate" },    { "-ac", "--channels" },       { "-aspect", "--aspect" }, { "-t", "--duration" },
};
// Encoder settings the messages name without a dash; mpegrec sets neither.
constexpr const char* FFMPEG_SETTINGS[] = { "strict_std_compliance", "vstrict" };

const char* MpegrecOption(const std::string& strFfmpegOption)
{
    for (const auto& [pszFfmpeg, pszMpegrec] : FFMPEG_OPTIONS) {
        if (strFfmpegOption == pszFfmpeg)
            return pszMpegrec;
    }
    return nullptr;
}

// An option starts after a space, quote or bracket: "-strict", "-b:v".
const std::regex& FfmpegOptionPattern()
{
    static const std::regex s_option(R"((^|[\s'"(])(-[a-z][a-z0-9_]*(:[av])?)(?=$|[^a-z0-9_:]))");
    return s_option;
}

struct CClause
{
    std::string strText;
    std::string strSeparator; // ", ", "; ", ". ", "\n", ... or empty at the end
};

bool EndsSentence(const std::string& strSeparator)
{
    return strSeparator != ", " && strSeparator != "; ";
}

// Splits after each comma, semicolon, sentence end and line break, keeping
// the separators, so that text put back together reads as before.
std::vector<CClause> SplitClauses(const std::string& strText)
{
    // A full stop ends a sentence only before a space or the end ("H.263").
    static const std::regex s_separator(R"(, |; |[.!](\s+|$)|\n)");
    std::vector<CClause> clauses;
    std::size_t nStart = 0;
    for (auto match = std::sregex_iterator(strText.begin(), strText.end(), s_separator);
         match != std::sregex_iterator(); ++match) {
        const auto nPosition = static_cast<std::size_t>(match->position());
        clauses.push_back({ strText.substr(nStart, nPosition - nStart), match->str() });
        nStart = nPosition + static_cast<std::size_t>(match->length());
    }
    if (nStart < strText.size())
        clauses.push_back({ strText.substr(nStart), std::string() });
    return clauses;
}

// Where the clause names a setting mpegrec lacks; npos when it names none.
std::size_t FindForeignSetting(const std::string& strClause)
{
    std::size_t nFirst = std::string::npos;
    for (const char* pszSetting : FFMPEG_SETTINGS)
        nFirst = std::min(nFirst, strClause.find(pszSetting));
    for (auto match = std::sregex_iterator(strClause.begin(), strClause.end(), FfmpegOptionPattern());
         match != std::sregex_iterator(); ++match) {
        if (!MpegrecOption((*match)[2].str()))
            nFirst = std::min(nFirst, static_cast<std::size_t>(match->position(2)));
    }
    return nFirst;
}

std::string RenameOptions(const std::string& strClause)
{
    std::string strRenamed;
    std::size_t nCopied = 0;
    for (auto match = std::sregex_iterator(strClause.begin(), strClause.end(), FfmpegOptionPattern());
         match != std::sregex_iterator(); ++match) {
        const auto nPosition = static_cast<std::size_t>(match->position(2));
        strRenamed += strClause.substr(nCopied, nPosition - nCopied) + MpegrecOption((*match)[2].str());
        nCopied = nPosition + static_cast<std::size_t>(match->length(2));
    }
    return strRenamed + strClause.substr(nCopied);
}

} // namespace

std::string InMpegrecTerms(const std::string& strReason)
{
    std::vector<CClause> kept;
    for (CClause clause : SplitClauses(strReason)) {
        const std::size_t nForeign = FindForeignSetting(clause.strText);
        if (nForeign == std::string::npos) {
            clause.strText = RenameOptions(clause.strText);
            kept.push_back(std::move(clause));
            continue;
        }
        // "mpeg4 refuses the settings: Please set max_b_frames(-bf) to 0"
        // keeps what comes before the quoted message.
        const std::size_t nColon = clause.strText.rfind(": ", nForeign);
        if (nColon != std::string::npos) {
            kept.push_back({ clause.strText.substr(0, nColon), std::string() });
            continue;
        }
        // The clause before ends the sentence the dropped one ended.
        if (EndsSentence(clause.strSeparator) && !kept.empty() && !EndsSentence(kept.back().strSeparator))
            kept.back().strSeparator = clause.strSeparator.empty() || clause.strSeparator == "\n"
                ? "." + clause.strSeparator
                : clause.strSeparator;
    }
    std::string strText;
    for (const CClause& clause : kept)
        strText += clause.strText + clause.strSeparator;
    // A suggestion dropped at the end leaves the clause before it open.
    if (!kept.empty() && !EndsSentence(kept.back().strSeparator))
        strText.replace(strText.size() - kept.back().strSeparator.size(), std::string::npos, ".");
    return strText;
}

std::string DescribeStartFailure(EFailure eCause, const std::string& strReason, const CCommandLine& command)
{
    const auto given = command.givenValues.find("--frame-rate");
    if (eCause == EFailure::eFrameRate && given != command.givenValues.end() && command.strType != "avi")
        return "--frame-rate " + given->second + ": an MPEG file is recorded at " + MPEG_FRAME_RATES + " frames/s";
    // Only an encoder's refusal quotes FFmpeg's log; other reasons may hold
    // a file name, which is left as it is.
    return "cannot start: " + (eCause == EFailure::eEncoderSettings ? InMpegrecTerms(strReason) : strReason);
}
