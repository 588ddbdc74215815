#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include "app/RecorderControl.h"

class QAction;

using ERecorderState = CRecorderControl::EState;

struct CRecorderSnapshot
{
    ERecorderState eState = ERecorderState::Stopped;
    // The file being recorded to; empty while none is.
    QString strFile;
    double dElapsedSeconds = 0;
};

// The recorder's icon in the desktop's tray, so a recording running while
// the window is hidden or minimised stays in sight: the program's icon,
// marked while recording or paused, a tooltip with the state, file and time,
// and a menu of the transport commands. It only asks for commands; the
// owner carries them out and shows the state that follows.
//
// Qt finds the tray (a StatusNotifierItem host or an X11 system tray); a
// desktop without one shows no icon, and on X11 it appears once a tray
// starts.
class CRecorderTrayIcon : public QObject
{
    Q_OBJECT

public:
    // The menu entries a state allows. A new recording is not offered while
    // one runs: a click there would close the running file.
    struct CMenuState
    {
        bool bRecord = false;
        bool bPauseOrResume = false;
        // The pause entry reads "Resume" and resumes.
        bool bResume = false;
        bool bStop = false;
    };
    static CMenuState MenuStateFor(ERecorderState eState);
    // The state as the tooltip names it, in the user's language.
    static QString StateText(ERecorderState eState);
    static QString ToolTipFor(const CRecorderSnapshot& snapshot);
    // The program's icon; while recording with a red dot, while paused with
    // two bars, in its lower right corner.
    static QIcon IconFor(ERecorderState eState, const QIcon& programIcon);

    explicit CRecorderTrayIcon(QObject* pParent = nullptr);

    // UI thread only.
    void Show(const CRecorderSnapshot& snapshot);
    // Whether a tray shows the icon now.
    bool IsInTray() const;
    QSystemTrayIcon& TrayIcon() { return m_tray; }
    QMenu& Menu() { return m_menu; }

signals:
    void RecordRequested();
    void PauseRequested();
    void ResumeRequested();
    void StopRequested();
    void ShowWindowRequested();
    void QuitRequested();

private:
    QAction* AddEntry(const QString& strText, void (CRecorderTrayIcon::*request)());
    void OnPauseOrResume();
    void OnActivated(QSystemTrayIcon::ActivationReason eReason);

    const QIcon m_programIcon;
    // A tray's menu belongs to no window.
    QMenu m_menu;
    QSystemTrayIcon m_tray;
    QAction* m_pRecord = nullptr;
    QAction* m_pPauseOrResume = nullptr;
    QAction* m_pStop = nullptr;
    // The state the icon was last drawn for: the time changes more often.
    ERecorderState m_eShownState = ERecorderState::Stopped;
};
