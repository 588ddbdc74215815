#include "engine/DiscStandard.h"

#include <algorithm>
#include <iterator>

namespace {

// The frame rate codes of the profile for the two norms.
constexpr short PAL_FRAME_RATE = 25;
constexpr short NTSC_FRAME_RATE = 29;

// The highest rates each MPEG format takes. MPEG-2 stops short of DVD's
// 9.8 Mbit/s peak: the audio and the pack headers must still fit into the
// 10.08 Mbit/s a DVD player reads.
constexpr int MPEG1_BEST_VIDEO_RATE_BITS = 2500000;
constexpr int MPEG2_MAX_VIDEO_RATE_BITS = 9000000;

// A CD sector carries 2324 bytes of a program stream and passes 75 times a
// second as 2352 bytes at single speed; an SVCD reads at double speed.
constexpr int CD_PACKET_BYTES = 2324;
constexpr int CD_MUX_RATE_BITS = 2352 * 75 * 8;
// MPEG-1's constrained parameters allow a 40 KiB video buffer, MPEG-2's
// main profile at main level 224 KiB.
constexpr int VCD_VBV_BUFFER_BITS = 40 * 1024 * 8;
constexpr int MAIN_LEVEL_VBV_BUFFER_BITS = 224 * 1024 * 8;
// A DVD sector is one 2048-byte pack; players read 10.08 Mbit/s.
constexpr int DVD_PACKET_BYTES = 2048;
constexpr int DVD_MUX_RATE_BITS = 10080000;

constexpr CPictureSize VCD_PAL_SIZES[] = { { 352, 288 } };
constexpr CPictureSize VCD_NTSC_SIZES[] = { { 352, 240 } };
constexpr CPictureSize SVCD_PAL_SIZES[] = { { 480, 576 } };
constexpr CPictureSize SVCD_NTSC_SIZES[] = { { 480, 480 } };
constexpr CPictureSize DVD_PAL_SIZES[] = { { 720, 576 }, { 704, 576 }, { 352, 576 }, { 352, 288 } };
constexpr CPictureSize DVD_NTSC_SIZES[] = { { 720, 480 }, { 704, 480 }, { 352, 480 }, { 352, 240 } };

constexpr CStreamLayout DVD_LAYOUT {
    "dvd", DVD_PACKET_BYTES, DVD_MUX_RATE_BITS, 0, MPEG2_MAX_VIDEO_RATE_BITS, MAIN_LEVEL_VBV_BUFFER_BITS,
};
constexpr CStreamLayout PLAIN_MPEG1_LAYOUT { "mpeg", 0, 0, 0, 0, 0 };

// In the order of EDiscStandard. DVD also allows MPEG-1 at the small sizes,
// but only MPEG-2 recordings are laid out in DVD packs.
const CDiscStandard STANDARDS[] = {
    {
        .pszName = "VCD",
        .nOutputType = OUTPUT_TYPE_MPEG1,
        .palSizes = VCD_PAL_SIZES,
        .ntscSizes = VCD_NTSC_SIZES,
        .nMinVideoBitrate = 1150000,
        .nMaxVideoBitrate = 1150000,
        .nMaxStreamsBitrate = 0,
        .bWideAllowed = false,
        .nSampleRate = 44100,
        .nMinAudioBitrate = 224000,
        .nMaxAudioBitrate = 224000,
        .nMinChannels = 2,
        .nMaxChannels = 2,
        .nPresetVideoBitrate = 1150000,
        .nPresetAudioBitrate = 224000,
        .layout = { "vcd", CD_PACKET_BYTES, CD_MUX_RATE_BITS, 1150000, 1150000, VCD_VBV_BUFFER_BITS },
    },
    {
        .pszName = "SVCD",
        .nOutputType = OUTPUT_TYPE_MPEG2,
        .palSizes = SVCD_PAL_SIZES,
        .ntscSizes = SVCD_NTSC_SIZES,
        .nMinVideoBitrate = 1,
        .nMaxVideoBitrate = 2600000,
        .nMaxStreamsBitrate = 2778000,
        .bWideAllowed = true,
        .nSampleRate = 44100,
        .nMinAudioBitrate = 32000,
        .nMaxAudioBitrate = 384000,
        .nMinChannels = 1,
        .nMaxChannels = 2,
        .nPresetVideoBitrate = 2400000,
        .nPresetAudioBitrate = 224000,
        .layout = { "svcd", CD_PACKET_BYTES, 2 * CD_MUX_RATE_BITS, 0, 2600000, MAIN_LEVEL_VBV_BUFFER_BITS, true },
    },
    {
        .pszName = "DVD",
        .nOutputType = OUTPUT_TYPE_MPEG2,
        .palSizes = DVD_PAL_SIZES,
        .ntscSizes = DVD_NTSC_SIZES,
        .nMinVideoBitrate = 1,
        .nMaxVideoBitrate = MPEG2_MAX_VIDEO_RATE_BITS,
        .nMaxStreamsBitrate = 0,
        .bWideAllowed = true,
        .nSampleRate = 48000,
        .nMinAudioBitrate = 32000,
        .nMaxAudioBitrate = 384000,
        .nMinChannels = 1,
        .nMaxChannels = 2,
        .nPresetVideoBitrate = 6000000,
        .nPresetAudioBitrate = 224000,
        .layout = DVD_LAYOUT,
    },
};

std::string FormatName(int nOutputType)
{
    return nOutputType == OUTPUT_TYPE_MPEG1 ? "MPEG-1" : "MPEG-2";
}

std::string FrameRateText(short nFrameRate)
{
    switch (nFrameRate) {
    case 23:
        return "23.976";
    case 29:
        return "29.97";
    case 59:
        return "59.94";
    default:
        return std::to_string(nFrameRate);
    }
}

std::string SizeText(CPictureSize size)
{
    return std::to_string(size.nWidth) + "x" + std::to_string(size.nHeight);
}

// "a", "a or b", "a, b or c".
std::string Alternatives(const std::vector<std::string>& choices)
{
    std::string strText;
    for (std::size_t nIndex = 0; nIndex < choices.size(); ++nIndex) {
        if (nIndex > 0)
            strText += nIndex + 1 == choices.size() ? " or " : ", ";
        strText += choices[nIndex];
    }
    return strText;
}

std::string KilohertzText(int nRate)
{
    std::string strText = std::to_string(nRate / 1000);
    if (const int nRest = nRate % 1000; nRest != 0) {
        std::string strFraction = std::to_string(nRest);
        strFraction.insert(0, 3 - strFraction.size(), '0');
        strFraction.erase(strFraction.find_last_not_of('0') + 1);
        strText += "." + strFraction;
    }
    return strText + " kHz";
}

std::optional<ETvNorm> NormOf(short nFrameRate)
{
    if (nFrameRate == PAL_FRAME_RATE)
        return ETvNorm::ePal;
    if (nFrameRate == NTSC_FRAME_RATE)
        return ETvNorm::eNtsc;
    return std::nullopt;
}

std::span<const CPictureSize> SizesOf(const CDiscStandard& standard, ETvNorm eNorm)
{
    return eNorm == ETvNorm::ePal ? standard.palSizes : standard.ntscSizes;
}

// "needs 1150000", "needs at most 2600000", "needs 32000 to 384000".
std::string RangeText(int nMin, int nMax, int nValue)
{
    if (nMin == nMax)
        return "needs " + std::to_string(nMin);
    if (nValue > nMax)
        return "needs at most " + std::to_string(nMax);
    return "needs " + std::to_string(nMin) + " to " + std::to_string(nMax);
}

// Without a norm's rate, the size is held against each norm's first.
void CheckRateAndSize(const CRecordingProfile& profile, const CDiscStandard& standard,
                      std::vector<std::string>& reasons)
{
    const std::optional<ETvNorm> norm = NormOf(profile.nFrameRate);
    if (!norm)
        reasons.push_back(FrameRateText(profile.nFrameRate) + " frames/s, needs 25 or 29.97");
    std::vector<CPictureSize> allowed;
    for (const ETvNorm eNorm : { ETvNorm::ePal, ETvNorm::eNtsc }) {
        const std::span<const CPictureSize> sizes = SizesOf(standard, eNorm);
        if (!norm || *norm == eNorm)
            allowed.insert(allowed.end(), sizes.begin(), norm ? sizes.end() : sizes.begin() + 1);
    }
    const bool bSizeAllowed = std::any_of(allowed.begin(), allowed.end(), [&profile](CPictureSize size) {
        return size.nWidth == profile.nVideoWidth && size.nHeight == profile.nVideoHeight;
    });
    if (!bSizeAllowed) {
        std::vector<std::string> choices;
        std::transform(allowed.begin(), allowed.end(), std::back_inserter(choices), SizeText);
        reasons.push_back("picture " + SizeText({ profile.nVideoWidth, profile.nVideoHeight }) + ", needs "
                          + Alternatives(choices));
    }
}

void CheckAspect(const CRecordingProfile& profile, const CDiscStandard& standard, std::vector<std::string>& reasons)
{
    const long long nAspectWidth = profile.nAspectNumerator;
    const long long nAspectHeight = profile.nAspectDenominator;
    const bool bStandardAspect = nAspectWidth * 3 == nAspectHeight * 4;
    const bool bWideAspect = nAspectWidth * 9 == nAspectHeight * 16;
    if (!bStandardAspect && !(bWideAspect && standard.bWideAllowed)) {
        reasons.push_back(std::to_string(nAspectWidth) + ":" + std::to_string(nAspectHeight) + " picture, needs "
                          + (standard.bWideAllowed ? "4:3 or 16:9" : "4:3"));
    }
}

void CheckVideoRate(const CRecordingProfile& profile, const CDiscStandard& standard, std::vector<std::string>& reasons)
{
    const int nVideoBitrate = RecordedVideoBitrate(profile);
    if (nVideoBitrate < standard.nMinVideoBitrate || nVideoBitrate > standard.nMaxVideoBitrate) {
        reasons.push_back("video " + std::to_string(nVideoBitrate) + " bit/s, "
                          + RangeText(standard.nMinVideoBitrate, standard.nMaxVideoBitrate, nVideoBitrate));
    }
    const long long nStreamsBitrate = static_cast<long long>(nVideoBitrate) + profile.nAudioBitrate;
    if (standard.nMaxStreamsBitrate > 0 && nStreamsBitrate > standard.nMaxStreamsBitrate) {
        reasons.push_back("video and audio " + std::to_string(nStreamsBitrate) + " bit/s together, needs at most "
                          + std::to_string(standard.nMaxStreamsBitrate));
    }
}

void CheckAudio(const CRecordingProfile& profile, const CDiscStandard& standard, std::vector<std::string>& reasons)
{
    if (profile.nAudioSampleRate != standard.nSampleRate) {
        reasons.push_back(KilohertzText(profile.nAudioSampleRate) + " audio, needs "
                          + KilohertzText(standard.nSampleRate));
    }
    if (profile.nAudioBitrate < standard.nMinAudioBitrate || profile.nAudioBitrate > standard.nMaxAudioBitrate) {
        reasons.push_back("audio " + std::to_string(profile.nAudioBitrate) + " bit/s, "
                          + RangeText(standard.nMinAudioBitrate, standard.nMaxAudioBitrate, profile.nAudioBitrate));
    }
    if (profile.nAudioChannels < standard.nMinChannels || profile.nAudioChannels > standard.nMaxChannels) {
        const std::string strNeeded = standard.nMinChannels == standard.nMaxChannels
            ? std::to_string(standard.nMinChannels)
            : std::to_string(standard.nMinChannels) + " or " + std::to_string(standard.nMaxChannels);
        reasons.push_back(std::to_string(profile.nAudioChannels)
                          + (profile.nAudioChannels == 1 ? " audio channel" : " audio channels") + ", needs "
                          + strNeeded);
    }
}

// Everything but the file's type and format.
std::vector<std::string> ValueShortfalls(const CRecordingProfile& profile, const CDiscStandard& standard)
{
    std::vector<std::string> reasons;
    CheckRateAndSize(profile, standard, reasons);
    CheckAspect(profile, standard, reasons);
    CheckVideoRate(profile, standard, reasons);
    CheckAudio(profile, standard, reasons);
    return reasons;
}

} // namespace

