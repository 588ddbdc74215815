#include "engine/AudioLevel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace {

template <typename TSample>
float PeakOfSamples(const std::uint8_t* pData, int nCount, float fFullScale, float fZero)
{
    const auto* pSamples = reinterpret_cast<const TSample*>(pData);
    float fPeak = 0;
    for (int nIndex = 0; nIndex < nCount; ++nIndex)
        fPeak = std::max(fPeak, std::fabs(static_cast<float>(pSamples[nIndex]) - fZero));
    return fPeak / fFullScale;
}

float PeakOfPlane(AVSampleFormat ePacked, const std::uint8_t* pData, int nCount)
{
    switch (ePacked) {
    case AV_SAMPLE_FMT_U8:
        return PeakOfSamples<std::uint8_t>(pData, nCount, 128.0f, 128.0f);
    case AV_SAMPLE_FMT_S16:
        return PeakOfSamples<std::int16_t>(pData, nCount, 32768.0f, 0);
    case AV_SAMPLE_FMT_S32:
        return PeakOfSamples<std::int32_t>(pData, nCount, 2147483648.0f, 0);
    case AV_SAMPLE_FMT_FLT:
        return PeakOfSamples<float>(pData, nCount, 1.0f, 0);
    case AV_SAMPLE_FMT_DBL:
        return PeakOfSamples<double>(pData, nCount, 1.0f, 0);
    default:
        return 0;
    }
}

} // namespace

float PeakAmplitude(const AVFrame* pFrame)
{
    const auto eFormat = static_cast<AVSampleFormat>(pFrame->format);
    const int nChannels = pFrame->ch_layout.nb_channels;
    if (nChannels <= 0 || pFrame->nb_samples <= 0)
        return 0;
    const AVSampleFormat ePacked = av_get_packed_sample_fmt(eFormat);
    // Planar frames keep one plane a channel; packed ones interleave them.
    const bool bPlanar = av_sample_fmt_is_planar(eFormat) != 0;
    const int nPlanes = bPlanar ? nChannels : 1;
    const int nPerPlane = bPlanar ? pFrame->nb_samples : pFrame->nb_samples * nChannels;
    float fPeak = 0;
    for (int nPlane = 0; nPlane < nPlanes; ++nPlane)
        fPeak = std::max(fPeak, PeakOfPlane(ePacked, pFrame->extended_data[nPlane], nPerPlane));
    return std::min(fPeak, 1.0f);
}

double AmplitudeToDbfs(float fAmplitude)
{
    if (fAmplitude <= 0)
        return SILENCE_DBFS;
    return std::max(SILENCE_DBFS, 20.0 * std::log10(static_cast<double>(fAmplitude)));
}
