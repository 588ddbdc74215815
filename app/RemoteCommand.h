#pragma once

#include <QDBusConnection>
#include <QString>
#include <QTextStream>

// The command line's side of the program's session bus service: sends one
// command to the running program and reports its answer. Needs a
// QCoreApplication, never a window, so a shortcut's command returns at once.
namespace RemoteCommand {

enum class ECommand { Record, Play, Pause, Resume, Stop, Toggle, Show, Status, TimerAdd, TimerRemove, Timers };

struct CRequest
{
    ECommand eCommand = ECommand::Show;
    // For Record: an absolute path, or empty for the name the window
    // proposes.
    QString strFile;
    // For TimerAdd: the timer as TimerLine writes it; for TimerRemove: its id.
    QString strTimer;
};

// The command's failure, or no program to send it to (err says which).
inline constexpr int EXIT_FAILED = 1;
// Status only: no program runs, which it prints.
inline constexpr int EXIT_NOT_RUNNING = 3;
// How long a program started for Record or Toggle may take to claim its
// name, and a command may wait for a window still being made: a large skin
// and a loaded machine.
inline constexpr int START_TIMEOUT_MS = 60000;

inline const QString NOT_RUNNING = QStringLiteral("not running");

// Sends request to the program serving the name on bus; out gets Status's
// lines (TimerAdd's id, Timers' lines), err a failure's text. Record,
// Toggle and TimerAdd first start strProgram
// when none runs, and record once it is there. Returns the exit status: 0,
// EXIT_FAILED or EXIT_NOT_RUNNING.
int Run(const QDBusConnection& bus, const CRequest& request, const QString& strProgram, QTextStream& out,
        QTextStream& err);

} // namespace RemoteCommand