const CDiscStandard& DiscStandard(EDiscStandard eStandard)
{
    return STANDARDS[static_cast<int>(eStandard)];
}

int RecordedVideoBitrate(const CRecordingProfile& profile)
{
    if (!profile.bBestQuality || profile.nWorkMode != WORK_MODE_MPEG)
        return profile.nVideoBitrate;
    // Best only ever adds bits: a profile already above MPEG-1's best rate keeps its own.
    return std::max(profile.nVideoBitrate,
                    profile.nOutputType == OUTPUT_TYPE_MPEG1 ? MPEG1_BEST_VIDEO_RATE_BITS : MPEG2_MAX_VIDEO_RATE_BITS);
}

std::vector<std::string> DiscStandardShortfalls(const CRecordingProfile& profile, EDiscStandard eStandard)
{
    const CDiscStandard& standard = DiscStandard(eStandard);
    std::vector<std::string> reasons;
    if (profile.nWorkMode != WORK_MODE_MPEG)
        reasons.push_back("an AVI file, needs an MPEG program stream");
    else if (profile.nOutputType != standard.nOutputType)
        reasons.push_back(FormatName(profile.nOutputType) + " video, needs " + FormatName(standard.nOutputType));
    const std::vector<std::string> valueReasons = ValueShortfalls(profile, standard);
    reasons.insert(reasons.end(), valueReasons.begin(), valueReasons.end());
    return reasons;
}

