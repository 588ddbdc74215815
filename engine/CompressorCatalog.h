#pragma once

#include "engine/MpegPictureChoices.h"
#include "engine/RecorderTypes.h"

#include <span>
#include <string>
#include <vector>

struct CCompressorInfo
{
    std::string strName;   // readable: "MPEG-2 video (mpeg2video)"
    std::string strCodec;  // FFmpeg's encoder name
    std::string strFourCc; // the AVI tag it is written with; empty: the container's own
};

// What an AVI recording uses until another compressor is chosen: MPEG-4
// Part 2 under DivX's tag, which players of AVI files expect, and plain PCM.
inline constexpr const char* DEFAULT_VIDEO_COMPRESSOR = "mpeg4";
inline constexpr const char* DEFAULT_AUDIO_COMPRESSOR = "pcm_s16le";

// The FFmpeg encoders of one kind whose streams an AVI file can carry and
// that record with the default profile and their own defaults, in FFmpeg's
// order: no hardware or experimental encoder, none bound to sizes, rates or
// sound the profile does not have, none too slow to encode as it captures.
// Callable from any thread.
const std::vector<CCompressorInfo>& ListCompressors(ECompressorKind eKind);

// The program's settings for an encoder that would otherwise encode too
// slowly to keep up with a capture; set before the user's own.
std::span<const COptionValue> LiveEncodingOptions(const std::string& strCodec);

// The entry of an encoder, by its FFmpeg name; -1 when not listed.
int FindCompressor(ECompressorKind eKind, const std::string& strCodec);

// The options a user may set for the encoder: its own, then the generic
// encoding options of its kind of media (GOP size, B-frames, flags, ...),
// leaving out those the recording profile sets. Empty when the name is
// unknown or the encoder has no options of its own (raw pictures, PCM),
// which ignores the generic ones as well.
std::vector<CCompressorOption> ListCompressorOptions(const std::string& strCodec);

// Checks that the encoder accepts the value for one of those options; the
// reason names the cause when it does not.
bool CheckCompressorOption(const std::string& strCodec, const std::string& strOption, const std::string& strValue,
                           std::string& strReason);
