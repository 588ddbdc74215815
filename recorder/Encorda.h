#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include <QImage>
#include <QString>
#include <QVariant>
#include <QWidget>

#include "recorder/EncordaList.h"

class CRecorder;
class CScreenCastPortal;
struct CPreviewFrame;
struct CRecordingProfile;
enum class EFailure;

// The recorder as the main window and the settings dialogs drive it: a child
// widget in the skin's control rectangle that writes properties into the
// recording engine, starts, pauses, resumes and stops it, hands out its name
// lists, and shows the live preview with, while it records to a file, a small
// status overlay (recording mark, elapsed time, file size, dropped frames).
//
// UI thread only. The engine's preview and status arrive on its own threads
// and are passed to this thread by queued signals.
class CEncorda : public QWidget
{
    Q_OBJECT

public:
    // Properties and methods, by the numbers their callers know them.
    enum class EDispatchId {
        VideoDevice = 1,
        VideoFormat = 2,
        VideoDevices = 3,
        VideoFormats = 4,
        VideoCompressors = 5,
        SaveToFile = 6,
        FileName = 7,
        AudioDevices = 25,
        AudioDevice = 26,
        VideoCompressor = 28,
        AudioCompressor = 29,
        AudioCompressors = 32,
        StopFlag = 33,
        TVMute = 40,
        VideoInputs = 41,
        VideoInput = 42,
        FrameRate = 46,
        AudioInput = 51,
        AudioInputs = 52,
        CustomFrameHeight = 64,
        CustomFrameWidth = 65,
        SyncMode = 67,
        AudioOffset = 68,
        UseCustomFrame = 69,
        WorkMode = 71,
        VideoFrame = 73,
        OutputType = 78,
        AudioBitrate = 95,
        AudioChannels = 96,
        AudioSampleRate = 97,
        VideoHeight = 99,
        VideoBitrate = 100,
        VideoWidth = 101,
        Start = 103,
        Stop = 104,
        Pause = 109,
        Resume = 110,
    };

    // OutputType values.
    static constexpr int OUTPUT_MPEG1 = 5;
    static constexpr int OUTPUT_MPEG2 = 6;
    // WorkMode: MPEG capture (OutputType decides the format), or AVI capture
    // with the chosen compressors.
    static constexpr int WORK_MODE_MPEG = 2;
    static constexpr int WORK_MODE_AVI = 3;
    // Start's result when capture or encoding does not start.
    static constexpr short START_FAILED = -1;

    // One call on the recorder: a property written (value set), a list
    // fetched or a method called (value null).
    struct CDispatchCall
    {
        EDispatchId eId;
        QVariant value;
    };
    using CDispatchObserver = std::function<void(const CDispatchCall&)>;

    // What the overlay shows, for whoever else wants to know.
    struct CStatus
    {
        bool bRunning = false;
        bool bRecordingToFile = false;
        bool bPaused = false;
        double dElapsedSeconds = 0;
        qint64 nBytesWritten = 0;
        qint64 nFramesDropped = 0;
        // The loudest audio since the last status; SILENCE_DBFS when none.
        double dAudioLevelDbfs = SILENCE_DBFS;
    };

    // The values of the MPEG profile dialog, as Convert writes them.
    struct CMpegValues
    {
        short nFrameRate = 0; // whole frames a second; 23, 29 and 59 for the NTSC rates
        short nWidth = 0;
        short nHeight = 0;
        int nVideoBitrate = 0; // bit/s
        int nAudioBitrate = 0; // bit/s
        int nAudioSampleRate = 0;
        short nAudioChannels = 0;
        bool bWideScreen = false;
    };
    // For the user, a line each for VCD, SVCD and DVD: whether these values
    // meet it (and as MPEG-1 or MPEG-2), or what keeps them from it. Needs
    // no recorder.
    static QString DescribeDiscStandards(const CMpegValues& values);

    // The numbers of the settings dialogs that a recording can use: the
    // engine's ranges, which mpegrec holds its options to as well. Needs no
    // recorder.
    enum class ERangedValue {
        VideoBitrate,
        AudioBitrate,
        AudioChannels,
        PictureSide, // a width or a height
        AudioOffset,
    };
    struct CRange
    {
        int nMinimum = 0;
        int nMaximum = 0;
        QString strUnit;
    };
    static CRange ValueRange(ERangedValue eValue);

