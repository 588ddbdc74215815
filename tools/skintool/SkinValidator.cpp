#include "tools/skintool/SkinValidator.h"

#include <QFileInfo>
#include <QImage>
#include <QSet>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skin/SkinPath.h"

using SkinFormat::CSectionFormat;

namespace {

const QString SKIN_FILE = QStringLiteral("Skin.ini");
const QString NOTIFIER_IMAGE = QStringLiteral("dlgTaskNotifier.bmp");

class CSkinValidator
{
public:
    explicit CSkinValidator(const QString& strFolder)
        : m_strFolder(strFolder)
        , m_ini(ResolveSkinFile(strFolder, SKIN_FILE))
    {
    }

    QStringList Run()
    {
        if (!QFileInfo(m_ini.GetPath()).isFile()) {
            Report(SKIN_FILE + QStringLiteral(": missing"));
        } else {
            CheckBackgroundGiven();
            for (const CSectionFormat* pFormat : SkinFormat::SECTIONS) {
                if (pFormat->IsControlList())
                    CheckControlList(*pFormat);
                else
                    CheckSingleValue(*pFormat);
            }
        }
        if (!QFileInfo::exists(ResolveSkinFile(m_strFolder, NOTIFIER_IMAGE)))
            Report(NOTIFIER_IMAGE + QStringLiteral(": missing (task notifier picture)"));
        return m_arrProblems;
    }

private:
    void Report(const QString& strProblem) { m_arrProblems.append(strProblem); }

    // The image as the window loads it; a null image after reporting why.
    QImage CheckImage(const QString& strWhere, const QString& strFile)
    {
        if (strFile.isEmpty())
            return QImage();
        const QString strPath = ResolveSkinFile(m_strFolder, strFile);
        if (!QFileInfo(strPath).isFile()) {
            Report(strWhere + QStringLiteral(": image not found: ") + strFile);
            return QImage();
        }
        QImage image(strPath);
        if (image.isNull())
            Report(strWhere + QStringLiteral(": image cannot be loaded: ") + strFile);
        return image;
    }

    // An empty value is no entry to the other checks.
    void CheckBackgroundGiven()
    {
        const CSectionFormat& format = SkinFormat::BACKGROUND;
        if (SkinFormat::SingleValue(m_ini, format).isEmpty())
            Report(format.Section() + u' ' + format.Key() + QStringLiteral(": no background image"));
    }

    // Values the window would cut or read with repeated fields.
    void CheckValueShape(const QString& strWhere, const QString& strValue, const CSectionFormat& format)
    {
        if (strValue.size() > SkinFields::MAX_ENTRY_CHARS)
            Report(strWhere
                   + QStringLiteral(": value has %1 characters, more than %2")
                         .arg(strValue.size())
                         .arg(SkinFields::MAX_ENTRY_CHARS));
        const qsizetype nFields = strValue.count(u',') + 1;
        if (nFields < format.FieldCount())
            Report(strWhere
                   + QStringLiteral(": %1 fields, %2 needs %3")
                         .arg(nFields)
                         .arg(format.Section())
                         .arg(format.FieldCount()));
    }

    void CheckEntry(const QString& strWhere, const QString& strValue, const CSectionFormat& format)
    {
        CheckValueShape(strWhere, strValue, format);
        const QStringList arrFields = SkinFormat::CutFields(format, strValue);
        for (const int nField : format.FieldsOf(SkinFormat::EField::eImage))
            CheckImage(strWhere, arrFields[nField]);
    }

    void CheckSingleValue(const CSectionFormat& format)
    {
        const QString strValue = SkinFormat::SingleValue(m_ini, format);
        if (strValue.isEmpty())
            return;
        const QString strWhere = format.Section() + u' ' + format.Key();
        CheckEntry(strWhere, strValue, format);
        if (&format == &SkinFormat::ICON)
            CheckIconSize(strWhere, strValue);
        if (&format == &SkinFormat::NOTIFIER_PAGE)
            CheckNotifierPage(strWhere, strValue);
    }

    // The page must lie on the notifier's picture, or the popup shows none
    // of it.
    void CheckNotifierPage(const QString& strWhere, const QString& strValue)
    {
        const QRect rcPage = SkinFormat::CEntryReader(SkinFormat::NOTIFIER_PAGE, strValue).TakeRect();
        const QImage picture(ResolveSkinFile(m_strFolder, NOTIFIER_IMAGE));
        if (picture.isNull())
            return;
        if (rcPage.isEmpty() || !picture.rect().contains(rcPage))
            Report(strWhere
                   + QStringLiteral(": page %1,%2,%3,%4 does not lie on the %5x%6 notifier picture")
                         .arg(rcPage.left())
                         .arg(rcPage.top())
                         .arg(rcPage.left() + rcPage.width())
                         .arg(rcPage.top() + rcPage.height())
                         .arg(picture.width())
                         .arg(picture.height()));
    }

    // The icon is drawn unscaled: an image smaller than its rectangle
    // leaves part of the rectangle undrawn.
    void CheckIconSize(const QString& strWhere, const QString& strValue)
    {
        SkinFormat::CEntryReader entry(SkinFormat::ICON, strValue);
        const QString strFile = entry.Take(SkinFormat::EField::eImage);
        const QRect rcIcon = entry.TakeRect();
        const QString strPath = ResolveSkinFile(m_strFolder, strFile);
        const QImage image(strPath);
        if (image.isNull())
            return;
        if (image.width() < rcIcon.width() || image.height() < rcIcon.height())
            Report(strWhere
                   + QStringLiteral(": image %1x%2 smaller than its rectangle %3x%4: ")
                         .arg(image.width())
                         .arg(image.height())
                         .arg(rcIcon.width())
                         .arg(rcIcon.height())
                   + strFile);
    }

    void CheckControlList(const CSectionFormat& format)
    {
        const QString strSection = format.Section();
        QStringList arrKeys;
        m_ini.GetKeyNames(strSection, arrKeys);
        QSet<QString> setRead;
        for (int i = 1; i <= arrKeys.size(); ++i)
            setRead.insert(QString::number(i));
        for (const QString& strKey : arrKeys) {
            if (!setRead.contains(strKey))
                Report(
                    strSection + u' ' + strKey
                    + QStringLiteral(": never read; keys must be numbered 1 to %1 without gaps").arg(arrKeys.size()));
        }
        for (const SkinFields::CControlEntry& entry : SkinFields::ReadControlList(m_ini, strSection))
            CheckEntry(strSection + u' ' + QString::number(entry.nIndex + 1), entry.strValue, format);
    }

    QString m_strFolder;
    CIniFile m_ini;
    QStringList m_arrProblems;
};

} // namespace

QStringList ValidateSkinFolder(const QString& strFolder)
{
    return CSkinValidator(strFolder).Run();
}
