#pragma once

#include "skin/Prompt.h"

// Messages on stderr. A command-line tool runs in scripts as often as in a
// terminal, and a question there would stop a script that cannot answer it,
// so every Yes/No question is answered No without being shown: a question
// with its answer would read as a prompt, and the failure that follows the
// No reports the same cause as a plain line.
class CConsolePrompt : public IPrompt
{
public:
    void ShowMessage(const QString& strText, EIcon eIcon, const QString& strDetail = QString()) override;
    EAnswer AskYesNo(const QString& strText, EIcon eIcon) override;
    // There is no file dialog on a console: always cancelled.
    QString AskSaveFile(const QString& strTitle, const QStringList& arrFilters, const QString& strDefaultSuffix,
                        const QString& strProposedPath) override;
};
