#pragma once

#include "engine/DeviceCatalog.h"
#include "engine/NameList.h"
#include "engine/RecorderTypes.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class CRecordingSession;
struct CRecordingSettings;

// The recording engine as the program drives it: properties written before
// Start, the name lists the settings dialogs show, and Start, Stop, Pause and
// Resume. Start captures from the chosen devices and, with SaveToFile and a
// FileName, writes an MPEG-1 (OutputType 5) or DVD-compatible MPEG-2
// (OutputType 6) program stream.
//
// Thread contract: one controlling thread (the UI thread) calls every method
// unless a method says otherwise. The preview and status callbacks are called
// on engine threads, never on the controlling thread; they must return quickly
// and must not call back into the recorder except through methods marked
// "any thread". No callback runs any more once Stop with StopFlag set (or the
// destructor) has returned.
class CRecorder {
public:
    CRecorder();
    ~CRecorder(); // stops a running recording first
    CRecorder(const CRecorder&) = delete;
    CRecorder& operator=(const CRecorder&) = delete;

    // Device lists are read on first use; this reads them again (after a
    // device was plugged in), keeping the chosen devices by name. Takes up
    // to a few hundred milliseconds.
    // Controlling thread (as is every method without a note of its own).
    void RefreshDevices();
    // The same without blocking: the devices are read on a thread of its
    // own, which calls onScanned when done; AdoptScannedDevices then takes
    // the lists on the controlling thread. A scan still running is not
    // started again, and its end is reported to the latest onScanned.
    void BeginDeviceScan(std::function<void()> onScanned);
    // False when no scan has finished since the last adoption.
    bool AdoptScannedDevices();

    // Name lists; controlling thread. The format and input lists without a
    // device number belong to the current device. The first call may
    // enumerate the devices (or wait for a scan under way).
    CNameList GetVideoDevices();
    CNameList GetVideoInputs();
    CNameList GetVideoInputs(short nDevice);
    CNameList GetVideoFormats();
    CNameList GetVideoFormats(short nDevice);
    CNameList GetVideoCompressors() const;
    CNameList GetAudioDevices();
    CNameList GetAudioInputs();
    CNameList GetAudioInputs(short nDevice);
    CNameList GetAudioCompressors() const;

    // Device choice; controlling thread. Choosing a device also resets its input to 0 and its
    // format to the device's own default; an index outside the list is kept
    // and makes Start fail with the reason.
    void SetVideoDevice(short nIndex);
    short GetVideoDevice();
    void SetVideoInput(short nIndex);
    short GetVideoInput() const;
    void SetVideoFormat(short nIndex); // -1: the device's default format
    short GetVideoFormat() const;
    void SetAudioDevice(short nIndex);
    short GetAudioDevice();
    void SetAudioInput(short nIndex);
    short GetAudioInput() const;

    // Compressors; controlling thread. In MPEG work mode the output type fixes the encoders
    // (mpeg1video or mpeg2video, and mp2); the option values stored for those
    // encoders are used when they open.
    void SetVideoCompressor(short nIndex);
    short GetVideoCompressor() const;
    void SetAudioCompressor(short nIndex);
    short GetAudioCompressor() const;
    bool HasCompressorOptions(ECompressorKind eKind, short nIndex) const;
    std::vector<CCompressorOption> GetCompressorOptions(ECompressorKind eKind, short nIndex) const;
    // False with the encoder's reason when it does not take the value.
    bool SetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption,
        const std::string& strValue, std::string& strReason);
    // The user's value, or empty when the option keeps its default.
    std::string GetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption) const;

    // MPEG profile; controlling thread, read by Start. Bit rates in bit/s. FrameRate: 23, 29 and 59 stand for
    // 24000/1001, 30000/1001 and 60000/1001; 24, 25, 30, 50 and 60 for
    // themselves; other values make Start fail.
    void SetOutputType(int nType);
    int GetOutputType() const;
    void SetFrameRate(short nRate);
    short GetFrameRate() const;
    void SetVideoWidth(short nWidth);
    short GetVideoWidth() const;
    void SetVideoHeight(short nHeight);
    short GetVideoHeight() const;
    void SetVideoBitrate(int nBitrate);
    int GetVideoBitrate() const;
    void SetAudioBitrate(int nBitrate);
    int GetAudioBitrate() const;
    void SetAudioSampleRate(int nRate);
    int GetAudioSampleRate() const;
    void SetAudioChannels(short nChannels);
    short GetAudioChannels() const;
    // Display aspect ratio of the coded picture; 4:3 unless told otherwise.
    void SetDisplayAspect(int nNumerator, int nDenominator);

    // Capture size asked of the device instead of its default; controlling
    // thread, read by Start.
    void SetUseCustomFrame(bool bUse);
    bool GetUseCustomFrame() const;
    void SetCustomFrameWidth(short nWidth);
    short GetCustomFrameWidth() const;
    void SetCustomFrameHeight(short nHeight);
    short GetCustomFrameHeight() const;

    // Controlling thread, read by Start. 0 No Sync, 1 Auto, 2 Manual (Auto
    // shifted by AudioOffset ms; positive plays the audio later).
    void SetSyncMode(short nMode);
    short GetSyncMode() const;
    void SetAudioOffset(short nMilliseconds);
    short GetAudioOffset() const;

    // Controlling thread, read by Start. Without SaveToFile and a FileName,
    // Start captures and previews only.
    void SetSaveToFile(bool bSave);
    bool GetSaveToFile() const;
    void SetFileName(const std::string& strFileName);
    std::string GetFileName() const;

    // The remaining properties: controlling thread.
    // 2 is MPEG capture, the only mode there is; Start fails on others.
    void SetWorkMode(int nMode);
    int GetWorkMode() const;
    // With StopFlag (the default) Stop ends capture and preview; without it
    // Stop closes the file and the preview goes on.
    void SetStopFlag(bool bStop);
    bool GetStopFlag() const;
    // Mutes the V4L2 device's audio; takes effect at once.
    void SetTVMute(bool bMute);
    bool GetTVMute() const;
    // n >= 1 lays the n-th frame picture over every frame; 0 none. Takes
    // effect at once, also while recording.
    void SetVideoFrame(short nNumber);
    short GetVideoFrame() const;

    // Lets the built-in test sources run as fast as the encoders can instead
    // of in real time (benchmarks, tests); real devices always run in real time.
    void SetFastTestSources(bool bFast);
    // Ends the recording by itself after this much media time; 0: until Stop.
    void SetDurationLimit(double dSeconds);
    // Test only: a session may start this many threads, the next fails as
    // when the system has none left; -1 (the default) sets no limit.
    void SetTestThreadLimit(int nThreads);
    // Test only: the built-in sources deliver nothing while set, as a
    // stalled device; takes effect at once. Any thread.
    void StallTestSources(bool bStall);

    // Called on an engine thread at most ~30 times a second with the coded
    // picture scaled to the preview size (0 x 0: the coded size). Set while
    // stopped; the next Start uses it.
    void SetPreviewCallback(CPreviewCallback callback);
    void SetPreviewSize(int nWidth, int nHeight);
    // Called on an engine thread about four times a second and once more
    // with bFinished when the recording ends (by Stop, failure or the
    // duration limit). Set while stopped.
    void SetStatusCallback(CStatusCallback callback);

    // Transport; controlling thread.
    // -1 when capture or encoding cannot start (GetLastError tells why); 0 on
    // success. A running recording is stopped first (its file closed whole),
    // except that a Start asking for the very file it writes is refused:
    // reopening would truncate it.
    short Start();
    // A running session writes this file (the same path, or another name
    // for the same file).
    bool IsWritingFile(const std::string& strFileName) const;
    // Finishes and closes the file; returns within about two seconds.
    void Stop();
    // The file gets no gap: the recording continues seamlessly on Resume.
    void Pause();
    void Resume();

    // True from a successful Start until the recording has ended (by Stop,
    // a failure or the duration limit). Any thread.
    bool IsRunning() const;
    // Waits until the recording ends by itself or is stopped; false on
    // timeout. Blocks: not for the UI thread.
    bool WaitUntilFinished(int nTimeoutMs);
    // The latest status. Any thread.
    CRecorderStatus GetStatus() const;
    // Why the last Start failed or the last recording ended early. Any thread.
    std::string GetLastError() const;

