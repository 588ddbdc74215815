#include "engine/SessionTrace.h"

#include "engine/EngineLog.h"
#include "engine/RecorderTypes.h"
#include "engine/RecordingSettings.h"

namespace {

const char* StreamName(bool bVideo)
{
    return bVideo ? "video" : "audio";
}

std::string OutputText(const CRecordingSettings& settings)
{
    if (!settings.bSaveToFile)
        return "preview only";
    if (settings.nWorkMode == WORK_MODE_AVI)
        return "AVI file " + settings.strFileName + " (video " + settings.strVideoEncoder + ", audio "
            + settings.strAudioEncoder + ")";
    const char* pszType = settings.nOutputType == OUTPUT_TYPE_MPEG1 ? "MPEG-1" : "MPEG-2";
    return std::string(pszType) + " file " + settings.strFileName;
}

} // namespace

namespace SessionTrace {

void SourceOpened(bool bVideo, const std::string& strDevice, const std::string& strDelivered)
{
    if (EngineLog::IsWanted(ELogLevel::eInfo))
        EngineLog::Write(ELogLevel::eInfo,
                         std::string(StreamName(bVideo)) + " device \"" + strDevice + "\" opened: " + strDelivered);
}

void Started(const CRecordingSettings& settings)
{
    if (!EngineLog::IsWanted(ELogLevel::eInfo))
        return;
    const std::string strVideo = settings.bVideoCapture ? std::to_string(settings.nVideoWidth) + "x"
            + std::to_string(settings.nVideoHeight) + " at " + std::to_string(settings.frameRate.num) + "/"
            + std::to_string(settings.frameRate.den) + " frames/s, " + std::to_string(settings.nVideoBitrate) + " bit/s"
                                                        : std::string("none");
    const std::string strAudio = settings.bAudioCapture
        ? std::to_string(settings.nAudioSampleRate) + " Hz, " + std::to_string(settings.nAudioChannels) + " channels, "
            + std::to_string(settings.nAudioBitrate) + " bit/s"
        : std::string("none");
    EngineLog::Write(ELogLevel::eInfo,
                     "recording started: " + OutputText(settings) + "; video " + strVideo + "; audio " + strAudio
                         + "; sync mode " + std::to_string(settings.nSyncMode) + ", audio offset "
                         + std::to_string(settings.nAudioOffsetMs) + " ms");
}

void FirstDrop(bool bVideo)
{
    if (EngineLog::IsWanted(ELogLevel::eInfo))
        EngineLog::Write(ELogLevel::eInfo,
                         std::string(StreamName(bVideo))
                             + " frame dropped: the recording falls behind the device and its queue is full; "
                               "later drops are counted");
}

void Closed(const CRecorderStatus& status)
{
    if (!EngineLog::IsWanted(ELogLevel::eInfo))
        return;
    std::string strLine = "recording closed after " + std::to_string(status.dElapsedSeconds) + " s, "
        + std::to_string(status.nBytesWritten) + " bytes written; dropped " + std::to_string(status.nVideoFramesDropped)
        + " video and " + std::to_string(status.nAudioFramesDropped) + " audio frames; to keep the frame rate "
        + std::to_string(status.nVideoFramesSkipped) + " frames left out and "
        + std::to_string(status.nVideoFramesRepeated) + " repeated";
    if (!status.strError.empty())
        strLine += "; ended by itself: " + status.strError;
    EngineLog::Write(ELogLevel::eInfo, strLine);
}

} // namespace SessionTrace
