#include "portal/ScreenCastPortal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>

#include "portal/RestoreTokenStore.h"

Q_LOGGING_CATEGORY(lcPortal, "skinrecorder.portal")

namespace {

const QString PORTAL_SERVICE = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PORTAL_PATH = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SCREENCAST_INTERFACE = QStringLiteral("org.freedesktop.portal.ScreenCast");
const QString REQUEST_INTERFACE = QStringLiteral("org.freedesktop.portal.Request");
const QString SESSION_INTERFACE = QStringLiteral("org.freedesktop.portal.Session");
const QString PROPERTIES_INTERFACE = QStringLiteral("org.freedesktop.DBus.Properties");

// Source types and cursor modes, as the portal numbers them.
constexpr uint SOURCE_MONITOR = 1;
constexpr uint SOURCE_WINDOW = 2;
constexpr uint CURSOR_EMBEDDED = 2;
// Kept until the person revokes it, not only while this program runs.
constexpr uint PERSIST_UNTIL_REVOKED = 2;
// The first portal version that restores a session.
constexpr uint PERSIST_VERSION = 4;

// Responses of a request.
constexpr uint RESPONSE_SUCCESS = 0;
constexpr uint RESPONSE_CANCELLED = 1;
constexpr uint RESPONSE_ENDED = 2;

// A portal that is there answers a property at once; one that does not
// answer must not hold up the device list.
constexpr int PROBE_TIMEOUT_MS = 2000;
// The calls themselves return at once; it is their Response that waits on
// the person.
constexpr int CALL_TIMEOUT_MS = 10000;

QAtomicInteger<quint32> g_nNextToken = 0;

// Tokens name object paths, so they keep to letters, digits and '_'.
QString NewToken()
{
    return QStringLiteral("skinrec%1_%2")
        .arg(QCoreApplication::applicationPid())
        .arg(g_nNextToken.fetchAndAddRelaxed(1));
}

// The portal answers each request on an object named after the caller's
// unique bus name (":1.42" -> "1_42") and the token the caller chose.
QString RequestPath(const QDBusConnection& bus, const QString& strToken)
{
    QString strSender = bus.baseService().mid(1);
    strSender.replace(u'.', u'_');
    return QStringLiteral("%1/request/%2/%3").arg(PORTAL_PATH, strSender, strToken);
}

QDBusMessage PortalCall(const QString& strInterface, const QString& strMethod, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(PORTAL_SERVICE, PORTAL_PATH, strInterface, strMethod);
    call.setArguments(arguments);
    return call;
}

// Libdbus starts a bus of its own for a session that has none; asking
// about a portal is no reason to.
bool HasSessionBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString strRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !strRuntime.isEmpty() && QFileInfo::exists(strRuntime + QStringLiteral("/bus"));
}

QVariantMap ScreenCastProperties(const QDBusConnection& bus)
{
    const QDBusMessage reply =
        bus.call(PortalCall(PROPERTIES_INTERFACE, QStringLiteral("GetAll"), { SCREENCAST_INTERFACE }), QDBus::Block,
                 CALL_TIMEOUT_MS);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

// The first stream of Start's answer: a(ua{sv}), each a node and its
// properties, among them its size (ii).
bool ReadFirstStream(const QVariant& streams, CScreenCastGrant& grant)
{
    const QDBusArgument argument = streams.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::ArrayType)
        return false;
    bool bFound = false;
    argument.beginArray();
    while (!argument.atEnd()) {
        uint nNode = 0;
        QVariantMap properties;
        argument.beginStructure();
        argument >> nNode >> properties;
        argument.endStructure();
        if (bFound)
            continue;
        bFound = true;
        grant.nNode = nNode;
        const QDBusArgument size = properties.value(QStringLiteral("size")).value<QDBusArgument>();
        if (size.currentType() == QDBusArgument::StructureType) {
            size.beginStructure();
            size >> grant.nWidth >> grant.nHeight;
            size.endStructure();
        }
    }
    argument.endArray();
    return bFound;
}

} // namespace

bool CScreenCastPortal::IsOffered()
{
    if (!HasSessionBus())
        return false;
    // A connection of its own, closed again: a portal that never answers
    // leaves no call pending on the program's connection.
    const QString strName = QStringLiteral("skinrec_portal_probe_%1").arg(g_nNextToken.fetchAndAddRelaxed(1));
    bool bOffered = false;
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, strName);
        if (bus.isConnected()) {
            // The call's own time-out is longer: the wait ends first, and the
            // connection closes with the call still open.
            QDBusPendingCall call =
                bus.asyncCall(PortalCall(PROPERTIES_INTERFACE, QStringLiteral("Get"),
                                         { SCREENCAST_INTERFACE, QStringLiteral("AvailableSourceTypes") }),
                              2 * PROBE_TIMEOUT_MS);
            QEventLoop loop;
            QDBusPendingCallWatcher watcher(call);
            QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
            QTimer::singleShot(PROBE_TIMEOUT_MS, &loop, &QEventLoop::quit);
            if (!call.isFinished())
                loop.exec(QEventLoop::ExcludeUserInputEvents);
            const QDBusMessage reply = call.isFinished() ? call.reply() : QDBusMessage();
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                const uint nTypes = qdbus_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toUInt();
                bOffered = (nTypes & (SOURCE_MONITOR | SOURCE_WINDOW)) != 0;
            }
        }
    }
    QDBusConnection::disconnectFromBus(strName);
    return bOffered;
}

