#pragma once

#include "engine/DeviceCatalog.h"
#include "engine/NameList.h"
#include "engine/RecorderTypes.h"
#include "engine/RecordingProfile.h"

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
// FileName, writes an MPEG-1 (OutputType 5) or MPEG-2 (OutputType 6)
// program stream, laid out for VCD, SVCD or DVD when the profile meets one
// of them and in DVD's packs for any other MPEG-2.
//
// Thread contract: one controlling thread (the UI thread) calls every method
// unless a method says otherwise. The preview and status callbacks are called
// on engine threads, never on the controlling thread; they must return quickly
// and must not call back into the recorder except through methods marked
// "any thread". No callback runs any more once Stop with StopFlag set (or the
// destructor) has returned.
class CRecorder
{
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
    // The video lists from the next reading on have the desktop portal's
    // screen when probe says the desktop offers it. Controlling thread.
    void SetPortalProbe(CPortalProbe probe);

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

    // The values Start reads, as written; controlling thread. The device,
    // input and format numbers are better set through the methods below,
    // which keep them consistent.
    CRecordingProfile& Profile() { return m_profile; }
    const CRecordingProfile& Profile() const { return m_profile; }

    // Device choice; controlling thread. Choosing a device also resets its
    // input to 0 and its format to the device's own default; an index
    // outside the list is kept and makes Start fail with the reason.
    void SetVideoDevice(short nIndex);
    short GetVideoDevice();
    void SetAudioDevice(short nIndex);
    short GetAudioDevice();

    // In MPEG work mode the output type fixes the encoders (mpeg1video or
    // mpeg2video, and mp2); in AVI work mode the compressors chosen by index
    // (DEFAULT_VIDEO_COMPRESSOR and DEFAULT_AUDIO_COMPRESSOR until then) make
    // the file. The option values stored for an encoder are used when it
    // opens. Controlling thread.
    bool HasCompressorOptions(ECompressorKind eKind, short nIndex) const;
    std::vector<CCompressorOption> GetCompressorOptions(ECompressorKind eKind, short nIndex) const;
    // False with the encoder's reason when it does not take the value.
    bool SetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption,
                             const std::string& strValue, std::string& strReason);
    // The option goes back to the encoder's default (or the recording's own
    // choice for MPEG, where there is one).
    void ResetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption);
    // The user's value, or empty when the option keeps its default.
    std::string GetCompressorOption(ECompressorKind eKind, short nIndex, const std::string& strOption) const;

    // These two take effect at once, also while recording; controlling
    // thread. Mutes the V4L2 device's own audio.
    void SetTVMute(bool bMute);
    // n >= 1 lays the n-th frame picture over every frame; 0 none. While
    // recording, the picture is read here, not on the video thread; one that
    // cannot be read leaves the picture on screen as it was, and the engine's
    // log and false say so.
    bool SetVideoFrame(short nNumber);
    // Recorded and previewed audio becomes silence; the stream stays.
    void SetAudioMute(bool bMute);

    // Test only: the built-in sources deliver nothing while set, as a
    // stalled device; takes effect at once. Any thread.
    void StallTestSources(bool bStall);

    // Called on an engine thread at most ~30 times a second with the coded
    // picture as a player shows it: in the recording's display aspect, as
    // large as fits in the preview size (0 x 0: the coded picture as it is).
    // Set while stopped; the next Start uses it.
    void SetPreviewCallback(CPreviewCallback callback);
    void SetPreviewSize(int nWidth, int nHeight);
    // Called on an engine thread about twenty times a second and once more
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
    // Which check or event that was; eNone after a good Start. Any thread.
    EFailure GetLastFailure() const;

private:
    // Reads frame picture nNumber for the running session and hands it over;
    // false, leaving the session's picture alone, when it cannot be read.
    bool ShowFramePicture(CRecordingSession& session, int nNumber);
    struct CDeviceLists
    {
        std::vector<CVideoDeviceInfo> video;
        std::vector<CAudioDeviceInfo> audio;
    };
    void EnsureDevices();
    void AdoptDevices(CDeviceLists lists);
    void JoinScan();
    std::string CompressorCodec(ECompressorKind eKind, short nIndex) const;
    bool BuildSettings(CRecordingSettings& settings, EFailure& eCause, std::string& strReason);
    // The encoders and streams of the work mode.
    bool ChooseStreams(CRecordingSettings& settings, std::string& strReason) const;
    bool StartSession(bool bSaveToFile, EFailure& eCause, std::string& strReason);
    void SetLastFailure(EFailure eCause, const std::string& strReason);
    void StopSession();
    void OnStatus(const CRecorderStatus& status);

    bool m_bDevicesRead = false;
    std::vector<CVideoDeviceInfo> m_videoDevices;
    std::vector<CAudioDeviceInfo> m_audioDevices;
    std::thread m_scanThread;
    std::mutex m_scanMutex;
    std::condition_variable m_cvScanned;
    std::optional<CDeviceLists> m_scanned; // guarded by m_scanMutex
    bool m_bScanRunning = false;           // guarded by m_scanMutex
    std::function<void()> m_onScanned;     // guarded by m_scanMutex
    CPortalProbe m_portalProbe;            // guarded by m_scanMutex

    CRecordingProfile m_profile;
    std::map<std::string, std::map<std::string, std::string>> m_compressorOptions;
    std::atomic<bool> m_bTestSourcesStalled = false;

    CPreviewCallback m_previewCallback;
    int m_nPreviewWidth = 0;
    int m_nPreviewHeight = 0;
    CStatusCallback m_statusCallback;

    std::unique_ptr<CRecordingSession> m_pSession;
    mutable std::mutex m_statusMutex;
    CRecorderStatus m_lastStatus;
    std::string m_strLastError;
    EFailure m_eLastFailure = EFailure::eNone;
    bool m_bRunning = false;
};
