#pragma once

extern "C" {
#include <libavutil/frame.h>
}

// The level the meter shows for complete silence (and for sample formats it
// cannot read).
inline constexpr double SILENCE_DBFS = -120.0;

// The largest absolute sample of a decoded audio frame, 0 to 1 of full
// scale, in any of FFmpeg's integer or floating-point sample formats.
float PeakAmplitude(const AVFrame* pFrame);

// Amplitude 0 to 1 in decibels relative to full scale; SILENCE_DBFS for 0.
double AmplitudeToDbfs(float fAmplitude);
