#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/engine/MediaProbe.h"
#include "version/ProjectVersion.h"

namespace {

const QString MPEGREC = MPEGREC_PATH;
const QString SYNCPROBE = SYNCPROBE_PATH;

// A picture at the 23.976 pictures a second mpegrec records by default.
constexpr double FILM_FRAME_SECONDS = 1001.0 / 24000;

} // namespace

TEST(Syncprobe, AnswersHelpAndVersion)
{
    struct COptionCase
    {
        const char* pszOption;
        QByteArray expectedStart;
    } const cases[] = {
        { "--help", "usage: syncprobe FILE\n" },
        { "--version", QByteArray("syncprobe (SkinRecorder) ") + SKINREC_VERSION + "\n" },
    };
    for (const COptionCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszOption);
        int nExitCode = -1;
        const QByteArray output = RunProgram(SYNCPROBE, { testCase.pszOption }, &nExitCode);
        EXPECT_EQ(nExitCode, 0);
        EXPECT_TRUE(output.startsWith(testCase.expectedStart)) << output.toStdString();
    }
}

// At 23.976 pictures a second each flash lies on the picture nearest its
// second, up to half a picture off, so the offset it measures jumps by a
// picture every 42 seconds while the skew moves it steadily.
TEST(Syncprobe, KeepsItsMarksAtTheFilmRate)
{
    struct CDriftCase
    {
        const char* pszSkewPpm;
        double dDriftPerSecond;
    } const cases[] = {
        { "20000", 0.02 },
        { "-20000", -0.02 },
    };
    constexpr int SECONDS = 30;
    const QTemporaryDir folder;
    const QString strFile = folder.filePath("drift.mpg");
    for (const CDriftCase& testCase : cases) {
        SCOPED_TRACE(std::string("skew ") + testCase.pszSkewPpm);
        int nExitCode = -1;
        QByteArray errors;
        RunProgram(MPEGREC,
                   { "-o", strFile, "--fast", "--type", "mpeg1", "--size", "176x144", "--video-bitrate", "400000",
                     "--sync-mode", "0", "--sync-marks", "--clock-skew", testCase.pszSkewPpm, "--duration",
                     QString::number(SECONDS) },
                   &nExitCode, &errors);
        ASSERT_EQ(nExitCode, 0) << errors.toStdString();
        const QByteArray output = RunProgram(SYNCPROBE, { strFile }, &nExitCode, &errors);
        ASSERT_EQ(nExitCode, 0) << errors.toStdString();
        std::map<std::string, double> report = ParseNameValueLines(output);
        // The marks at either end may be cut by the start or the end of the
        // recording; a probe that loses its marks pairs about two in three.
        EXPECT_GE(report["pairs"], report["flashes"] - 2) << output.toStdString();
        EXPECT_GE(report["pairs"], SECONDS - 2) << output.toStdString();
        // The tone's samples are recorded as they come, so its bursts fall
        // behind (or ahead of) the flashes by the skew: 0.6 s after 30 s.
        for (const char* pszPlace : { "middle", "end" }) {
            SCOPED_TRACE(pszPlace);
            const double dSeconds = report[pszPlace + std::string("-at")] - report["start-at"];
            const double dExpectedMs = (report["start-ms"] / 1000 + dSeconds * testCase.dDriftPerSecond) * 1000;
            EXPECT_NEAR(report[pszPlace + std::string("-ms")], dExpectedMs, FILM_FRAME_SECONDS * 1000);
        }
        EXPECT_GE(report["end-at"] - report["start-at"], SECONDS - 2);
    }
}
