#pragma once

#include "engine/AvPtr.h"
#include "engine/RecordingSettings.h"

#include <span>
#include <string>
#include <utility>

using COptionValue = std::pair<const char*, const char*>;

// Our MPEG-1 and MPEG-2 encoder choices that give more picture per bit than
// the encoder's defaults while a 720x576 recording still encodes in real time
// on two cores. Set before the user's options, which have the last word; false with
// the reason when the encoder refuses one.
bool UseMpegQualityDefaults(AVCodecContext* pEncoder, std::string& strReason);

// Sets options of the encoder or its private ones, in order; false with the
// option and the cause when the encoder refuses one.
bool SetEncoderOptions(AVCodecContext* pEncoder, std::span<const COptionValue> options, std::string& strReason);

// The field order of the pictures the settings' video source delivers: a
// V4L2 device's own (the capture must be open), the Test Pattern's test
// switch, progressive for the rest.
EFieldOrder SourceFieldOrder(const CRecordingSettings& settings);

// The MPEG-2 encoder codes an interlaced source as interlaced pictures in
// its field order; MPEG-1 has no interlaced pictures, and other encoders get
// whole pictures too. Returns the field order the encoded pictures carry.
EFieldOrder UseFieldOrder(AVCodecContext* pEncoder, EFieldOrder eSource);

// Marks a picture before it is encoded: the encoder writes each picture's
// field order from the picture itself.
void MarkFields(AVFrame* pFrame, EFieldOrder eFields);
