#include "tools/skintool/SkinValidator.h"

#include <algorithm>

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSet>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"
#include "skin/SkinFormat.h"
#include "skin/SkinImageFile.h"
#include "skin/SkinLimits.h"
#include "skin/SkinPath.h"

using SkinFormat::CSectionFormat;

namespace {

const QString SKIN_FILE = QStringLiteral("Skin.ini");
const QString NOTIFIER_IMAGE = QStringLiteral("dlgTaskNotifier.bmp");
// Buttons without which the window cannot do its work, another name the
// window treats the same, and what is lost without either.
const struct
{
    const char* pszName;
    const char* pszSameCommand;
    const char* pszLost;
} REQUIRED_BUTTONS[] = {
    { "BUTTON_CONVERT", nullptr, "nothing starts a recording" },
    { "BUTTON_STOP", nullptr, "nothing stops a recording" },
    { "BUTTON_EXIT", "BUTTON_CLOSE", "nothing closes the window" },
};

// A control with less than this share of its rectangle on its picture is
// mostly cut off: a typing slip rather than a design.
constexpr double MIN_SHARE_ON_PICTURE = 0.5;

class CSkinValidator
{
public:
    explicit CSkinValidator(const QString& strFolder)
        : m_strFolder(strFolder)
        , m_ini(PathOf(SKIN_FILE))
    {
    }

    QStringList Run()
    {
        if (!QFileInfo(m_ini.GetPath()).isFile()) {
            Report(SKIN_FILE + QStringLiteral(": missing"));
        } else {
            CheckBackgroundGiven();
            CheckBackgroundSize();
            m_sizeBackground = ImageSize(SkinFormat::SingleValue(m_ini, SkinFormat::BACKGROUND));
            m_sizeNotifier = ImageSize(NOTIFIER_IMAGE);
            for (const CSectionFormat* pFormat : SkinFormat::SECTIONS) {
                CheckEntryCount(*pFormat);
                if (pFormat->IsControlList())
                    CheckControlList(*pFormat);
                else
                    CheckSingleValue(*pFormat);
            }
            CheckRequiredButtons();
        }
        const CSkinFileLookup notifier = LookUpSkinFile(m_strFolder, NOTIFIER_IMAGE);
        if (notifier.eResult == ESkinFileLookup::eOutside)
            Report(NOTIFIER_IMAGE + QStringLiteral(": lies outside the package"));
        else if (!QFileInfo::exists(notifier.strPath))
            Report(NOTIFIER_IMAGE + QStringLiteral(": missing (task notifier picture)"));
        else if (m_sizeNotifier.isValid())
            CheckDoubleSizePartner(NOTIFIER_IMAGE, notifier.strPath, m_sizeNotifier);
        return m_arrProblems;
    }

private:
    void Report(const QString& strProblem) { m_arrProblems.append(strProblem); }

    // Where the window finds a file the skin names; empty for one outside
    // the package, which the window never reads. Reported where it is named.
    QString PathOf(const QString& strFile) const { return LookUpSkinFile(m_strFolder, strFile).strPath; }

    // Invalid when the picture is missing or does not load; that is
    // reported where the picture is named.
    QSize ImageSize(const QString& strFile) const
    {
        if (strFile.isEmpty())
            return QSize();
        const QImage image = ReadSkinImageFile(PathOf(strFile)).image;
        return image.isNull() ? QSize() : image.size();
    }

    // The image as the window loads it; a null image after reporting why.
    QImage CheckImage(const QString& strWhere, const QString& strFile)
    {
        if (strFile.isEmpty())
            return QImage();
        const CSkinFileLookup lookup = LookUpSkinFile(m_strFolder, strFile);
        if (lookup.eResult == ESkinFileLookup::eOutside) {
            Report(strWhere + QStringLiteral(": image ") + strFile + QStringLiteral(" lies outside the package"));
            return QImage();
        }
        const QString& strPath = lookup.strPath;
        if (!QFileInfo(strPath).isFile()) {
            Report(strWhere + QStringLiteral(": image not found: ") + strFile);
            return QImage();
        }
        const CSkinImageFile file = ReadSkinImageFile(strPath);
        if (file.image.isNull())
            Report(strWhere + QStringLiteral(": image cannot be loaded: ") + strFile + QStringLiteral(" (")
                   + file.strReason + u')');
        else
            CheckDoubleSizePartner(strWhere, strPath, file.image.size());
        return file.image;
    }

