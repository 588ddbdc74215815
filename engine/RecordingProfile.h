#pragma once

#include <cstdint>
#include <string>

#include "engine/TestSettings.h"

// OutputType: the container and codecs of the file.
inline constexpr int OUTPUT_TYPE_MPEG1 = 5;
inline constexpr int OUTPUT_TYPE_MPEG2 = 6;
// WorkMode: MPEG capture writes the output type's program stream with its
// fixed encoders; AVI capture writes an AVI file with the chosen compressors.
inline constexpr int WORK_MODE_MPEG = 2;
inline constexpr int WORK_MODE_AVI = 3;
// SyncMode: No Sync, Auto, and Manual (Auto shifted by AudioOffset ms).
inline constexpr int SYNC_MODE_NONE = 0;
inline constexpr int SYNC_MODE_AUTO = 1;
inline constexpr int SYNC_MODE_MANUAL = 2;

inline constexpr std::uint32_t NO_PIPEWIRE_NODE = 0xffffffff; // PipeWire's SPA_ID_INVALID

// The PipeWire stream a device of the ePipeWire kind records: the desktop
// portal's OpenPipeWireRemote gives the connection and its Start the node.
// The recorder connects through a duplicate of nFd, so the caller keeps its
// descriptor, open for as long as it may start recordings of that stream,
// and closes it when the screen cast session ends. nFd -1 connects to the
// user's own PipeWire daemon instead (as PIPEWIRE_REMOTE and
// PIPEWIRE_RUNTIME_DIR name it).
struct CPipeWireStream
{
    int nFd = -1;
    std::uint32_t nNodeId = NO_PIPEWIRE_NODE;
};

// Everything a caller sets before Start, as the caller wrote it; Start
// checks and resolves it. Its defaults are the program's own, so a Play
// that writes no MPEG profile records what the settings dialogs show.
struct CRecordingProfile
{
    // Indexes into the recorder's device, input, format and compressor
    // lists; -1 for the format: the device's own default.
    short nVideoDevice = 0;
    short nVideoInput = 0;
    short nVideoFormat = -1;
    short nAudioDevice = 0;
    short nAudioInput = 0;
    short nVideoCompressor = 0;
    short nAudioCompressor = 0;

    int nOutputType = OUTPUT_TYPE_MPEG2;
    // 23, 29 and 59 stand for 24000/1001, 30000/1001 and 60000/1001; 24, 25,
    // 30, 50 and 60 for themselves; other values make Start fail.
    short nFrameRate = 23;
    short nVideoWidth = 720;
    short nVideoHeight = 480;
    int nVideoBitrate = 4600000; // bit/s
    int nAudioBitrate = 224000;  // bit/s
    int nAudioSampleRate = 44100;
    short nAudioChannels = 2;
    // Display aspect ratio of the coded picture.
    int nAspectNumerator = 4;
    int nAspectDenominator = 3;

    // AVI work mode only: the coded picture's size instead of the profile's.
    // The device still delivers its whole picture, scaled into it.
    bool bUseCustomFrame = false;
    short nCustomFrameWidth = 320;
    short nCustomFrameHeight = 240;

    // AVI work mode only: a stream switched off is neither captured nor
    // written. An MPEG program stream always carries both.
    bool bVideoCapture = true;
    bool bAudioCapture = true;

    short nSyncMode = SYNC_MODE_AUTO;
    short nAudioOffset = 1; // ms, used in SYNC_MODE_MANUAL; positive plays the audio later

    // Without SaveToFile and a FileName, Start captures and previews only.
    bool bSaveToFile = false;
    std::string strFileName;
    std::string strTitle; // written into the file's metadata where the container carries it
    int nWorkMode = WORK_MODE_MPEG;
    // With StopFlag Stop ends capture and preview; without it Stop closes
    // the file and the preview goes on.
    bool bStopFlag = true;
    bool bTvMute = true;     // the V4L2 device's own audio
    bool bAudioMute = false; // recorded and previewed audio is silence, the stream stays
    // MPEG only: the format's highest legal video rate (the profile's own
    // when higher) and the encoder's slower, better choices.
    bool bBestQuality = false;
    short nVideoFrame = 0; // n >= 1: the n-th frame picture over every frame
    // The stream an ePipeWire video device records; Start fails with the
    // reason when it names no node or the node is gone.
    CPipeWireStream pipeWireStream;

    double dDurationLimitSeconds = 0; // ends the recording by itself; 0: until Stop

    // Left at its defaults but by tests, benchmarks and mpegrec's test options.
    CTestSettings test;
};
