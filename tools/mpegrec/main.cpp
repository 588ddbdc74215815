#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "base/FramePictureFiles.h"
#include "engine/CompressorCatalog.h"
#include "engine/DiscStandard.h"
#include "engine/FfmpegLog.h"
#include "engine/Recorder.h"
#include "portal/RestoreTokenStore.h"
#include "portal/ScreenCastPortal.h"
#include "recorder/EngineWords.h"
#include "tools/mpegrec/CommandLine.h"
#include "tools/mpegrec/FailureReasons.h"
#include "tools/mpegrec/MpegrecText.h"
#include "tools/mpegrec/StartAndStop.h"
#include "translations/ProgramTranslations.h"
#include "version/ProjectVersion.h"

namespace {

constexpr int WAIT_SLICE_MS = 100;

std::atomic<bool> g_bInterrupted = false;

void OnInterrupt(int)
{
    g_bInterrupted = true;
}

void PrintList(const std::string& strTitle, const CNameList& list)
{
    std::cout << strTitle << ":\n";
    for (short nIndex = 0; nIndex < list.Count(); ++nIndex)
        std::cout << "  " << nIndex << ": " << list.Name(nIndex) << "\n";
}

// Every list, with the inputs and formats of every device.
void PrintEverything(CRecorder& recorder)
{
    const CNameList videoDevices = recorder.GetVideoDevices();
    PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Video devices")), videoDevices);
    for (short nDevice = 0; nDevice < videoDevices.Count(); ++nDevice) {
        recorder.SetVideoDevice(nDevice);
        PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Video inputs of %1"), videoDevices.Name(nDevice)),
                  recorder.GetVideoInputs());
        PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Video formats of %1"), videoDevices.Name(nDevice)),
                  recorder.GetVideoFormats());
    }
    const CNameList audioDevices = recorder.GetAudioDevices();
    PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Audio devices")), audioDevices);
    for (short nDevice = 0; nDevice < audioDevices.Count(); ++nDevice) {
        recorder.SetAudioDevice(nDevice);
        PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Audio inputs of %1"), audioDevices.Name(nDevice)),
                  recorder.GetAudioInputs());
    }
    PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Video compressors")), recorder.GetVideoCompressors());
    PrintList(Say(QT_TRANSLATE_NOOP("CMpegrec", "Audio compressors")), recorder.GetAudioCompressors());
}

bool ChooseDevices(CRecorder& recorder, const CCommandLine& command, std::string& strError)
{
    if (!command.strVideoDevice.empty()) {
        const short nIndex = recorder.GetVideoDevices().FindIndex(command.strVideoDevice);
        if (nIndex < 0) {
            strError =
                Say(QT_TRANSLATE_NOOP("CMpegrec", "no video device named \"%1\" (see --list)"), command.strVideoDevice);
            return false;
        }
        recorder.SetVideoDevice(nIndex);
    }
    if (!command.strAudioDevice.empty()) {
        const short nIndex = recorder.GetAudioDevices().FindIndex(command.strAudioDevice);
        if (nIndex < 0) {
            strError =
                Say(QT_TRANSLATE_NOOP("CMpegrec", "no audio device named \"%1\" (see --list)"), command.strAudioDevice);
            return false;
        }
        recorder.SetAudioDevice(nIndex);
    }
    return true;
}

bool ChooseCompressor(CRecorder& recorder, ECompressorKind eKind, const std::string& strCodec, std::string& strError)
{
    if (strCodec.empty())
        return true;
    const int nIndex = FindCompressor(eKind, strCodec);
    if (nIndex < 0) {
        strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "no compressor %1 among those that record AVI files (see --list)"),
                       strCodec);
        return false;
    }
    (eKind == ECompressorKind::eVideo ? recorder.Profile().nVideoCompressor : recorder.Profile().nAudioCompressor) =
        static_cast<short>(nIndex);
    return true;
}

