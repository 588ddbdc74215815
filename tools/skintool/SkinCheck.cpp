#include "tools/skintool/SkinCheck.h"

#include <initializer_list>

#include <QFileInfo>
#include <QImage>
#include <QSet>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinPath.h"

namespace {

const QString SKIN_FILE = QStringLiteral("Skin.ini");
const QString NOTIFIER_IMAGE = QStringLiteral("dlgTaskNotifier.bmp");

// A kind of entry: how many fields it reads and which of them (0-based)
// name images.
struct CEntryKind
{
    const char* pszSection;
    const char* pszKey;   // nullptr for a numbered control list
    int nFieldCount;
    std::initializer_list<int> arrImageFields;
};

const CEntryKind SINGLE_VALUE_KINDS[] = {
    {"ICON", "ICON", 5, {0}},
    {"CAPTION", "CAPTION", 9, {}},
    {"CONTROL", "CONTROL", 4, {}},
    {"TASKNOTIFIER", "PAGE", 4, {}},
};

const CEntryKind CONTROL_LIST_KINDS[] = {
    {"BUTTONINFO", nullptr, 8, {1}},
    {"TASKBARBUTTON", nullptr, 8, {1}},
    {"SLIDERINFO", nullptr, 11, {1, 2, 3}},
    {"OPTIONINFO", nullptr, 9, {1}},
    {"CHECKINFO", nullptr, 9, {1}},
    {"LABELINFO", nullptr, 9, {}},
    {"PROGRESSINFO", nullptr, 6, {5}},
    {"EDITBOXINFO", nullptr, 9, {}},
    // name, four coordinates, four colours, then the seven scroll images.
    {"LISTBOXINFO", nullptr, 16, {9, 10, 11, 12, 13, 14, 15}},
    {"COMBOBOXINFO", nullptr, 20, {5, 13, 14, 15, 16, 17, 18, 19}},
};

// Fields as the window reads them: missing trailing fields repeat the
// last one that is there.
QStringList CutFields(QString strValue, int nCount)
{
    QStringList arrFields;
    for (int i = 0; i < nCount; ++i)
        arrFields.append(SkinFields::NextField(strValue));
    return arrFields;
}

class CSkinChecker
{
public:
    explicit CSkinChecker(const QString& strFolder)
        : m_strFolder(strFolder)
        , m_ini(ResolveSkinFile(strFolder, SKIN_FILE))
    {
    }

    QStringList Run()
    {
        if (!QFileInfo(m_ini.GetPath()).isFile()) {
            Report(SKIN_FILE + QStringLiteral(": missing"));
        } else {
            CheckBackground();
            for (const CEntryKind& kind : SINGLE_VALUE_KINDS)
                CheckSingleValue(kind);
            for (const CEntryKind& kind : CONTROL_LIST_KINDS)
                CheckControlList(kind);
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

    void CheckBackground()
    {
        const QString strMain = m_ini.GetString("Screen", "Main", QString());
        if (strMain.isEmpty())
            Report(QStringLiteral("Screen Main: no background image"));
        else
            CheckImage(QStringLiteral("Screen Main"), strMain);
    }

    // Values the window would cut or read with repeated fields.
    void CheckValueShape(const QString& strWhere, const QString& strValue, const CEntryKind& kind)
    {
        if (strValue.size() > SkinFields::MAX_ENTRY_CHARS)
            Report(strWhere + QStringLiteral(": value has %1 characters, more than %2")
                                  .arg(strValue.size())
                                  .arg(SkinFields::MAX_ENTRY_CHARS));
        const qsizetype nFields = strValue.count(u',') + 1;
        if (nFields < kind.nFieldCount)
            Report(strWhere + QStringLiteral(": %1 fields, %2 needs %3")
                                  .arg(nFields)
                                  .arg(QString::fromLatin1(kind.pszSection))
                                  .arg(kind.nFieldCount));
    }

    void CheckEntry(const QString& strWhere, const QString& strValue, const CEntryKind& kind)
    {
        CheckValueShape(strWhere, strValue, kind);
        const QStringList arrFields = CutFields(strValue, kind.nFieldCount);
        for (const int nField : kind.arrImageFields)
            CheckImage(strWhere, arrFields[nField]);
    }

    void CheckSingleValue(const CEntryKind& kind)
    {
        const QString strSection = QString::fromLatin1(kind.pszSection);
        const QString strKey = QString::fromLatin1(kind.pszKey);
        const QString strValue = m_ini.GetString(strSection, strKey, QString());
        if (strValue.isEmpty())
            return;
        const QString strWhere = strSection + u' ' + strKey;
        CheckEntry(strWhere, strValue, kind);
        if (strSection == u"ICON")
            CheckIconSize(strWhere, strValue);
        if (strSection == u"TASKNOTIFIER")
            CheckNotifierPage(strWhere, strValue);
    }

    // The page must lie on the notifier's picture, or the popup shows none
    // of it.
    void CheckNotifierPage(const QString& strWhere, QString strValue)
    {
        const QRect rcPage = SkinFields::ParseRect(strValue);
        const QImage picture(ResolveSkinFile(m_strFolder, NOTIFIER_IMAGE));
        if (picture.isNull())
            return;
        if (rcPage.isEmpty() || !picture.rect().contains(rcPage))
            Report(strWhere + QStringLiteral(": page %1,%2,%3,%4 does not lie on the %5x%6 notifier picture")
                                  .arg(rcPage.left())
                                  .arg(rcPage.top())
                                  .arg(rcPage.left() + rcPage.width())
                                  .arg(rcPage.top() + rcPage.height())
                                  .arg(picture.width())
                                  .arg(picture.height()));
    }

    // The icon is drawn unscaled: an image smaller than its rectangle
    // leaves part of the rectangle undrawn.
    void CheckIconSize(const QString& strWhere, QString strValue)
    {
        const QString strFile = SkinFields::NextField(strValue);
        const QRect rcIcon = SkinFields::ParseRect(strValue);
        const QString strPath = ResolveSkinFile(m_strFolder, strFile);
        const QImage image(strPath);
        if (image.isNull())
            return;
        if (image.width() < rcIcon.width() || image.height() < rcIcon.height())
            Report(strWhere + QStringLiteral(": image %1x%2 smaller than its rectangle %3x%4: ")
                                  .arg(image.width())
                                  .arg(image.height())
                                  .arg(rcIcon.width())
                                  .arg(rcIcon.height())
                   + strFile);
    }

    void CheckControlList(const CEntryKind& kind)
    {
        const QString strSection = QString::fromLatin1(kind.pszSection);
        QStringList arrKeys;
        m_ini.GetKeyNames(strSection, arrKeys);
        QSet<QString> setRead;
        for (int i = 1; i <= arrKeys.size(); ++i)
            setRead.insert(QString::number(i));
        for (const QString& strKey : arrKeys) {
            if (!setRead.contains(strKey))
                Report(strSection + u' ' + strKey
                       + QStringLiteral(": never read; keys must be numbered 1 to %1 without gaps").arg(arrKeys.size()));
        }
        for (const SkinFields::CControlEntry& entry : SkinFields::ReadControlList(m_ini, strSection))
            CheckEntry(strSection + u' ' + QString::number(entry.nIndex + 1), entry.strValue, kind);
    }

    QString m_strFolder;
    CIniFile m_ini;
    QStringList m_arrProblems;
};

} // namespace

QStringList CheckSkinFolder(const QString& strFolder)
{
    return CSkinChecker(strFolder).Run();
}
