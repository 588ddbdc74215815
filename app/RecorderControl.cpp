#include "app/RecorderControl.h"

#include <QDir>
#include <QFileInfo>

#include "app/CollectingPrompt.h"
#include "app/ConverterDlg.h"
#include "skin/Prompt.h"

// Stands in for the window's prompt while one of our commands runs: the save
// dialog gets the caller's file, and every message becomes the command's
// error instead of a box nobody at the caller's end would see.
class CRecorderControl::CCommandPrompt : public CCollectingPrompt
{
public:
    CCommandPrompt(const CEncorda& encoder, const QString& strFile)
        : m_encoder(encoder)
        , m_strFile(strFile)
    {
    }

    QString AskSaveFile(const QString&, const QStringList&, const QString&, const QString& strProposedPath) override
    {
        if (m_strFile.isEmpty())
            return CConverterDlg::UnusedPath(strProposedPath);
        if (QDir::isRelativePath(m_strFile)) {
            Note({ RELATIVE_FILE.arg(m_strFile) });
            return QString();
        }
        // The file being recorded is the window's own check, with its
        // message; a device or a pipe is written to, never replaced.
        if (QFileInfo(m_strFile).isFile() && !m_encoder.IsRecordingTo(m_strFile)) {
            Note({ FILE_EXISTS.arg(QDir::toNativeSeparators(m_strFile)) });
            return QString();
        }
        return m_strFile;
    }

private:
    const CEncorda& m_encoder;
    QString m_strFile;
};

CRecorderControl::CRecorderControl(CConverterDlg& window, QObject* pParent)
    : QObject(pParent)
    , m_window(window)
{
    m_throttle.setSingleShot(true);
    m_throttle.setInterval(STATE_CHANGED_INTERVAL_MS);
    connect(&m_throttle, &QTimer::timeout, this, &CRecorderControl::EmitIfChanged);
    connect(&m_window.RecorderWidget(), &CEncorda::StatusChanged, this, &CRecorderControl::NoteChange);
    connect(&m_window, &CConverterDlg::RecordingEnded, this, &CRecorderControl::OnRecordingEnded);
    m_lastSent = Snapshot();
}

QString CRecorderControl::RunCommand(const QString& strButton, const QString& strFile)
{
    CCommandPrompt prompt(m_window.RecorderWidget(), strFile);
    m_bRunningCommand = true;
    m_window.RunCommand(strButton, prompt);
    m_bRunningCommand = false;
    NoteChange();
    return prompt.Text();
}

QString CRecorderControl::Record(const QString& strFile)
{
    const QString strError = RunCommand(CConverterDlg::CONVERT_BUTTON, strFile);
    if (strError.isEmpty() && !m_window.RecordingFile().isEmpty())
        m_bStartedFromOutside = true;
    return strError;
}

QString CRecorderControl::Play()
{
    return RunCommand(CConverterDlg::PLAY_BUTTON);
}

QString CRecorderControl::Pause()
{
    const EState eState = State();
    if (eState == EState::Stopped)
        return NOTHING_RUNNING;
    return eState == EState::Paused ? QString() : RunCommand(CConverterDlg::PAUSE_BUTTON);
}

QString CRecorderControl::Resume()
{
    // The window's Play is its resume.
    return State() == EState::Paused ? RunCommand(CConverterDlg::PLAY_BUTTON) : NOTHING_PAUSED;
}

QString CRecorderControl::Stop()
{
    return RunCommand(CConverterDlg::STOP_BUTTON);
}

QString CRecorderControl::Toggle()
{
    return m_window.RecorderWidget().GetStatus().bRecordingToFile ? Stop() : Record(QString());
}

void CRecorderControl::Show()
{
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

CRecorderControl::EState CRecorderControl::State() const
{
    const CEncorda::CStatus status = m_window.RecorderWidget().GetStatus();
    if (!status.bRunning)
        return EState::Stopped;
    if (status.bPaused)
        return EState::Paused;
    return status.bRecordingToFile ? EState::Recording : EState::Previewing;
}

QString CRecorderControl::StateName(EState eState)
{
    switch (eState) {
    case EState::Previewing:
        return QStringLiteral("previewing");
    case EState::Recording:
        return QStringLiteral("recording");
    case EState::Paused:
        return QStringLiteral("paused");
    case EState::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}

QString CRecorderControl::File() const
{
    return m_window.RecordingFile();
}

double CRecorderControl::ElapsedSeconds() const
{
    const CEncorda::CStatus status = m_window.RecorderWidget().GetStatus();
    return status.bRunning ? status.dElapsedSeconds : 0;
}

qint64 CRecorderControl::BytesWritten() const
{
    const CEncorda::CStatus status = m_window.RecorderWidget().GetStatus();
    return status.bRecordingToFile ? status.nBytesWritten : 0;
}

qint64 CRecorderControl::FramesDropped() const
{
    const CEncorda::CStatus status = m_window.RecorderWidget().GetStatus();
    return status.bRunning ? status.nFramesDropped : 0;
}

CRecorderControl::CSnapshot CRecorderControl::Snapshot() const
{
    return { State(), File(), ElapsedSeconds(), BytesWritten(), FramesDropped() };
}

void CRecorderControl::NoteChange()
{
    // The recorder reports twenty times a second; listeners get the last
    // word of each interval.
    if (!m_throttle.isActive())
        m_throttle.start();
}

void CRecorderControl::EmitIfChanged()
{
    const CSnapshot now = Snapshot();
    if (now == m_lastSent)
        return;
    m_lastSent = now;
    emit StateChanged();
}

void CRecorderControl::OnRecordingEnded(const CRecentRecordings::CEntry& entry, const QString& strError, bool bByItself)
{
    const bool bFromOutside = m_bStartedFromOutside || m_bRunningCommand;
    // Whatever runs next was started by the command now running, if any,
    // which Record notes once it returns.
    m_bStartedFromOutside = false;
    NoteChange();
    emit RecordingFinished({ entry.strPath, entry.dSeconds, entry.nBytes, strError, bFromOutside, bByItself });
}
