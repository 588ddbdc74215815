#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>

#include <QUrl>

#include "app/RecentRecordings.h"
#include "app/SkinNotifier.h"
#include "app/TimerRunner.h"
#include "recorder/Encorda.h"
#include "settings/AudioDeviceDlg.h"
#include "settings/AviProfileDlg.h"
#include "settings/ConversionSettings.h"
#include "settings/MpegProfileDlg.h"
#include "settings/RecorderOwner.h"
#include "settings/SyncModeDlg.h"
#include "settings/VideoDeviceDlg.h"
#include "settings/VideoFrameDlg.h"
#include "skin/SkinDialog.h"

// The program's main window: loads the default skin at start, hosts the
// recorder in the skin's control rectangle and turns the skin's commands
// into recordings and settings dialogs.
class CConverterDlg : public CSkinDialog, public IRecorderOwner, public ITimerRecorder
{
    Q_OBJECT

public:
    static inline const QString DEFAULT_SKIN = QStringLiteral("Pink.skn");
    // The transport's and the exit's buttons, by their skin names.
    static inline const QString CONVERT_BUTTON = QStringLiteral("BUTTON_CONVERT");
    static inline const QString PLAY_BUTTON = QStringLiteral("BUTTON_PLAY");
    static inline const QString PAUSE_BUTTON = QStringLiteral("BUTTON_PAUSE");
    static inline const QString STOP_BUTTON = QStringLiteral("BUTTON_STOP");
    static inline const QString EXIT_BUTTON = QStringLiteral("BUTTON_EXIT");
    // Does what the exit button does.
    static inline const QString CLOSE_BUTTON = QStringLiteral("BUTTON_CLOSE");
    // The output-type selector: the skin's combo box of this name is read
    // only; the window's first combo box gets the rows.
    static inline const QString OUTPUT_SELECTOR = QStringLiteral("COMBO_OUTPUT");
    // The box whose text is the recording's title.
    static inline const QString TITLE_EDIT = QStringLiteral("EDIT_TITLE");
    // The output-type selector's rows.
    static inline const QString MPEG1_ROW = QStringLiteral("MPEG1");
    static inline const QString MPEG2_ROW = QStringLiteral("MPEG2");
    static inline const QString AVI_ROW = QStringLiteral("AVI");
    static constexpr int AVI_ROW_INDEX = 2;
    // The headline of a compressor or file-opening failure; other failures
    // name their own kind.
    static inline const QString CAPTURE_FAILURE = CEncorda::CAPTURE_FAILURE_HEADLINE;
    // The window's own messages, in English; shown through tr(). Defined
    // with the window, where the catalogue's tools find them.
    static const char* const FILE_BEING_RECORDED;
    static const char* const STOP_AND_QUIT;
    // Without any skin there is no window: the folders searched follow.
    static const char* const NO_SKIN;
    // The skin menu's command below the skin names.
    static const char* const TIMERS_COMMAND;
    static const char* const NO_PLAYER;

    // Loads the start-up skin, DEFAULT_SKIN, or when that cannot be used the
    // skin commands' packages in menu order; when none loads, the user is
    // told where they were looked for and HasSkin() is false.
    // Every run starts from the default settings; settings starts the
    // window from others (a test's sources, say).
    explicit CConverterDlg(IPrompt& prompt, QWidget* pParent = nullptr);
    CConverterDlg(IPrompt& prompt, const ConversionSettings& settings, QWidget* pParent = nullptr);

    // Whether a skin was loaded at start; without one the window has no
    // controls and must not be shown.
    bool HasSkin() const { return m_bHasSkin; }

    // Shows the window as the program's main window until it closes, and
    // returns its result. Not modal: a window system keeps a modal window
    // out of its taskbar and window switcher.
    int RunAsMainWindow();

