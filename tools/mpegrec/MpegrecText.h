#pragma once

#include <string>

#include <QCoreApplication>
#include <QString>

// mpegrec's messages in the user's language, once main has installed the
// catalogues. Sources are marked QT_TRANSLATE_NOOP("CMpegrec", "...") where
// they are written, so that the catalogue finds them; %1, %2, ... take the
// values in their order.
template <typename... TValues>
std::string Say(const char* pszSource, const TValues&... values)
{
    const QString strText = QCoreApplication::translate("CMpegrec", pszSource);
    if constexpr (sizeof...(values) == 0)
        return strText.toStdString();
    else
        return strText.arg(QString::fromStdString(values)...).toStdString();
}
