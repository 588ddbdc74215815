#include "app/TimerEditDlg.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "app/ConverterDlg.h"

namespace {

constexpr int SECONDS_PER_MINUTE = 60;
constexpr int SECONDS_PER_DAY = 24 * 60 * 60;
constexpr int DEFAULT_LENGTH_MINUTES = 90;
const QString TIME_FORMAT = QStringLiteral("HH:mm");

} // namespace

CTimerEditDlg::CTimerEditDlg(const CRecordingTimer& timer, const ConversionSettings& currentSettings,
                             int nCurrentOutputRow, QWidget* pParent)
    : QDialog(pParent)
    , m_timer(timer)
    , m_currentSettings(currentSettings)
    , m_nCurrentOutputRow(nCurrentOutputRow)
{
    setWindowTitle(timer.strId.isEmpty() ? tr("New Timer") : tr("Change Timer"));
    auto* pForm = new QFormLayout(this);
    m_pTitle = new QLineEdit(this);
    m_pTitle->setObjectName(TITLE_EDIT);
    pForm->addRow(tr("&Title"), m_pTitle);

    m_pOnce = new QRadioButton(tr("&Once, on"), this);
    auto* pWeekly = new QRadioButton(tr("&Every"), this);
    m_pDate = new QDateEdit(this);
    m_pDate->setObjectName(DATE_EDIT);
    m_pDate->setCalendarPopup(true);
    // Radio buttons of one parent would otherwise all exclude each other.
    auto* pDayChoice = new QButtonGroup(this);
    pDayChoice->addButton(m_pOnce);
    pDayChoice->addButton(pWeekly);
    auto* pOnceRow = new QHBoxLayout;
    pOnceRow->addWidget(m_pOnce);
    pOnceRow->addWidget(m_pDate, 1);
    pForm->addRow(tr("Day"), pOnceRow);
    auto* pWeekRow = new QHBoxLayout;
    pWeekRow->addWidget(pWeekly);
    for (int nDay = Qt::Monday; nDay <= Qt::Sunday; ++nDay) {
        auto* pDay = new QCheckBox(QLocale().dayName(nDay, QLocale::ShortFormat), this);
        pDay->setObjectName(WEEKDAY_BOX.arg(nDay));
        connect(pDay, &QCheckBox::toggled, pWeekly, [pWeekly](bool bOn) {
            if (bOn)
                pWeekly->setChecked(true);
        });
        m_arrWeekdays.append(pDay);
        pWeekRow->addWidget(pDay);
    }
    pForm->addRow(QString(), pWeekRow);

    m_pStart = new QTimeEdit(this);
    m_pStart->setObjectName(START_EDIT);
    m_pStart->setDisplayFormat(TIME_FORMAT);
    pForm->addRow(tr("&Start"), m_pStart);
    m_pByLength = new QRadioButton(tr("&Length (minutes)"), this);
    auto* pByEnd = new QRadioButton(tr("&End at"), this);
    pByEnd->setObjectName(BY_END_OPTION);
    m_pLengthMinutes = new QSpinBox(this);
    m_pLengthMinutes->setObjectName(LENGTH_MINUTES);
    m_pLengthMinutes->setRange(1, CTimerSchedule::MAX_LENGTH_SECONDS / SECONDS_PER_MINUTE);
    m_pEnd = new QTimeEdit(this);
    m_pEnd->setObjectName(END_EDIT);
    m_pEnd->setDisplayFormat(TIME_FORMAT);
    auto* pEndChoice = new QButtonGroup(this);
    pEndChoice->addButton(m_pByLength);
    pEndChoice->addButton(pByEnd);
    auto* pLengthRow = new QHBoxLayout;
    pLengthRow->addWidget(m_pByLength);
    pLengthRow->addWidget(m_pLengthMinutes);
    pLengthRow->addWidget(pByEnd);
    pLengthRow->addWidget(m_pEnd);
    pForm->addRow(tr("Until"), pLengthRow);
    connect(m_pByLength, &QRadioButton::toggled, this, &CTimerEditDlg::ShowLengthOrEnd);

    m_pFolder = new QLineEdit(this);
    m_pFolder->setPlaceholderText(tr("the Videos folder"));
    pForm->addRow(tr("&Folder"), m_pFolder);
    m_pEnabled = new QCheckBox(tr("E&nabled"), this);
    pForm->addRow(QString(), m_pEnabled);
    m_pCurrentSettings = new QCheckBox(tr("&Use the current settings"), this);
    m_pCurrentSettings->setToolTip(tr("Devices, output type, profiles, sync mode and frame picture as "
                                      "the settings dialogs and the Output selector have them now"));
    pForm->addRow(QString(), m_pCurrentSettings);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pForm->addRow(pButtons);
    ShowTimer();
}

