#include "tests/engine/MediaProbe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <thread>

bool ConfigureRecorder(CRecorder& recorder, const CRecordingRequest& request, const std::string& strFile)
{
    const short nVideo = recorder.GetVideoDevices().FindIndex(request.strVideoDevice);
    const short nAudio = recorder.GetAudioDevices().FindIndex(request.strAudioDevice);
    if (nVideo < 0 || nAudio < 0)
        return false;
    recorder.SetVideoDevice(nVideo);
    recorder.SetAudioDevice(nAudio);
    recorder.Profile().nOutputType = request.nOutputType;
    recorder.Profile().nFrameRate = request.nFrameRate;
    recorder.Profile().nAudioBitrate = request.nAudioBitrate;
    recorder.Profile().nVideoBitrate = request.nVideoBitrate;
    recorder.Profile().nAudioChannels = request.nChannels;
    recorder.Profile().nAudioSampleRate = request.nSampleRate;
    recorder.Profile().nVideoWidth = request.nWidth;
    recorder.Profile().nVideoHeight = request.nHeight;
    recorder.Profile().strFileName = strFile;
    recorder.Profile().bSaveToFile = !strFile.empty();
    recorder.Profile().nSyncMode = request.nSyncMode;
    recorder.Profile().nAudioOffset = request.nAudioOffsetMs;
    recorder.Profile().nWorkMode = WORK_MODE_MPEG;
    recorder.SetVideoFrame(request.nVideoFrame);
    recorder.Profile().test.bFastSources = request.bFast;
    recorder.Profile().test.bSyncMarks = request.bSyncMarks;
    recorder.Profile().test.nClockSkewPpm = request.nClockSkewPpm;
    recorder.Profile().dDurationLimitSeconds = request.dSeconds;
    return true;
}

::testing::AssertionResult RecordToTheEnd(CRecorder& recorder)
{
    if (recorder.Start() == -1)
        return ::testing::AssertionFailure() << "Start failed: " << recorder.GetLastError();
    recorder.WaitUntilFinished(-1);
    recorder.Stop();
    if (!recorder.GetStatus().strError.empty())
        return ::testing::AssertionFailure() << "recording failed: " << recorder.GetStatus().strError;
    return ::testing::AssertionSuccess();
}

QByteArray RunProgram(const QString& strProgram, const QStringList& arguments, int* pExitCode, QByteArray* pErrorOutput)
{
    QProcess process;
    process.start(strProgram, arguments);
    process.waitForFinished(60000);
    if (pExitCode)
        *pExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (pErrorOutput)
        *pErrorOutput = process.readAllStandardError();
    return process.readAllStandardOutput();
}

QJsonObject ProbeFile(const std::string& strFile)
{
    const QByteArray json = RunProgram(
        "ffprobe", { "-v", "error", "-show_format", "-show_streams", "-of", "json", QString::fromStdString(strFile) });
    return QJsonDocument::fromJson(json).object();
}

QJsonObject FindStream(const QJsonObject& probe, const QString& strType)
{
    for (const QJsonValue& stream : probe["streams"].toArray()) {
        if (stream["codec_type"].toString() == strType)
            return stream.toObject();
    }
    return {};
}

double JsonNumber(const QJsonObject& object, const QString& strKey)
{
    const QJsonValue value = object[strKey];
    return value.isString() ? value.toString().toDouble() : value.toDouble();
}

namespace {

// Every decoded frame of one stream ("v" or "a"), in presentation order. A
// program stream carries a timestamp only where a PES packet starts, so
// small pictures that share a packet have none of their own; the decoder's
// best-effort time fills them in.
QJsonArray DecodedFrames(const std::string& strFile, const char* pszStream, const char* pszEntries)
{
    const QByteArray json = RunProgram("ffprobe",
                                       { "-v", "error", "-select_streams", pszStream, "-show_entries",
                                         QStringLiteral("frame=%1").arg(QLatin1String(pszEntries)), "-of", "json",
                                         QString::fromStdString(strFile) });
    return QJsonDocument::fromJson(json).object()["frames"].toArray();
}

double FrameTime(const QJsonValue& frame)
{
    return frame["best_effort_timestamp_time"].toString().toDouble();
}

} // namespace

double StreamSpanSeconds(const std::string& strFile, const char* pszStream)
{
    double dFirst = 1e9;
    double dEnd = -1e9;
    for (const QJsonValue& frame : DecodedFrames(strFile, pszStream, "best_effort_timestamp_time,pkt_duration_time")) {
        if (!frame.toObject().contains("best_effort_timestamp_time"))
            continue;
        dFirst = std::min(dFirst, FrameTime(frame));
        dEnd = std::max(dEnd, FrameTime(frame) + frame["pkt_duration_time"].toString().toDouble());
    }
    return dEnd > dFirst ? dEnd - dFirst : 0;
}

std::vector<double> VideoFrameTimes(const std::string& strFile)
{
    std::vector<double> times;
    for (const QJsonValue& frame : DecodedFrames(strFile, "v", "best_effort_timestamp_time"))
        times.push_back(FrameTime(frame));
    return times;
}

std::string VideoPictureTypes(const std::string& strFile)
{
    std::string strTypes;
    for (const QJsonValue& frame : DecodedFrames(strFile, "v", "pict_type"))
        strTypes += frame["pict_type"].toString().toStdString();
    return strTypes;
}

QString DecodeErrors(const std::string& strFile)
{
    int nExitCode = -1;
    QByteArray errors;
    RunProgram("ffmpeg", { "-v", "error", "-i", QString::fromStdString(strFile), "-f", "null", "-" }, &nExitCode,
               &errors);
    if (nExitCode != 0 && errors.isEmpty())
        errors = "ffmpeg exited with " + QByteArray::number(nExitCode);
    return QString::fromUtf8(errors).trimmed();
}

bool WaitForElapsed(const CRecorder& recorder, double dSeconds, int nTimeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (recorder.GetStatus().dElapsedSeconds < dSeconds) {
        if (!recorder.IsRunning() || std::chrono::steady_clock::now() > deadline)
            return false;
        // The status changes twenty times a second; a shorter poll sees each.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

double MaxVolumeDb(const std::string& strFile, double dFromSeconds, double dToSeconds)
{
    QByteArray report;
    RunProgram("ffmpeg",
               { "-v", "info", "-i", QString::fromStdString(strFile), "-vn", "-af",
                 QStringLiteral("atrim=start=%1:end=%2,volumedetect").arg(dFromSeconds).arg(dToSeconds), "-f", "null",
                 "-" },
               nullptr, &report);
    const QByteArray key = "max_volume: ";
    const qsizetype nAt = report.indexOf(key);
    return nAt < 0 ? 0 : report.mid(nAt + key.size()).split(' ').first().toDouble();
}

bool WaitForCount(const std::atomic<int>& nCounter, int nAtLeast, int nTimeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (nCounter < nAtLeast) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::vector<std::uint8_t> DecodePictureRgb(const std::string& strFile, double dSeconds)
{
    const QByteArray pixels =
        RunProgram("ffmpeg",
                   { "-v", "error", "-i", QString::fromStdString(strFile), "-ss", QString::number(dSeconds),
                     "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-" });
    return std::vector<std::uint8_t>(pixels.begin(), pixels.end());
}

std::map<std::string, double> ParseNameValueLines(const QByteArray& output)
{
    std::map<std::string, double> values;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            values[fields[0].toStdString()] = fields[1].toDouble();
    }
    return values;
}
