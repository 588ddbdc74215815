#include "app/TimerSchedule.h"

#include <QTimeZone>
#include <QUuid>

#include <algorithm>

namespace {

constexpr int DAYS_IN_WEEK = 7;
// Any Monday: two repeating timers clash in some week when they clash in
// the fortnight from it (the second week catches Sunday nights running
// into Monday).
const QDate REFERENCE_MONDAY(2024, 1, 1);

bool Overlaps(const CTimerOccurrence& first, const CTimerOccurrence& second)
{
    return first.start < second.end && second.start < first.end;
}

bool Clash(const CRecordingTimer& first, const CRecordingTimer& second)
{
    // Occurrences last at most a day, so days around a once-only timer's
    // day are all that can meet it.
    QDate from = REFERENCE_MONDAY;
    QDate to = REFERENCE_MONDAY.addDays(2 * DAYS_IN_WEEK);
    if (!first.IsRepeating() || !second.IsRepeating()) {
        const QDate day = first.IsRepeating() ? second.date : first.date;
        from = day.addDays(-1);
        to = day.addDays(1);
    }
    const std::vector<CTimerOccurrence> firstTimes = CTimerSchedule::Occurrences(first, from, to);
    const std::vector<CTimerOccurrence> secondTimes = CTimerSchedule::Occurrences(second, from, to);
    return std::any_of(firstTimes.begin(), firstTimes.end(), [&](const CTimerOccurrence& one) {
        return std::any_of(secondTimes.begin(), secondTimes.end(),
                           [&](const CTimerOccurrence& other) { return Overlaps(one, other); });
    });
}

CTimerOccurrence OccurrenceOn(const CRecordingTimer& timer, const QDate& day)
{
    const QDateTime start(day, timer.startTime, QTimeZone::utc());
    return { start, start.addSecs(timer.nLengthSeconds) };
}

} // namespace

bool CRecordingTimer::RecordsOnDay(const QDate& day) const
{
    if (!IsRepeating())
        return day == date;
    return (nWeekdays & (1U << (day.dayOfWeek() - 1))) != 0;
}

CTimerSchedule::CTimerSchedule(CClock clock)
    : m_clock(std::move(clock))
{
}

QDateTime CTimerSchedule::WallTime(const QDateTime& localTime)
{
    return QDateTime(localTime.date(), localTime.time(), QTimeZone::utc());
}

QDateTime CTimerSchedule::Now() const
{
    return WallTime(m_clock());
}

const CRecordingTimer* CTimerSchedule::Find(const QString& strId) const
{
    const auto found = std::find_if(m_timers.begin(), m_timers.end(),
                                    [&](const CRecordingTimer& timer) { return timer.strId == strId; });
    return found == m_timers.end() ? nullptr : &*found;
}

CRecordingTimer* CTimerSchedule::FindTimer(const QString& strId)
{
    return const_cast<CRecordingTimer*>(std::as_const(*this).Find(strId));
}

void CTimerSchedule::Restore(std::vector<CRecordingTimer> timers)
{
    m_timers = std::move(timers);
    // A recording the program was making when it ended is not running now;
    // the rest of its time starts again at the next look, as a start that
    // passed while the program was away does.
    for (CRecordingTimer& timer : m_timers) {
        if (timer.eState == ETimerState::eRecording) {
            timer.eState = ETimerState::eWaiting;
            timer.lastOccurrence = QDateTime();
        }
    }
}

QString CTimerSchedule::Incomplete(const CRecordingTimer& timer)
{
    if (timer.strTitle.trimmed().isEmpty())
        return tr("A timer needs a title: its recordings are named after it.");
    if (!timer.startTime.isValid() || (!timer.IsRepeating() && !timer.date.isValid()))
        return tr("A timer needs a start: a day or weekdays, and a time.");
    if (timer.nLengthSeconds <= 0 || timer.nLengthSeconds > MAX_LENGTH_SECONDS)
        return tr("A timer records for a moment up to a whole day.");
    return QString();
}

const CRecordingTimer* CTimerSchedule::ConflictFor(const CRecordingTimer& timer) const
{
    if (!timer.bEnabled)
        return nullptr;
    for (const CRecordingTimer& other : m_timers) {
        if (other.strId != timer.strId && other.bEnabled && Clash(timer, other))
            return &other;
    }
    return nullptr;
}

QString CTimerSchedule::Save(CRecordingTimer timer)
{
    if (const QString strIncomplete = Incomplete(timer); !strIncomplete.isEmpty())
        return strIncomplete;
    if (!timer.IsRepeating() && OccurrenceOn(timer, timer.date).end <= Now())
        return tr("This timer's time has passed: choose a later day or time.");
    if (const CRecordingTimer* pOther = ConflictFor(timer)) {
        return tr("This timer overlaps the timer \"%1\": the program records one thing at a time.")
            .arg(pOther->strTitle);
    }
    timer.saved = Now();
    CRecordingTimer* pOld = timer.strId.isEmpty() ? nullptr : FindTimer(timer.strId);
    if (pOld == nullptr) {
        if (timer.strId.isEmpty())
            timer.strId = QUuid::createUuid().toString(QUuid::WithoutBraces);
        timer.lastOccurrence = QDateTime();
        timer.eState = ETimerState::eWaiting;
        m_timers.push_back(std::move(timer));
        return QString();
    }
    // What became of past occurrences stays: changing a title must not
    // record an occurrence again.
    timer.lastOccurrence = pOld->lastOccurrence;
    timer.eState = pOld->eState;
    *pOld = std::move(timer);
    return QString();
}

