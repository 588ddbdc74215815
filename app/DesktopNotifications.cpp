#include "app/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QVariantMap>

#include "app/ProgramIdentity.h"
#include "skin/SkinDialog.h"

namespace {

// Why a notification did not show: QT_LOGGING_RULES="skinrecorder.notifications.info=true".
Q_LOGGING_CATEGORY(lcNotifications, "skinrecorder.notifications", QtWarningMsg)

const QString SERVICE = QStringLiteral("org.freedesktop.Notifications");
const QString PATH = QStringLiteral("/org/freedesktop/Notifications");
const QString INTERFACE = QStringLiteral("org.freedesktop.Notifications");
const QString OPEN_ACTION = QStringLiteral("open");
const QString CONNECTION_NAME = QStringLiteral("skinrecorder-notifications-%1");
// Notify's "expire_timeout": as long as the server shows its notifications.
constexpr int SERVER_DEFAULT_TIMEOUT = -1;
// Notify's "replaces_id": a new notification.
constexpr uint NEW_NOTIFICATION = 0;

} // namespace

bool CDesktopNotifications::ShouldNotify(const CFinishedRecording& finished)
{
    return finished.bEndedByItself || finished.bFromOutside || !finished.strFailureHeadline.isEmpty();
}

CDesktopNotifications::CNotification CDesktopNotifications::Compose(const CFinishedRecording& finished)
{
    const CRecentRecordings::CEntry& entry = finished.entry;
    const bool bOpenable = QFileInfo(entry.strPath).size() > 0;
    // Servers that take markup read the body as such; a path may hold '&'.
    if (!finished.strFailureHeadline.isEmpty())
        return { finished.strFailureHeadline, finished.strFailureCause.toHtmlEscaped(), bOpenable };
    const QString strSummary =
        tr("Recording saved: %1 (%2, %3)")
            .arg(CRecentRecordings::RowText(entry), CSkinDialog::FormatTime(static_cast<int>(entry.dSeconds)),
                 CRecentRecordings::ShortSize(entry.nBytes));
    return { strSummary, QDir::toNativeSeparators(entry.strPath).toHtmlEscaped(), bOpenable };
}

CDesktopNotifications::CDesktopNotifications(CFileOpener openFile, const QString& strBusAddress, QObject* pParent)
    : QObject(pParent)
    , m_openFile(std::move(openFile))
    , m_strBusAddress(strBusAddress)
{
}

CDesktopNotifications::~CDesktopNotifications()
{
    if (!m_strConnectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_strConnectionName);
}

bool CDesktopNotifications::ConnectToBus()
{
    if (m_bConnected)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_strBusAddress.isEmpty()) {
        m_strConnectionName = CONNECTION_NAME.arg(reinterpret_cast<quintptr>(this));
        bus = QDBusConnection::connectToBus(m_strBusAddress, m_strConnectionName);
    }
    if (!bus.isConnected()) {
        qCInfo(lcNotifications).noquote() << "no session bus:" << bus.lastError().message();
        return false;
    }
    // From any sender: the server answers from its unique name.
    bus.connect(QString(), PATH, INTERFACE, QStringLiteral("ActionInvoked"), this,
                SLOT(OnActionInvoked(uint, QString)));
    bus.connect(QString(), PATH, INTERFACE, QStringLiteral("NotificationClosed"), this,
                SLOT(OnNotificationClosed(uint, uint)));
    m_bConnected = true;
    return true;
}

void CDesktopNotifications::OnRecordingFinished(const CFinishedRecording& finished)
{
    if (!ShouldNotify(finished))
        return;
    const CNotification notification = Compose(finished);
    Show(notification, notification.bOpenable ? finished.entry.strPath : QString());
}

void CDesktopNotifications::Show(const CNotification& notification, const QString& strOpenablePath)
{
    if (!ConnectToBus())
        return;
    QStringList arrActions;
    if (notification.bOpenable)
        arrActions = { OPEN_ACTION, tr("Open") };
    const QVariantMap hints { { QStringLiteral("desktop-entry"), ProgramIdentity::APPLICATION_ID } };
    QDBusMessage call = QDBusMessage::createMethodCall(SERVICE, PATH, INTERFACE, QStringLiteral("Notify"));
    call << ProgramIdentity::DISPLAY_NAME << NEW_NOTIFICATION << ProgramIdentity::APPLICATION_ID
         << notification.strSummary << notification.strBody << arrActions << hints << SERVER_DEFAULT_TIMEOUT;
    const QDBusConnection bus =
        m_strConnectionName.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(m_strConnectionName);
    auto* pWatcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    ++m_nRepliesDue;
    connect(pWatcher, &QDBusPendingCallWatcher::finished, this,
            [this, strOpenablePath](QDBusPendingCallWatcher* pDone) { OnNotifyReplied(pDone, strOpenablePath); });
}

void CDesktopNotifications::OnNotifyReplied(QDBusPendingCallWatcher* pWatcher, const QString& strOpenablePath)
{
    pWatcher->deleteLater();
    --m_nRepliesDue;
    const QDBusPendingReply<uint> reply = *pWatcher;
    if (reply.isError()) {
        qCInfo(lcNotifications).noquote() << "no notification server:" << reply.error().message();
    } else if (!strOpenablePath.isEmpty() && m_earlyOpens.contains(reply.value())) {
        m_openFile(strOpenablePath);
    } else if (!strOpenablePath.isEmpty()) {
        m_openablePaths.insert(reply.value(), strOpenablePath);
    }
    if (m_nRepliesDue == 0)
        m_earlyOpens.clear();
    if (!reply.isError())
        emit Shown(reply.value());
}

void CDesktopNotifications::OnActionInvoked(uint nId, const QString& strAction)
{
    if (strAction != OPEN_ACTION)
        return;
    // A copy: the opener may ask the user, and the closing notice that
    // arrives meanwhile removes the entry.
    const QString strPath = m_openablePaths.value(nId);
    if (!strPath.isEmpty())
        m_openFile(strPath);
    else if (m_nRepliesDue > 0)
        m_earlyOpens.insert(nId);
}

void CDesktopNotifications::OnNotificationClosed(uint nId, uint)
{
    // Also other programs' notifications: the server tells every client.
    m_openablePaths.remove(nId);
}