void CTimerEditDlg::ShowTimer()
{
    const bool bNew = m_timer.strId.isEmpty();
    const QDateTime now = QDateTime::currentDateTime();
    m_pTitle->setText(m_timer.strTitle);
    m_pDate->setDate(m_timer.date.isValid() ? m_timer.date : now.date());
    for (int nDay = 0; nDay < m_arrWeekdays.size(); ++nDay)
        m_arrWeekdays[nDay]->setChecked((m_timer.nWeekdays & (1U << nDay)) != 0);
    m_pOnce->setChecked(!m_timer.IsRepeating());
    m_pStart->setTime(m_timer.startTime.isValid() ? m_timer.startTime : now.time());
    const int nLengthMinutes =
        m_timer.nLengthSeconds > 0 ? m_timer.nLengthSeconds / SECONDS_PER_MINUTE : DEFAULT_LENGTH_MINUTES;
    m_pLengthMinutes->setValue(nLengthMinutes);
    m_pEnd->setTime(m_pStart->time().addSecs(nLengthMinutes * SECONDS_PER_MINUTE));
    m_pByLength->setChecked(true);
    ShowLengthOrEnd();
    m_pFolder->setText(m_timer.strFolder);
    m_pEnabled->setChecked(m_timer.bEnabled);
    // A new timer records as the window would now; a changed one keeps
    // what it was made with unless asked.
    m_pCurrentSettings->setChecked(bNew);
    m_pCurrentSettings->setEnabled(!bNew);
}

void CTimerEditDlg::ShowLengthOrEnd()
{
    m_pLengthMinutes->setEnabled(m_pByLength->isChecked());
    m_pEnd->setEnabled(!m_pByLength->isChecked());
}

bool CTimerEditDlg::LacksWeekdays() const
{
    return !m_pOnce->isChecked() && std::none_of(m_arrWeekdays.begin(), m_arrWeekdays.end(), [](const QCheckBox* pDay) {
        return pDay->isChecked();
    });
}

CRecordingTimer CTimerEditDlg::Timer() const
{
    CRecordingTimer timer = m_timer;
    timer.strTitle = m_pTitle->text().trimmed();
    timer.nWeekdays = 0;
    if (!m_pOnce->isChecked()) {
        for (int nDay = 0; nDay < m_arrWeekdays.size(); ++nDay) {
            if (m_arrWeekdays[nDay]->isChecked())
                timer.nWeekdays |= 1U << nDay;
        }
    }
    timer.date = m_pDate->date();
    timer.startTime = QTime(m_pStart->time().hour(), m_pStart->time().minute());
    if (m_pByLength->isChecked()) {
        timer.nLengthSeconds = m_pLengthMinutes->value() * SECONDS_PER_MINUTE;
    } else {
        // An end at or before the start is on the next day.
        const int nSeconds = timer.startTime.secsTo(QTime(m_pEnd->time().hour(), m_pEnd->time().minute()));
        timer.nLengthSeconds = nSeconds > 0 ? nSeconds : nSeconds + SECONDS_PER_DAY;
    }
    timer.strFolder = m_pFolder->text().trimmed();
    timer.bEnabled = m_pEnabled->isChecked();
    if (m_pCurrentSettings->isChecked()) {
        timer.settings = m_currentSettings;
        timer.nOutputTypeRow = m_nCurrentOutputRow;
    }
    return timer;
}

QString TimerSettingsText(const CRecordingTimer& timer)
{
    const QStringList arrTypes { CConverterDlg::MPEG1_ROW, CConverterDlg::MPEG2_ROW, CConverterDlg::AVI_ROW };
    const ConversionSettings& settings = timer.settings;
    const QString strType = arrTypes.value(timer.nOutputTypeRow, CConverterDlg::MPEG1_ROW);
    const QString strVideo =
        settings.strVideoDeviceName.isEmpty() ? CTimerEditDlg::tr("default video") : settings.strVideoDeviceName;
    const QString strAudio =
        settings.strAudioDeviceName.isEmpty() ? CTimerEditDlg::tr("default audio") : settings.strAudioDeviceName;
    QString strText = QStringLiteral("%1, %2 + %3").arg(strType, strVideo, strAudio);
    if (timer.nOutputTypeRow != CConverterDlg::AVI_ROW_INDEX)
        strText += QStringLiteral(", %1x%2").arg(settings.nMpegWidth).arg(settings.nMpegHeight);
    return strText;
}
