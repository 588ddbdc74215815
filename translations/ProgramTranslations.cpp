#include "translations/ProgramTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ProgramTranslations {

namespace {

const QString QT_CATALOGUE = QStringLiteral("qtbase");
const QString LANGUAGE_SEPARATOR = QStringLiteral("_");

bool InstallFrom(QCoreApplication& application, const QString& strCatalogue, const QString& strFolder)
{
    auto* pTranslator = new QTranslator(&application);
    if (pTranslator->load(QLocale(), strCatalogue, LANGUAGE_SEPARATOR, strFolder)
        && QCoreApplication::installTranslator(pTranslator))
        return true;
    delete pTranslator;
    return false;
}

} // namespace

QStringList Folders()
{
    const QDir dirProgram(QCoreApplication::applicationDirPath());
    QStringList arrFolders = {
        dirProgram.filePath(QStringLiteral("translations")),
        QDir::cleanPath(dirProgram.filePath(QStringLiteral(SKINREC_DATA_DIR_FROM_PROGRAM "/translations"))),
    };
    arrFolders.removeDuplicates();
    return arrFolders;
}

void Install(QCoreApplication& application, const QStringList& arrCatalogues)
{
    InstallFrom(application, QT_CATALOGUE, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const QStringList arrFolders = Folders();
    for (const QString& strCatalogue : arrCatalogues) {
        for (const QString& strFolder : arrFolders) {
            if (InstallFrom(application, strCatalogue, strFolder))
                break;
        }
    }
}

} // namespace ProgramTranslations
