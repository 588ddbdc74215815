#include "app/TimersDlg.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/SystemdTimerExport.h"
#include "app/TimerEditDlg.h"
#include "skin/Prompt.h"

namespace {

constexpr int SECONDS_PER_MINUTE = 60;
constexpr int SECONDS_PER_HOUR = 60 * 60;
const QString MPEGREC = QStringLiteral("mpegrec");

QString StartText(const CRecordingTimer& timer)
{
    const QString strTime = timer.startTime.toString(QStringLiteral("HH:mm"));
    if (!timer.IsRepeating())
        return timer.date.toString(Qt::ISODate) + u' ' + strTime;
    QStringList arrDays;
    for (int nDay = 0; nDay < 7; ++nDay) {
        if ((timer.nWeekdays & (1U << nDay)) != 0)
            arrDays.append(QLocale().dayName(nDay + 1, QLocale::ShortFormat));
    }
    return arrDays.join(u',') + u' ' + strTime;
}

// "1 h 30 min, until 21:45"; a few seconds show as such.
QString LengthText(const CRecordingTimer& timer)
{
    const int nHours = timer.nLengthSeconds / SECONDS_PER_HOUR;
    const int nMinutes = timer.nLengthSeconds % SECONDS_PER_HOUR / SECONDS_PER_MINUTE;
    QStringList arrParts;
    if (nHours > 0)
        arrParts.append(CTimersDlg::tr("%1 h").arg(nHours));
    if (nMinutes > 0)
        arrParts.append(CTimersDlg::tr("%1 min").arg(nMinutes));
    if (arrParts.isEmpty())
        arrParts.append(CTimersDlg::tr("%1 s").arg(timer.nLengthSeconds));
    return CTimersDlg::tr("%1, until %2")
        .arg(arrParts.join(u' '), timer.startTime.addSecs(timer.nLengthSeconds).toString(QStringLiteral("HH:mm")));
}

// The state in the user's language; the timers listing keeps the
// untranslated words of TimerStateText.
QString StateName(ETimerState eState)
{
    switch (eState) {
    case ETimerState::eWaiting:
        return CTimersDlg::tr("waiting");
    case ETimerState::eRecording:
        return CTimersDlg::tr("recording");
    case ETimerState::eDone:
        return CTimersDlg::tr("done");
    case ETimerState::eMissed:
        return CTimersDlg::tr("missed");
    case ETimerState::eMissedBusy:
        return CTimersDlg::tr("missed (busy)");
    case ETimerState::eFailed:
        return CTimersDlg::tr("failed");
    }
    return QString();
}

QString StateText(const CRecordingTimer& timer)
{
    if (!timer.bEnabled)
        return CTimersDlg::tr("disabled");
    // A repeating timer waits for its next day whatever became of the last.
    if (timer.IsRepeating() && timer.eState != ETimerState::eRecording && timer.eState != ETimerState::eWaiting)
        return CTimersDlg::tr("waiting (last: %1)").arg(StateName(timer.eState));
    return StateName(timer.eState);
}

QString MpegrecProgram()
{
    const QString strBeside = QDir(QCoreApplication::applicationDirPath()).filePath(MPEGREC);
    if (QFileInfo(strBeside).isExecutable())
        return strBeside;
    const QString strOnPath = QStandardPaths::findExecutable(MPEGREC);
    return strOnPath.isEmpty() ? MPEGREC : strOnPath;
}

} // namespace

CTimersDlg::CTimersDlg(CTimerRunner& timers, IPrompt& prompt, int nCurrentOutputRow, QWidget* pParent)
    : QDialog(pParent)
    , m_timers(timers)
    , m_prompt(prompt)
    , m_nCurrentOutputRow(nCurrentOutputRow)
{
    setWindowTitle(tr("Timers"));
    auto* pLayout = new QVBoxLayout(this);
    m_pList = new QTreeWidget(this);
    m_pList->setRootIsDecorated(false);
    m_pList->setHeaderLabels({ tr("Title"), tr("Start"), tr("Length"), tr("Settings"), tr("State") });
    m_pList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    pLayout->addWidget(m_pList);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* pAdd = pButtons->addButton(tr("&Add…"), QDialogButtonBox::ActionRole);
    m_pChange = pButtons->addButton(tr("&Change…"), QDialogButtonBox::ActionRole);
    m_pDelete = pButtons->addButton(tr("&Delete"), QDialogButtonBox::ActionRole);
    m_pEnable = pButtons->addButton(tr("&Disable"), QDialogButtonBox::ActionRole);
    m_pExport = pButtons->addButton(tr("E&xport as systemd timer"), QDialogButtonBox::ActionRole);
    pLayout->addWidget(pButtons);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pAdd, &QPushButton::clicked, this, &CTimersDlg::Add);
    connect(m_pChange, &QPushButton::clicked, this, &CTimersDlg::Change);
    connect(m_pDelete, &QPushButton::clicked, this, &CTimersDlg::Delete);
    connect(m_pEnable, &QPushButton::clicked, this, &CTimersDlg::ToggleEnabled);
    connect(m_pExport, &QPushButton::clicked, this, [this] { ExportSelected(SystemdTimerExport::UserUnitFolder()); });
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CTimersDlg::ShowButtons);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &CTimersDlg::Change);
    connect(&m_timers, &CTimerRunner::Changed, this, &CTimersDlg::ShowTimers);
    ShowTimers();
}