void ApplyProfile(CRecorder& recorder, const CCommandLine& command)
{
    // The disc's values first, so that the options given beside it change them.
    if (command.target)
        ApplyDiscStandard(recorder.Profile(), *command.target, command.eTargetNorm);
    if (!command.target || !command.strType.empty()) {
        const std::string strType = command.strType.empty() ? DEFAULT_TYPE : command.strType;
        recorder.Profile().nOutputType = strType == "mpeg2" ? OUTPUT_TYPE_MPEG2 : OUTPUT_TYPE_MPEG1;
    }
    // A disc's frame rate is its norm's, which the given rate chose.
    if (command.frameRate && !command.target)
        recorder.Profile().nFrameRate = static_cast<short>(*command.frameRate);
    if (command.nWidth) {
        recorder.Profile().nVideoWidth = static_cast<short>(*command.nWidth);
        recorder.Profile().nVideoHeight = static_cast<short>(*command.nHeight);
    }
    if (command.nAspectWidth) {
        recorder.Profile().nAspectNumerator = *command.nAspectWidth;
        recorder.Profile().nAspectDenominator = *command.nAspectHeight;
    }
    if (command.videoBitrate)
        recorder.Profile().nVideoBitrate = *command.videoBitrate;
    if (command.audioBitrate)
        recorder.Profile().nAudioBitrate = *command.audioBitrate;
    if (command.sampleRate)
        recorder.Profile().nAudioSampleRate = *command.sampleRate;
    if (command.channels)
        recorder.Profile().nAudioChannels = static_cast<short>(*command.channels);
    if (command.syncMode)
        recorder.Profile().nSyncMode = static_cast<short>(*command.syncMode);
    if (command.audioOffsetMs)
        recorder.Profile().nAudioOffset = static_cast<short>(*command.audioOffsetMs);
    recorder.SetVideoFrame(static_cast<short>(command.nFrame));
    recorder.Profile().strFileName = command.strOutput;
    recorder.Profile().strTitle = command.strTitle;
    recorder.Profile().bSaveToFile = true;
    recorder.Profile().nWorkMode = command.strType == "avi" ? WORK_MODE_AVI : WORK_MODE_MPEG;
    recorder.Profile().bVideoCapture = !command.bNoVideo;
    recorder.Profile().bAudioCapture = !command.bNoAudio;
    recorder.Profile().test.bFastSources = command.bFast;
    recorder.Profile().test.bSyncMarks = command.bSyncMarks;
    recorder.Profile().test.nClockSkewPpm = command.clockSkewPpm.value_or(0);
    recorder.Profile().dDurationLimitSeconds = command.dDurationSeconds;
}

// The options given beside --target must leave a profile the disc takes.
bool CheckTarget(const CRecordingProfile& profile, const CCommandLine& command, std::string& strError)
{
    if (!command.target)
        return true;
    const std::vector<std::string> reasons = DiscStandardShortfalls(profile, *command.target);
    if (reasons.empty())
        return true;
    strError =
        Say(QT_TRANSLATE_NOOP("CMpegrec", "%1 does not allow %2"), std::string(DiscStandard(*command.target).pszName),
            EngineWords::DiscShortfalls(reasons).toStdString());
    return false;
}

// --frame numbers the pictures of the folder the recording takes them from
// from 1; 0 is none.
bool CheckFramePicture(const CCommandLine& command, std::string& strError)
{
    if (command.nFrame == NO_FRAME_PICTURE_NUMBER)
        return true;
    const std::filesystem::path folder = FindFramePictureFolder();
    const std::size_t nCount = folder.empty() ? 0 : ListFramePictures(folder).size();
    if (static_cast<std::size_t>(FramePictureListIndex(command.nFrame)) < nCount)
        return true;
    strError = "--frame " + command.givenValues.at("--frame") + ": ";
    if (folder.empty()) {
        strError += Say(QT_TRANSLATE_NOOP(
            "CMpegrec", "there is no Frame folder in the current folder or beside mpegrec (0 for none)"));
        return false;
    }
    const std::string strCount = std::to_string(nCount);
    if (nCount == 0)
        strError +=
            Say(QT_TRANSLATE_NOOP("CMpegrec", "the Frame folder %1 has no pictures (0 for none)"), folder.string());
    else if (nCount == 1)
        strError +=
            Say(QT_TRANSLATE_NOOP("CMpegrec", "the Frame folder %1 has 1 picture (1, or 0 for none)"), folder.string());
    else
        strError += Say(QT_TRANSLATE_NOOP("CMpegrec", "the Frame folder %1 has %2 pictures (1 to %2, or 0 for none)"),
                        folder.string(), strCount);
    return false;
}

