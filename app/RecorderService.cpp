#include "app/RecorderService.h"

#include <QDBusConnectionInterface>
#include <QLoggingCategory>

#include "app/ProgramIdentity.h"
#include "app/RecorderControl.h"
#include "app/TimerRunner.h"

namespace {

// Why the program runs without its service, for a user whose shortcut does
// nothing: QT_LOGGING_RULES="skinrecorder.service.info=true".
Q_LOGGING_CATEGORY(lcService, "skinrecorder.service", QtWarningMsg)

const QString PROPERTIES_INTERFACE = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

const QString CRecorderService::OBJECT_PATH = QStringLiteral("/");
const QString CRecorderService::FAILED_ERROR = ProgramIdentity::APPLICATION_ID + QStringLiteral(".Error.Failed");

CRecorderService::CRecorderService(const QDBusConnection& connection, QObject* pParent)
    : QObject(pParent)
    , m_connection(connection)
{
}

CRecorderService::~CRecorderService()
{
    if (!m_bRegistered)
        return;
    m_connection.unregisterObject(OBJECT_PATH);
    m_connection.unregisterService(ProgramIdentity::APPLICATION_ID);
}

CRecorderService::EClaim CRecorderService::Claim()
{
    if (!m_connection.isConnected()) {
        qCInfo(lcService).noquote() << "no session bus:" << m_connection.lastError().message();
        return EClaim::NoBus;
    }
    // Exported first: a call may come the moment the name is ours.
    if (!m_connection.registerObject(OBJECT_PATH, ProgramIdentity::APPLICATION_ID, this,
                                     QDBusConnection::ExportScriptableContents)) {
        qCWarning(lcService).noquote() << "cannot export the recorder on the session bus";
        return EClaim::NoBus;
    }
    m_bRegistered = true;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = m_connection.interface()->registerService(
        ProgramIdentity::APPLICATION_ID, QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return EClaim::Owned;
    m_connection.unregisterObject(OBJECT_PATH);
    m_bRegistered = false;
    if (!reply.isValid()) {
        qCWarning(lcService).noquote() << "cannot claim" << ProgramIdentity::APPLICATION_ID << reply.error().message();
        return EClaim::NoBus;
    }
    return EClaim::Taken;
}

void CRecorderService::Serve(CRecorderControl& control)
{
    m_pControl = &control;
    m_lastProperties = Properties();
    connect(&control, &CRecorderControl::StateChanged, this, &CRecorderService::SendPropertiesChanged);
    connect(&control, &CRecorderControl::RecordingFinished, this,
            [this](const CRecorderControl::CFinishedRecording& finished) {
                emit RecordingFinished(finished.strFile, finished.dSeconds, static_cast<qulonglong>(finished.nBytes),
                                       finished.strError);
            });
    const QList<std::pair<QDBusMessage, CCommand>> arrWaiting = std::exchange(m_arrWaiting, {});
    for (const auto& [call, command] : arrWaiting)
        Answer(call, command(control));
}

void CRecorderService::Record(const QString& file)
{
    Run([file](CRecorderControl& control) { return control.Record(file); });
}

void CRecorderService::Play()
{
    Run(&CRecorderControl::Play);
}

void CRecorderService::Pause()
{
    Run(&CRecorderControl::Pause);
}

void CRecorderService::Resume()
{
    Run(&CRecorderControl::Resume);
}

void CRecorderService::Stop()
{
    Run(&CRecorderControl::Stop);
}

void CRecorderService::Toggle()
{
    Run(&CRecorderControl::Toggle);
}

void CRecorderService::Show()
{
    // A window still being made is shown, in front, once it is.
    qCInfo(lcService) << "asked to show the window";
    if (m_pControl)
        m_pControl->Show();
}

bool CRecorderService::TimersServed()
{
    // Only while a message box of the window being made is open.
    if (!m_pTimers && calledFromDBus())
        sendErrorReply(FAILED_ERROR, QStringLiteral("The program is still starting; try again."));
    return m_pTimers != nullptr;
}

QString CRecorderService::AddTimer(const QString& timer)
{
    QString strId;
    if (!TimersServed())
        return strId;
    const QString strError = m_pTimers->AddFromLine(timer, strId);
    if (!strError.isEmpty() && calledFromDBus())
        sendErrorReply(FAILED_ERROR, strError);
    return strId;
}

void CRecorderService::RemoveTimer(const QString& id)
{
    if (!TimersServed())
        return;
    const QString strError = m_pTimers->Schedule().Find(id)
        ? m_pTimers->Remove(id)
        : QStringLiteral("There is no timer %1 (see Timers).").arg(id);
    if (!strError.isEmpty() && calledFromDBus())
        sendErrorReply(FAILED_ERROR, strError);
}

QStringList CRecorderService::Timers()
{
    return TimersServed() ? m_pTimers->Listing() : QStringList();
}

void CRecorderService::Run(const CCommand& command)
{
    if (m_pControl) {
        const QString strError = command(*m_pControl);
        if (calledFromDBus() && !strError.isEmpty())
            sendErrorReply(FAILED_ERROR, strError);
        return;
    }
    if (!calledFromDBus())
        return;
    setDelayedReply(true);
    m_arrWaiting.append({ message(), command });
}

void CRecorderService::Answer(const QDBusMessage& call, const QString& strError)
{
    m_connection.send(strError.isEmpty() ? call.createReply() : call.createErrorReply(FAILED_ERROR, strError));
}

QString CRecorderService::State() const
{
    return CRecorderControl::StateName(m_pControl ? m_pControl->State() : CRecorderControl::EState::Stopped);
}

QString CRecorderService::File() const
{
    return m_pControl ? m_pControl->File() : QString();
}

double CRecorderService::Elapsed() const
{
    return m_pControl ? m_pControl->ElapsedSeconds() : 0;
}

qulonglong CRecorderService::Bytes() const
{
    return m_pControl ? static_cast<qulonglong>(m_pControl->BytesWritten()) : 0;
}

qulonglong CRecorderService::Dropped() const
{
    return m_pControl ? static_cast<qulonglong>(m_pControl->FramesDropped()) : 0;
}

QVariantMap CRecorderService::Properties() const
{
    return { { QStringLiteral("State"), State() },
             { QStringLiteral("File"), File() },
             { QStringLiteral("Elapsed"), Elapsed() },
             { QStringLiteral("Bytes"), Bytes() },
             { QStringLiteral("Dropped"), Dropped() } };
}

void CRecorderService::SendPropertiesChanged()
{
    const QVariantMap now = Properties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_lastProperties.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_lastProperties = now;
    if (changed.isEmpty() || !m_bRegistered)
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(OBJECT_PATH, PROPERTIES_INTERFACE, QStringLiteral("PropertiesChanged"));
    signal << ProgramIdentity::APPLICATION_ID << changed << QStringList();
    m_connection.send(signal);
}