void CTimersDlg::ShowTimers()
{
    const CRecordingTimer* pSelected = Selected();
    const QString strSelected = pSelected ? pSelected->strId : QString();
    m_pList->clear();
    for (const CRecordingTimer& timer : m_timers.Schedule().Timers()) {
        auto* pItem = new QTreeWidgetItem(
            m_pList,
            { timer.strTitle, StartText(timer), LengthText(timer), TimerSettingsText(timer), StateText(timer) });
        pItem->setData(TITLE_COLUMN, Qt::UserRole, timer.strId);
        if (timer.strId == strSelected)
            m_pList->setCurrentItem(pItem);
    }
    ShowButtons();
}

void CTimersDlg::ShowButtons()
{
    const CRecordingTimer* pTimer = Selected();
    for (QPushButton* pButton : { m_pChange, m_pDelete, m_pEnable, m_pExport })
        pButton->setEnabled(pTimer != nullptr);
    m_pEnable->setText(pTimer && !pTimer->bEnabled ? tr("&Enable") : tr("&Disable"));
}

const CRecordingTimer* CTimersDlg::Selected() const
{
    const QTreeWidgetItem* pItem = m_pList->currentItem();
    return pItem ? m_timers.Schedule().Find(pItem->data(TITLE_COLUMN, Qt::UserRole).toString()) : nullptr;
}

void CTimersDlg::Edit(const CRecordingTimer& timer)
{
    CTimerEditDlg editor(timer, m_timers.CurrentSettings(), m_nCurrentOutputRow, this);
    // Asked again with what was typed until it is taken or given up.
    while (editor.exec() == QDialog::Accepted) {
        const QString strRefused = editor.LacksWeekdays()
            ? tr("Choose the weekdays the timer records on, or a day for once.")
            : m_timers.Save(editor.Timer());
        if (strRefused.isEmpty())
            return;
        Refuse(strRefused);
    }
}

void CTimersDlg::Add()
{
    Edit(CRecordingTimer());
}

void CTimersDlg::Change()
{
    if (const CRecordingTimer* pTimer = Selected())
        Edit(*pTimer);
}

void CTimersDlg::Delete()
{
    const CRecordingTimer* pTimer = Selected();
    if (pTimer == nullptr
        || m_prompt.AskYesNo(tr("Delete the timer \"%1\"?").arg(pTimer->strTitle), IPrompt::EIcon::Warning)
            != IPrompt::EAnswer::Yes)
        return;
    if (const QString strRefused = m_timers.Remove(pTimer->strId); !strRefused.isEmpty())
        Refuse(strRefused);
}

void CTimersDlg::ToggleEnabled()
{
    const CRecordingTimer* pTimer = Selected();
    if (pTimer == nullptr)
        return;
    CRecordingTimer timer = *pTimer;
    timer.bEnabled = !timer.bEnabled;
    if (const QString strRefused = m_timers.Save(timer); !strRefused.isEmpty())
        Refuse(strRefused);
}

void CTimersDlg::Refuse(const QString& strReason)
{
    m_prompt.ShowMessage(strReason, IPrompt::EIcon::Warning);
}

void CTimersDlg::ExportSelected(const QString& strUnitFolder)
{
    const CRecordingTimer* pTimer = Selected();
    if (pTimer == nullptr)
        return;
    const QString strFolder = CTimerRunner::RecordingFolder(*pTimer);
    SystemdTimerExport::CResult result =
        SystemdTimerExport::Write(*pTimer, strUnitFolder, MpegrecProgram(), strFolder, false);
    if (result.bExists) {
        const QString strQuestion =
            tr("%1 already exists. Replace it?").arg(QDir::toNativeSeparators(result.strTimerFile));
        if (m_prompt.AskYesNo(strQuestion, IPrompt::EIcon::Warning) != IPrompt::EAnswer::Yes)
            return;
        result = SystemdTimerExport::Write(*pTimer, strUnitFolder, MpegrecProgram(), strFolder, true);
    }
    if (!result.strError.isEmpty()) {
        m_prompt.ShowMessage(tr("The systemd timer could not be written."), IPrompt::EIcon::Stop, result.strError);
        return;
    }
    const QString strUnit = QFileInfo(result.strTimerFile).fileName();
    m_prompt.ShowMessage(tr("Written %1 and its service. To start it:\n\n"
                            "systemctl --user daemon-reload && systemctl --user enable --now %2")
                             .arg(QDir::toNativeSeparators(result.strTimerFile), strUnit),
                         IPrompt::EIcon::Information);
}
