#pragma once

#include <gtest/gtest.h>

#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

// A private session bus with the stand-in desktop portal on it
// (standin_portal.py), for a whole test process: QtDBus keeps the first
// session bus it connects to, so the bus is made before any test runs and
// DBUS_SESSION_BUS_ADDRESS points this process there. Register it with
// testing::AddGlobalTestEnvironment.
class CStandInPortal : public testing::Environment
{
public:
    static CStandInPortal* Instance() { return s_pInstance; }

    void SetUp() override
    {
        s_pInstance = this;
        ASSERT_TRUE(m_folder.isValid());
        // No service folders: nothing on this bus is started on demand, so
        // a real portal installed on the machine stays out.
        const QString strConfig = m_folder.filePath(QStringLiteral("bus.conf"));
        QFile config(strConfig);
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write("<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        config.close();
        m_bus.start(QStringLiteral("dbus-daemon"),
                    { QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                      QStringLiteral("--config-file=") + strConfig });
        ASSERT_TRUE(m_bus.waitForReadyRead(START_TIMEOUT_MS)) << "dbus-daemon did not start";
        m_strAddress = QString::fromUtf8(m_bus.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_strAddress.toUtf8());
        // The restore token the programs keep goes here, not to the home.
        qputenv("XDG_STATE_HOME", StateFolder().toUtf8());
        m_portal.setProcessEnvironment(Environment());
        m_portal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_portal.start(QStringLiteral("/usr/bin/python3"), { QStringLiteral(STANDIN_PORTAL_PATH), Folder() });
        ASSERT_TRUE(m_portal.waitForReadyRead(START_TIMEOUT_MS)) << "the stand-in portal did not start";
        ASSERT_EQ(m_portal.readLine().trimmed(), "ready");
    }

    void TearDown() override
    {
        for (QProcess* pProcess : { &m_portal, &m_bus }) {
            pProcess->kill();
            pProcess->waitForFinished();
        }
        s_pInstance = nullptr;
    }

    QString Folder() const { return m_folder.path(); }
    QString StateFolder() const { return m_folder.filePath(QStringLiteral("state")); }
    // For programs started by a test: this bus, and so this portal.
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_strAddress);
        environment.insert(QStringLiteral("XDG_STATE_HOME"), StateFolder());
        return environment;
    }

    // What the portal answers from now on: grant, cancel, end or silent.
    void SetAnswer(const QString& strAnswer) { Write(QStringLiteral("answer"), strAnswer); }
    void SetNode(quint32 nNode) { Write(QStringLiteral("node"), QString::number(nNode)); }
    void Write(const QString& strName, const QString& strValue)
    {
        QFile file(QDir(Folder()).filePath(strName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(strValue.toUtf8());
    }

    // Every call since the last ForgetCalls, in order: method and options.
    QList<QJsonObject> Calls(const QString& strMethod) const
    {
        QList<QJsonObject> calls;
        QFile file(QDir(Folder()).filePath(QStringLiteral("calls.jsonl")));
        if (!file.open(QIODevice::ReadOnly))
            return calls;
        while (!file.atEnd()) {
            const QJsonObject call = QJsonDocument::fromJson(file.readLine()).object();
            if (call.value(QStringLiteral("method")).toString() == strMethod)
                calls.append(call.value(QStringLiteral("options")).toObject());
        }
        return calls;
    }
    void ForgetCalls() { QFile::remove(QDir(Folder()).filePath(QStringLiteral("calls.jsonl"))); }

private:
    static constexpr int START_TIMEOUT_MS = 30000;
    static inline CStandInPortal* s_pInstance = nullptr;
    QTemporaryDir m_folder;
    QProcess m_bus;
    QProcess m_portal;
    QString m_strAddress;
};
