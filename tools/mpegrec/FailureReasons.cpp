#include "tools/mpegrec/FailureReasons.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/mpegrec/MpegrecText.h"

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

bool IsNameCharacter(char cCharacter)
{
    return (cCharacter >= 'a' && cCharacter <= 'z') || (cCharacter >= '0' && cCharacter <= '9') || cCharacter == '_';
}

struct COptionMention
{
    std::size_t nPosition;
    std::string strOption;
};

// The options a text mentions: a dash and a name after a space, quote or
// bracket, "-strict", "-b:v" ("-5" and "non-standard" are none).
std::vector<COptionMention> FindOptionMentions(const std::string& strText)
{
    constexpr std::string_view OPTION_OPENERS = " \t\n'\"(";
    std::vector<COptionMention> mentions;
    for (std::size_t nDash = strText.find('-'); nDash != std::string::npos; nDash = strText.find('-', nDash + 1)) {
        if ((nDash > 0 && OPTION_OPENERS.find(strText[nDash - 1]) == std::string_view::npos)
            || nDash + 1 >= strText.size() || strText[nDash + 1] < 'a' || strText[nDash + 1] > 'z')
            continue;
        std::size_t nEnd = nDash + 1;
        while (nEnd < strText.size() && IsNameCharacter(strText[nEnd]))
            ++nEnd;
        // A stream suffix: "-b:v", "-b:a".
        if (nEnd + 1 < strText.size() && strText[nEnd] == ':' && (strText[nEnd + 1] == 'a' || strText[nEnd + 1] == 'v'))
            nEnd += 2;
        if (nEnd < strText.size() && (IsNameCharacter(strText[nEnd]) || strText[nEnd] == ':'))
            continue;
        mentions.push_back({ nDash, strText.substr(nDash, nEnd - nDash) });
    }
    return mentions;
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

// The separator that starts at nPosition, or nothing: a comma or semicolon
// and its space, a full stop or exclamation mark before white space or the
// end ("H.263" goes on) with that space, a line break.
std::size_t SeparatorLength(const std::string& strText, std::size_t nPosition)
{
    if (strText.compare(nPosition, 2, ", ") == 0 || strText.compare(nPosition, 2, "; ") == 0)
        return 2;
    if (strText[nPosition] == '\n')
        return 1;
    if (strText[nPosition] != '.' && strText[nPosition] != '!')
        return 0;
    std::size_t nEnd = nPosition + 1;
    while (nEnd < strText.size() && std::isspace(static_cast<unsigned char>(strText[nEnd])))
        ++nEnd;
    return nEnd == nPosition + 1 && nEnd < strText.size() ? 0 : nEnd - nPosition;
}

// Splits after each separator, keeping it, so that the clauses put back
// together read as before.
std::vector<CClause> SplitClauses(const std::string& strText)
{
    std::vector<CClause> clauses;
    std::size_t nStart = 0;
    for (std::size_t nPosition = 0; nPosition < strText.size(); ++nPosition) {
        const std::size_t nLength = SeparatorLength(strText, nPosition);
        if (nLength == 0)
            continue;
        clauses.push_back({ strText.substr(nStart, nPosition - nStart), strText.substr(nPosition, nLength) });
        nStart = nPosition + nLength;
        nPosition = nStart - 1;
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
    for (const COptionMention& mention : FindOptionMentions(strClause)) {
        if (!MpegrecOption(mention.strOption))
            nFirst = std::min(nFirst, mention.nPosition);
    }
    return nFirst;
}

std::string RenameOptions(const std::string& strClause)
{
    std::string strRenamed;
    std::size_t nCopied = 0;
    for (const COptionMention& mention : FindOptionMentions(strClause)) {
        strRenamed += strClause.substr(nCopied, mention.nPosition - nCopied) + MpegrecOption(mention.strOption);
        nCopied = mention.nPosition + mention.strOption.size();
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

std::string DescribeStartFailure(EFailure eCause, const std::string& strReason)
{
    // Only an encoder's refusal quotes FFmpeg's log; other reasons may hold
    // a file name, which is left as it is.
    return Say(QT_TRANSLATE_NOOP("CMpegrec", "cannot start: %1"),
               eCause == EFailure::eEncoderSettings ? InMpegrecTerms(strReason) : strReason);
}