    // The level of silence, and of a recorder that is not running.
    static constexpr double SILENCE_DBFS = -120.0;

    explicit CEncorda(QWidget* pParent = nullptr);
    ~CEncorda() override; // stops a running recording first

    // Sees every call from here on, in order; an empty observer stops that.
    void SetDispatchObserver(CDispatchObserver observer);

    // Name lists, fetched afresh on every call.
    CEncordaList GetVideoDevices();
    CEncordaList GetVideoFormats();
    CEncordaList GetVideoInputs();
    // The formats and inputs of another device of the list, for a dialog
    // showing a device before it is chosen.
    CEncordaList GetVideoFormats(short nDevice);
    CEncordaList GetVideoInputs(short nDevice);
    CEncordaList GetAudioInputs(short nDevice);
    // Reads the devices again without blocking (a camera plugged in since);
    // DevicesChanged follows when the lists changed hands. The devices are
    // first read when this widget is made.
    void RescanDevices();
    // Its entries have settings pages: ShowPropertyPage opens the encoder's
    // own options as a modal page over this widget's window.
    CEncordaList GetVideoCompressors();
    CEncordaList GetAudioDevices();
    CEncordaList GetAudioInputs();
    CEncordaList GetAudioCompressors();
    // The pictures SetVideoFrame numbers, the first as 1: the files of the
    // "Frame" folder the recorder reads them from, as they are at this call.
    // Not one of the numbered lists, and it needs no recorder.
    static CEncordaList GetFramePictures();

    void SetVideoDevice(short nIndex);
    short GetVideoDevice() const;
    void SetVideoFormat(short nIndex);
    void SetVideoInput(short nIndex);
    void SetAudioDevice(short nIndex);
    short GetAudioDevice() const;
    void SetAudioInput(short nIndex);
    void SetVideoCompressor(short nIndex);
    short GetVideoCompressor() const;
    void SetAudioCompressor(short nIndex);
    short GetAudioCompressor() const;

    void SetSaveToFile(bool bSave);
    void SetFileName(const QString& strFileName);
    QString GetFileName() const;
    // The title of the next recording, for the file's metadata; not one of
    // the numbered properties.
    void SetTitle(const QString& strTitle);
    // Recorded and previewed audio becomes silence at once, also while
    // recording; the audio stream stays. Not one of the numbered properties.
    void SetAudioMute(bool bMute);
    bool GetAudioMute() const;
    // MPEG recordings from the next Start use the format's highest legal
    // video rate and the encoder's better, slower choices. Not one of the
    // numbered properties.
    void SetBestQuality(bool bBest);
    bool GetBestQuality() const;
    // The picture from the next Start is shown at 16:9 instead of 4:3; the
    // coded size stays, its pixels are marked wider. Not one of the
    // numbered properties.
    void SetWideScreen(bool bWide);
    // AVI capture only: a stream switched off is left out of the file. Not
    // numbered properties either.
    void SetCaptureSwitches(bool bVideo, bool bAudio);
    void SetStopFlag(bool bStop);
    // Takes effect at once.
    void SetTVMute(bool bMute);
    bool GetTVMute() const;

    // OUTPUT_MPEG1 or OUTPUT_MPEG2.
    void SetOutputType(int nType);
    // Whole frames a second; 23, 29 and 59 stand for the NTSC rates.
    void SetFrameRate(short nRate);
    short GetFrameRate() const;
    void SetVideoWidth(short nWidth);
    short GetVideoWidth() const;
    void SetVideoHeight(short nHeight);
    short GetVideoHeight() const;
    // Bit rates in bit/s.
    void SetVideoBitrate(int nBitrate);
    int GetVideoBitrate() const;
    void SetAudioBitrate(int nBitrate);
    int GetAudioBitrate() const;
    void SetAudioSampleRate(int nRate);
    int GetAudioSampleRate() const;
    void SetAudioChannels(short nChannels);
    short GetAudioChannels() const;

    void SetUseCustomFrame(bool bUse);
    bool GetUseCustomFrame() const;
    void SetCustomFrameWidth(short nWidth);
    short GetCustomFrameWidth() const;
    void SetCustomFrameHeight(short nHeight);
    short GetCustomFrameHeight() const;