// A mistake in the command line: what it is, and where to read more.
int UsageError(const std::string& strError)
{
    std::cerr << "mpegrec: " << strError << "\n" << Say(TRY_HELP) << "\n";
    return EXIT_USAGE;
}

// The desktop portal's screen is shared once the desktop has asked the
// person (the first time; the token kept spares the next ones). False with
// the reason when it is not.
bool OpenScreenCast(CRecorder& recorder, CScreenCastPortal& screenCast, std::string& strError)
{
    if (!recorder.Profile().bVideoCapture
        || recorder.GetVideoDevices().Name(recorder.GetVideoDevice()) != PORTAL_SCREEN_NAME)
        return true;
    CScreenCastGrant grant;
    QString strReason;
    switch (screenCast.Open(grant, strReason)) {
    case CScreenCastPortal::EOutcome::eGranted:
        recorder.Profile().pipeWireStream = { grant.nPipeWireFd, grant.nNode };
        return true;
    case CScreenCastPortal::EOutcome::eRefused:
        strError = strReason.toStdString();
        return false;
    case CScreenCastPortal::EOutcome::eFailed:
        break;
    }
    strError = Say(QT_TRANSLATE_NOOP("CMpegrec", "the desktop did not share its screen: %1"), strReason.toStdString());
    return false;
}

using CWallTime = std::chrono::system_clock::time_point;

// When the recording is to end by the wall clock: --stop-at, or --duration
// after --start-at.
std::optional<CWallTime> WallClockEnd(const CCommandLine& command)
{
    if (command.stopAt)
        return std::chrono::system_clock::from_time_t(*command.stopAt);
    if (!command.startAt || command.dDurationSeconds <= 0)
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(*command.startAt)
        + std::chrono::duration_cast<std::chrono::system_clock::duration>(
               std::chrono::duration<double>(command.dDurationSeconds));
}

// Waits for --start-at, then sets what is left to record and the file a
// --folder recording gets; the exit status when nothing is to be recorded.
std::optional<int> WaitForStart(CRecorder& recorder, const CCommandLine& command)
{
    const std::optional<CWallTime> end = WallClockEnd(command);
    const auto EndHasPassed = [&] {
        const std::string strEnd = command.stopAt
            ? "--stop-at " + command.givenValues.at("--stop-at")
            : Say(QT_TRANSLATE_NOOP("CMpegrec", "--start-at %1 plus --duration"), command.givenValues.at("--start-at"));
        std::cerr << "mpegrec: "
                  << Say(QT_TRANSLATE_NOOP("CMpegrec",
                                           "the end of the recording (%1) has passed; nothing was recorded"),
                         strEnd)
                  << "\n";
        return EXIT_USAGE;
    };
    if (end && *end <= std::chrono::system_clock::now())
        return EndHasPassed();
    if (command.startAt && !WaitForWallClock(*command.startAt, g_bInterrupted)) {
        std::cerr << "mpegrec: "
                  << Say(QT_TRANSLATE_NOOP("CMpegrec", "interrupted before the start; nothing was recorded")) << "\n";
        return EXIT_FAILURE;
    }
    if (end) {
        // A start that passed while mpegrec was not running, or the computer
        // slept, leaves less to record.
        const std::chrono::duration<double> left = *end - std::chrono::system_clock::now();
        if (left.count() <= 0)
            return EndHasPassed();
        recorder.Profile().dDurationLimitSeconds = left.count();
    }
    if (!command.strFolder.empty()) {
        recorder.Profile().strFileName = FileInFolder(command.strFolder, command.strTitle, std::time(nullptr),
                                                      command.strType == "avi" ? ".avi" : ".mpg");
        std::cout << "file " << recorder.Profile().strFileName << std::endl;
    }
    return std::nullopt;
}

