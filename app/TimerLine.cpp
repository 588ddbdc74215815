#include "app/TimerLine.h"

#include <QStringList>

#include <iterator>

namespace {

constexpr int SECONDS_PER_MINUTE = 60;
constexpr int SECONDS_PER_DAY = 24 * 60 * 60;
const QString TIME_FORMAT = QStringLiteral("HH:mm");
const QString DAILY = QStringLiteral("daily");
const char* const DAY_NAMES[] = { "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun" };

// "Mon,Wed" or "daily" as weekday bits; 0 when a name is unknown.
unsigned ParseDays(const QString& strDays)
{
    if (strDays.compare(DAILY, Qt::CaseInsensitive) == 0)
        return CRecordingTimer::ALL_WEEKDAYS;
    unsigned nDays = 0;
    for (const QString& strDay : strDays.split(u',')) {
        const auto found = std::find_if(std::begin(DAY_NAMES), std::end(DAY_NAMES), [&](const char* pszName) {
            return strDay.trimmed().compare(QLatin1String(pszName), Qt::CaseInsensitive) == 0;
        });
        if (found == std::end(DAY_NAMES))
            return 0;
        nDays |= 1U << std::distance(std::begin(DAY_NAMES), found);
    }
    return nDays;
}

bool ParseWhen(const QString& strWhen, CRecordingTimer& timer)
{
    const qsizetype nSpace = strWhen.lastIndexOf(u' ');
    if (nSpace < 0)
        return false;
    timer.startTime = QTime::fromString(strWhen.mid(nSpace + 1), TIME_FORMAT);
    const QString strDay = strWhen.left(nSpace).trimmed();
    timer.date = QDate::fromString(strDay, Qt::ISODate);
    timer.nWeekdays = timer.date.isValid() ? 0 : ParseDays(strDay);
    return timer.startTime.isValid() && (timer.date.isValid() || timer.nWeekdays != 0);
}

bool ParseLength(const QString& strLength, CRecordingTimer& timer)
{
    const QString strUntil = QStringLiteral("until ");
    if (strLength.startsWith(strUntil, Qt::CaseInsensitive)) {
        const QTime end = QTime::fromString(strLength.mid(strUntil.size()).trimmed(), TIME_FORMAT);
        const int nSeconds = end.isValid() ? timer.startTime.secsTo(end) : 0;
        timer.nLengthSeconds = nSeconds > 0 ? nSeconds : nSeconds + SECONDS_PER_DAY;
        return end.isValid();
    }
    bool bNumber = false;
    const int nMinutes = strLength.toInt(&bNumber);
    timer.nLengthSeconds = nMinutes * SECONDS_PER_MINUTE;
    return bNumber && nMinutes > 0 && timer.nLengthSeconds <= CTimerSchedule::MAX_LENGTH_SECONDS;
}

} // namespace

namespace TimerLine {

std::optional<CRecordingTimer> Parse(const QString& strLine, const CRecordingTimer& timer, QString& strError)
{
    QStringList arrFields = strLine.split(u';');
    CRecordingTimer parsed = timer;
    if (arrFields.size() < 3) {
        strError = QStringLiteral("A timer is written %1, not \"%2\".").arg(FORMAT, strLine);
        return std::nullopt;
    }
    const QString strLength = arrFields.takeLast().trimmed();
    const QString strWhen = arrFields.takeLast().trimmed();
    parsed.strTitle = arrFields.join(u';').trimmed();
    if (!ParseWhen(strWhen, parsed)) {
        strError = QStringLiteral("\"%1\" is no start: give \"YYYY-MM-DD HH:MM\", or days and a time such as "
                                  "\"Mon,Wed 20:15\" or \"daily 20:15\".")
                       .arg(strWhen);
        return std::nullopt;
    }
    if (!ParseLength(strLength, parsed)) {
        strError = QStringLiteral("\"%1\" is no length: give minutes, up to a day, or \"until HH:MM\".").arg(strLength);
        return std::nullopt;
    }
    return parsed;
}

QString DayNames(unsigned nWeekdays)
{
    QStringList arrDays;
    for (int nDay = 0; nDay < static_cast<int>(std::size(DAY_NAMES)); ++nDay) {
        if ((nWeekdays & (1U << nDay)) != 0)
            arrDays.append(QLatin1String(DAY_NAMES[nDay]));
    }
    return arrDays.join(u',');
}

QString Text(const CRecordingTimer& timer)
{
    QString strDay = timer.date.toString(Qt::ISODate);
    if (timer.nWeekdays == CRecordingTimer::ALL_WEEKDAYS)
        strDay = DAILY;
    else if (timer.IsRepeating())
        strDay = DayNames(timer.nWeekdays);
    const QString strLength = timer.nLengthSeconds % SECONDS_PER_MINUTE == 0
        ? QString::number(timer.nLengthSeconds / SECONDS_PER_MINUTE)
        : QStringLiteral("until ") + timer.startTime.addSecs(timer.nLengthSeconds).toString(TIME_FORMAT);
    return QStringLiteral("%1;%2 %3;%4").arg(timer.strTitle, strDay, timer.startTime.toString(TIME_FORMAT), strLength);
}

} // namespace TimerLine