bool CTimerSchedule::Remove(const QString& strId)
{
    const auto removed = std::remove_if(m_timers.begin(), m_timers.end(),
                                        [&](const CRecordingTimer& timer) { return timer.strId == strId; });
    const bool bFound = removed != m_timers.end();
    m_timers.erase(removed, m_timers.end());
    return bFound;
}

std::vector<CTimerOccurrence> CTimerSchedule::Occurrences(const CRecordingTimer& timer, const QDate& from,
                                                          const QDate& to)
{
    std::vector<CTimerOccurrence> occurrences;
    if (!timer.IsRepeating()) {
        if (timer.date >= from && timer.date <= to)
            occurrences.push_back(OccurrenceOn(timer, timer.date));
        return occurrences;
    }
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        if (timer.RecordsOnDay(day))
            occurrences.push_back(OccurrenceOn(timer, day));
    }
    return occurrences;
}

std::optional<CTimerOccurrence> CTimerSchedule::LatestStarted(const CRecordingTimer& timer, const QDateTime& wall)
{
    const std::vector<CTimerOccurrence> recent = Occurrences(timer, wall.date().addDays(-DAYS_IN_WEEK), wall.date());
    for (auto occurrence = recent.rbegin(); occurrence != recent.rend(); ++occurrence) {
        if (occurrence->start <= wall)
            return *occurrence;
    }
    return std::nullopt;
}

std::optional<CTimerOccurrence> CTimerSchedule::NextStart(const CRecordingTimer& timer, const QDateTime& wall)
{
    for (const CTimerOccurrence& occurrence : Occurrences(timer, wall.date(), wall.date().addDays(DAYS_IN_WEEK))) {
        if (occurrence.start > wall)
            return occurrence;
    }
    return std::nullopt;
}

std::optional<QDateTime> CTimerSchedule::NextStartOfAll() const
{
    const QDateTime wall = Now();
    std::optional<QDateTime> next;
    for (const CRecordingTimer& timer : m_timers) {
        const std::optional<CTimerOccurrence> occurrence = timer.bEnabled ? NextStart(timer, wall) : std::nullopt;
        if (occurrence && (!next || occurrence->start < *next))
            next = occurrence->start;
    }
    return next;
}

std::vector<CTimerSchedule::CEvent> CTimerSchedule::Check(bool bRecorderBusy)
{
    const QDateTime wall = Now();
    std::vector<CEvent> events;
    // Stops first: a recording that has reached its end makes way for a
    // timer starting as it ends.
    bool bBusy = bRecorderBusy;
    for (CRecordingTimer& timer : m_timers) {
        if (timer.eState != ETimerState::eRecording)
            continue;
        const CTimerOccurrence running = OccurrenceOn(timer, timer.lastOccurrence.date());
        if (wall < running.end)
            bBusy = true;
        else
            events.push_back({ EEventKind::eStop, timer.strId, running, wall.msecsTo(running.end) });
    }
    for (CRecordingTimer& timer : m_timers) {
        if (timer.eState == ETimerState::eRecording)
            continue;
        if (std::optional<CEvent> event = CheckTimer(timer, wall, bBusy)) {
            bBusy = bBusy || event->eKind == EEventKind::eStart;
            events.push_back(std::move(*event));
        }
    }
    return events;
}

std::optional<CTimerSchedule::CEvent> CTimerSchedule::CheckTimer(CRecordingTimer& timer, const QDateTime& wall,
                                                                 bool bRecorderBusy)
{
    const std::optional<CTimerOccurrence> latest = LatestStarted(timer, wall);
    if (!latest || (timer.lastOccurrence.isValid() && latest->start <= timer.lastOccurrence))
        return std::nullopt;
    timer.lastOccurrence = latest->start;
    // A disabled timer lets its occurrences pass unremarked; enabled again,
    // it waits for the next one.
    if (!timer.bEnabled || latest->end <= timer.saved)
        return std::nullopt;
    if (wall >= latest->end) {
        timer.eState = ETimerState::eMissed;
        return CEvent { EEventKind::eMissed, timer.strId, *latest };
    }
    if (bRecorderBusy) {
        timer.eState = ETimerState::eMissedBusy;
        return CEvent { EEventKind::eMissedBusy, timer.strId, *latest };
    }
    timer.eState = ETimerState::eRecording;
    return CEvent { EEventKind::eStart, timer.strId, *latest, wall.msecsTo(latest->end) };
}

void CTimerSchedule::SetState(const QString& strId, ETimerState eState)
{
    if (CRecordingTimer* pTimer = FindTimer(strId))
        pTimer->eState = eState;
}

QString TimerStateText(ETimerState eState)
{
    switch (eState) {
    case ETimerState::eWaiting:
        return QStringLiteral("waiting");
    case ETimerState::eRecording:
        return QStringLiteral("recording");
    case ETimerState::eDone:
        return QStringLiteral("done");
    case ETimerState::eMissed:
        return QStringLiteral("missed");
    case ETimerState::eMissedBusy:
        return QStringLiteral("missed (busy)");
    case ETimerState::eFailed:
        return QStringLiteral("failed");
    }
    return QString();
}
