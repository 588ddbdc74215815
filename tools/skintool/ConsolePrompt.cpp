#include "tools/skintool/ConsolePrompt.h"

#include <iostream>
#include <string>

void CConsolePrompt::ShowMessage(const QString& strText, EIcon, const QString& strDetail)
{
    std::string strLine = "skintool: " + strText.toStdString();
    if (!strDetail.isEmpty())
        strLine += " (" + strDetail.toStdString() + ")";
    std::cerr << strLine << std::endl;
}

IPrompt::EAnswer CConsolePrompt::AskYesNo(const QString&, EIcon)
{
    return EAnswer::No;
}

QString CConsolePrompt::AskSaveFile(const QString&, const QStringList&, const QString&, const QString&)
{
    return QString();
}
