#include <gtest/gtest.h>

#include <QTimeZone>

#include <vector>

#include "app/TimerSchedule.h"

namespace {

// 2026-12-07 is a Monday.
const QDate MONDAY(2026, 12, 7);
const QTimeZone BERLIN_WINTER = QTimeZone(3600);
const QTimeZone HELSINKI_WINTER = QTimeZone(7200);
constexpr unsigned MON = 1U << 0;
constexpr unsigned WED = 1U << 2;
constexpr unsigned SUN = 1U << 6;

QDateTime At(int nDay, const char* pszTime, const QTimeZone& zone = BERLIN_WINTER)
{
    return QDateTime(MONDAY.addDays(nDay), QTime::fromString(QLatin1String(pszTime), QStringLiteral("HH:mm:ss")), zone);
}

// A timer of nMinutes at the time; on weekdays when given, else once on
// day nDay after MONDAY.
CRecordingTimer Timer(const char* pszTitle, int nDay, unsigned nWeekdays, const char* pszStart, int nMinutes)
{
    CRecordingTimer timer;
    timer.strTitle = QLatin1String(pszTitle);
    timer.date = MONDAY.addDays(nDay);
    timer.nWeekdays = nWeekdays;
    timer.startTime = QTime::fromString(QLatin1String(pszStart), QStringLiteral("HH:mm"));
    timer.nLengthSeconds = nMinutes * 60;
    return timer;
}

struct CSaved
{
    CRecordingTimer timer;
    // Empty when it is taken, else what the refusal names: the timer it
    // clashes with, or why.
    const char* pszClashesWith = "";
};

// One look at the clock and the events it gives, as "start TITLE SECONDS",
// "stop TITLE", "missed TITLE", "busy TITLE".
struct CLook
{
    QDateTime clock;
    std::vector<const char*> expected;
    bool bBusy = false;
};

struct CScheduleCase
{
    const char* pszName;
    QDateTime saved;
    std::vector<CSaved> timers;
    std::vector<CLook> looks;
};

QString EventText(const CTimerSchedule& schedule, const CTimerSchedule::CEvent& event)
{
    const QString strTitle = schedule.Find(event.strId)->strTitle;
    switch (event.eKind) {
    case CTimerSchedule::EEventKind::eStart:
        return QStringLiteral("start %1 %2").arg(strTitle).arg(event.nMsLeft / 1000);
    case CTimerSchedule::EEventKind::eStop:
        return QStringLiteral("stop ") + strTitle;
    case CTimerSchedule::EEventKind::eMissed:
        return QStringLiteral("missed ") + strTitle;
    case CTimerSchedule::EEventKind::eMissedBusy:
        return QStringLiteral("busy ") + strTitle;
    }
    return QString();
}

} // namespace

