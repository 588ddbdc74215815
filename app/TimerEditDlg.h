#pragma once

#include <QDialog>

#include "app/TimerSchedule.h"

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

// One timer's title, days, start, length or end, folder and whether it
// takes the settings in force now; what it edits is handed back by
// Timer() once accepted.
class CTimerEditDlg : public QDialog
{
    Q_OBJECT

public:
    // Object names of the controls, for tests.
    static inline const QString TITLE_EDIT = QStringLiteral("title");
    static inline const QString DATE_EDIT = QStringLiteral("date");
    static inline const QString START_EDIT = QStringLiteral("start");
    static inline const QString LENGTH_MINUTES = QStringLiteral("lengthMinutes");
    static inline const QString BY_END_OPTION = QStringLiteral("byEnd");
    static inline const QString END_EDIT = QStringLiteral("end");
    // With Qt's day number, 1 for Monday.
    static inline const QString WEEKDAY_BOX = QStringLiteral("day%1");

    // timer: what the dialog starts from; currentSettings and
    // nCurrentOutputRow: what "Use the current settings" puts in.
    CTimerEditDlg(const CRecordingTimer& timer, const ConversionSettings& currentSettings, int nCurrentOutputRow,
                  QWidget* pParent = nullptr);

    CRecordingTimer Timer() const;
    // "Every" is chosen without a day, which no timer can record on.
    bool LacksWeekdays() const;

private:
    void ShowTimer();
    void ShowLengthOrEnd();

    CRecordingTimer m_timer;
    ConversionSettings m_currentSettings;
    int m_nCurrentOutputRow = 0;
    QLineEdit* m_pTitle = nullptr;
    QRadioButton* m_pOnce = nullptr;
    QDateEdit* m_pDate = nullptr;
    QList<QCheckBox*> m_arrWeekdays;
    QTimeEdit* m_pStart = nullptr;
    QRadioButton* m_pByLength = nullptr;
    QSpinBox* m_pLengthMinutes = nullptr;
    QTimeEdit* m_pEnd = nullptr;
    QLineEdit* m_pFolder = nullptr;
    QCheckBox* m_pEnabled = nullptr;
    QCheckBox* m_pCurrentSettings = nullptr;
};

// The settings of a timer in a few words: output type, devices, picture.
QString TimerSettingsText(const CRecordingTimer& timer);
