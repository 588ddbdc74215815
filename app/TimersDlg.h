#pragma once

#include <QDialog>

#include "app/TimerRunner.h"

class IPrompt;
class QPushButton;
class QTreeWidget;

// The list of timers with their state, and the commands on them: Add,
// Change, Delete, Enable/Disable, Export as systemd timer.
class CTimersDlg : public QDialog
{
    Q_OBJECT

public:
    enum EColumn { TITLE_COLUMN, START_COLUMN, LENGTH_COLUMN, SETTINGS_COLUMN, STATE_COLUMN, COLUMN_COUNT };

    // nCurrentOutputRow: the window's Output selector now, which a new
    // timer takes with the settings.
    CTimersDlg(CTimerRunner& timers, IPrompt& prompt, int nCurrentOutputRow, QWidget* pParent = nullptr);

    QTreeWidget* List() const { return m_pList; }
    // Writes the selected timer's units into the folder; the mpegrec they
    // run is the one beside this program, else the one on the PATH.
    void ExportSelected(const QString& strUnitFolder);

private:
    void ShowTimers();
    void ShowButtons();
    // The selected timer, or null.
    const CRecordingTimer* Selected() const;
    void Edit(const CRecordingTimer& timer);
    void Add();
    void Change();
    void Delete();
    void ToggleEnabled();
    void Refuse(const QString& strReason);

    CTimerRunner& m_timers;
    IPrompt& m_prompt;
    int m_nCurrentOutputRow = 0;
    QTreeWidget* m_pList = nullptr;
    QPushButton* m_pChange = nullptr;
    QPushButton* m_pDelete = nullptr;
    QPushButton* m_pEnable = nullptr;
    QPushButton* m_pExport = nullptr;
};