    // 0 none, 1 automatic, 2 automatic shifted by AudioOffset milliseconds.
    void SetSyncMode(short nMode);
    short GetSyncMode() const;
    void SetAudioOffset(short nMilliseconds);
    short GetAudioOffset() const;
    // WORK_MODE_MPEG or WORK_MODE_AVI.
    void SetWorkMode(int nMode);
    // The n-th picture of the "Frame" folder over every frame; 0 none. Takes
    // effect at once.
    void SetVideoFrame(short nNumber);
    short GetVideoFrame() const;

    // START_FAILED when capture or encoding does not start (GetLastError
    // says why), else 0. Records to FileName when SaveToFile is set, else
    // only previews. A running recording is stopped first. On the desktop
    // portal's screen the desktop is asked first (it may show its picker
    // and wait on the person, while this window paints but takes no input);
    // a refusal is a failure headed SCREEN_SHARING_REFUSED.
    short Start();
    // Finishes and closes the file.
    void Stop();
    void Pause();
    // Continues after Pause without a gap in the file.
    void Resume();

    // Whether a recording runs (previewing or writing a file).
    bool IsRunning() const;
    // Test only: the built-in sources deliver nothing while set, as a
    // stalled device would.
    void StallTestSources(bool bStall);
    // Whether a running recording writes this file.
    bool IsRecordingTo(const QString& strFileName) const;
    // Why the last Start failed or the last recording ended early.
    QString GetLastError() const;
    // The same in plain words, with what to do where that is clear.
    QString GetLastFailureText() const { return m_strLastFailureText; }
    // The message box's headline for it: the kind of failure, in the user's
    // language. Compressor and file-opening failures keep the program's old
    // headline. The headlines here are the source texts of this class's
    // translations.
    static constexpr const char* CAPTURE_FAILURE_HEADLINE =
        QT_TR_NOOP("Capture Failure, Video/Audio compressor not correct or capture file opening");
    QString GetLastFailureHeadline() const { return m_strLastFailureHeadline; }
    static constexpr const char* SCREEN_SHARING_REFUSED = QT_TR_NOOP("Screen sharing was not allowed");
    CStatus GetStatus() const;
    // Whether a preview picture has arrived since the last Start.
    bool HasPreview() const;

signals:
    // The recording has ended and its file is closed; strError says why when
    // it ended by itself.
    void RecordingFinished(const QString& strError);
    // The status overlay changed.
    void StatusChanged();
    // The device lists were read again; their entries may have moved.
    void DevicesChanged();

    // From the engine's threads to this one.
    void PreviewArrived(QPrivateSignal);
    void StatusArrived(QPrivateSignal);
    void DevicesScanned(QPrivateSignal);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void Notify(EDispatchId eId, const QVariant& value = QVariant());
    // A property the engine only reads at Start: noted, then written.
    template <typename T>
    void Write(EDispatchId eId, T CRecordingProfile::*pField, T value);
    CEncordaList MakeList(EDispatchId eId, const QStringList& arrNames, CEncordaList::CPropertyPage page = {});
    void StorePreview(const CPreviewFrame& frame);
    // Reads the engine's latest status; notices the end of a recording.
    void TakeStatus();
    // Words for a failed Start or a recording that ended by itself.
    void NoteFailure(EFailure eCause, const QString& strReason);
    void ChoosePreviewSize();
    // Asks the desktop for the portal's screen when that is the device;
    // false when it was not granted, with the failure noted.
    bool OpenScreenCast(std::unique_ptr<CScreenCastPortal>& pScreenCast);
    void CloseScreenCast();
    bool ShowCompressorPage(short nIndex);

    CDispatchObserver m_observer;
    CStatus m_status;
    QString m_strLastFailureText;
    QString m_strLastFailureHeadline;
    // Why the desktop did not share its screen; empty when it did, or was
    // not asked.
    QString m_strScreenCastError;
    // The desktop's screen-cast session of the running recording.
    std::unique_ptr<CScreenCastPortal> m_pScreenCast;

    // The latest preview picture, shared with the engine's threads.
    mutable std::mutex m_sharedMutex;
    std::shared_ptr<const QImage> m_pSharedPreview;

    // Last, so that it stops before anything its callbacks reach goes.
    std::unique_ptr<CRecorder> m_pRecorder;
};