    // The settings dialogs reach the recorder through their owner.
    CEncorda& RecorderWidget() override { return m_encoder; }
    IPrompt& MessagePrompt() override { return Prompt(); }
    QDialog& VideoFrameDlg() { return m_videoFrameDlg; }
    // What the settings dialogs chose, for the conversion commands.
    ConversionSettings& Settings() { return m_settings; }
    // The popup every skin load slides in; null before the first load.
    CTaskNotifierDlg* TaskNotifier() const { return m_notifier.Popup(); }
    bool IsPaused() const { return m_paused; }

    // ISkinParent: the exit button is drawn anew when a list closes.
    void SetDropDownOpen(bool bOpen) override;

    // A file name for a recording's title: characters file systems or
    // desktops refuse become '_'; an empty title gives one with the date and
    // time of now.
    static QString FileNameForTitle(const QString& strTitle, const QDateTime& now);
    // The first of "name.ext", "name (2).ext", ... that names no file yet,
    // for recordings no person chose a name for.
    static QString UnusedPath(const QString& strPath);

    // The level meter's position, 0 to 100, for a level in dB of full scale:
    // -60 dB and below show empty, 0 dB full, linearly between.
    static int LevelMeterPosition(double dDbfs);

    // ISkinParent: the mute box acts at once.
    CSkinCheck* OnCheckClicked(int nIndex) override;

    // Opens a recording from the Recordings list in the desktop's player;
    // tests put their own opener in. False when no program took it, which
    // the window then tells the user.
    using CUrlOpener = std::function<bool(const QUrl&)>;
    void SetUrlOpener(CUrlOpener opener) { m_openUrl = std::move(opener); }
    const CRecentRecordings& Recordings() const { return m_recordings; }
    // Opens a recording as the Recordings list does, telling the user when
    // no program took it; a file deleted since shows as missing in the list.
    void OpenRecordingFile(const QString& strPath);

    // One of the transport's commands as its button gives it (CONVERT_BUTTON,
    // PLAY_BUTTON, PAUSE_BUTTON, STOP_BUTTON), for a caller that is not a
    // person at the window: prompt answers what the window would ask or tell.
    void RunCommand(const QString& strName, IPrompt& prompt)
    {
        IPrompt& windowPrompt = Prompt();
        SetPrompt(prompt);
        OnSkinCommand(strName);
        SetPrompt(windowPrompt);
    }
    // The file being recorded to; empty while none is.
    const QString& RecordingFile() const { return m_strRecordingFile; }

    // The timers, read at start; the skin menu's "Timers..." shows them.
    CTimerRunner& Timers() { return m_timers; }
    void ShowTimers();

    // ITimerRecorder: a timer records as Convert does, into its own file
    // with its own settings, without asking.
    QString RecordForTimer(const QString& strFile, const CRecordingTimer& timer) override;
    bool IsRecordingToFile() const override;
    bool IsRecordingTo(const QString& strFile) const override;
    double RecordedSeconds() const override;
    void StopRecording() override;
    int CurrentOutputTypeRow() const override { return OutputTypeRow(); }
    const ConversionSettings& CurrentSettings() const override { return m_settings; }

    // The program was asked to end (a signal): the recording is stopped as
    // by the Stop button, dialogs open over the window are dismissed, and
    // the window closes.
    void EndOnQuitSignal();

signals:
    // A recording to a file ended and is listed: stopped, replaced by the
    // next one, or by itself (bByItself: no command stopped it), with the
    // reason when it failed. Before the window tells the user of a failure.
    void RecordingEnded(const CRecentRecordings::CEntry& entry, const QString& strError, bool bByItself);

protected:
    void OnSkinCommand(const QString& strName) override;
    // The quality options choose how the next MPEG recording is encoded.
    void OnSkinOptionSelected(const QString& strName) override;
    void OnSkinSliderMoved(const QString& strName, int nPos) override;
    void OnSkinChanged() override;
    void OnSkinReleasing() override;
    // The notifier takes the new skin, and the progress display is hidden.
    void OnSkinLoaded(const CIniFile& ini, const QString& strFolder) override;
    // The window system's close (Alt+F4, its close button) asks as the
    // window's own close button does.
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void LoadStartupSkin();
    void ReportNoSkin(const QStringList& arrPackages);
    void PlaceEncoder();
    void FillOutputTypes();
    // The selector's selection mark: 0 MPEG1, 1 MPEG2, 2 AVI, -1 none.
    int OutputTypeRow() const;
    void RefreshExitButton();
    // The time label tells the progress slider's position and range.
    void ShowProgressTime();
    // Nothing reads progress from a recording, so the progress slider and
    // the time label stay hidden.
    void HideProgressDisplay();
    // Whether the window may close: during a recording only when the user
    // agrees, and the recording is then stopped.
    bool MayQuit();
    // Ctrl+R records, Space plays or pauses, Ctrl+Period stops, Ctrl+Q
    // quits; the buttons' tooltips name the keys.
    void MakeKeyCommands();
    void ShowKeysInTooltips();
    // Tells the user once per skin load which of the buttons the window
    // needs the skin lacks, and which keys stand in for them.
    void ReportMissingButtons();
    void ShowButton(const QString& strName, bool bShow);

