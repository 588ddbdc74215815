#include "skin/UsableSkin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "skin/IniFile.h"
#include "skin/SkinFormat.h"
#include "skin/SkinImageFile.h"
#include "skin/SkinLimits.h"
#include "skin/SkinPath.h"

namespace UsableSkin {

namespace {

const QString DESCRIPTION = QStringLiteral("Skin.ini");

bool HoldsNoFile(const QString& strFolder)
{
    return QDir(strFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty();
}

// The description's problem, or empty when it can be read.
QString DescriptionProblem(const QString& strDescription)
{
    if (!QFileInfo::exists(strDescription))
        return QCoreApplication::translate("UsableSkin", "it has no %1").arg(DESCRIPTION);
    if (!QFileInfo(strDescription).isFile())
        return QCoreApplication::translate("UsableSkin", "its %1 cannot be read (not a file)").arg(DESCRIPTION);
    QFile file(strDescription);
    if (!file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("UsableSkin", "its %1 cannot be read (%2)")
            .arg(DESCRIPTION, file.errorString());
    return QString();
}

QString BackgroundProblem(const QString& strFolder, const CIniFile& ini)
{
    const QString strImage = SkinFormat::SingleValue(ini, SkinFormat::BACKGROUND);
    if (strImage.isEmpty())
        return QCoreApplication::translate("UsableSkin", "its %1 names no background picture (%2= in [%3])")
            .arg(DESCRIPTION, SkinFormat::BACKGROUND.Key(), SkinFormat::BACKGROUND.Section());
    const CSkinImageFile background = ReadSkinImageFile(ResolveSkinFile(strFolder, strImage));
    if (background.eResult != ESkinImageResult::eOk)
        return QCoreApplication::translate("UsableSkin", "its background picture %1 cannot be used (%2)")
            .arg(strImage, background.strReason);
    if (background.image.size().isEmpty())
        return QCoreApplication::translate("UsableSkin", "its background picture %1 has no pixels").arg(strImage);
    if (!SkinLimits::WindowFits(background.image.size()))
        return QCoreApplication::translate("UsableSkin",
                                           "its background picture %1 is larger than the screen allows (%2x%3 pixels)")
            .arg(strImage)
            .arg(background.image.width())
            .arg(background.image.height());
    return QString();
}

} // namespace

QString WhatIsMissing(const QString& strFolder)
{
    // Encrypted entries are left out when unpacking, so a package of
    // nothing else unpacks to nothing.
    if (HoldsNoFile(strFolder))
        return QCoreApplication::translate("UsableSkin",
                                           "it holds no file that can be read (encrypted entries are left out)");
    const QString strDescription = ResolveSkinFile(strFolder, DESCRIPTION);
    const QString strDescriptionProblem = DescriptionProblem(strDescription);
    if (!strDescriptionProblem.isEmpty())
        return strDescriptionProblem;
    return BackgroundProblem(strFolder, CIniFile(strDescription));
}

} // namespace UsableSkin
