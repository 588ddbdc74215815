#pragma once

#include "engine/BoundedQueue.h"
#include "engine/RecordingSettings.h"
#include "engine/SessionState.h"

#include <string>

// Sends one frame (nullptr flushes) and hands every packet the encoder
// returns to the muxer queue. EAGAIN and EOF are flow control; any other
// error is reported to the session with the stream's name, and the result is
// false.
bool EncodeAndQueue(AVCodecContext* pEncoder, const AVFrame* pFrame, int nStream,
                    CBoundedQueue<CEncodedPacket>& packets, CSessionState& state, const char* pszStreamName);

// Opens an encoder with the user's option values filed under the codec's
// name, generic or its own; they replace what the stage set before. Every
// value the encoder does not take is a failure with the option's name.
bool OpenEncoderWithOptions(AVCodecContext* pEncoder, const AVCodec* pCodec,
                            const CCompressorOptions& compressorOptions, std::string& strReason);

// The encoder of that FFmpeg name (pszKind, "video" or "audio", for the
// reason); nullptr with the reason when there is none.
const AVCodec* FindEncoder(const std::string& strName, const char* pszKind, std::string& strReason);
