#include "translations/ProgramTranslations.h"

#include <filesystem>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "base/ProgramFolders.h"

namespace ProgramTranslations {

namespace {

const QString QT_CATALOGUE = QStringLiteral("qtbase");
const QString LANGUAGE_SEPARATOR = QStringLiteral("_");
constexpr const char* CATALOGUE_FOLDER = "translations";

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
    // Not the current folder, which holds whatever the user started from.
    const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    QStringList arrFolders;
    for (const std::filesystem::path& folder : ProgramDataFolders({}, programFolder))
        arrFolders.append(QString::fromStdString((folder / CATALOGUE_FOLDER).string()));
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