int Record(CRecorder& recorder, const CCommandLine& command)
{
    std::string strError;
    if (!CheckFramePicture(command, strError) || !ChooseDevices(recorder, command, strError)
        || !ChooseCompressor(recorder, ECompressorKind::eVideo, command.strVideoCompressor, strError)
        || !ChooseCompressor(recorder, ECompressorKind::eAudio, command.strAudioCompressor, strError))
        return UsageError(strError);
    ApplyProfile(recorder, command);
    if (!CheckTarget(recorder.Profile(), command, strError))
        return UsageError(strError);
    // Lasts as long as the recording reads the screen it shares. Ctrl+C
    // while the desktop asks ends mpegrec at once: there is no file yet.
    CScreenCastPortal screenCast(DefaultRestoreTokenFile());
    if (!OpenScreenCast(recorder, screenCast, strError)) {
        std::cerr << "mpegrec: " << strError << "\n";
        return EXIT_FAILURE;
    }
    // Closing the terminal hangs up on the recording, which ends it as
    // Ctrl+C does: the file is closed whole.
    for (const int nSignal : { SIGINT, SIGTERM, SIGHUP })
        std::signal(nSignal, OnInterrupt);
    if (const std::optional<int> nExit = WaitForStart(recorder, command))
        return *nExit;
    if (recorder.Start() == -1) {
        std::cerr << "mpegrec: " << DescribeStartFailure(recorder.GetLastFailure(), recorder.GetLastError()) << "\n";
        return EXIT_FAILURE;
    }
    while (!recorder.WaitUntilFinished(WAIT_SLICE_MS)) {
        if (g_bInterrupted)
            break;
    }
    recorder.Stop();
    const CRecorderStatus status = recorder.GetStatus();
    std::printf("frames %lld\ndropped %lld\naudio-dropped %lld\nskipped %lld\nrepeated %lld\nbytes %lld\n"
                "seconds %.3f\n",
                static_cast<long long>(status.nVideoFramesEncoded), static_cast<long long>(status.nVideoFramesDropped),
                static_cast<long long>(status.nAudioFramesDropped), static_cast<long long>(status.nVideoFramesSkipped),
                static_cast<long long>(status.nVideoFramesRepeated), static_cast<long long>(status.nBytesWritten),
                status.dElapsedSeconds);
    if (!status.strError.empty()) {
        std::cerr << "mpegrec: " << Say(QT_TRANSLATE_NOOP("CMpegrec", "recording stopped: %1"), status.strError)
                  << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything is said: the messages and the help follow the
    // user's language. The desktop portal is spoken to through Qt's D-Bus,
    // which needs the application too.
    QCoreApplication application(argc, argv);
    // The recorder's catalogue holds the engine's words.
    ProgramTranslations::Install(
        application,
        { QStringLiteral("mpegrec"), QStringLiteral("skinrec_recorder"), QStringLiteral("skinrec_portal") });
    std::string strError;
    const std::optional<CCommandLine> command =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), strError);
    if (!command)
        return UsageError(strError);
    if (command->bHelp) {
        std::cout << MpegrecUsage();
        return EXIT_SUCCESS;
    }
    if (command->bVersion) {
        std::cout << "mpegrec (SkinRecorder) " << SKINREC_VERSION << "\n";
        return EXIT_SUCCESS;
    }
    // FFmpeg's lines only when SKINREC_FFMPEG_LOG asks for them: they would
    // bury the summary, and the reasons quote FFmpeg's errors anyway.
    SetFfmpegLogSink([](ELogLevel, const std::string& strLine) { std::cerr << strLine << "\n"; });
    CaptureFfmpegErrors();
    try {
        CRecorder recorder;
        recorder.SetPortalProbe([] { return CScreenCastPortal::IsOffered(); });
        if (command->bList) {
            PrintEverything(recorder);
            return EXIT_SUCCESS;
        }
        return Record(recorder, *command);
    } catch (const std::exception& exception) {
        std::cerr << "mpegrec: " << exception.what() << "\n";
        return EXIT_FAILURE;
    }
}
