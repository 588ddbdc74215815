#pragma once

#include <string>
#include <vector>

#include "engine/TestSources.h"

// The values a recording can use, whatever its format: beyond them no file
// comes out right (a picture narrower than a macroblock, an audio offset
// longer than most recordings). The settings dialogs take only these, and
// mpegrec refuses its options beyond them; the format's own rules (MPEG
// audio's bit rates, a disc's limits) are checked on top at Start.
struct CValueRange
{
    int nMinimum;
    int nMaximum;
    const char* pszUnit;

    constexpr bool Contains(int nValue) const { return nValue >= nMinimum && nValue <= nMaximum; }
};

inline constexpr CValueRange VIDEO_BITRATE_RANGE { 100000, 100000000, "bit/s" };
// From the lowest rate of MPEG audio at half sample rates to the highest of AC-3.
inline constexpr CValueRange AUDIO_BITRATE_RANGE { 8000, 640000, "bit/s" };
inline constexpr CValueRange SAMPLE_RATE_RANGE { 8000, 192000, "Hz" };
inline constexpr CValueRange AUDIO_CHANNELS_RANGE { 1, 8, "channels" };
// A macroblock at least; MPEG-2's largest level codes 1920x1152, screens go
// further.
inline constexpr CValueRange PICTURE_SIDE_RANGE { 16, 8192, "pixels" };
// Ten seconds either way is far beyond any device's delay; a positive offset
// plays the audio later.
inline constexpr CValueRange AUDIO_OFFSET_RANGE { -10000, 10000, "ms" };
// Whole frames a second of an AVI file; MPEG takes only its own rates.
inline constexpr CValueRange AVI_FRAME_RATE_RANGE { 1, 120, "frames/s" };
inline constexpr CValueRange CLOCK_SKEW_RANGE { -MAX_TEST_CLOCK_SKEW_PPM, MAX_TEST_CLOCK_SKEW_PPM, "ppm" };

// "100000 to 100000000 bit/s".
std::string RangeText(const CValueRange& range);

// The encoder of an MPEG file's audio, whichever the output type.
inline constexpr const char* MPEG_AUDIO_ENCODER = "mp2";

// The sample rates an FFmpeg encoder codes, lowest first; empty when it
// takes any (PCM) or is unknown.
std::vector<int> EncoderSampleRates(const std::string& strEncoder);

// Whether an MPEG file carries the profile's frame rate code (23, 24, 25,
// 29, 30, 50, 59 or 60).
bool IsMpegFrameRate(int nCode);
