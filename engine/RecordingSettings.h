#pragma once

#include "engine/DeviceCatalog.h"

#include <map>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

// The user's values for encoders' own options, by encoder name and then
// option name.
using CCompressorOptions = std::map<std::string, std::map<std::string, std::string>>;

// Everything a recording needs, copied from the recorder's properties when
// it starts, so later property writes cannot race the running threads.
struct CRecordingSettings {
    CVideoDeviceInfo videoDevice;
    int nVideoInput = 0;
    int nVideoFormat = -1; // index into videoDevice.formats; -1: the device's own default
    bool bUseCustomFrame = false;
    int nCustomFrameWidth = 0;
    int nCustomFrameHeight = 0;
    bool bTvMute = false;

    CAudioDeviceInfo audioDevice;
    int nAudioInput = 0;

    int nOutputType = 6;
    AVRational frameRate { 30000, 1001 };
    int nVideoWidth = 720;
    int nVideoHeight = 480;
    AVRational displayAspect { 4, 3 };
    int nVideoBitrate = 0;
    int nAudioBitrate = 0;
    int nAudioSampleRate = 0;
    int nAudioChannels = 0;

    int nSyncMode = 1;
    int nAudioOffsetMs = 0;

    bool bSaveToFile = false;
    std::string strFileName;

    bool bFastTestSources = false;
    double dDurationLimitSeconds = 0; // 0: until Stop
    // Test only: how many threads a session may start before the next one
    // fails as when the system has none left; -1: no limit.
    int nTestThreadLimit = -1;

    CCompressorOptions compressorOptions;
};

inline constexpr int OUTPUT_TYPE_MPEG1 = 5;
inline constexpr int OUTPUT_TYPE_MPEG2 = 6;
inline constexpr int SYNC_MODE_NONE = 0;
inline constexpr int SYNC_MODE_MANUAL = 2;
