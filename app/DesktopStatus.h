#pragma once

#include <QObject>
#include <QString>

#include "app/DesktopNotifications.h"
#include "app/RecorderControl.h"
#include "app/RecorderTrayIcon.h"

class CConverterDlg;

// The recorder's state out on the desktop while its window is hidden or
// minimised: the tray icon, whose commands run through the window's remote
// control (and so count as given from outside the window), and the
// notifications of recordings that end out of the window's sight, whose
// Open goes to the window's opener. Closing the window still ends the
// program: the tray is no place to live on in. UI thread only.
class CDesktopStatus : public QObject
{
    Q_OBJECT

public:
    // The window and its control outlive this object. strBusAddress: where
    // the notification server is; empty for the session bus.
    CDesktopStatus(CConverterDlg& window, CRecorderControl& control, const QString& strBusAddress = QString(),
                   QObject* pParent = nullptr);

    CRecorderTrayIcon& TrayIcon() { return m_tray; }
    const CDesktopNotifications& Notifications() const { return m_notifications; }

private:
    void ShowState();
    void OnRecordingFinished(const CRecorderControl::CFinishedRecording& finished);
    // A tray command that did not happen is told in the window's way.
    void Report(const QString& strError);

    CConverterDlg& m_window;
    CRecorderControl& m_control;
    CRecorderTrayIcon m_tray;
    CDesktopNotifications m_notifications;
};
