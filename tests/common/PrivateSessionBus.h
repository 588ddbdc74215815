#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A D-Bus session bus of the test's own: a dbus-daemon started with the
// object and ended with it, so the names a test claims never meet the
// desktop's (or another test's running side by side). In this process,
// Connect() gives a connection to it; a program the test starts gets it
// through Environment(), as DBUS_SESSION_BUS_ADDRESS.
class CPrivateSessionBus
{
public:
    // How long the daemon may take to say where it listens, on a loaded machine.
    static constexpr int START_TIMEOUT_MS = 30000;

    CPrivateSessionBus()
    {
        if (!m_socketFolder.isValid())
            return;
        // It complains of resource limits a test cannot raise.
        m_daemon.setStandardErrorFile(QProcess::nullDevice());
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                         QStringLiteral("--address=unix:dir=") + m_socketFolder.path() });
        if (!m_daemon.waitForStarted(START_TIMEOUT_MS))
            return;
        // The daemon prints its address once it listens.
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(START_TIMEOUT_MS)) { }
        m_strAddress = QString::fromUtf8(m_daemon.readLine().trimmed());
    }

    ~CPrivateSessionBus()
    {
        for (const QString& strName : std::as_const(m_arrConnections))
            QDBusConnection::disconnectFromBus(strName);
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(START_TIMEOUT_MS);
        }
    }

    CPrivateSessionBus(const CPrivateSessionBus&) = delete;
    CPrivateSessionBus& operator=(const CPrivateSessionBus&) = delete;

    // False when dbus-daemon is missing or did not start.
    bool IsValid() const { return !m_strAddress.isEmpty(); }
    const QString& Address() const { return m_strAddress; }

    // A new connection of this process to the bus, under a name of its own;
    // closed with the bus.
    QDBusConnection Connect(const QString& strName)
    {
        m_arrConnections.append(strName);
        return QDBusConnection::connectToBus(m_strAddress, strName);
    }

    // base with this bus as the session bus.
    QProcessEnvironment Environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const
    {
        base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_strAddress);
        return base;
    }

private:
    QTemporaryDir m_socketFolder;
    QProcess m_daemon;
    QString m_strAddress;
    QStringList m_arrConnections;
};
