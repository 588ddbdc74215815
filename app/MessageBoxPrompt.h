#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include "skin/Prompt.h"

// Puts the program's questions to the user in message boxes and file dialogs.
class CMessageBoxPrompt : public IPrompt
{
public:
    // The window the boxes are shown over; none centres them on the screen.
    void SetParent(QWidget* pParent) { m_pParent = pParent; }
    // The program is ending: the box or dialog open now is closed, and every
    // later question is answered without asking (OK, No, cancel).
    void StopAsking();

    void ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail = QString()) override;
    void ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail) override;
    EAnswer AskYesNo(const QString& strText, EIcon eIcon) override;
    QString AskSaveFile(const QString& strTitle, const QStringList& arrFilters, const QString& strDefaultSuffix,
                        const QString& strProposedPath) override;

private:
    // Runs the box unless the prompt has stopped asking; Rejected then.
    int Exec(QDialog& box);

    QPointer<QWidget> m_pParent;
    QPointer<QDialog> m_pOpen;
    bool m_bStopped = false;
};
