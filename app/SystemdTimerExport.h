#pragma once

#include <QString>
#include <QStringList>

#include "app/TimerSchedule.h"

// A timer as a systemd user timer and service pair that runs mpegrec, for
// recording while the program is not running.
namespace SystemdTimerExport {

// Where systemd looks for a user's own units.
QString UserUnitFolder();

// "skinrecorder-TITLE-ID": the two files are NAME.timer and NAME.service.
QString UnitName(const CRecordingTimer& timer);
// The OnCalendar value: "2026-12-08 20:15:00" once, "Mon,Wed *-*-* 20:15:00"
// on weekdays.
QString Calendar(const CRecordingTimer& timer);
// mpegrec's options for the timer's settings, recording into strFolder.
QStringList MpegrecArguments(const CRecordingTimer& timer, const QString& strFolder);

QString ServiceText(const CRecordingTimer& timer, const QString& strMpegrec, const QString& strFolder);
QString TimerText(const CRecordingTimer& timer);

struct CResult
{
    QString strTimerFile;
    QString strServiceFile;
    // Why nothing was written; empty on success.
    QString strError;
    // The files exist already and bReplace was false: nothing was written.
    bool bExists = false;
};
// Writes both files into strUnitFolder; existing ones only when bReplace.
CResult Write(const CRecordingTimer& timer, const QString& strUnitFolder, const QString& strMpegrec,
              const QString& strRecordingFolder, bool bReplace);

} // namespace SystemdTimerExport
