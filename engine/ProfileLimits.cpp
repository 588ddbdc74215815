#include "engine/ProfileLimits.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
}

std::string RangeText(const CValueRange& range)
{
    return std::to_string(range.nMinimum) + " to " + std::to_string(range.nMaximum) + " " + range.pszUnit;
}

std::vector<int> EncoderSampleRates(const std::string& strEncoder)
{
    std::vector<int> rates;
    const AVCodec* pCodec = avcodec_find_encoder_by_name(strEncoder.c_str());
    if (!pCodec || !pCodec->supported_samplerates)
        return rates;
    for (const int* pRate = pCodec->supported_samplerates; *pRate != 0; ++pRate)
        rates.push_back(*pRate);
    std::sort(rates.begin(), rates.end());
    return rates;
}
