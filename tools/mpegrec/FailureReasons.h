#pragma once

#include <string>

#include "engine/RecorderTypes.h"

// The engine quotes FFmpeg's own messages, which may suggest options of the
// ffmpeg command: each such suggestion gets mpegrec's option for the same
// setting ("-b:v" becomes "--video-bitrate"), or is left out where mpegrec
// has none ("add '-strict -2' if you want to use it").
std::string InMpegrecTerms(const std::string& strReason);

// Why the recording could not start, as mpegrec says it: an encoder's
// refusal (the one reason that quotes FFmpeg's log) is put in mpegrec's
// terms.
std::string DescribeStartFailure(EFailure eCause, const std::string& strReason);