    // The window ignores a double-resolution partner of any other size. A
    // partner without a picture of its own is never read, so it goes
    // unmentioned.
    void CheckDoubleSizePartner(const QString& strWhere, const QString& strPath, const QSize& sizePicture)
    {
        const QString strPartner = DoubleSizePartnerPath(strPath);
        if (!QFileInfo(strPartner).isFile())
            return;
        const CSkinImageFile partner = ReadSkinImageFile(strPartner);
        const QString strName = QFileInfo(strPartner).fileName();
        if (partner.image.isNull())
            Report(strWhere + QStringLiteral(": image cannot be loaded: ") + strName + QStringLiteral(" (")
                   + partner.strReason + u')');
        else if (partner.image.size() != sizePicture * 2)
            Report(strWhere
                   + QStringLiteral(": %1 is %2x%3, not twice %4x%5")
                         .arg(strName)
                         .arg(partner.image.width())
                         .arg(partner.image.height())
                         .arg(sizePicture.width())
                         .arg(sizePicture.height()));
    }

    // An empty value is no entry to the other checks.
    void CheckBackgroundGiven()
    {
        const CSectionFormat& format = SkinFormat::BACKGROUND;
        if (SkinFormat::SingleValue(m_ini, format).isEmpty())
            Report(format.Section() + u' ' + format.Key() + QStringLiteral(": no background image"));
    }

    // Read from the picture's header: a hostile one is never loaded whole.
    void CheckBackgroundSize()
    {
        const CSectionFormat& format = SkinFormat::BACKGROUND;
        const QString strFile = SkinFormat::SingleValue(m_ini, format);
        if (strFile.isEmpty())
            return;
        const QSize size = QImageReader(PathOf(strFile)).size();
        if (size.isValid())
            CheckSizeLimit(format.Section() + u' ' + format.Key(), size, true);
    }

    // The window reads no key line of a section past the limit.
    void CheckEntryCount(const CSectionFormat& format)
    {
        const qsizetype nLines = m_ini.CountKeyLines(format.Section());
        if (nLines > CIniFile::MAX_SECTION_ENTRIES)
            Report(format.Section()
                   + QStringLiteral(": %1 entries, more than the %2 a section may have; the window reads the first %2")
                         .arg(nLines)
                         .arg(CIniFile::MAX_SECTION_ENTRIES));
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
        if (format.FieldsOf(SkinFormat::EField::eCoordinate).isEmpty())
            return;
        const QRect rc = SkinFormat::RectOf(format, strValue);
        CheckSizeLimit(strWhere, rc.size(), &format == &SkinFormat::CONTROL);
        if (&format != &SkinFormat::NOTIFIER_PAGE)
            CheckRect(strWhere, rc, format);
    }

    // Sizes the window refuses, as larger than any screen needs. skintool
    // has no screen: a window is held to the side a control may have.
    void CheckSizeLimit(const QString& strWhere, const QSize& size, bool bWindow)
    {
        const bool bFits = bWindow ? SkinLimits::WindowFits(size) : SkinLimits::ControlFits(QRect(QPoint(), size));
        if (bFits)
            return;
        const QSize sizeMax =
            bWindow ? SkinLimits::MaxWindowSize() : QSize(SkinLimits::MAX_CONTROL_SIDE, SkinLimits::MAX_CONTROL_SIDE);
        Report(strWhere
               + QStringLiteral(": %1x%2 is larger than the %3x%4 a %5 may be; the window leaves it out")
                     .arg(size.width())
                     .arg(size.height())
                     .arg(sizeMax.width())
                     .arg(sizeMax.height())
                     .arg(bWindow ? QStringLiteral("window") : QStringLiteral("control")));
    }

    // A control turned inside out has no size; one mostly off its picture
    // is cut off by the window's edge.
    void CheckRect(const QString& strWhere, const QRect& rc, const CSectionFormat& format)
    {
        const int nRight = rc.left() + rc.width();
        const int nBottom = rc.top() + rc.height();
        if (rc.width() < 0)
            Report(strWhere + QStringLiteral(": right %1 is less than left %2").arg(nRight).arg(rc.left()));
        if (rc.height() < 0)
            Report(strWhere + QStringLiteral(": bottom %1 is less than top %2").arg(nBottom).arg(rc.top()));
        const bool bOnNotifier = &format == &SkinFormat::TASK_BUTTONS;
        const QSize sizePicture = bOnNotifier ? m_sizeNotifier : m_sizeBackground;
        if (rc.isEmpty() || !sizePicture.isValid())
            return;
        const QRect rcOnPicture = rc.intersected(QRect(QPoint(0, 0), sizePicture));
        const double dShareOnPicture =
            double(rcOnPicture.width()) * rcOnPicture.height() / (double(rc.width()) * rc.height());
        if (dShareOnPicture < MIN_SHARE_ON_PICTURE)
            Report(strWhere
                   + QStringLiteral(": rectangle %1,%2,%3,%4 lies %5outside the %6x%7 %8")
                         .arg(rc.left())
                         .arg(rc.top())
                         .arg(nRight)
                         .arg(nBottom)
                         .arg(rcOnPicture.isEmpty() ? QString() : QStringLiteral("mostly "))
                         .arg(sizePicture.width())
                         .arg(sizePicture.height())
                         .arg(bOnNotifier ? QStringLiteral("notifier picture") : QStringLiteral("background")));
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
        const QImage picture = ReadSkinImageFile(PathOf(NOTIFIER_IMAGE)).image;
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
        const QImage image = ReadSkinImageFile(PathOf(strFile)).image;
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
        CheckNumbering(format, arrKeys);
        for (const SkinFields::CControlEntry& entry : SkinFields::ReadControlList(m_ini, strSection)) {
            CheckEntry(strSection + u' ' + QString::number(entry.nIndex + 1), entry.strValue, format);
            if (&format == &SkinFormat::BUTTONS)
                m_setButtonNames.insert(
                    SkinFormat::CEntryReader(format, entry.strValue).Take(SkinFormat::EField::eName));
        }
    }

