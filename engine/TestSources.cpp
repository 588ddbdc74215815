#include "engine/TestSources.h"

extern "C" {
#include <libavutil/mathematics.h>
}

namespace {

constexpr std::int64_t MICROSECONDS = 1000000;
constexpr std::int64_t PARTS_PER_MILLION = 1000000;
constexpr int IDLE_TONE_HZ = 440;
constexpr int BURST_TONE_HZ = 1000;
// A burst lasts a twentieth of a second, at half of full scale.
constexpr int BURST_FRACTION_OF_SECOND = 20;
constexpr const char* BURST_AMPLITUDE = "0.5";

// Tone samples per second of the recording clock, times a million, so the
// skew stays a whole number.
std::int64_t ScaledDeliveryRate(int nSampleRate, int nClockSkewPpm)
{
    return static_cast<std::int64_t>(nSampleRate) * (PARTS_PER_MILLION + nClockSkewPpm);
}

std::string RatioText(AVRational ratio)
{
    return std::to_string(ratio.num) + "/" + std::to_string(ratio.den);
}

} // namespace

std::string TestPatternGraph(const CTestPatternPicture& picture, bool bSyncMarks, bool bSquare)
{
    const AVRational frameRate = picture.frameRate;
    const std::string strPicture = "size=" + std::to_string(picture.nWidth) + "x" + std::to_string(picture.nHeight)
        + ":rate=" + RatioText(frameRate) + ":sar=" + RatioText(picture.pixelAspect);
    // drawbox's sar is the picture's pixel shape: a box ih/2/sar pixels wide
    // shows as wide as it is high.
    std::string strGraph = bSquare ? "color=color=gray:" + strPicture
            + ",drawbox=color=white:thickness=fill:w=ih/2/sar:h=ih/2:x=(iw-ih/2/sar)/2:y=ih/4"
                                   : "testsrc2=" + strPicture;
    if (!bSyncMarks)
        return strGraph;
    // Frame n starts at n * den / num seconds; it is the one nearest to a
    // whole second k when n * den lies within den / 2 of k * num. The
    // products stay whole numbers, exact in the expression's doubles.
    const std::string strDen = std::to_string(frameRate.den);
    strGraph += ",drawbox=color=white:thickness=fill:enable='lt(mod(n*" + strDen + "+"
        + std::to_string(frameRate.den / 2) + "," + std::to_string(frameRate.num) + ")," + strDen + ")'";
    return strGraph;
}

std::string TestToneGraph(int nSampleRate, bool bSyncMarks, int nClockSkewPpm)
{
    const std::string strRate = std::to_string(nSampleRate);
    if (!bSyncMarks)
        return "sine=frequency=" + std::to_string(IDLE_TONE_HZ) + ":sample_rate=" + strRate;
    // Sample n sounds at n * 1e6 / q seconds of the recording clock, q being
    // the scaled delivery rate; the remainder of n * 1e6 by q is its place
    // within that second, a whole number however long the recording runs.
    const std::string strScaledRate = std::to_string(ScaledDeliveryRate(nSampleRate, nClockSkewPpm));
    const std::string strPlace = "mod(n*" + std::to_string(PARTS_PER_MILLION) + "," + strScaledRate + ")";
    return "aevalsrc=exprs='if(lt(" + strPlace + "*" + std::to_string(BURST_FRACTION_OF_SECOND) + "," + strScaledRate
        + ")," + BURST_AMPLITUDE + "*sin(2*PI*" + std::to_string(BURST_TONE_HZ) + "*" + strPlace + "/" + strScaledRate
        + "),0)':sample_rate=" + strRate + ":channel_layout=mono";
}

std::int64_t TestToneRecordingTimeUs(std::int64_t nSample, int nSampleRate, int nClockSkewPpm)
{
    return av_rescale(nSample, MICROSECONDS * PARTS_PER_MILLION, ScaledDeliveryRate(nSampleRate, nClockSkewPpm));
}
