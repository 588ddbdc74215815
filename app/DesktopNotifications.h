#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

#include "app/RecentRecordings.h"

class QDBusPendingCallWatcher;

// Tells the desktop's notification server (org.freedesktop.Notifications on
// the session bus) when a recording ends that the window may not show: one
// that ended by itself or failed, or one started or stopped from outside the
// window. A saved one offers "Open", which opens it the way the Recordings
// list does. Without a bus or a server nothing is shown and nothing waits:
// every call is asynchronous, and the bus is first reached when a recording
// ends.
class CDesktopNotifications : public QObject
{
    Q_OBJECT

public:
    struct CFinishedRecording
    {
        CRecentRecordings::CEntry entry;
        // Both empty when the recording ended well; as the window's failure
        // message shows them otherwise.
        QString strFailureHeadline;
        QString strFailureCause;
        bool bEndedByItself = false;
        // Started or stopped through the tray, D-Bus or the command line.
        bool bFromOutside = false;
    };

    struct CNotification
    {
        QString strSummary;
        QString strBody;
        bool bOpenable = false;
    };

    // The person at the window saw it end, unless it ended by itself or was
    // started or stopped elsewhere.
    static bool ShouldNotify(const CFinishedRecording& finished);
    // "Recording saved: NAME (LENGTH, SIZE)" with the path, or the failure's
    // headline and cause; a file with something in it can be opened.
    static CNotification Compose(const CFinishedRecording& finished);

    using CFileOpener = std::function<void(const QString& strPath)>;
    // strBusAddress: the bus to reach the server on; empty for the session
    // bus.
    explicit CDesktopNotifications(CFileOpener openFile, const QString& strBusAddress = QString(),
                                   QObject* pParent = nullptr);
    ~CDesktopNotifications() override;

    // UI thread only.
    void OnRecordingFinished(const CFinishedRecording& finished);
    // Any other notice (a timer's); its body in the server's markup. Open,
    // when bOpenable, opens strOpenablePath. UI thread only.
    void Show(const CNotification& notification, const QString& strOpenablePath = QString());

signals:
    // The server took a notification; for whoever waits for it.
    void Shown(uint nId);

private slots:
    // The notification server's signals, to every client alike.
    void OnActionInvoked(uint nId, const QString& strAction);
    void OnNotificationClosed(uint nId, uint nReason);

private:
    bool ConnectToBus();
    void OnNotifyReplied(QDBusPendingCallWatcher* pWatcher, const QString& strOpenablePath);

    CFileOpener m_openFile;
    const QString m_strBusAddress;
    // The private connection's name, once made.
    QString m_strConnectionName;
    bool m_bConnected = false;
    // The files that our open notifications offer, by notification id.
    QHash<uint, QString> m_openablePaths;
    // Open clicked on notifications we have no id for yet: the server's
    // signals and its reply to Notify reach us in either order. Kept while
    // a reply is due, for only such a notification can be ours.
    QSet<uint> m_earlyOpens;
    int m_nRepliesDue = 0;
};
