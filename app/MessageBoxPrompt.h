#pragma once

#include <QPointer>
#include <QWidget>

#include "skin/Prompt.h"

// Puts the program's questions to the user in message boxes and file dialogs.
class CMessageBoxPrompt : public IPrompt
{
public:
    // The window the boxes are shown over; none centres them on the screen.
    void SetParent(QWidget* pParent) { m_pParent = pParent; }

    void ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail = QString()) override;
    void ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail) override;
    EAnswer AskYesNo(const QString& strText, EIcon eIcon) override;
    QString AskSaveFile(const QString& strTitle, const QStringList& arrFilters, const QString& strDefaultSuffix,
                        const QString& strProposedPath) override;

private:
    QPointer<QWidget> m_pParent;
};