CScreenCastPortal::CScreenCastPortal(const QString& strTokenFile, QObject* pParent)
    : QObject(pParent)
    , m_strTokenFile(strTokenFile)
{
}

CScreenCastPortal::~CScreenCastPortal()
{
    Close();
}

void CScreenCastPortal::Close()
{
    if (m_nPipeWireFd >= 0)
        close(m_nPipeWireFd);
    m_nPipeWireFd = -1;
    if (m_strSession.isEmpty())
        return;
    // Nothing waits for the answer: the session ends either way when this
    // program's bus connection does.
    QDBusConnection::sessionBus().send(
        QDBusMessage::createMethodCall(PORTAL_SERVICE, m_strSession, SESSION_INTERFACE, QStringLiteral("Close")));
    m_strSession.clear();
}

void CScreenCastPortal::OnResponse(uint nResponse, const QVariantMap& results)
{
    m_bAnswered = true;
    m_nResponse = nResponse;
    m_results = results;
    emit Answered(QPrivateSignal());
}

bool CScreenCastPortal::Request(const QString& strMethod, const QVariantList& arguments, const QString& strToken,
                                QVariantMap& results, EOutcome& eOutcome, QString& strReason)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Subscribed before the call, so that an answer given at once is not lost.
    const QString strRequest = RequestPath(bus, strToken);
    const auto connectTo = [&bus, this](const QString& strPath, bool bConnect) {
        return bConnect ? bus.connect(PORTAL_SERVICE, strPath, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                                      SLOT(OnResponse(uint, QVariantMap)))
                        : bus.disconnect(PORTAL_SERVICE, strPath, REQUEST_INTERFACE, QStringLiteral("Response"), this,
                                         SLOT(OnResponse(uint, QVariantMap)));
    };
    m_bAnswered = false;
    eOutcome = EOutcome::eFailed;
    if (!connectTo(strRequest, true)) {
        strReason = tr("the desktop portal's answers cannot be received: %1").arg(bus.lastError().message());
        return false;
    }
    const QDBusMessage reply =
        bus.call(PortalCall(SCREENCAST_INTERFACE, strMethod, arguments), QDBus::Block, CALL_TIMEOUT_MS);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        connectTo(strRequest, false);
        strReason = tr("the desktop portal refused %1: %2").arg(strMethod, reply.errorMessage());
        return false;
    }
    // A portal older than the documented naming answers elsewhere.
    const QString strHandle = qdbus_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
    QString strListened = strRequest;
    if (!strHandle.isEmpty() && strHandle != strRequest) {
        connectTo(strRequest, false);
        connectTo(strHandle, true);
        strListened = strHandle;
    }
    if (!m_bAnswered) {
        QEventLoop loop;
        QDBusServiceWatcher watcher(PORTAL_SERVICE, bus, QDBusServiceWatcher::WatchForUnregistration);
        bool bGone = false;
        connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, [&loop, &bGone] {
            bGone = true;
            loop.quit();
        });
        const QMetaObject::Connection answered = connect(this, &CScreenCastPortal::Answered, &loop, &QEventLoop::quit);
        // The answer may have come while the watcher was set up.
        if (!m_bAnswered)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        disconnect(answered);
        if (bGone && !m_bAnswered) {
            connectTo(strListened, false);
            strReason = tr("the desktop portal quit before it answered %1").arg(strMethod);
            return false;
        }
    }
    connectTo(strListened, false);
    switch (m_nResponse) {
    case RESPONSE_SUCCESS:
        results = m_results;
        return true;
    case RESPONSE_CANCELLED:
        eOutcome = EOutcome::eRefused;
        strReason = tr("Screen sharing was not allowed");
        return false;
    case RESPONSE_ENDED:
        strReason = tr("the desktop ended the screen sharing request (%1)").arg(strMethod);
        return false;
    default:
        strReason = tr("the desktop portal answered %1 with the unknown response %2").arg(strMethod).arg(m_nResponse);
        return false;
    }
}

