#pragma once

#include <QString>

#include <optional>

#include "app/TimerSchedule.h"

// A timer in one line of text, for the command line and the session bus:
// "TITLE;WHEN;LENGTH". WHEN is "YYYY-MM-DD HH:MM" for once, or weekdays and
// a time, "Mon,Wed 20:15" or "daily 20:15"; LENGTH is minutes, or
// "until HH:MM" (an end at or before the start is on the next day). The
// title may itself hold ';': the last two fields are WHEN and LENGTH.
namespace TimerLine {

inline const QString FORMAT = QStringLiteral("TITLE;YYYY-MM-DD HH:MM|DAYS HH:MM;MINUTES|until HH:MM");

// The timer's title, days, start and length; its other fields stay as in
// timer. Nothing, with the reason in strError, for text not in the form.
std::optional<CRecordingTimer> Parse(const QString& strLine, const CRecordingTimer& timer, QString& strError);
// Weekday bits as "Mon,Wed", the names systemd's calendar takes too.
QString DayNames(unsigned nWeekdays);
// The timer in the form Parse reads ("News;Mon,Wed 20:15;90").
QString Text(const CRecordingTimer& timer);

} // namespace TimerLine
