// Records the screen for a while into 720x480 MPEG-2, from a PipeWire stream
// (the desktop portal's way) or from the X server, and prints what it cost:
// the frames dropped and the CPU time per second of video. For
// portal_capture.sh, which runs both against the same picture.
//
// usage: bench_screen_capture pipewire NODE SECONDS FILE
//        bench_screen_capture x11 SECONDS FILE

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/ProfileLimits.h"
#include "engine/RecordingSession.h"

namespace {

constexpr int WIDTH = 720;
constexpr int HEIGHT = 480;
constexpr AVRational FRAME_RATE { 30000, 1001 };
constexpr double MICROSECONDS = 1e6;

double ProcessCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / MICROSECONDS;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: bench_screen_capture pipewire NODE SECONDS FILE\n"
                 "       bench_screen_capture x11 SECONDS FILE\n");
    return 2;
}

} // namespace

int main(int nArguments, char* arguments[])
{
    const std::string strSource = nArguments > 1 ? arguments[1] : "";
    const bool bPipeWire = strSource == "pipewire";
    const int nFirst = bPipeWire ? 3 : 2;
    if ((!bPipeWire && strSource != "x11") || nArguments != nFirst + 2)
        return Usage();
    CRecordingSettings settings;
    if (bPipeWire) {
        settings.videoDevice = { "PipeWire stream", ESourceKind::ePipeWire, "", {}, {} };
        settings.pipeWireStream.nNodeId = static_cast<std::uint32_t>(std::strtoul(arguments[2], nullptr, 10));
    } else {
        const char* pszDisplay = std::getenv("DISPLAY");
        settings.videoDevice = { "Screen", ESourceKind::eScreen, pszDisplay ? pszDisplay : "", {}, {} };
    }
    settings.audioDevice = { "Test Tone", ESourceKind::eTestTone, "", {}, false };
    settings.nVideoWidth = WIDTH;
    settings.nVideoHeight = HEIGHT;
    settings.frameRate = FRAME_RATE;
    settings.nAudioSampleRate = 48000;
    settings.strVideoEncoder = "mpeg2video";
    settings.strAudioEncoder = MPEG_AUDIO_ENCODER;
    settings.bSaveToFile = true;
    settings.dDurationLimitSeconds = std::strtod(arguments[nFirst], nullptr);
    settings.strFileName = arguments[nFirst + 1];

    const double dCpuBefore = ProcessCpuSeconds();
    CRecordingSession session(settings, nullptr, nullptr, 0, 0);
    EFailure eCause = EFailure::eNone;
    std::string strReason;
    if (!session.Start(eCause, strReason)) {
        std::fprintf(stderr, "cannot record: %s\n", strReason.c_str());
        return 1;
    }
    session.WaitUntilFinished(-1);
    const double dCpuSeconds = ProcessCpuSeconds() - dCpuBefore;
    const CRecorderStatus status = session.TakeStatus();
    if (!status.strError.empty())
        std::fprintf(stderr, "the recording ended early: %s\n", status.strError.c_str());
    std::printf("%-9s video %.2f s, frames encoded %lld, dropped %lld, repeated %lld, skipped %lld, "
                "cpu %.3f s per second of video\n",
                strSource.c_str(), status.dElapsedSeconds, static_cast<long long>(status.nVideoFramesEncoded),
                static_cast<long long>(status.nVideoFramesDropped), static_cast<long long>(status.nVideoFramesRepeated),
                static_cast<long long>(status.nVideoFramesSkipped),
                status.dElapsedSeconds > 0 ? dCpuSeconds / status.dElapsedSeconds : 0.0);
    return status.strError.empty() ? 0 : 1;
}
