#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Which check stopped a Start, or what ended a recording early; the text
// that goes with it names the details.
enum class EFailure {
    eNone,
    // Start: the profile
    eWorkMode,
    eNoSuchDevice,
    eFrameRate,
    ePictureSize,
    eSyncMode,
    eOutputType,
    eNoStream, // AVI with neither video nor audio capture
    eNoFileName,
    eFileBeingRecorded,
    // Start: what it opens
    eVideoDevice,
    eAudioDevice,
    eEncoderSettings,
    eOutputFile,
    eFolderMissing, // the output file's folder is not there
    eThreadStart,
    // While recording
    eDeviceStalled,
    eCaptureEnded,
    eProcessing, // converting, resampling or encoding failed
    eWritingFile,
    eFileDeleted, // the file lost its name (or its folder) before it was closed
    eDiskFull, // at the start or while recording
    eOutOfMemory,
};

// A snapshot of a recording, handed to the status callback.
struct CRecorderStatus
{
    double dElapsedSeconds = 0; // media time recorded, pauses left out
    std::int64_t nBytesWritten = 0;
    std::int64_t nVideoFramesEncoded = 0;
    std::int64_t nVideoFramesDropped = 0; // captured frames lost because the pipeline was behind
    std::int64_t nAudioFramesDropped = 0; // captured audio blocks lost likewise
    // Fitting a device's own rate to the MPEG frame rate: frames left out
    // because two fell into one frame slot, and slots filled by repeating the
    // previous frame because the device sent none.
    std::int64_t nVideoFramesSkipped = 0;
    std::int64_t nVideoFramesRepeated = 0;
    bool bPaused = false;
    bool bFinished = false; // the last status of a recording; the file is closed
    // The loudest sample since the last status, in dB of full scale
    // (SILENCE_DBFS of AudioLevel.h for none).
    double dAudioLevelDbfs = -120.0;
    std::string strError; // why a recording ended on its own; empty otherwise
    EFailure eFailure = EFailure::eNone;
};

// One preview picture: 32-bit pixels 0xAARRGGBB in native byte order (the
// layout of QImage::Format_RGB32). pPixels is valid only during the callback.
struct CPreviewFrame
{
    int nWidth = 0;
    int nHeight = 0;
    int nStride = 0; // bytes per row
    const std::uint8_t* pPixels = nullptr;
};

using CPreviewCallback = std::function<void(const CPreviewFrame&)>;
using CStatusCallback = std::function<void(const CRecorderStatus&)>;

// A value an option accepts by name; for flags, the bits it sets.
struct CNamedValue
{
    std::string strName;
    std::string strHelp;
    std::int64_t nValue = 0;
};

// One of an encoder's settings (an AVOption of its private class or of the
// generic encoder context), for a settings page to show.
struct CCompressorOption
{
    std::string strName;
    std::string strHelp;
    std::string strType; // "int", "float", "bool", "string", "flags", ...
    std::string strDefault;
    double dMinimum = 0;
    double dMaximum = 0;
    std::vector<CNamedValue> namedValues;
    // True when the named values are every value the option takes, so a
    // choice among them is all there is to offer.
    bool bOnlyNamedValues = false;
};

enum class ECompressorKind {
    eVideo,
    eAudio,
};
