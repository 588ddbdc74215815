#pragma once

#include <optional>

#include <QStringList>
#include <QTextStream>

// The program's own command line: --help and --version, nothing else. Qt's
// options (-platform NAME, -display ...) are Qt's: the application object
// takes them out of the command line when it is made.
namespace ProgramCommandLine {

// The exit status of a mistake in the command line.
inline constexpr int EXIT_USAGE = 2;

// Before the application object, so neither needs a display: --help prints
// the options and --version the program and its version on out, and the
// program then exits with the status returned. Nothing else is decided here.
std::optional<int> AnswerBeforeWindow(const QStringList& arrArguments, QTextStream& out);

// What is left once Qt took its options: anything at all is a mistake,
// reported on err with the status to exit with.
std::optional<int> RefuseLeftovers(const QStringList& arrArguments, QTextStream& err);

} // namespace ProgramCommandLine
