#include "tools/skintool/ConsolePrompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

void CConsolePrompt::ShowMessage(const QString& strText, EIcon, const QString& strDetail)
{
    std::string strLine = "skintool: " + strText.toStdString();
    if (!strDetail.isEmpty())
        strLine += " (" + strDetail.toStdString() + ")";
    std::cerr << strLine << std::endl;
}

IPrompt::EAnswer CConsolePrompt::AskYesNo(const QString& strText, EIcon)
{
    std::cerr << "skintool: " << strText.toStdString() << " [y/N] " << std::flush;
    if (!isatty(STDIN_FILENO)) {
        std::cerr << "n" << std::endl;
        return EAnswer::No;
    }
    std::string strAnswer;
    std::getline(std::cin, strAnswer);
    return (!strAnswer.empty() && (strAnswer[0] == 'y' || strAnswer[0] == 'Y')) ? EAnswer::Yes : EAnswer::No;
}

QString CConsolePrompt::AskSaveFile(const QString&, const QStringList&, const QString&, const QString&)
{
    return QString();
}