private:
    struct CDeviceLists {
        std::vector<CVideoDeviceInfo> video;
        std::vector<CAudioDeviceInfo> audio;
    };
    void EnsureDevices();
    void AdoptDevices(CDeviceLists lists);
    void JoinScan();
    std::string CompressorCodec(ECompressorKind eKind, short nIndex) const;
    bool BuildSettings(CRecordingSettings& settings, std::string& strReason);
    bool StartSession(bool bSaveToFile, std::string& strReason);
    void StopSession();
    void OnStatus(const CRecorderStatus& status);

    bool m_bDevicesRead = false;
    std::vector<CVideoDeviceInfo> m_videoDevices;
    std::vector<CAudioDeviceInfo> m_audioDevices;
    std::thread m_scanThread;
    std::mutex m_scanMutex;
    std::condition_variable m_cvScanned;
    std::optional<CDeviceLists> m_scanned; // guarded by m_scanMutex
    bool m_bScanRunning = false; // guarded by m_scanMutex
    std::function<void()> m_onScanned; // guarded by m_scanMutex

    short m_nVideoDevice = 0;
    short m_nVideoInput = 0;
    short m_nVideoFormat = -1;
    short m_nAudioDevice = 0;
    short m_nAudioInput = 0;
    short m_nVideoCompressor = 0;
    short m_nAudioCompressor = 0;
    std::map<std::string, std::map<std::string, std::string>> m_compressorOptions;

    int m_nOutputType;
    short m_nFrameRate;
    short m_nVideoWidth;
    short m_nVideoHeight;
    int m_nVideoBitrate;
    int m_nAudioBitrate;
    int m_nAudioSampleRate;
    short m_nAudioChannels;
    int m_nAspectNumerator = 4;
    int m_nAspectDenominator = 3;
    bool m_bUseCustomFrame = false;
    short m_nCustomFrameWidth = 320;
    short m_nCustomFrameHeight = 240;
    short m_nSyncMode = 1;
    short m_nAudioOffset = 0;
    bool m_bSaveToFile = false;
    std::string m_strFileName;
    int m_nWorkMode = 2;
    bool m_bStopFlag = true;
    bool m_bTvMute = false;
    short m_nVideoFrame = 0;
    bool m_bFastTestSources = false;
    double m_dDurationLimitSeconds = 0;
    int m_nTestThreadLimit = -1;
    std::atomic<bool> m_bTestSourcesStalled = false;

    CPreviewCallback m_previewCallback;
    int m_nPreviewWidth = 0;
    int m_nPreviewHeight = 0;
    CStatusCallback m_statusCallback;

    std::unique_ptr<CRecordingSession> m_pSession;
    mutable std::mutex m_statusMutex;
    CRecorderStatus m_lastStatus;
    std::string m_strLastError;
    bool m_bRunning = false;
};
