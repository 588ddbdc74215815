#include <gtest/gtest.h>

#include <csignal>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/ProgramIdentity.h"
#include "app/RecorderService.h"
#include "tests/common/PrivateSessionBus.h"
#include "tests/common/ProgramSkin.h"
#include "tests/engine/MediaProbe.h"

// The program itself, started and commanded from other processes as a
// desktop shortcut or a script would, on a session bus of the test's own.

namespace {

constexpr int TIMEOUT_MS = 60000;

QString ProgramPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/skinrecorder");
}

class RemoteCommandLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo(ProgramPath()).isExecutable())
            GTEST_SKIP() << "the program is not built beside the test";
        ASSERT_TRUE(m_bus.IsValid()) << "dbus-daemon did not start; scripts/setup installs it";
        ASSERT_TRUE(m_folder.isValid());
        m_connection = m_bus.Connect(QStringLiteral("test"));
    }

    void TearDown() override
    {
        // However the test ended: a program left running would outlive it.
        for (const qint64 nPid : std::as_const(m_arrStarted))
            kill(static_cast<pid_t>(nPid), SIGTERM);
        WaitUntil([&] { return !IsServed(); }, TIMEOUT_MS);
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = m_bus.Environment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Timers are read from and saved to the test's own folder.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), FilePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("skinrecorder.service.info=true"));
        return environment;
    }

    void Start(QProcess& program)
    {
        program.setWorkingDirectory(m_folder.path());
        program.setProcessEnvironment(Environment());
        program.start(ProgramPath(), {});
        ASSERT_TRUE(program.waitForStarted(TIMEOUT_MS));
        m_arrStarted.append(program.processId());
    }

    struct CRun
    {
        int nExitCode = -1;
        QString strOutput;
        QString strErrors;
    };

    CRun Run(const QStringList& arrArguments)
    {
        QProcess command;
        command.setWorkingDirectory(m_folder.path());
        command.setProcessEnvironment(Environment());
        command.start(ProgramPath(), arrArguments);
        CRun run;
        if (!command.waitForFinished(TIMEOUT_MS))
            return run;
        run.nExitCode = command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
        run.strOutput = QString::fromLocal8Bit(command.readAllStandardOutput());
        run.strErrors = QString::fromLocal8Bit(command.readAllStandardError());
        return run;
    }

    bool IsServed() const { return m_connection.interface()->isServiceRegistered(ProgramIdentity::APPLICATION_ID); }

    qint64 ServingPid() const { return m_connection.interface()->servicePid(ProgramIdentity::APPLICATION_ID).value(); }

    double ElapsedSeconds() const
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(ProgramIdentity::APPLICATION_ID, CRecorderService::OBJECT_PATH,
                                           QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        call << ProgramIdentity::APPLICATION_ID << QStringLiteral("Elapsed");
        const QDBusMessage reply = m_connection.call(call, QDBus::Block, TIMEOUT_MS);
        return reply.arguments().value(0).value<QDBusVariant>().variant().toDouble();
    }

    QString FilePath(const QString& strName) const { return QDir(m_folder.path()).filePath(strName); }

    CPrivateSessionBus m_bus;
    QTemporaryDir m_folder;
    QDBusConnection m_connection { QString() };
    QList<qint64> m_arrStarted;
};

struct CCommandCase
{
    QStringList arrArguments;
    int nExitCode;
    // Matched against standard output, or standard error.
    QString strOutput;
    QString strErrors;
};

void Check(const CCommandCase& c, int nExitCode, const QString& strOutput, const QString& strErrors)
{
    EXPECT_EQ(nExitCode, c.nExitCode) << strErrors.toStdString();
    EXPECT_TRUE(QRegularExpression(c.strOutput).match(strOutput).hasMatch()) << strOutput.toStdString();
    EXPECT_TRUE(QRegularExpression(c.strErrors).match(strErrors).hasMatch()) << strErrors.toStdString();
}