    // The window reads keys 1 up to the number of keys: each number missing
    // below that count pushes a numbered entry above it, out of reach.
    void CheckNumbering(const CSectionFormat& format, const QStringList& arrKeys)
    {
        const QString strSection = format.Section();
        const qsizetype nCount = arrKeys.size();
        QList<int> arrHidden;
        for (const QString& strKey : arrKeys) {
            bool bNumber = false;
            const int nNumber = strKey.toInt(&bNumber);
            const bool bNumbered = bNumber && nNumber >= 1 && QString::number(nNumber) == strKey;
            if (!bNumbered)
                Report(strSection + u' ' + strKey
                       + QStringLiteral(": never read; keys must be numbered 1 to %1 without gaps").arg(nCount));
            else if (nNumber > nCount)
                arrHidden.append(nNumber);
        }
        if (arrHidden.isEmpty())
            return;
        std::sort(arrHidden.begin(), arrHidden.end());
        const QSet<QString> setKeys(arrKeys.cbegin(), arrKeys.cend());
        QList<int> arrMissing;
        for (int nKey = 1; nKey <= nCount; ++nKey) {
            if (!setKeys.contains(QString::number(nKey)))
                arrMissing.append(nKey);
        }
        const QString strFirstHidden = QString::number(arrHidden.first());
        const qsizetype nMore = arrHidden.size() - 1;
        const QString strMore = nMore == 0 ? QStringLiteral(" is ignored")
                                           : QStringLiteral(" and %1 more %2 after it are ignored")
                                                 .arg(nMore)
                                                 .arg(nMore == 1 ? QStringLiteral("entry") : QStringLiteral("entries"));
        Report(strSection + (arrMissing.size() == 1 ? QStringLiteral(" key ") : QStringLiteral(" keys "))
               + KeyRuns(arrMissing)
               + QStringLiteral(" missing: the window reads keys 1 to %1 only, so %2 (key %3)%4")
                     .arg(nCount)
                     .arg(EntryName(format, strFirstHidden), strFirstHidden, strMore));
    }

    // Ascending keys with runs shortened: "2, 5 to 9".
    static QString KeyRuns(const QList<int>& arrKeys)
    {
        QStringList arrRuns;
        for (qsizetype i = 0; i < arrKeys.size();) {
            qsizetype nEnd = i;
            while (nEnd + 1 < arrKeys.size() && arrKeys[nEnd + 1] == arrKeys[nEnd] + 1)
                ++nEnd;
            arrRuns.append(nEnd == i ? QString::number(arrKeys[i])
                                     : QStringLiteral("%1 to %2").arg(arrKeys[i]).arg(arrKeys[nEnd]));
            i = nEnd + 1;
        }
        return arrRuns.join(QStringLiteral(", "));
    }

    // The name an entry gives its control, or its key when it has none.
    QString EntryName(const CSectionFormat& format, const QString& strKey) const
    {
        const QString strValue = m_ini.GetString(format.Section(), strKey, QString());
        const QString strName =
            strValue.isEmpty() ? QString() : SkinFormat::CEntryReader(format, strValue).Take(SkinFormat::EField::eName);
        return strName.isEmpty() ? QStringLiteral("entry ") + strKey : strName;
    }

    void CheckRequiredButtons()
    {
        for (const auto& button : REQUIRED_BUTTONS) {
            const QString strName = QString::fromLatin1(button.pszName);
            const bool bSameCommand = button.pszSameCommand != nullptr
                && m_setButtonNames.contains(QString::fromLatin1(button.pszSameCommand));
            if (!m_setButtonNames.contains(strName) && !bSameCommand)
                Report(SkinFormat::BUTTONS.Section() + QStringLiteral(": no ") + strName + QStringLiteral(" button; ")
                       + QString::fromLatin1(button.pszLost));
        }
    }

    QString m_strFolder;
    CIniFile m_ini;
    QSize m_sizeBackground;
    QSize m_sizeNotifier;
    QSet<QString> m_setButtonNames;
    QStringList m_arrProblems;
};

} // namespace

QStringList ValidateSkinFolder(const QString& strFolder)
{
    return CSkinValidator(strFolder).Run();
}
