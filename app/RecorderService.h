#pragma once

#include <functional>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QVariantMap>

#include "app/ProgramIdentity.h"

class CRecorderControl;
class CTimerRunner;

// The program on the session bus, for scripts, desktop shortcuts and the
// program's own command line: the name, object "/" and interface
// ProgramIdentity::APPLICATION_ID, whose methods run CRecorderControl's
// commands. A command's failure comes back as the error
// APPLICATION_ID + ".Error.Failed" carrying the window's message.
//
// The name is claimed before the window is made, so a second start learns
// at once that this one runs; calls that come while the window is still
// being made are answered once it is there (Show at once: the window opens
// anyway). UI thread only.
class CRecorderService : public QObject, protected QDBusContext
{
    Q_OBJECT
    // Qt's Properties.Get finds the interface only here, not by the name
    // the object is exported under.
    Q_CLASSINFO("D-Bus Interface", SKINREC_APPLICATION_ID)
    Q_PROPERTY(QString State READ State)
    Q_PROPERTY(QString File READ File)
    Q_PROPERTY(double Elapsed READ Elapsed)
    Q_PROPERTY(qulonglong Bytes READ Bytes)
    Q_PROPERTY(qulonglong Dropped READ Dropped)

public:
    enum class EClaim {
        Owned, // this program serves the name
        Taken, // another instance holds it
        NoBus, // no session bus: the program runs without the service
    };

    static const QString OBJECT_PATH;
    static const QString FAILED_ERROR;

    explicit CRecorderService(const QDBusConnection& connection, QObject* pParent = nullptr);
    ~CRecorderService() override;

    // Exports the object and asks for the name without queueing for it, so
    // of two programs starting at once exactly one gets Owned.
    EClaim Claim();
    // From now on calls reach control, which outlives this object; calls
    // that waited are answered in their order.
    void Serve(CRecorderControl& control);
    // The timers AddTimer, RemoveTimer and Timers reach; they outlive this
    // object.
    void ServeTimers(CTimerRunner& timers) { m_pTimers = &timers; }

    // The parameters' names are the interface's, as introspection shows them.
public slots:
    Q_SCRIPTABLE void Record(const QString& file);
    Q_SCRIPTABLE void Play();
    Q_SCRIPTABLE void Pause();
    Q_SCRIPTABLE void Resume();
    Q_SCRIPTABLE void Stop();
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void Show();
    // A timer as TimerLine writes it, with the window's settings now; its id.
    Q_SCRIPTABLE QString AddTimer(const QString& timer);
    Q_SCRIPTABLE void RemoveTimer(const QString& id);
    // "ID<tab>TIMER<tab>STATE" a timer.
    Q_SCRIPTABLE QStringList Timers();

signals:
    // A recording to a file ended; strError is empty when it did not fail.
    Q_SCRIPTABLE void RecordingFinished(const QString& file, double seconds, qulonglong bytes, const QString& error);

private:
    using CCommand = std::function<QString(CRecorderControl&)>;

    QString State() const;
    QString File() const;
    double Elapsed() const;
    qulonglong Bytes() const;
    qulonglong Dropped() const;
    QVariantMap Properties() const;

    // Whether the timers are there; a bus call is answered with an error
    // when not.
    bool TimersServed();
    // Runs the command now, or once the window is there.
    void Run(const CCommand& command);
    void Answer(const QDBusMessage& call, const QString& strError);
    void SendPropertiesChanged();

    QDBusConnection m_connection;
    CRecorderControl* m_pControl = nullptr;
    CTimerRunner* m_pTimers = nullptr;
    bool m_bRegistered = false;
    // Calls that came before the window, with what they ask.
    QList<std::pair<QDBusMessage, CCommand>> m_arrWaiting;
    QVariantMap m_lastProperties;
};
