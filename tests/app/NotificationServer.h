#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

// How long a test waits for the notification server, on a loaded machine.
inline constexpr int SERVER_TIMEOUT_MS = 30000;

// A desktop notification server on the given bus (tests/common/
// notification_server.py), clicking strInvoke on every notification that
// offers it, after its reply to Notify or, with bBeforeReply, before it;
// ended with the object.
class CNotificationServer
{
public:
    CNotificationServer(const QString& strAddress, const QString& strInvoke, bool bBeforeReply = false)
    {
        QStringList arrArguments { QStringLiteral(TESTS_COMMON_FOLDER "/notification_server.py"),
                                   QStringLiteral("--address"), strAddress, QStringLiteral("--invoke"), strInvoke };
        if (bBeforeReply)
            arrArguments.append(QStringLiteral("--before-reply"));
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The system's python: it has the D-Bus and GLib bindings.
        m_server.start(QStringLiteral("/usr/bin/python3"), arrArguments);
    }
    ~CNotificationServer()
    {
        m_server.kill();
        m_server.waitForFinished();
    }
    CNotificationServer(const CNotificationServer&) = delete;
    CNotificationServer& operator=(const CNotificationServer&) = delete;

    // Whether it serves the bus now.
    bool WaitUntilReady() { return NextLine() == "ready"; }

    // The next Notify call it took: its arguments by name.
    QJsonObject NextNotification() { return QJsonDocument::fromJson(NextLine()).object(); }

private:
    QByteArray NextLine()
    {
        const bool bRead = QTest::qWaitFor([this] { return m_server.canReadLine(); }, SERVER_TIMEOUT_MS);
        return bRead ? m_server.readLine().trimmed() : QByteArray();
    }

    QProcess m_server;
};
