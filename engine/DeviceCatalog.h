#pragma once

#include <functional>
#include <string>
#include <vector>

// What kind of source a device entry stands for; decides how the capture
// side opens it.
enum class ESourceKind {
    eTestPattern,
    eScreen,
    eV4l2,
    eTestTone,
    ePulse,
    eAlsa,
    // A PipeWire video stream, such as the desktop portal's screen cast; the
    // profile's pipeWireStream says which.
    ePipeWire,
};

// One pixel format and frame size a video device offers.
struct CVideoFormatInfo
{
    std::string strName;        // readable, e.g. "YUYV 640x480"
    std::string strInputFormat; // FFmpeg's name for the device's pixel format or codec
    int nWidth = 0;
    int nHeight = 0;
};

struct CVideoDeviceInfo
{
    std::string strName;
    ESourceKind eKind = ESourceKind::eTestPattern;
    std::string strUrl; // what the FFmpeg input device opens
    std::vector<std::string> inputs;
    std::vector<CVideoFormatInfo> formats;
};

struct CAudioDeviceInfo
{
    std::string strName;
    ESourceKind eKind = ESourceKind::eTestTone;
    std::string strUrl;
    std::vector<std::string> inputs;
    bool bSystemDefault = false; // the sound server's default source
};

inline constexpr const char* TEST_PATTERN_NAME = "Test Pattern";
inline constexpr const char* TEST_TONE_NAME = "Test Tone";
inline constexpr const char* SCREEN_NAME = "Screen";
// The screen as a Wayland desktop shares it: through its portal, as a
// PipeWire stream (ePipeWire) that the portal names when a recording starts.
inline constexpr const char* PORTAL_SCREEN_NAME = "Screen (desktop portal)";

// Whether the desktop's portal shares screens. The engine does not speak
// D-Bus; the program that does hands it this question. Called on the thread
// that lists the devices; must answer within a few seconds and never throw.
using CPortalProbe = std::function<bool()>;

// Finds the capture devices of this machine. Real devices come first, the
// built-in sources last, so index 0 is the first real device when there is
// one. Never fails: a machine without devices gets the built-in sources only.
// Both calls may take a few hundred milliseconds (they ask the sound server
// and the X server); callable from any thread. The portal's screen is listed
// when portalProbe says the desktop offers it.
std::vector<CVideoDeviceInfo> ListVideoDevices(const CPortalProbe& portalProbe = {});
std::vector<CAudioDeviceInfo> ListAudioDevices();

// The device a recorder starts with: the first real capture device (for
// audio the sound server's default source, which the user chose in the
// desktop's sound settings), else the built-in source.
int DefaultVideoDeviceIndex(const std::vector<CVideoDeviceInfo>& devices);
int DefaultAudioDeviceIndex(const std::vector<CAudioDeviceInfo>& devices);

// Makes the chosen capture source (one of the device's inputs) the one an
// ALSA card records from, by switching its mixer element's capture on;
// false when the card has no such switch.
bool SelectAlsaCaptureSource(const CAudioDeviceInfo& device, int nInput);

// The X display named by $DISPLAY accepts connections.
bool IsDisplayReachable();