std::optional<EDiscStandard> MetDiscStandard(const CRecordingProfile& profile)
{
    for (const EDiscStandard eStandard : DISC_STANDARDS) {
        if (DiscStandardShortfalls(profile, eStandard).empty())
            return eStandard;
    }
    return std::nullopt;
}

CStreamLayout MpegStreamLayout(const CRecordingProfile& profile)
{
    const std::optional<EDiscStandard> met = MetDiscStandard(profile);
    if (!met)
        return profile.nOutputType == OUTPUT_TYPE_MPEG1 ? PLAIN_MPEG1_LAYOUT : DVD_LAYOUT;
    const CDiscStandard& standard = DiscStandard(*met);
    CStreamLayout layout = standard.layout;
    // The video's peaks must leave room for the audio where the disc bounds both.
    if (standard.nMaxStreamsBitrate > 0)
        layout.nMaxVideoRateBits =
            std::min(layout.nMaxVideoRateBits, standard.nMaxStreamsBitrate - profile.nAudioBitrate);
    return layout;
}

void ApplyDiscStandard(CRecordingProfile& profile, EDiscStandard eStandard, ETvNorm eNorm)
{
    const CDiscStandard& standard = DiscStandard(eStandard);
    const CPictureSize size = SizesOf(standard, eNorm).front();
    profile.nOutputType = standard.nOutputType;
    profile.nFrameRate = eNorm == ETvNorm::ePal ? PAL_FRAME_RATE : NTSC_FRAME_RATE;
    profile.nVideoWidth = size.nWidth;
    profile.nVideoHeight = size.nHeight;
    profile.nAspectNumerator = 4;
    profile.nAspectDenominator = 3;
    profile.nVideoBitrate = standard.nPresetVideoBitrate;
    profile.nAudioBitrate = standard.nPresetAudioBitrate;
    profile.nAudioSampleRate = standard.nSampleRate;
    profile.nAudioChannels = standard.nMaxChannels;
}

std::string DescribeDiscStandards(const CRecordingProfile& profile)
{
    std::string strText;
    for (const EDiscStandard eStandard : DISC_STANDARDS) {
        const CDiscStandard& standard = DiscStandard(eStandard);
        const std::vector<std::string> reasons = ValueShortfalls(profile, standard);
        if (!strText.empty())
            strText += "\n";
        if (reasons.empty()) {
            strText +=
                std::string("Meets ") + standard.pszName + " (record as " + FormatName(standard.nOutputType) + ").";
            continue;
        }
        strText += std::string("Not ") + standard.pszName + ": ";
        for (std::size_t nIndex = 0; nIndex < reasons.size(); ++nIndex)
            strText += (nIndex > 0 ? "; " : "") + reasons[nIndex];
        strText += ".";
    }
    return strText;
}
