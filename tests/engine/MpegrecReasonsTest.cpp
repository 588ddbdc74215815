#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ProfileLimits.h"
#include "tools/mpegrec/CommandLine.h"
#include "tools/mpegrec/FailureReasons.h"

namespace {

TEST(MpegrecReasons, FfmpegOptionsBecomeMpegrecsOrAreLeftOut)
{
    struct CReasonCase
    {
        const char* pszFfmpeg;
        const char* pszMpegrec;
    } const cases[] = {
        // Messages of FFmpeg's encoders, as the engine quotes them.
        { "sonic refuses the settings: The encoder 'sonic' is experimental but experimental codecs are not "
          "enabled, add '-strict -2' if you want to use it.",
          "sonic refuses the settings: The encoder 'sonic' is experimental but experimental codecs are not "
          "enabled." },
        { "mjpeg refuses the settings: Non full-range YUV is non-standard, set strict_std_compliance to at most "
          "unofficial to use it.",
          "mjpeg refuses the settings: Non full-range YUV is non-standard." },
        { "svq1 refuses the settings: Widths which are not a multiple of 4 might fail with some decoders, use "
          "vstrict=-1 / -strict -1 to use 250 anyway.",
          "svq1 refuses the settings: Widths which are not a multiple of 4 might fail with some decoders." },
        { "mpeg4 refuses the settings: Please set max_b_frames(-bf) to 0 to enable P-pyramid",
          "mpeg4 refuses the settings" },
        { "y4m refuses the settings: Unsupported pixel format, use -pix_fmt yuv420p. The size is fine.",
          "y4m refuses the settings: Unsupported pixel format. The size is fine." },
        // Options mpegrec has under its own names.
        { "x refuses the settings: the rate is too low, raise -b:v or lower -r, or set -ar 48000.",
          "x refuses the settings: the rate is too low, raise --video-bitrate or lower --frame-rate, or set "
          "--sample-rate 48000." },
        // Nothing to change: numbers, hyphenated words, an abbreviation.
        { "h263 refuses the settings: The specified picture size of 720x480 is not valid for the H.263 codec.\n"
          "Valid sizes are 128x96, 176x144, 352x288, 704x576, and 1408x1152. Try H.263+.",
          "h263 refuses the settings: The specified picture size of 720x480 is not valid for the H.263 codec.\n"
          "Valid sizes are 128x96, 176x144, 352x288, 704x576, and 1408x1152. Try H.263+." },
        { "a video bitrate of -5 bit/s is non-standard", "a video bitrate of -5 bit/s is non-standard" },
    };
    for (const CReasonCase& reason : cases) {
        SCOPED_TRACE(reason.pszFfmpeg);
        EXPECT_EQ(InMpegrecTerms(reason.pszFfmpeg), reason.pszMpegrec);
    }
}

TEST(MpegrecReasons, OnlyEncoderRefusalsAreTranslated)
{
    const std::string strFileReason = "cannot open /tmp/a -b/x.mpg: No such file or directory";
    EXPECT_EQ(DescribeStartFailure(EFailure::eOutputFile, strFileReason), "cannot start: " + strFileReason);
    EXPECT_EQ(DescribeStartFailure(EFailure::eEncoderSettings, "refused, add -strict -2"), "cannot start: refused.");
}

// Each end of a range is taken, one beyond it refused with the range named.
TEST(MpegrecReasons, OptionsBeyondTheirRangesAreRefusedNamingTheRange)
{
    struct CRangeCase
    {
        const char* pszOption;
        CValueRange range;
        std::vector<std::string> others;
    } const cases[] = {
        { "--video-bitrate", VIDEO_BITRATE_RANGE, {} },
        { "--audio-bitrate", AUDIO_BITRATE_RANGE, {} },
        { "--sample-rate", SAMPLE_RATE_RANGE, { "--type", "avi", "--audio-compressor", "pcm_s16le" } },
        { "--channels", AUDIO_CHANNELS_RANGE, {} },
        { "--audio-offset", AUDIO_OFFSET_RANGE, {} },
        { "--clock-skew", CLOCK_SKEW_RANGE, {} },
        { "--frame-rate", AVI_FRAME_RATE_RANGE, { "--type", "avi" } },
    };
    for (const CRangeCase& rangeCase : cases) {
        for (const int nValue : { rangeCase.range.nMinimum - 1, rangeCase.range.nMinimum, rangeCase.range.nMaximum,
                                  rangeCase.range.nMaximum + 1 }) {
            const std::string strValue = std::to_string(nValue);
            SCOPED_TRACE(std::string(rangeCase.pszOption) + " " + strValue);
            std::vector<std::string> arguments = { "-o", "x.mpg", rangeCase.pszOption, strValue };
            arguments.insert(arguments.end(), rangeCase.others.begin(), rangeCase.others.end());
            std::string strError;
            const bool bTaken = ParseCommandLine(arguments, strError).has_value();
            EXPECT_EQ(bTaken, rangeCase.range.Contains(nValue)) << strError;
            if (!bTaken) {
                EXPECT_EQ(strError.rfind(std::string(rangeCase.pszOption) + " " + strValue + ": ", 0), 0u) << strError;
                EXPECT_NE(strError.find(RangeText(rangeCase.range)), std::string::npos) << strError;
            }
        }
    }
    const std::string strSides = RangeText(PICTURE_SIDE_RANGE);
    for (const char* pszSize : { "15x480", "720x8193" }) {
        std::string strError;
        EXPECT_FALSE(ParseCommandLine({ "-o", "x.mpg", "--size", pszSize }, strError)) << pszSize;
        EXPECT_NE(strError.find(strSides), std::string::npos) << strError;
    }
}

TEST(MpegrecReasons, ValueErrorsQuoteTheOptionAsWritten)
{
    struct CParseCase
    {
        std::vector<std::string> arguments;
        const char* pszStart;
    } const cases[] = {
        { { "--bogus" }, "unknown option --bogus" },
        { { "-o", "x.mpg", "--bogus", "1" }, "unknown option --bogus" },
        { { "-o", "x.mpg", "stray" }, "unexpected argument stray" },
        { { "-o", "x.mpg", "--video-bitrate" }, "--video-bitrate needs a value" },
        { { "-o", "x.mpg", "--video-bitrate", "9x" }, "--video-bitrate 9x: " },
        { { "-o", "x.mpg", "--audio-bitrate", "0" }, "--audio-bitrate 0: " },
        { { "-o", "x.mpg", "--video-bitrate", "4.6e6" }, "--video-bitrate 4.6e6: " },
        { { "-o", "x.mpg", "--size", "100000x20" }, "--size 100000x20: " },
        { { "-o", "x.mpg", "--frame-rate", "0" }, "--frame-rate 0: " },
        { { "-o", "x.mpg", "--frame", "-1" }, "--frame -1: " },
    };
    for (const CParseCase& parseCase : cases) {
        SCOPED_TRACE(parseCase.pszStart);
        std::string strError;
        EXPECT_FALSE(ParseCommandLine(parseCase.arguments, strError));
        EXPECT_EQ(strError.rfind(parseCase.pszStart, 0), 0u) << strError;
    }
}

} // namespace