    // The conversion commands.
    void ApplyDeviceSelections();
    // The title typed into the skin's title box; empty without one.
    QString RecordingTitle() const;
    // Where Convert's save dialog opens: the title as file name in the
    // folder of the last recording, else the user's videos folder, else the
    // home folder; the first of them that exists, as an absolute path.
    QString ProposedRecordingPath(const QString& strSuffix) const;
    void Convert();
    // Writes the settings and the output type (a selector row) to the
    // recorder and starts recording to the file; false when it could not,
    // which the user was told.
    bool RecordToFile(const QString& strFile, const QString& strTitle, int nRow);
    // Starts recording to the file; a recording it replaces is listed.
    bool StartRecording(const QString& strFile, const QString& strTitle);
    void Play();
    // What Play sends of the custom frame; Convert too, for AVI.
    void WriteCustomFrame();
    void Pause();
    void Stop();
    // Play shown, Pause hidden, not paused.
    void ShowStopped();
    // Pause in place of Play, or Play in place of Pause; a new skin starts
    // with Play.
    void ShowTransportButtons(bool bPauseOffered);
    void OnRecordingFinished(const QString& strError);
    // The failure box: the headline, the recorder's cause in plain words,
    // and its technical reason behind "Show Details".
    void ReportCaptureFailure(const QString& strReason);
    void ShowAudioLevel();
    // The file recording that just ended goes to the top of the list.
    void NoteFinishedRecording(double dSeconds, const QString& strError, bool bByItself);
    void ShowRecordings();
    void OpenRecording(int nRow);
    // A new skin's mute box and quality options show the state the
    // recorder is in.
    void ShowMuteState();
    void ShowQualityState();
    // A new skin's title box shows the title typed so far.
    void ShowTitle();

    CEncorda m_encoder;
    bool m_bHasSkin = false;
    bool m_paused = false;
    // Stop is closing the recording: its end is not one by itself.
    bool m_bStopping = false;
    // Pause, not Play, is the transport's next step; the keys follow it.
    bool m_bPauseOffered = false;
    // The output type the user last chose, kept across skin changes.
    int m_nOutputTypeRow = 0;
    // The folder of the last file recorded to, proposed for the next one.
    QString m_strLastRecordingFolder;
    // What the title box holds, kept across skin changes.
    QString m_strTitle;
    // The file being recorded to and its title; empty while none is.
    QString m_strRecordingFile;
    QString m_strRecordingTitle;
    CRecentRecordings m_recordings;
    CUrlOpener m_openUrl;
    // Made before the dialogs that write it.
    ConversionSettings m_settings;
    CMpegProfileDlg m_mpegProfileDlg;
    CVideoFrameDlg m_videoFrameDlg;
    CAviProfileDlg m_aviProfileDlg;
    CSyncModeDlg m_syncModeDlg;
    CAudioDeviceDlg m_audioDeviceDlg;
    CVideoDeviceDlg m_videoDeviceDlg;
    CSkinNotifier m_notifier;
    CTimerRunner m_timers;
};
