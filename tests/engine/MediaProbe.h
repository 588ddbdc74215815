#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/Recorder.h"

// What a test asks the recorder to record; defaults are small and fast.
struct CRecordingRequest
{
    int nOutputType = 6;
    short nFrameRate = 29;
    short nWidth = 352;
    short nHeight = 240;
    int nVideoBitrate = 1500000;
    int nAudioBitrate = 192000;
    int nSampleRate = 48000;
    short nChannels = 2;
    short nSyncMode = 1;
    short nAudioOffsetMs = 0;
    short nVideoFrame = 0;
    double dSeconds = 1.0;
    bool bFast = true;
    bool bSyncMarks = false;
    int nClockSkewPpm = 0;
    std::string strVideoDevice = "Test Pattern";
    std::string strAudioDevice = "Test Tone";
};

// Writes the request into the recorder as the program would; false when a
// device is not in its list.
bool ConfigureRecorder(CRecorder& recorder, const CRecordingRequest& request, const std::string& strFile);

// Starts the configured recorder and waits for the end of its duration; the
// recorder's reason on failure.
::testing::AssertionResult RecordToTheEnd(CRecorder& recorder);

// Runs a program and returns its standard output; the exit code goes to
// *pExitCode when given.
QByteArray RunProgram(const QString& strProgram, const QStringList& arguments, int* pExitCode = nullptr,
                      QByteArray* pErrorOutput = nullptr);

// ffprobe -of json of a file's format and streams.
// The "name value" lines of a program's report (mpegrec's summary,
// syncprobe's offsets), by name.
std::map<std::string, double> ParseNameValueLines(const QByteArray& output);

QJsonObject ProbeFile(const std::string& strFile);
// The stream of the given codec_type ("video", "audio"); empty when absent.
QJsonObject FindStream(const QJsonObject& probe, const QString& strType);
double JsonNumber(const QJsonObject& object, const QString& strKey);

// From the first frame's start to the last frame's end of one stream ("v" or
// "a"), in seconds. Counts what is in the file, where ffprobe's stream
// duration of a program stream is only an estimate.
double StreamSpanSeconds(const std::string& strFile, const char* pszStream);

// Presentation times of a file's video pictures, in seconds, in display order.
std::vector<double> VideoFrameTimes(const std::string& strFile);
// The type of each video picture in display order, a letter each ("IBBP...").
std::string VideoPictureTypes(const std::string& strFile);

// What a full decode of the file to its last frame complains about; empty
// for a whole file.
QString DecodeErrors(const std::string& strFile);

// Waits, without sleeping blind, until the recorder's elapsed media time
// reaches dSeconds; false when the recording ended or the time was up first.
bool WaitForElapsed(const CRecorder& recorder, double dSeconds, int nTimeoutMs = 30000);

// Waits until a counter bumped by a recorder callback reaches nAtLeast;
// false when the time was up first.
bool WaitForCount(const std::atomic<int>& nCounter, int nAtLeast, int nTimeoutMs = 30000);

// The loudest sample of the audio between two times, in dB of full scale,
// as FFmpeg's volumedetect measures it (about -91 for digital silence).
double MaxVolumeDb(const std::string& strFile, double dFromSeconds, double dToSeconds);

// One decoded picture at the given time, as packed RGB (3 bytes a pixel).
std::vector<std::uint8_t> DecodePictureRgb(const std::string& strFile, double dSeconds);
