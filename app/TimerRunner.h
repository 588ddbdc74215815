#pragma once

#include <QObject>
#include <QTimer>

#include "app/TimerSchedule.h"
#include "app/TimerStore.h"

class CDesktopNotifications;
class IPrompt;

// What the timers need of the window that records for them.
class ITimerRecorder
{
public:
    virtual ~ITimerRecorder() = default;
    // Records into the file with the timer's settings, through the window's
    // own recording command; the reason when it could not start.
    virtual QString RecordForTimer(const QString& strFile, const CRecordingTimer& timer) = 0;
    virtual bool IsRecordingToFile() const = 0;
    virtual bool IsRecordingTo(const QString& strFile) const = 0;
    virtual double RecordedSeconds() const = 0;
    virtual void StopRecording() = 0;
    // The Output selector's row now: what a timer made elsewhere records.
    virtual int CurrentOutputTypeRow() const = 0;
    // The settings in force now: what a new timer takes.
    virtual const ConversionSettings& CurrentSettings() const = 0;
};

// Keeps the timers: reads them at start, saves every change, looks at the
// wall clock every few moments and records through the window when one is
// due. UI thread only.
class CTimerRunner : public QObject
{
    Q_OBJECT

public:
    // Short, so a start is at most this late whatever the clock did between
    // two looks; a look costs a few comparisons.
    static constexpr int TICK_MS = 1000;
    // While a timer records its end is watched more closely.
    static constexpr int RECORDING_TICK_MS = 100;

    CTimerRunner(ITimerRecorder& recorder, IPrompt& prompt, CTimerSchedule::CClock clock, const QString& strStorePath,
                 QObject* pParent = nullptr);

    // Reads the timers file and starts looking at the clock; a file that
    // cannot be used is reported once and the program goes on with none.
    void Start();

    const CTimerSchedule& Schedule() const { return m_schedule; }
    const ConversionSettings& CurrentSettings() const { return m_recorder.CurrentSettings(); }
    CTimerStore& Store() { return m_store; }
    // Saves the timer (new or changed) and the file; the reason when refused.
    QString Save(const CRecordingTimer& timer);
    QString Remove(const QString& strId);
    // A timer written as TimerLine reads it, with the settings in force
    // now; its id goes to strId. The reason when refused.
    QString AddFromLine(const QString& strLine, QString& strId);
    // Every timer as "ID<tab>TIMER<tab>STATE".
    QStringList Listing() const;
    // Where missed and finished timers are told besides the log; it
    // outlives this object.
    void NotifyThrough(CDesktopNotifications& notifications) { m_pNotifications = &notifications; }

    // The timer's own folder, else the desktop's Videos folder, else home.
    static QString RecordingFolder(const CRecordingTimer& timer);
    // The file a timer's recording goes to: "TITLE yyyy-MM-dd hh-mm.mpg" in
    // its folder, with " (2)", " (3)"... before the suffix when taken.
    static QString RecordingFile(const CRecordingTimer& timer, const QDateTime& start);

    // Looks at the clock now; the periodic look calls it too.
    void Check();

signals:
    // The timers or their states changed.
    void Changed();

private:
    void StartRecording(const CTimerSchedule::CEvent& event);
    void EndRecording(ETimerState eState);
    void WatchRecording();
    QString SaveFile();
    // strFile: the recording a notice may open.
    void Notify(const QString& strSummary, const QString& strBody, const QString& strFile = QString()) const;

    ITimerRecorder& m_recorder;
    IPrompt& m_prompt;
    CTimerSchedule m_schedule;
    CTimerStore m_store;
    CDesktopNotifications* m_pNotifications = nullptr;
    QTimer m_tick;
    // The timer recording now, its file, and how long it is to record.
    QString m_strRecordingId;
    QString m_strRecordingFile;
    qint64 m_nPlannedMs = 0;
};