QVariantMap CScreenCastPortal::SourceOptions(const QString& strToken, const QVariantMap& properties) const
{
    QVariantMap options {
        { QStringLiteral("handle_token"), strToken },
        { QStringLiteral("types"),
          properties.value(QStringLiteral("AvailableSourceTypes")).toUInt() & (SOURCE_MONITOR | SOURCE_WINDOW) },
        { QStringLiteral("multiple"), false },
    };
    // The pointer belongs in a recording of the screen, drawn where it is.
    if (properties.value(QStringLiteral("AvailableCursorModes")).toUInt() & CURSOR_EMBEDDED)
        options.insert(QStringLiteral("cursor_mode"), CURSOR_EMBEDDED);
    if (properties.value(QStringLiteral("version")).toUInt() >= PERSIST_VERSION && !m_strTokenFile.isEmpty()) {
        options.insert(QStringLiteral("persist_mode"), PERSIST_UNTIL_REVOKED);
        const QString strRestoreToken = ReadRestoreToken(m_strTokenFile);
        if (!strRestoreToken.isEmpty())
            options.insert(QStringLiteral("restore_token"), strRestoreToken);
    }
    return options;
}

CScreenCastPortal::EOutcome CScreenCastPortal::Fail(EOutcome eOutcome)
{
    Close();
    return eOutcome;
}

CScreenCastPortal::EOutcome CScreenCastPortal::Open(CScreenCastGrant& grant, QString& strReason)
{
    Close();
    grant = CScreenCastGrant();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!HasSessionBus() || !bus.isConnected()) {
        strReason = tr("there is no session bus to reach the desktop portal through");
        return EOutcome::eFailed;
    }
    const QVariantMap properties = ScreenCastProperties(bus);
    if ((properties.value(QStringLiteral("AvailableSourceTypes")).toUInt() & (SOURCE_MONITOR | SOURCE_WINDOW)) == 0) {
        strReason = tr("the desktop portal does not share screens or windows");
        return EOutcome::eFailed;
    }
    EOutcome eOutcome = EOutcome::eFailed;
    QVariantMap results;
    QString strToken = NewToken();
    const QVariantMap createOptions { { QStringLiteral("handle_token"), strToken },
                                      { QStringLiteral("session_handle_token"), NewToken() } };
    if (!Request(QStringLiteral("CreateSession"), { createOptions }, strToken, results, eOutcome, strReason))
        return eOutcome;
    const QVariant session = results.value(QStringLiteral("session_handle"));
    m_strSession = session.metaType() == QMetaType::fromType<QDBusObjectPath>()
        ? session.value<QDBusObjectPath>().path()
        : session.toString();
    if (m_strSession.isEmpty()) {
        strReason = tr("the desktop portal made no session");
        return EOutcome::eFailed;
    }
    const QDBusObjectPath sessionPath(m_strSession);
    strToken = NewToken();
    if (!Request(QStringLiteral("SelectSources"),
                 { QVariant::fromValue(sessionPath), SourceOptions(strToken, properties) }, strToken, results, eOutcome,
                 strReason))
        return Fail(eOutcome);
    strToken = NewToken();
    // No parent window: the picker is the desktop's own.
    const QVariantMap startOptions { { QStringLiteral("handle_token"), strToken } };
    if (!Request(QStringLiteral("Start"), { QVariant::fromValue(sessionPath), QString(), startOptions }, strToken,
                 results, eOutcome, strReason))
        return Fail(eOutcome);
    if (!ReadFirstStream(results.value(QStringLiteral("streams")), grant)) {
        strReason = tr("the desktop shared no screen or window");
        return Fail(EOutcome::eFailed);
    }
    const QString strRestoreToken = results.value(QStringLiteral("restore_token")).toString();
    QString strTokenError;
    // Without it the next recording asks again; this one goes on.
    if (!strRestoreToken.isEmpty() && !m_strTokenFile.isEmpty()
        && !WriteRestoreToken(m_strTokenFile, strRestoreToken, strTokenError))
        qCWarning(lcPortal) << "Screen sharing permission not kept:" << strTokenError;
    const QDBusMessage reply = bus.call(PortalCall(SCREENCAST_INTERFACE, QStringLiteral("OpenPipeWireRemote"),
                                                   { QVariant::fromValue(sessionPath), QVariantMap() }),
                                        QDBus::Block, CALL_TIMEOUT_MS);
    const QDBusUnixFileDescriptor remote = qdbus_cast<QDBusUnixFileDescriptor>(reply.arguments().value(0));
    if (reply.type() != QDBusMessage::ReplyMessage || !remote.isValid()) {
        strReason = tr("the desktop portal gave no PipeWire connection: %1").arg(reply.errorMessage());
        return Fail(EOutcome::eFailed);
    }
    // The descriptor closes with the message; the session keeps its own.
    m_nPipeWireFd = fcntl(remote.fileDescriptor(), F_DUPFD_CLOEXEC, 0);
    grant.nPipeWireFd = m_nPipeWireFd;
    if (m_nPipeWireFd < 0) {
        strReason = tr("the PipeWire connection could not be kept: %1").arg(qt_error_string(errno));
        return Fail(EOutcome::eFailed);
    }
    return EOutcome::eGranted;
}
