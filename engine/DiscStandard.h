#pragma once

#include "engine/RecordingProfile.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The disc formats players and authoring tools (vcdxbuild, dvdauthor) take:
// what the profile's values must be, and how the program stream is laid out
// and its video rate kept so that they accept it.
enum class EDiscStandard {
    eVcd,
    eSvcd,
    eDvd,
};
inline constexpr EDiscStandard DISC_STANDARDS[] = { EDiscStandard::eVcd, EDiscStandard::eSvcd, EDiscStandard::eDvd };

// 25 pictures a second (PAL) or 29.97 (NTSC); each has sizes of its own.
enum class ETvNorm {
    ePal,
    eNtsc,
};

struct CPictureSize
{
    short nWidth;
    short nHeight;
};

// How a program stream is written: FFmpeg's muxer, its pack size and rate
// (0: the muxer's own), and the video rate control players are built for
// (0: the encoder's own).
struct CStreamLayout
{
    const char* pszMuxer;
    int nPacketBytes;
    int nMuxRateBits;
    int nMinVideoRateBits;
    int nMaxVideoRateBits;
    int nVbvBufferBits;
    // Room in each picture group for the offsets SVCD players seek with,
    // which authoring tools fill in.
    bool bScanOffsets = false;
};

struct CDiscStandard
{
    const char* pszName;
    int nOutputType;
    // The first size of each norm is the one a preset records.
    std::span<const CPictureSize> palSizes;
    std::span<const CPictureSize> ntscSizes;
    // Equal bounds: the rate is constant.
    int nMinVideoBitrate;
    int nMaxVideoBitrate;
    // Video and audio together; 0: no bound beyond the video's own.
    int nMaxStreamsBitrate;
    bool bWideAllowed;
    int nSampleRate;
    int nMinAudioBitrate;
    int nMaxAudioBitrate;
    short nMinChannels;
    short nMaxChannels;
    // What a preset records within the bounds.
    int nPresetVideoBitrate;
    int nPresetAudioBitrate;
    CStreamLayout layout;
};

const CDiscStandard& DiscStandard(EDiscStandard eStandard);

// The video rate a recording of the profile encodes at: Best quality raises
// it to the format's highest, never below the profile's own.
int RecordedVideoBitrate(const CRecordingProfile& profile);

// Every reason the profile's values keep it from the standard, such as
// "44.1 kHz audio, needs 48 kHz"; empty when it meets it.
std::vector<std::string> DiscStandardShortfalls(const CRecordingProfile& profile, EDiscStandard eStandard);

// The standard an MPEG profile meets, if any; its recording is then laid
// out for that disc.
std::optional<EDiscStandard> MetDiscStandard(const CRecordingProfile& profile);

// The layout of an MPEG program stream: the disc's whose standard the
// profile meets; otherwise DVD's for MPEG-2 and FFmpeg's plain one for
// MPEG-1.
CStreamLayout MpegStreamLayout(const CRecordingProfile& profile);

// Sets every value of the profile the standard fixes for the norm: output
// type, frame rate, picture size and shape, video and audio rates, audio
// format.
void ApplyDiscStandard(CRecordingProfile& profile, EDiscStandard eStandard, ETvNorm eNorm);

// A line for each standard: whether the MPEG profile's values meet it or
// what stops them. The output type is left out: the values go to MPEG-1 or
// MPEG-2 as chosen elsewhere, so a standard met names the type it needs.
std::string DescribeDiscStandards(const CRecordingProfile& profile);
