#include <gtest/gtest.h>

#include <QRegularExpression>

#include "recorder/Encorda.h"
#include "recorder/FailureText.h"
#include "tests/common/GermanCatalogues.h"

namespace {

// What the engine says in English and the recorder shows in the user's
// language: the disc line of the MPEG profile, a reason at a time. A
// reason the translation table no longer knows, after the engine's words
// changed, leaves English among the German.
TEST(GermanWords, DiscLinesLeaveNoEnglish)
{
    const CGermanCatalogues catalogues({ "skinrec_recorder" });
    ASSERT_TRUE(catalogues.Missing().isEmpty());
    static const QRegularExpression s_english(
        QStringLiteral(R"(\b(needs|picture|video|audio|Meets|Not|or|together|channels?|most|to|record)\b)"));
    const struct
    {
        const char* pszValues;
        CEncorda::CMpegValues values;
        const char* pszFirstLine;
    } cases[] = {
        { "VCD", { 25, 352, 288, 1150000, 224000, 44100, 2, false }, "VCD-konform (als MPEG-1 aufnehmen)." },
        { "NTSC DVD", { 29, 720, 480, 6000000, 224000, 48000, 2, false }, nullptr },
        { "wide and off every disc",
          { 30, 640, 480, 8000000, 64000, 32000, 1, true },
          "Nicht VCD-konform: 30 Bilder/s, erfordert 25 oder 29.97; Bildgröße 640x480, erfordert 352x288 oder "
          "352x240; Seitenverhältnis 16:9, erfordert 4:3; Video 8000000 bit/s, erfordert 1150000; Audio mit 32 kHz, "
          "erfordert 44.1 kHz; Audio 64000 bit/s, erfordert 224000; 1 Audiokanal, erfordert 2." },
        { "film rate, surround", { 23, 720, 576, 1000000, 500000, 48000, 6, false }, nullptr },
    };
    for (const auto& valuesCase : cases) {
        SCOPED_TRACE(valuesCase.pszValues);
        const QString strLines = CEncorda::DescribeDiscStandards(valuesCase.values);
        EXPECT_FALSE(s_english.match(strLines).hasMatch()) << strLines.toStdString();
        if (valuesCase.pszFirstLine) {
            EXPECT_EQ(strLines.section(u'\n', 0, 0).toStdString(), valuesCase.pszFirstLine);
        }
    }
}

// The headline of each kind of failure, the old compressor headline too.
TEST(GermanWords, FailureHeadlinesAreGerman)
{
    const CGermanCatalogues catalogues({ "skinrec_recorder" });
    ASSERT_TRUE(catalogues.Missing().isEmpty());
    const struct
    {
        EFailure eCause;
        const char* pszHeadline;
    } cases[] = {
        { EFailure::eDiskFull, "Aufnahmefehler, der Datenträger ist voll" },
        { EFailure::eDeviceStalled, "Aufnahmefehler, die Video- oder Audioquelle liefert nichts mehr" },
        { EFailure::eEncoderSettings,
          "Aufnahmefehler, Video-/Audiokompressor ungeeignet oder Aufnahmedatei lässt sich nicht öffnen" },
    };
    for (const auto& failureCase : cases) {
        SCOPED_TRACE(failureCase.pszHeadline);
        EXPECT_EQ(FailureHeadline(failureCase.eCause).toStdString(), failureCase.pszHeadline);
    }
}

} // namespace
