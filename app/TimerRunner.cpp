#include "app/TimerRunner.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include "app/ConverterDlg.h"
#include "app/DesktopNotifications.h"
#include "app/TimerLine.h"
#include "skin/Prompt.h"

namespace {

Q_LOGGING_CATEGORY(lcTimers, "skinrecorder.timers", QtInfoMsg)

// The recording stops when it has recorded its planned length; the wall
// clock stops it too once it is this far past the end, as after a suspend
// or when the clock was set forward during the recording.
constexpr qint64 END_GRACE_MS = 2000;
// The next look is never sooner than this, even when a start is nearer.
constexpr int MIN_TICK_MS = 10;
constexpr double MS_PER_SECOND = 1000.0;
const QString START_FORMAT = QStringLiteral("yyyy-MM-dd hh-mm");

} // namespace

QString CTimerRunner::RecordingFolder(const CRecordingTimer& timer)
{
    if (!timer.strFolder.isEmpty())
        return timer.strFolder;
    const QString strVideos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return !strVideos.isEmpty() && QFileInfo(strVideos).isDir() ? strVideos : QDir::homePath();
}

CTimerRunner::CTimerRunner(ITimerRecorder& recorder, IPrompt& prompt, CTimerSchedule::CClock clock,
                           const QString& strStorePath, QObject* pParent)
    : QObject(pParent)
    , m_recorder(recorder)
    , m_prompt(prompt)
    , m_schedule(std::move(clock))
    , m_store(strStorePath)
    , m_tick(this)
{
    m_tick.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, &CTimerRunner::Check);
}

void CTimerRunner::Start()
{
    CTimerStore::CLoaded loaded = m_store.Load();
    if (!loaded.strError.isEmpty()) {
        const QString strKept = loaded.strKeptAs.isEmpty()
            ? QString()
            : tr(" It was kept as %1.").arg(QDir::toNativeSeparators(loaded.strKeptAs));
        m_prompt.ShowMessage(tr("The saved timers could not be read, so the program starts without "
                                "timers.%1")
                                 .arg(strKept),
                             IPrompt::EIcon::Warning,
                             QDir::toNativeSeparators(m_store.Path()) + QStringLiteral(": ") + loaded.strError);
    }
    m_schedule.Restore(std::move(loaded.timers));
    // The first look once the window runs: a timer due now records from
    // the finished window.
    m_tick.start(0);
}

QString CTimerRunner::Save(const CRecordingTimer& timer)
{
    if (const QString strRefused = m_schedule.Save(timer); !strRefused.isEmpty())
        return strRefused;
    emit Changed();
    return SaveFile();
}

QString CTimerRunner::Remove(const QString& strId)
{
    if (strId == m_strRecordingId)
        return tr("This timer is recording now; stop the recording first.");
    m_schedule.Remove(strId);
    emit Changed();
    return SaveFile();
}

QString CTimerRunner::AddFromLine(const QString& strLine, QString& strId)
{
    CRecordingTimer timer;
    timer.settings = m_recorder.CurrentSettings();
    timer.nOutputTypeRow = m_recorder.CurrentOutputTypeRow();
    QString strError;
    const std::optional<CRecordingTimer> parsed = TimerLine::Parse(strLine, timer, strError);
    if (!parsed)
        return strError;
    // A timer without an id is added at the end; the file's trouble is
    // logged, and the timer runs in this program either way.
    const QString strRefused = m_schedule.Save(*parsed);
    if (!strRefused.isEmpty())
        return strRefused;
    strId = m_schedule.Timers().back().strId;
    emit Changed();
    SaveFile();
    return QString();
}

QStringList CTimerRunner::Listing() const
{
    QStringList arrLines;
    for (const CRecordingTimer& timer : m_schedule.Timers()) {
        const QString strState = timer.bEnabled ? TimerStateText(timer.eState) : QStringLiteral("disabled");
        arrLines.append(QStringLiteral("%1\t%2\t%3").arg(timer.strId, TimerLine::Text(timer), strState));
    }
    return arrLines;
}

QString CTimerRunner::SaveFile()
{
    const QString strError = m_store.Save(m_schedule.Timers());
    if (!strError.isEmpty())
        qCWarning(lcTimers).noquote() << strError;
    return strError;
}

QString CTimerRunner::RecordingFile(const CRecordingTimer& timer, const QDateTime& start)
{
    const QDir folder(RecordingFolder(timer));
    const QString strBase =
        CConverterDlg::FileNameForTitle(timer.strTitle, start) + u' ' + start.toString(START_FORMAT);
    const QString strSuffix =
        timer.nOutputTypeRow == CConverterDlg::AVI_ROW_INDEX ? QStringLiteral(".avi") : QStringLiteral(".mpg");
    return CConverterDlg::UnusedPath(folder.filePath(strBase + strSuffix));
}

