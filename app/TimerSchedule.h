#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <functional>
#include <optional>
#include <vector>

#include "settings/ConversionSettings.h"

// What became of a timer's last occurrence.
enum class ETimerState { eWaiting, eRecording, eDone, eMissed, eMissedBusy, eFailed };

// One planned recording: once on a day, or every chosen weekday, at a wall
// clock time, with the settings that were in force when it was made.
struct CRecordingTimer
{
    // Monday is bit 0 ... Sunday bit 6, as QDate::dayOfWeek() counts from 1.
    static constexpr unsigned ALL_WEEKDAYS = 0x7f;

    // Stays the same across changes, so a changed timer keeps its history.
    QString strId;
    QString strTitle;
    // The day of a timer without weekdays.
    QDate date;
    unsigned nWeekdays = 0;
    QTime startTime;
    int nLengthSeconds = 0;
    bool bEnabled = true;
    // Where its recordings go; empty: the desktop's Videos folder.
    QString strFolder;
    // The window's Output selector row: 0 MPEG-1, 1 MPEG-2, 2 AVI.
    int nOutputTypeRow = 0;
    ConversionSettings settings;
    // Wall times (see CTimerSchedule::WallTime). An occurrence that ended
    // before the timer was saved is neither recorded nor missed.
    QDateTime saved;
    // The start of the last occurrence dealt with, and what became of it:
    // an occurrence is acted on once, whatever the clock does afterwards.
    QDateTime lastOccurrence;
    ETimerState eState = ETimerState::eWaiting;

    bool IsRepeating() const { return nWeekdays != 0; }
    bool RecordsOnDay(const QDate& day) const;
};

// One occurrence of a timer, in wall time.
struct CTimerOccurrence
{
    QDateTime start;
    QDateTime end;
};

// Decides, on each look at the wall clock, which timers start, which were
// missed and which recording has reached its end. It compares wall-clock
// readings only, so a suspend, a clock set forward or back, or a new time
// zone is seen at the next look: a start that passed while the clock was
// away starts at once for the time left, one whose end passed is missed,
// and no occurrence is acted on twice. No widgets; UI thread only.
class CTimerSchedule
{
    Q_DECLARE_TR_FUNCTIONS(CTimerSchedule)

public:
    // The local time now, in the zone the system is in at that moment.
    using CClock = std::function<QDateTime()>;

    enum class EEventKind { eStart, eStop, eMissed, eMissedBusy };
    struct CEvent
    {
        EEventKind eKind;
        QString strId;
        CTimerOccurrence occurrence;
        // How long is left of the occurrence: for eStart the time to record,
        // for eStop how long ago it ended (not above 0).
        qint64 nMsLeft = 0;
    };

    static constexpr int MAX_LENGTH_SECONDS = 24 * 60 * 60;

    explicit CTimerSchedule(CClock clock);

    // The clock's reading as a zone-less wall time: 20:15 means 20:15 in
    // whatever zone the system is in now.
    static QDateTime WallTime(const QDateTime& localTime);
    QDateTime Now() const;

    const std::vector<CRecordingTimer>& Timers() const { return m_timers; }
    const CRecordingTimer* Find(const QString& strId) const;
    // Timers read back from the file, as they were saved.
    void Restore(std::vector<CRecordingTimer> timers);
    // Adds the timer, or changes the one of its id; an empty id gets a new
    // one. Refused, with the reason, when it is incomplete or overlaps
    // another enabled timer: the window has one recorder, so even timers on
    // different devices cannot both record.
    QString Save(CRecordingTimer timer);
    bool Remove(const QString& strId);
    // The enabled timer whose times overlap the timer's, or null.
    const CRecordingTimer* ConflictFor(const CRecordingTimer& timer) const;

    // Looks at the clock; bRecorderBusy: a recording runs that no timer
    // started. At most one timer starts a look.
    std::vector<CEvent> Check(bool bRecorderBusy);
    // A timer's recording ended (or could not start).
    void SetState(const QString& strId, ETimerState eState);

    // The occurrences starting on the days from and to, in order.
    static std::vector<CTimerOccurrence> Occurrences(const CRecordingTimer& timer, const QDate& from, const QDate& to);
    // The latest occurrence started at or before the wall time.
    static std::optional<CTimerOccurrence> LatestStarted(const CRecordingTimer& timer, const QDateTime& wall);
    // The next occurrence not yet started, for showing.
    static std::optional<CTimerOccurrence> NextStart(const CRecordingTimer& timer, const QDateTime& wall);
    // The wall time of the next start of any enabled timer.
    std::optional<QDateTime> NextStartOfAll() const;

private:
    CRecordingTimer* FindTimer(const QString& strId);
    static QString Incomplete(const CRecordingTimer& timer);
    std::optional<CEvent> CheckTimer(CRecordingTimer& timer, const QDateTime& wall, bool bRecorderBusy);

    CClock m_clock;
    std::vector<CRecordingTimer> m_timers;
};

// Words for a state, as the timers list shows it.
QString TimerStateText(ETimerState eState);
