#include "recorder/EngineWords.h"

#include <iterator>
#include <vector>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace EngineWords {

namespace {

// The context of the engine's words in the catalogue.
class CEngineWords
{
    Q_DECLARE_TR_FUNCTIONS(CEngineWords)
};

// The units of engine/ProfileLimits.h, marked for the catalogue.
[[maybe_unused]] constexpr const char* RANGE_UNITS[] = {
    QT_TRANSLATE_NOOP("CEngineWords", "bit/s"),    QT_TRANSLATE_NOOP("CEngineWords", "Hz"),
    QT_TRANSLATE_NOOP("CEngineWords", "channels"), QT_TRANSLATE_NOOP("CEngineWords", "pixels"),
    QT_TRANSLATE_NOOP("CEngineWords", "ms"),       QT_TRANSLATE_NOOP("CEngineWords", "frames/s"),
};

// One shape of the engine's sentences (engine/DiscStandard.cpp words them)
// and its translatable source, whose %1, %2 are the captured parts. The
// parts are read again through the table, so a reason's "needs 32000 to
// 384000" or "4:3 or 16:9" is translated too.
struct CPhrase
{
    const char* pszPattern;
    const char* pszSource;
};

// The more particular shape first: "video and audio" before "video".
const CPhrase PHRASES[] = {
    { R"(^Meets (\S+) \(record as (\S+)\)\.$)", QT_TRANSLATE_NOOP("CEngineWords", "Meets %1 (record as %2).") },
    { R"(^an AVI file, needs an MPEG program stream$)",
      QT_TRANSLATE_NOOP("CEngineWords", "an AVI file, needs an MPEG program stream") },
    { R"(^(MPEG-\d) video, needs (MPEG-\d)$)", QT_TRANSLATE_NOOP("CEngineWords", "%1 video, needs %2") },
    { R"(^(\S+) frames/s, needs 25 or 29\.97$)", QT_TRANSLATE_NOOP("CEngineWords", "%1 frames/s, needs 25 or 29.97") },
    { R"(^picture (\S+), needs (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "picture %1, needs %2") },
    { R"(^(\d+:\d+) picture, needs (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "%1 picture, needs %2") },
    { R"(^video and audio (\d+) bit/s together, needs at most (\d+)$)",
      QT_TRANSLATE_NOOP("CEngineWords", "video and audio %1 bit/s together, needs at most %2") },
    { R"(^video (\d+) bit/s, (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "video %1 bit/s, %2") },
    { R"(^audio (\d+) bit/s, (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "audio %1 bit/s, %2") },
    { R"(^(\S+) kHz audio, needs (\S+) kHz$)", QT_TRANSLATE_NOOP("CEngineWords", "%1 kHz audio, needs %2 kHz") },
    { R"(^1 audio channel, needs (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "1 audio channel, needs %1") },
    { R"(^(\d+) audio channels, needs (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "%1 audio channels, needs %2") },
    { R"(^needs at most (\d+)$)", QT_TRANSLATE_NOOP("CEngineWords", "needs at most %1") },
    { R"(^needs (\d+) to (\d+)$)", QT_TRANSLATE_NOOP("CEngineWords", "needs %1 to %2") },
    { R"(^needs (\d+)$)", QT_TRANSLATE_NOOP("CEngineWords", "needs %1") },
    // The last of a list of choices: "352x288, 352x240 or 720x576".
    { R"(^(.+) or (.+)$)", QT_TRANSLATE_NOOP("CEngineWords", "%1 or %2") },
};

// The patterns, compiled once: the MPEG profile describes the discs again
// at every key typed.
const std::vector<QRegularExpression>& Patterns()
{
    static const std::vector<QRegularExpression> s_patterns = [] {
        std::vector<QRegularExpression> patterns;
        for (const CPhrase& phrase : PHRASES)
            patterns.emplace_back(QString::fromLatin1(phrase.pszPattern));
        return patterns;
    }();
    return s_patterns;
}

QString Phrase(const QString& strText)
{
    for (std::size_t nPhrase = 0; nPhrase < std::size(PHRASES); ++nPhrase) {
        const QRegularExpressionMatch match = Patterns()[nPhrase].match(strText);
        if (!match.hasMatch())
            continue;
        QString strTranslated = CEngineWords::tr(PHRASES[nPhrase].pszSource);
        // Each part is shorter than the whole, so the reading ends.
        for (int nPart = 1; nPart <= match.lastCapturedIndex(); ++nPart)
            strTranslated = strTranslated.arg(Phrase(match.captured(nPart)));
        return strTranslated;
    }
    return strText;
}

const QString REASON_SEPARATOR = QStringLiteral("; ");

QString Reasons(QStringList arrReasons)
{
    for (QString& strReason : arrReasons)
        strReason = Phrase(strReason);
    return arrReasons.join(REASON_SEPARATOR);
}

// "Not SVCD: reason; reason."
QString MissedStandard(const QString& strLine)
{
    static const QRegularExpression s_missed(QStringLiteral(R"(^Not (\S+): (.+)\.$)"));
    const QRegularExpressionMatch match = s_missed.match(strLine);
    if (!match.hasMatch())
        return Phrase(strLine);
    return CEngineWords::tr("Not %1: %2.", "a disc standard and why the values miss it")
        .arg(match.captured(1), Reasons(match.captured(2).split(REASON_SEPARATOR)));
}

} // namespace

QString Unit(const char* pszUnit)
{
    return CEngineWords::tr(pszUnit);
}

QString DiscStandards(const std::string& strDescription)
{
    QStringList arrLines = QString::fromStdString(strDescription).split(u'\n');
    for (QString& strLine : arrLines)
        strLine = MissedStandard(strLine);
    return arrLines.join(u'\n');
}

QString DiscShortfalls(const std::vector<std::string>& arrReasons)
{
    QStringList arrTexts;
    for (const std::string& strReason : arrReasons)
        arrTexts.append(QString::fromStdString(strReason));
    return Reasons(arrTexts);
}

} // namespace EngineWords