void CTimerRunner::Check()
{
    if (!m_strRecordingId.isEmpty())
        WatchRecording();
    const bool bBusy = m_strRecordingId.isEmpty() && m_recorder.IsRecordingToFile();
    bool bChanged = false;
    for (const CTimerSchedule::CEvent& event : m_schedule.Check(bBusy)) {
        const CRecordingTimer* pTimer = m_schedule.Find(event.strId);
        const QString strWhen = event.occurrence.start.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        switch (event.eKind) {
        case CTimerSchedule::EEventKind::eStart:
            // The recording before it started late and has not yet recorded
            // all its time: the next one's start is kept.
            if (!m_strRecordingId.isEmpty())
                EndRecording(ETimerState::eDone);
            StartRecording(event);
            break;
        case CTimerSchedule::EEventKind::eStop:
            if (-event.nMsLeft >= END_GRACE_MS)
                EndRecording(ETimerState::eDone);
            break;
        case CTimerSchedule::EEventKind::eMissed:
            Notify(tr("Timer missed"),
                   tr("\"%1\" (%2) was not recorded: the program was not running.").arg(pTimer->strTitle, strWhen));
            break;
        case CTimerSchedule::EEventKind::eMissedBusy:
            Notify(tr("Timer missed"),
                   tr("\"%1\" (%2) was not recorded: another recording was running.").arg(pTimer->strTitle, strWhen));
            break;
        }
        bChanged = bChanged || event.eKind != CTimerSchedule::EEventKind::eStop;
    }
    if (bChanged) {
        SaveFile();
        emit Changed();
    }
    // Looks come at least every TICK_MS, and right at a nearer start.
    qint64 nNextMs = m_strRecordingId.isEmpty() ? TICK_MS : RECORDING_TICK_MS;
    if (const std::optional<QDateTime> next = m_schedule.NextStartOfAll())
        nNextMs = std::clamp<qint64>(m_schedule.Now().msecsTo(*next), MIN_TICK_MS, nNextMs);
    m_tick.start(static_cast<int>(nNextMs));
}

void CTimerRunner::StartRecording(const CTimerSchedule::CEvent& event)
{
    const CRecordingTimer& timer = *m_schedule.Find(event.strId);
    const QString strFile = RecordingFile(timer, event.occurrence.start);
    qCInfo(lcTimers).noquote() << "timer" << timer.strTitle << "records into" << strFile << "for"
                               << event.nMsLeft / MS_PER_SECOND << "s";
    const QString strError = m_recorder.RecordForTimer(strFile, timer);
    if (!strError.isEmpty()) {
        m_schedule.SetState(event.strId, ETimerState::eFailed);
        Notify(tr("Timer recording failed"), tr("\"%1\" could not be recorded: %2").arg(timer.strTitle, strError));
        return;
    }
    m_strRecordingId = event.strId;
    m_strRecordingFile = strFile;
    m_nPlannedMs = event.nMsLeft;
}

void CTimerRunner::WatchRecording()
{
    // Stopped early by the user, replaced by another recording, or failed.
    if (!m_recorder.IsRecordingTo(m_strRecordingFile)) {
        EndRecording(ETimerState::eDone);
        return;
    }
    if (m_recorder.RecordedSeconds() * MS_PER_SECOND >= static_cast<double>(m_nPlannedMs))
        EndRecording(ETimerState::eDone);
}

void CTimerRunner::EndRecording(ETimerState eState)
{
    const QString strFile = m_strRecordingFile;
    const CRecordingTimer* pTimer = m_schedule.Find(m_strRecordingId);
    const QString strTitle = pTimer ? pTimer->strTitle : QString();
    m_schedule.SetState(m_strRecordingId, eState);
    m_strRecordingId.clear();
    m_strRecordingFile.clear();
    if (m_recorder.IsRecordingTo(strFile))
        m_recorder.StopRecording();
    SaveFile();
    emit Changed();
    Notify(tr("Timer recording finished"),
           tr("\"%1\" was recorded into %2").arg(strTitle, QDir::toNativeSeparators(strFile)), strFile);
}

void CTimerRunner::Notify(const QString& strSummary, const QString& strBody, const QString& strFile) const
{
    qCInfo(lcTimers).noquote() << strSummary << strBody;
    if (m_pNotifications)
        m_pNotifications->Show({ strSummary, strBody.toHtmlEscaped(), !strFile.isEmpty() }, strFile);
}