// The program --record starts used to die of the first message it wrote
// once the command (and the pipe it had been given) was gone.
TEST_F(RemoteCommandLine, CommandsDriveTheRunningProgramOrStartItToRecord)
{
    const QString strTake = FilePath(QStringLiteral("take.mpg"));
    const CCommandCase before[] = {
        { { "--status" }, 3, "^not running\\n$", "^$" },
        { { "--stop" }, 1, "^$", "not running" },
        { { "--pause" }, 1, "^$", "not running" },
        // Started for it; a relative name is the command's, from its own
        // current folder.
        { { "--record", "take.mpg" }, 0, "^$", "^$" },
    };
    for (const CCommandCase& c : before) {
        SCOPED_TRACE(c.arrArguments.join(u' ').toStdString());
        const CRun run = Run(c.arrArguments);
        Check(c, run.nExitCode, run.strOutput, run.strErrors);
    }
    ASSERT_TRUE(IsServed());
    const qint64 nPid = ServingPid();
    m_arrStarted.append(nPid);
    ASSERT_TRUE(WaitUntil([&] { return ElapsedSeconds() >= 1.0; }, TIMEOUT_MS));
    const CCommandCase during[] = {
        { { "--status" },
          0,
          "^state: recording\\nfile: " + QRegularExpression::escape(strTake) + "\\nelapsed: 00:00:",
          "^$" },
        { { "--pause" }, 0, "^$", "^$" },
        { { "--status" }, 0, "^state: paused\\n", "^$" },
        { { "--resume" }, 0, "^$", "^$" },
        { { "--record", "missing/other.mpg" }, 1, "^$", QRegularExpression::escape(FilePath("missing")) },
        { { "--stop" }, 0, "^$", "^$" },
        { { "--status" }, 0, "^state: stopped\\nfile: \\n", "^$" },
        // A second plain start hands over to the first one and ends.
        { {}, 0, "^$", "" },
    };
    for (const CCommandCase& c : during) {
        SCOPED_TRACE(c.arrArguments.join(u' ').toStdString());
        const CRun run = Run(c.arrArguments);
        Check(c, run.nExitCode, run.strOutput, run.strErrors);
    }
    EXPECT_EQ(ServingPid(), nPid);
    const QJsonObject probe = ProbeFile(strTake.toStdString());
    EXPECT_EQ(FindStream(probe, "video")["codec_name"].toString(), "mpeg1video");
    EXPECT_GE(StreamSpanSeconds(strTake.toStdString(), "v"), 0.5);
}

// Two programs started at once: one serves, the other hands over and ends.
TEST_F(RemoteCommandLine, TwoPlainStartsAtOnceLeaveOneProgram)
{
    QProcess first;
    QProcess second;
    Start(first);
    Start(second);
    ASSERT_TRUE(WaitUntil(
        [&] { return first.state() == QProcess::NotRunning || second.state() == QProcess::NotRunning; }, TIMEOUT_MS));
    QProcess& ended = first.state() == QProcess::NotRunning ? first : second;
    QProcess& serving = &ended == &first ? second : first;
    EXPECT_EQ(ended.exitCode(), 0) << ended.readAllStandardError().toStdString();
    ASSERT_TRUE(WaitUntil([&] { return IsServed(); }, TIMEOUT_MS));
    EXPECT_EQ(ServingPid(), serving.processId());
    kill(static_cast<pid_t>(serving.processId()), SIGTERM);
    EXPECT_TRUE(serving.waitForFinished(TIMEOUT_MS));
    EXPECT_TRUE(serving.readAllStandardError().contains("asked to show the window"));
}

} // namespace

// Timers from the command line: added with the window's settings and its
// id printed, refused with the reason, listed as they are added, removed.
TEST_F(RemoteCommandLine, TimersAreAddedListedAndRemoved)
{
    EXPECT_EQ(Run({ "--timers" }).nExitCode, 3);
    QProcess program;
    Start(program);
    ASSERT_TRUE(WaitUntil([&] { return IsServed(); }, TIMEOUT_MS));
    const QString strId = QStringLiteral("[0-9a-f-]{36}");
    const CCommandCase cases[] = {
        { { "--timer-add", "News;2030-01-02 20:15;90" }, 0, "^" + strId + "\\n$", "^$" },
        { { "--timer-add", "Film;2030-01-02 21:00;until 23:00" }, 1, "^$", "\"News\"" },
        { { "--timer-add", "Film;Tue,Thu 21:00;soon" }, 1, "^$", "\"soon\" is no length" },
        { { "--timer-add", "Film;Tue,Thu 21:00;until 23:00" }, 0, "^" + strId + "\\n$", "^$" },
        { { "--timers" },
          0,
          "^" + strId + "\tNews;2030-01-02 20:15;90\twaiting\\n" + strId + "\tFilm;Tue,Thu 21:00;120\twaiting\\n$",
          "^$" },
        { { "--timer-remove", "none" }, 1, "^$", "no timer none" },
        { { "--timer-add" }, 2, "^$", "Which timer" },
    };
    for (const CCommandCase& c : cases) {
        SCOPED_TRACE(c.arrArguments.join(u' ').toStdString());
        const CRun run = Run(c.arrArguments);
        Check(c, run.nExitCode, run.strOutput, run.strErrors);
    }
    const QString strNewsId = Run({ "--timers" }).strOutput.section(u'\t', 0, 0);
    EXPECT_EQ(Run({ "--timer-remove", strNewsId }).nExitCode, 0);
    EXPECT_TRUE(QRegularExpression("^" + strId + "\tFilm;").match(Run({ "--timers" }).strOutput).hasMatch());
    EXPECT_TRUE(QFileInfo::exists(FilePath(QStringLiteral("config/skinrecorder/timers.json"))));
}
