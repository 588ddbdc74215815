#pragma once

#include <cstdint>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

// The built-in sources as lavfi graphs. With sync marks the picture turns
// white for the one frame nearest to each whole second of the recording
// clock and the tone sounds a 1 kHz burst of 50 ms at those instants,
// silence otherwise, so a file shows how far apart the streams ended up.
// A clock skew makes the tone run like a sound card whose crystal is off by
// that many parts per million: it delivers that much more (or less) than its
// nominal rate per second of the recording clock, its timestamps count
// samples at the nominal rate, and its bursts stay on the recording clock.

// Beyond this a sound card would not work at all; real ones are within 0.1 %.
inline constexpr int MAX_TEST_CLOCK_SKEW_PPM = 100000;

// The Test Pattern's picture: its size, the shape of its pixels and its rate.
struct CTestPatternPicture
{
    int nWidth = 0;
    int nHeight = 0;
    AVRational pixelAspect { 1, 1 };
    AVRational frameRate { 25, 1 };
};

// bSquare gives a picture a test can measure shapes in instead of FFmpeg's
// busy pattern: a white square, half the picture high and square as shown,
// in the middle of mid grey.
std::string TestPatternGraph(const CTestPatternPicture& picture, bool bSyncMarks, bool bSquare);
std::string TestToneGraph(int nSampleRate, bool bSyncMarks, int nClockSkewPpm);

// Recording-clock time of the tone's sample with that number, counted
// exactly from the sample number so that no rounding builds up over hours.
std::int64_t TestToneRecordingTimeUs(std::int64_t nSample, int nSampleRate, int nClockSkewPpm);
