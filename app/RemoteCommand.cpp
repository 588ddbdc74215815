#include "app/RemoteCommand.h"

#include <csignal>

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include "app/ProgramIdentity.h"
#include "app/RecorderService.h"
#include "skin/SkinDialog.h"

namespace RemoteCommand {

namespace {

const QString PROPERTIES_INTERFACE = QStringLiteral("org.freedesktop.DBus.Properties");
// How often a started program is checked for having ended before it
// claimed its name (no skin, no display).
constexpr int PROGRAM_CHECK_MS = 200;

QString MethodName(ECommand eCommand)
{
    switch (eCommand) {
    case ECommand::Record:
        return QStringLiteral("Record");
    case ECommand::Play:
        return QStringLiteral("Play");
    case ECommand::Pause:
        return QStringLiteral("Pause");
    case ECommand::Resume:
        return QStringLiteral("Resume");
    case ECommand::Stop:
        return QStringLiteral("Stop");
    case ECommand::Toggle:
        return QStringLiteral("Toggle");
    case ECommand::TimerAdd:
        return QStringLiteral("AddTimer");
    case ECommand::TimerRemove:
        return QStringLiteral("RemoveTimer");
    case ECommand::Timers:
        return QStringLiteral("Timers");
    case ECommand::Show:
    case ECommand::Status:
        break;
    }
    return QStringLiteral("Show");
}

bool IsRunning(const QDBusConnection& bus)
{
    return bus.interface()->isServiceRegistered(ProgramIdentity::APPLICATION_ID);
}

// Starts the program on its own, outliving this command, and waits until it
// serves its name; false with the reason in strError when it does not.
bool StartProgram(const QDBusConnection& bus, const QString& strProgram, QString& strError)
{
    QProcess program;
    program.setProgram(strProgram);
    // It outlives this command: a pipe this command was given (a shortcut
    // daemon's, a script's) may close, and writing to it would end the
    // program. A terminal stays, for its messages.
    if (!isatty(STDOUT_FILENO))
        program.setStandardOutputFile(QProcess::nullDevice());
    if (!isatty(STDERR_FILENO))
        program.setStandardErrorFile(QProcess::nullDevice());
    qint64 nPid = 0;
    if (!program.startDetached(&nPid)) {
        strError = QStringLiteral("Cannot start %1.").arg(strProgram);
        return false;
    }
    QEventLoop loop;
    const QDBusServiceWatcher watcher(ProgramIdentity::APPLICATION_ID, bus, QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop, &QEventLoop::quit);
    QTimer check;
    const QDeadlineTimer deadline(START_TIMEOUT_MS);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (kill(static_cast<pid_t>(nPid), 0) != 0 || deadline.hasExpired())
            loop.quit();
    });
    check.start(PROGRAM_CHECK_MS);
    // It may have claimed the name before the watcher was in place.
    if (!IsRunning(bus))
        loop.exec();
    if (IsRunning(bus))
        return true;
    strError =
        QStringLiteral("%1 was started but did not come up; start it without options to see why.").arg(strProgram);
    return false;
}

int PrintStatus(const QDBusConnection& bus, QTextStream& out, QTextStream& err)
{
    QDBusMessage call = QDBusMessage::createMethodCall(ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH,
                                                       PROPERTIES_INTERFACE, QStringLiteral("GetAll"));
    call << ProgramIdentity::APPLICATION_ID;
    const QDBusMessage reply = bus.call(call, QDBus::Block, START_TIMEOUT_MS);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        err << reply.errorMessage() << u'\n';
        return EXIT_FAILED;
    }
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    out << "state: " << properties.value(QStringLiteral("State")).toString() << u'\n'
        << "file: " << properties.value(QStringLiteral("File")).toString() << u'\n'
        << "elapsed: " << CSkinDialog::FormatTime(properties.value(QStringLiteral("Elapsed")).toInt()) << u'\n'
        << "bytes: " << properties.value(QStringLiteral("Bytes")).toULongLong() << u'\n'
        << "dropped: " << properties.value(QStringLiteral("Dropped")).toULongLong() << u'\n';
    return 0;
}

} // namespace

int Run(const QDBusConnection& bus, const CRequest& request, const QString& strProgram, QTextStream& out,
        QTextStream& err)
{
    if (!bus.isConnected()) {
        err << "Cannot reach the session bus: " << bus.lastError().message() << u'\n';
        return EXIT_FAILED;
    }
    if (!IsRunning(bus)) {
        if (request.eCommand == ECommand::Status || request.eCommand == ECommand::Timers) {
            out << NOT_RUNNING << u'\n';
            return EXIT_NOT_RUNNING;
        }
        if (request.eCommand != ECommand::Record && request.eCommand != ECommand::Toggle
            && request.eCommand != ECommand::TimerAdd) {
            err << ProgramIdentity::DISPLAY_NAME << " is " << NOT_RUNNING << ".\n";
            return EXIT_FAILED;
        }
        QString strError;
        if (!StartProgram(bus, strProgram, strError)) {
            err << strError << u'\n';
            return EXIT_FAILED;
        }
    }
    if (request.eCommand == ECommand::Status)
        return PrintStatus(bus, out, err);
    QDBusMessage call = QDBusMessage::createMethodCall(ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH,
                                                       ProgramIdentity::APPLICATION_ID, MethodName(request.eCommand));
    if (request.eCommand == ECommand::Record)
        call << request.strFile;
    if (request.eCommand == ECommand::TimerAdd || request.eCommand == ECommand::TimerRemove)
        call << request.strTimer;
    // A program still making its window answers once it is there.
    const QDBusMessage reply = bus.call(call, QDBus::Block, START_TIMEOUT_MS);
    if (reply.type() != QDBusMessage::ErrorMessage) {
        // The new timer's id, or a line a timer.
        const QVariant answer = reply.arguments().value(0);
        for (const QString& strLine : answer.toStringList())
            out << strLine << u'\n';
        return 0;
    }
    err << reply.errorMessage() << u'\n';
    return EXIT_FAILED;
}

} // namespace RemoteCommand
