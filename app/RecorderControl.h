#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "app/RecentRecordings.h"

class CConverterDlg;

// The main window's transport for callers that are not a person at the
// window: the D-Bus service (and through it the command line), the tray
// icon, timed recordings. Each command runs what the window's own button
// runs, on the window's recorder, so the window's buttons, preview and
// overlay follow as if it had been clicked; what the window would have told
// the user in a message box comes back as the returned text instead (empty
// on success), since such a caller could not see the box. UI thread only.
class CRecorderControl : public QObject
{
    Q_OBJECT

public:
    enum class EState { Stopped, Previewing, Recording, Paused };

    // A recording to a file that has ended.
    struct CFinishedRecording
    {
        QString strFile;
        double dSeconds = 0;
        qint64 nBytes = 0;
        // Why it failed, as the window tells it; empty when it did not.
        QString strError;
        // Started or stopped through this object rather than at the window.
        bool bFromOutside = false;
        // No command stopped it: its source or its disk ended it.
        bool bEndedByItself = false;
    };

    // At most this often StateChanged is emitted, while the values change.
    static constexpr int STATE_CHANGED_INTERVAL_MS = 250;

    static inline const QString NOTHING_PAUSED = QStringLiteral("Nothing is paused.");
    static inline const QString NOTHING_RUNNING = QStringLiteral("Nothing is being recorded or played.");
    static inline const QString FILE_EXISTS =
        QStringLiteral("The file already exists; a recording does not replace it. Name another file:\n%1");
    static inline const QString RELATIVE_FILE = QStringLiteral("The file must be named by its absolute path:\n%1");

    // The window outlives this object.
    explicit CRecorderControl(CConverterDlg& window, QObject* pParent = nullptr);

    // Records into strFile, an absolute path, as Convert does once its save
    // dialog returns; an empty strFile takes the name the save dialog would
    // propose (made unique with " (2)", ... when taken). A regular file that
    // exists is refused rather than replaced. A running recording is closed
    // first.
    QString Record(const QString& strFile);
    // Play, Pause and Stop as their buttons; Play resumes a paused one.
    QString Play();
    QString Pause();
    // After Pause; an error when nothing is paused.
    QString Resume();
    // Ends a recording or a preview; nothing to stop is no error.
    QString Stop();
    // Stops a recording to a file; otherwise records as Record("") does.
    QString Toggle();
    // Brings the window to the front (from minimized too) and activates it.
    void Show();

    EState State() const;
    // "stopped", "previewing", "recording" or "paused".
    static QString StateName(EState eState);
    // The file being recorded to; empty while none is.
    QString File() const;
    // Of the running recording or preview; 0 while stopped.
    double ElapsedSeconds() const;
    qint64 BytesWritten() const;
    qint64 FramesDropped() const;

signals:
    // One of State, File, ElapsedSeconds, BytesWritten or FramesDropped has
    // changed; at most once every STATE_CHANGED_INTERVAL_MS.
    void StateChanged();
    // After the window has listed the recording, before it tells the user
    // of a failure.
    void RecordingFinished(const CRecorderControl::CFinishedRecording& finished);

private:
    class CCommandPrompt;
    struct CSnapshot
    {
        EState eState = EState::Stopped;
        QString strFile;
        double dElapsedSeconds = 0;
        qint64 nBytes = 0;
        qint64 nDropped = 0;
        bool operator==(const CSnapshot&) const = default;
    };

    // Runs the window's command with the window's questions answered here.
    QString RunCommand(const QString& strButton, const QString& strFile = QString());
    CSnapshot Snapshot() const;
    void NoteChange();
    void EmitIfChanged();
    void OnRecordingEnded(const CRecentRecordings::CEntry& entry, const QString& strError, bool bByItself);

    CConverterDlg& m_window;
    QTimer m_throttle;
    CSnapshot m_lastSent;
    // A command of ours is running: what ends meanwhile was ended from outside.
    bool m_bRunningCommand = false;
    // The recording running now was started through this object.
    bool m_bStartedFromOutside = false;
};
