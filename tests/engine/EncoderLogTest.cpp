#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <libavutil/log.h>
}

#include "engine/DiscStandard.h"
#include "engine/FfmpegLog.h"
#include "engine/SessionState.h"
#include "engine/VideoStage.h"
#include "tests/engine/MediaProbe.h"

namespace {

// Sends this process's standard error into a file while it lives.
class CCapturedStandardError
{
public:
    explicit CCapturedStandardError(const std::string& strFile)
        : m_strFile(strFile)
    {
        std::fflush(stderr);
        m_nSaved = dup(STDERR_FILENO);
        const int nFile = open(strFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(nFile, STDERR_FILENO);
        close(nFile);
    }
    ~CCapturedStandardError() { Restore(); }

    // What was written, once given back.
    std::string Restore()
    {
        if (m_nSaved >= 0) {
            std::fflush(stderr);
            dup2(m_nSaved, STDERR_FILENO);
            close(m_nSaved);
            m_nSaved = -1;
        }
        std::ifstream file(m_strFile);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::string m_strFile;
    int m_nSaved = -1;
};

} // namespace

// FFmpeg's encoders chatter on every start ("VBV buffer size not set",
// "clipping 1 dct coefficients"): none of it reaches the terminal, and the
// sink hears it only at the level asked for.
TEST(FfmpegLog, EncoderChatterReachesOnlyTheSinkAndOnlyWhenAsked)
{
    struct CLevelCase
    {
        int nLevel;
        bool bLinesExpected;
    } const cases[] = { { AV_LOG_QUIET, false }, { AV_LOG_INFO, true } };
    const QTemporaryDir folder;
    std::mutex linesMutex;
    std::vector<std::string> lines;
    SetFfmpegLogSink([&](ELogLevel, const std::string& strLine) {
        std::lock_guard lock(linesMutex);
        lines.push_back(strLine);
    });
    for (const CLevelCase& testCase : cases) {
        SCOPED_TRACE(testCase.nLevel);
        lines.clear();
        CRecorder recorder; // installs the engine's log handler
        SetFfmpegLogLevel(testCase.nLevel);
        CRecordingRequest request;
        request.nOutputType = OUTPUT_TYPE_MPEG1; // the plain MPEG-1 stream sets no buffer size
        request.nWidth = 720;
        request.nHeight = 480;
        request.dSeconds = 0.5;
        ASSERT_TRUE(ConfigureRecorder(recorder, request, folder.filePath("log.mpg").toStdString()));
        CCapturedStandardError standardError(folder.filePath("stderr.txt").toStdString());
        const ::testing::AssertionResult recorded = RecordToTheEnd(recorder);
        EXPECT_EQ(standardError.Restore(), "");
        ASSERT_TRUE(recorded);
        std::lock_guard lock(linesMutex);
        EXPECT_EQ(!lines.empty(), testCase.bLinesExpected) << (lines.empty() ? "" : lines.front());
    }
    SetFfmpegLogLevel(AV_LOG_QUIET);
    SetFfmpegLogSink({});
}

TEST(FfmpegLog, LevelsReadAsFfmpegNamesThem)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        { "warning", AV_LOG_WARNING }, { "debug", AV_LOG_DEBUG }, { "quiet", AV_LOG_QUIET }, { "32", AV_LOG_INFO },
        { "loud", std::nullopt },      { "", std::nullopt },      { "24x", std::nullopt },   { "-9", std::nullopt },
    };
    for (const auto& [pszValue, expected] : cases) {
        SCOPED_TRACE(pszValue);
        EXPECT_EQ(ParseFfmpegLogLevel(pszValue), expected);
    }
}

// Best raised MPEG-1 to 2.5 Mbit/s, below the default profile's 4.6, and
// coded MPEG-2 with its average at the DVD peak, which the encoder's rate
// control cannot keep within the player's buffer.
TEST(RateControl, BestNeverLowersTheRateAndKeepsTheBuffer)
{
    struct CRateCase
    {
        const char* pszName;
        int nOutputType;
        int nProfileRate;
        bool bBest;
        bool bDvd;
        std::int64_t nCodedRate;
        bool bConstantRate;
    } const cases[] = {
        { "default MPEG-1, Good", OUTPUT_TYPE_MPEG1, 4600000, false, false, 4600000, false },
        { "default MPEG-1, Best", OUTPUT_TYPE_MPEG1, 4600000, true, false, 4600000, false },
        { "low MPEG-1, Best", OUTPUT_TYPE_MPEG1, 1500000, true, false, 2500000, false },
        { "DVD, Good", OUTPUT_TYPE_MPEG2, 6000000, false, true, 6000000, false },
        { "DVD at its peak, Good", OUTPUT_TYPE_MPEG2, 9000000, false, true, 9000000, true },
        { "DVD, Best", OUTPUT_TYPE_MPEG2, 6000000, true, true, 9000000, true },
    };
    for (const CRateCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        CRecordingSettings settings;
        if (testCase.bDvd)
            ApplyDiscStandard(settings, EDiscStandard::eDvd, ETvNorm::ePal);
        settings.nOutputType = testCase.nOutputType;
        settings.nVideoBitrate = testCase.nProfileRate;
        settings.bBestQuality = testCase.bBest;
        settings.frameRate = testCase.bDvd ? AVRational { 25, 1 } : AVRational { 24000, 1001 };
        settings.strVideoEncoder = testCase.nOutputType == OUTPUT_TYPE_MPEG1 ? "mpeg1video" : "mpeg2video";
        CSessionState state;
        CVideoStage stage(settings, state, nullptr, 0, 0);
        std::string strReason;
        ASSERT_TRUE(stage.OpenEncoder(strReason)) << strReason;
        const AVCodecContext* pEncoder = stage.Encoder();
        EXPECT_EQ(pEncoder->bit_rate, testCase.nCodedRate);
        EXPECT_EQ(pEncoder->rc_max_rate > 0 && pEncoder->rc_min_rate == pEncoder->rc_max_rate, testCase.bConstantRate);
        if (pEncoder->rc_max_rate > 0 && !testCase.bConstantRate) {
            EXPECT_LT(pEncoder->bit_rate, pEncoder->rc_max_rate) << "room for the rate to vary";
        }
    }
}
