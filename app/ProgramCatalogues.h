#pragma once

#include <QCoreApplication>
#include <QStringList>

#include "translations/ProgramTranslations.h"

// The catalogues of every library the window links, loaded for the user's
// language before the first text is shown; English needs none.
namespace ProgramCatalogues {

inline const QStringList NAMES = {
    QStringLiteral("skinrec_app"),       QStringLiteral("skinrec_skin"),     QStringLiteral("skinrec_package"),
    QStringLiteral("skinrec_auxiliary"), QStringLiteral("skinrec_settings"), QStringLiteral("skinrec_settings_dialogs"),
    QStringLiteral("skinrec_recorder"),  QStringLiteral("skinrec_portal"),
};

inline void Install(QCoreApplication& application)
{
    ProgramTranslations::Install(application, NAMES);
}

} // namespace ProgramCatalogues
