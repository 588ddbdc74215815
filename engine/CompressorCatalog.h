#pragma once

#include "engine/RecorderTypes.h"

#include <string>
#include <vector>

struct CCompressorInfo {
    std::string strName; // readable: "MPEG-2 video (mpeg2video)"
    std::string strCodec; // FFmpeg's encoder name
};

// The FFmpeg encoders of one kind, in FFmpeg's order. Callable from any thread.
const std::vector<CCompressorInfo>& ListCompressors(ECompressorKind eKind);

// The encoder's own options; empty when it has none or the name is unknown.
std::vector<CCompressorOption> ListCompressorOptions(const std::string& strCodec);

// Checks that the encoder accepts the value for the option; the reason names
// the cause when it does not.
bool CheckCompressorOption(const std::string& strCodec, const std::string& strOption, const std::string& strValue,
    std::string& strReason);
