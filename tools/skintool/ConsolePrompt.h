#pragma once

#include "skin/Prompt.h"

// Messages on stderr; a Yes/No question is answered by the user on a
// terminal and No otherwise, so scripts never hang on a prompt.
class CConsolePrompt : public IPrompt
{
public:
    void ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail = QString()) override;
    EAnswer AskYesNo(const QString& strText, EIcon eIcon) override;
    // There is no file dialog on a console: always cancelled.
    QString AskSaveFile(const QString& strTitle, const QStringList& arrFilters, const QString& strDefaultSuffix,
                        const QString& strProposedPath) override;
};