TEST(TimerSchedule, FiresOnTheWallClockOnceAnOccurrence)
{
    const CScheduleCase cases[] = {
        { "once, started and stopped on time",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) } },
          { { At(0, "20:14:59"), {} },
            { At(0, "20:15:00"), { "start News 5400" } },
            { At(0, "20:16:00"), {} },
            { At(0, "21:45:00"), { "stop News" } },
            { At(1, "20:15:00"), {} } } },
        { "daily and on chosen weekdays",
          At(0, "10:00:00"),
          { { Timer("Daily", 0, CRecordingTimer::ALL_WEEKDAYS, "06:00", 30) },
            { Timer("Mon+Wed", 0, MON | WED, "20:15", 60) } },
          { { At(0, "06:00:00"), {} },
            { At(0, "20:15:00"), { "start Mon+Wed 3600" } },
            { At(1, "06:00:01"), { "stop Mon+Wed", "start Daily 1799" } },
            { At(1, "20:15:00"), { "stop Daily" } },
            { At(2, "06:10:00"), { "start Daily 1200" } },
            { At(2, "20:15:00"), { "stop Daily", "start Mon+Wed 3600" } } } },
        { "the clock set forward over the start, then back",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) } },
          { { At(0, "20:00:00"), {} },
            { At(0, "20:30:00"), { "start News 4500" } },
            { At(0, "21:46:00"), { "stop News" } },
            { At(0, "20:20:00"), {} },
            { At(0, "21:00:00"), {} } } },
        { "the clock set back before the start waits for it again",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) } },
          { { At(0, "20:14:00"), {} }, { At(0, "19:00:00"), {} }, { At(0, "20:15:00"), { "start News 5400" } } } },
        { "a suspend across the whole occurrence",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) } },
          { { At(0, "20:00:00"), {} }, { At(0, "23:00:00"), { "missed News" } }, { At(0, "23:00:01"), {} } } },
        { "a new time zone moves the wall clock over the start, and back",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) } },
          { { At(0, "20:10:00", BERLIN_WINTER), {} },
            { At(0, "20:10:00", BERLIN_WINTER).toTimeZone(HELSINKI_WINTER), { "start News 2100" } },
            { At(0, "21:45:00", HELSINKI_WINTER), { "stop News" } },
            { At(0, "21:45:00", HELSINKI_WINTER).toTimeZone(BERLIN_WINTER), {} } } },
        { "started while the program was away: the time left",
          At(0, "10:00:00"),
          { { Timer("Film", 0, 0, "20:15", 90) }, { Timer("Match", 0, 0, "18:00", 60) } },
          { { At(0, "21:00:00"), { "start Film 2700", "missed Match" } } } },
        { "ended before it was made: neither recorded nor missed",
          At(0, "23:00:00"),
          { { Timer("Late", 0, CRecordingTimer::ALL_WEEKDAYS, "20:15", 30) } },
          { { At(0, "23:00:00"), {} }, { At(1, "20:15:00"), { "start Late 1800" } } } },
        { "due while another recording runs",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) } },
          { { At(0, "20:15:00"), { "busy News" }, true }, { At(0, "20:30:00"), {} } } },
        { "a disabled timer lets its time pass",
          At(0, "10:00:00"),
          { { [] {
              CRecordingTimer timer = Timer("Off", 0, 0, "20:15", 30);
              timer.bEnabled = false;
              return timer;
          }() } },
          { { At(0, "20:20:00"), {} }, { At(0, "23:00:00"), {} } } },
        { "overlaps are refused, naming the other timer",
          At(0, "10:00:00"),
          { { Timer("News", 0, 0, "20:15", 90) },
            { Timer("Film", 0, 0, "21:00", 90), "News" },
            { Timer("After the news", 0, 0, "21:45", 30) },
            { Timer("Every Monday", 0, MON, "21:30", 30), "News" },
            { Timer("This morning", 0, 0, "08:00", 60), "has passed" },
            { Timer("Sunday night", 0, SUN, "23:30", 120) },
            { Timer("Monday small hours", 0, MON, "00:30", 30), "Sunday night" } },
          { { At(0, "20:15:00"), { "start News 5400" } },
            { At(0, "21:45:00"), { "stop News", "start After the news 1800" } } } },
    };
    for (const CScheduleCase& testCase : cases) {
        SCOPED_TRACE(testCase.pszName);
        QDateTime now = testCase.saved;
        CTimerSchedule schedule([&now] { return now; });
        for (const CSaved& saved : testCase.timers) {
            SCOPED_TRACE(saved.timer.strTitle.toStdString());
            const QString strRefused = schedule.Save(saved.timer);
            EXPECT_EQ(strRefused.isEmpty(), *saved.pszClashesWith == '\0') << strRefused.toStdString();
            if (*saved.pszClashesWith != '\0') {
                EXPECT_TRUE(strRefused.contains(QLatin1String(saved.pszClashesWith))) << strRefused.toStdString();
            }
        }
        for (const CLook& look : testCase.looks) {
            SCOPED_TRACE(look.clock.toString(Qt::ISODate).toStdString());
            now = look.clock;
            QStringList arrEvents;
            for (const CTimerSchedule::CEvent& event : schedule.Check(look.bBusy)) {
                arrEvents.append(EventText(schedule, event));
                // As the runner does once the recording has stopped.
                if (event.eKind == CTimerSchedule::EEventKind::eStop)
                    schedule.SetState(event.strId, ETimerState::eDone);
            }
            QStringList arrExpected;
            for (const char* pszEvent : look.expected)
                arrExpected.append(QLatin1String(pszEvent));
            EXPECT_EQ(arrEvents.join(u", ").toStdString(), arrExpected.join(u", ").toStdString());
        }
    }
}
