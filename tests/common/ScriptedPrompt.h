#pragma once

#include <QList>
#include <QString>

#include "skin/Prompt.h"

// Answers the program's questions from a script and records what was asked,
// so tests can check the messages a person would have seen.
class CScriptedPrompt : public IPrompt
{
public:
    struct CAsked
    {
        QString strText;
        EIcon eIcon;
        QString strDetail;
        // A failure's cause, as the message shows it under the headline.
        QString strCause;
    };

    void ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail) override
    {
        m_arrAsked.append({ strText, eIcon, strDetail, QString() });
    }

    void ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail) override
    {
        m_arrAsked.append({ strHeadline, EIcon::Warning, strDetail, strCause });
    }

    EAnswer AskYesNo(const QString& strText, EIcon eIcon) override
    {
        m_arrAsked.append({ strText, eIcon, QString(), QString() });
        return m_arrYesNo.isEmpty() ? EAnswer::No : m_arrYesNo.takeFirst();
    }

    QString AskSaveFile(const QString& strTitle, const QStringList& arrFilters, const QString& strSuffix,
                        const QString& strProposedPath) override
    {
        m_arrAsked.append({ strTitle, EIcon::Information, QString(), QString() });
        m_strLastProposedPath = strProposedPath;
        m_arrLastFilters = arrFilters;
        m_strLastSuffix = strSuffix;
        return m_arrFiles.isEmpty() ? QString() : m_arrFiles.takeFirst();
    }

    QStringList Texts() const
    {
        QStringList arrTexts;
        for (const CAsked& asked : m_arrAsked)
            arrTexts.append(asked.strText);
        return arrTexts;
    }

    // Answers to the next Yes/No questions, in order; No once they run out.
    QList<EAnswer> m_arrYesNo;
    // Answers to the next save dialogs, in order; cancel once they run out.
    QStringList m_arrFiles;
    // Where the last save dialog opened.
    QString m_strLastProposedPath;
    QList<CAsked> m_arrAsked;
    // What the last save dialog offered.
    QStringList m_arrLastFilters;
    QString m_strLastSuffix;
};
