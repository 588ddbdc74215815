#pragma once

#include <optional>

#include <QStringList>
#include <QTextStream>

// The program's own command line: --help, --version, --verbose, and the
// commands for the running program (--record [FILE], --stop, --status, ...).
// Qt's options (-platform NAME, -display ...) are Qt's: the application
// object takes them out of the command line when it is made.
namespace ProgramCommandLine {

// The exit status of a mistake in the command line.
inline constexpr int EXIT_USAGE = 2;

// Before the application object, so neither needs a display: --help prints
// the options and --version the program and its version on out, and the
// program then exits with the status returned. Nothing else is decided here.
// --help makes a core application of its own, for the user's language.
std::optional<int> AnswerBeforeWindow(int& argc, char** argv, QTextStream& out);

// Before the application object: a command for the running program
// (--record [FILE], --play, --pause, --resume, --stop, --toggle, --show,
// --status) is sent to it over the session bus, with a core application
// only, and the status to exit with returned: RemoteCommand::Run's, or
// EXIT_USAGE for a mistake among them (two commands, a FILE without
// --record, any other option), reported on err. Nothing without one.
std::optional<int> SendRemoteCommand(int& argc, char** argv, QTextStream& out, QTextStream& err);

// Whether --verbose asks for a trace of what the program does on standard
// error: skins, the notifier, the window's commands, the devices, formats,
// profile, drops and close of each recording. VERBOSE_RULES are the logging
// rules it sets (QT_LOGGING_RULES still has the last word).
bool IsVerbose(const QStringList& arrArguments);
inline constexpr char VERBOSE_RULES[] = "skinrecorder.*=true\nskinrecorder.webengine.debug=false";

// What is left once Qt took its options: anything at all is a mistake,
// reported on err with the status to exit with.
std::optional<int> RefuseLeftovers(const QStringList& arrArguments, QTextStream& err);

} // namespace ProgramCommandLine
