#include "app/DesktopStatus.h"

#include "app/ConverterDlg.h"
#include "skin/Prompt.h"

CDesktopStatus::CDesktopStatus(CConverterDlg& window, CRecorderControl& control, const QString& strBusAddress,
                               QObject* pParent)
    : QObject(pParent)
    , m_window(window)
    , m_control(control)
    , m_notifications([&window](const QString& strPath) { window.OpenRecordingFile(strPath); }, strBusAddress)
{
    connect(&m_tray, &CRecorderTrayIcon::RecordRequested, this, [this] { Report(m_control.Record(QString())); });
    connect(&m_tray, &CRecorderTrayIcon::PauseRequested, this, [this] { Report(m_control.Pause()); });
    connect(&m_tray, &CRecorderTrayIcon::ResumeRequested, this, [this] { Report(m_control.Resume()); });
    connect(&m_tray, &CRecorderTrayIcon::StopRequested, this, [this] { Report(m_control.Stop()); });
    connect(&m_tray, &CRecorderTrayIcon::ShowWindowRequested, this, [this] { m_control.Show(); });
    // As the window's own close: a running recording is asked about first.
    connect(&m_tray, &CRecorderTrayIcon::QuitRequested, &m_window, &QWidget::close);
    connect(&m_control, &CRecorderControl::StateChanged, this, &CDesktopStatus::ShowState);
    connect(&m_control, &CRecorderControl::RecordingFinished, this, &CDesktopStatus::OnRecordingFinished);
    ShowState();
}

void CDesktopStatus::ShowState()
{
    m_tray.Show({ m_control.State(), m_control.File(), m_control.ElapsedSeconds() });
}

void CDesktopStatus::OnRecordingFinished(const CRecorderControl::CFinishedRecording& finished)
{
    CDesktopNotifications::CFinishedRecording notice;
    notice.entry = { finished.strFile, QString(), finished.dSeconds, finished.nBytes };
    // The window has listed it, with its title.
    const QList<CRecentRecordings::CEntry>& arrListed = m_window.Recordings().Entries();
    if (!arrListed.isEmpty() && arrListed.first().strPath == finished.strFile)
        notice.entry = arrListed.first();
    if (!finished.strError.isEmpty()) {
        const CEncorda& encoder = m_window.RecorderWidget();
        notice.strFailureHeadline = encoder.GetLastFailureHeadline();
        notice.strFailureCause = encoder.GetLastFailureText();
    }
    notice.bEndedByItself = finished.bEndedByItself;
    notice.bFromOutside = finished.bFromOutside;
    m_notifications.OnRecordingFinished(notice);
    ShowState();
}

void CDesktopStatus::Report(const QString& strError)
{
    if (!strError.isEmpty())
        m_window.MessagePrompt().ShowMessage(strError, IPrompt::EIcon::Warning);
    ShowState();
}
