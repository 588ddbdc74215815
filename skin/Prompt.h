#pragma once

#include <QString>
#include <QStringList>

// Every question the program puts to the user goes through this seam, so a
// test (or a command-line tool) can answer in place of a person.
class IPrompt
{
public:
    enum class EIcon { Information, Warning, Stop };
    enum class EAnswer { Ok, Yes, No, Cancel };

    virtual ~IPrompt() = default;

    // A message with an OK button. strDetail, when not empty, is shown as the
    // message's detail (a cause the user may want to read).
    virtual void ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail = QString()) = 0;
    // A failure: its headline, then its cause in plain words in the message
    // itself, and strDetail as above. Where a seam shows no more than
    // ShowMessage, the cause follows the headline.
    virtual void ShowFailure(const QString& strHeadline, const QString& strCause, const QString& strDetail)
    {
        ShowMessage(strCause.isEmpty() ? strHeadline : strHeadline + u'\n' + strCause, EIcon::Warning, strDetail);
    }
    // A Yes/No question; returns Yes or No.
    virtual EAnswer AskYesNo(const QString& strText, EIcon eIcon) = 0;
    // A save dialog opened on strProposedPath (its folder, and its name
    // ready to take or change): returns the chosen path, or an empty string
    // when the user cancels. The implementation asks before an existing file
    // is replaced.
    virtual QString AskSaveFile(const QString& strTitle, const QStringList& arrFilters, const QString& strDefaultSuffix,
                                const QString& strProposedPath) = 0;
};
