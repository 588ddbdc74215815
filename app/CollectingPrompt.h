#pragma once

#include <QStringList>

#include "skin/Prompt.h"

// Stands in for the window's prompt while nobody may be at the window (a
// timer starting a recording): what would have been a message box is
// collected as text for the caller to pass on, and questions are declined.
class CCollectingPrompt : public IPrompt
{
public:
    void ShowMessage(const QString& strText, EIcon, const QString& strDetail) override { Note({ strText, strDetail }); }
    void ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail) override
    {
        Note({ strHeadline, strCause, strDetail });
    }
    EAnswer AskYesNo(const QString& strText, EIcon) override
    {
        Note({ strText });
        return EAnswer::No;
    }
    QString AskSaveFile(const QString& strTitle, const QStringList&, const QString&, const QString&) override
    {
        Note({ strTitle });
        return QString();
    }

    // Every message so far, one part a line.
    QString Text() const { return m_arrLines.join(u'\n'); }

protected:
    void Note(const QStringList& arrParts)
    {
        for (const QString& strPart : arrParts) {
            if (!strPart.isEmpty())
                m_arrLines.append(strPart);
        }
    }

private:
    QStringList m_arrLines;
};
