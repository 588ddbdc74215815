#pragma once

#include "engine/DeviceCatalog.h"
#include "engine/RecordingProfile.h"

#include <map>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

// The user's values for encoders' own options, by encoder name and then
// option name.
using CCompressorOptions = std::map<std::string, std::map<std::string, std::string>>;

// What one recording runs on: the profile as checked at Start, with its
// numbers resolved (the devices, the frame rate and aspect as fractions, the
// audio offset in effect). Copied when the recording starts, so later
// writes to the recorder cannot race the running threads.
struct CRecordingSettings : CRecordingProfile
{
    CVideoDeviceInfo videoDevice;
    CAudioDeviceInfo audioDevice;
    AVRational frameRate { 30000, 1001 };
    AVRational displayAspect { 4, 3 };
    int nAudioOffsetMs = 0; // 0 unless the sync mode is manual
    // FFmpeg's names of the encoders the file gets; empty when the chosen
    // compressor is not in the list. The FourCC, when not empty, replaces
    // the container's own tag for the video.
    std::string strVideoEncoder;
    std::string strAudioEncoder;
    std::string strVideoFourCc;
    CCompressorOptions compressorOptions;
};
