#include "tools/skintool/SkinValidator.h"

#include <algorithm>

#include <QCoreApplication>
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
    { "BUTTON_CONVERT", nullptr, QT_TRANSLATE_NOOP("CSkinValidator", "nothing starts a recording") },
    { "BUTTON_STOP", nullptr, QT_TRANSLATE_NOOP("CSkinValidator", "nothing stops a recording") },
    { "BUTTON_EXIT", "BUTTON_CLOSE", QT_TRANSLATE_NOOP("CSkinValidator", "nothing closes the window") },
};

// A control with less than this share of its rectangle on its picture is
// mostly cut off: a typing slip rather than a design.
constexpr double MIN_SHARE_ON_PICTURE = 0.5;

QString Number(qsizetype nValue)
{
    return QString::number(nValue);
}

// "640x480".
QString SizeText(int nWidth, int nHeight)
{
    return QStringLiteral("%1x%2").arg(nWidth).arg(nHeight);
}

QString SizeText(const QSize& size)
{
    return SizeText(size.width(), size.height());
}

// The problems are worded in the user's language; each names its place
// first, and the values go in with one arg() call, so that a place holding
// a "%1" of its own stays as it is.
class CSkinValidator
{
    Q_DECLARE_TR_FUNCTIONS(CSkinValidator)

public:
    explicit CSkinValidator(const QString& strFolder)
        : m_strFolder(strFolder)
        , m_ini(PathOf(SKIN_FILE))
    {
    }

    QStringList Run()
    {
        if (!QFileInfo(m_ini.GetPath()).isFile()) {
            Report(tr("%1: missing").arg(SKIN_FILE));
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
            Report(tr("%1: lies outside the package").arg(NOTIFIER_IMAGE));
        else if (!QFileInfo::exists(notifier.strPath))
            Report(tr("%1: missing (task notifier picture)").arg(NOTIFIER_IMAGE));
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
            Report(tr("%1: image %2 lies outside the package").arg(strWhere, strFile));
            return QImage();
        }
        const QString& strPath = lookup.strPath;
        if (!QFileInfo(strPath).isFile()) {
            Report(tr("%1: image not found: %2").arg(strWhere, strFile));
            return QImage();
        }
        const CSkinImageFile file = ReadSkinImageFile(strPath);
        if (file.image.isNull())
            Report(tr("%1: image cannot be loaded: %2 (%3)").arg(strWhere, strFile, file.strReason));
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
            Report(tr("%1: image cannot be loaded: %2 (%3)").arg(strWhere, strName, partner.strReason));
        else if (partner.image.size() != sizePicture * 2)
            Report(tr("%1: %2 is %3, not twice %4")
                       .arg(strWhere, strName, SizeText(partner.image.size()), SizeText(sizePicture)));
    }

    // An empty value is no entry to the other checks.
    void CheckBackgroundGiven()
    {
        const CSectionFormat& format = SkinFormat::BACKGROUND;
        if (SkinFormat::SingleValue(m_ini, format).isEmpty())
            Report(tr("%1: no background image").arg(format.Section() + u' ' + format.Key()));
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
            Report(tr("%1: %2 entries, more than the %3 a section may have; the window reads the first %3")
                       .arg(format.Section(), Number(nLines), Number(CIniFile::MAX_SECTION_ENTRIES)));
    }

    // Values the window would cut or read with repeated fields.
    void CheckValueShape(const QString& strWhere, const QString& strValue, const CSectionFormat& format)
    {
        if (strValue.size() > SkinFields::MAX_ENTRY_CHARS)
            Report(tr("%1: value has %2 characters, more than %3")
                       .arg(strWhere, Number(strValue.size()), Number(SkinFields::MAX_ENTRY_CHARS)));
        const qsizetype nFields = strValue.count(u',') + 1;
        if (nFields < format.FieldCount())
            Report(tr("%1: %2 fields, %3 needs %4")
                       .arg(strWhere, Number(nFields), format.Section(), Number(format.FieldCount())));
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
        Report((bWindow ? tr("%1: %2 is larger than the %3 a window may be; the window leaves it out")
                        : tr("%1: %2 is larger than the %3 a control may be; the window leaves it out"))
                   .arg(strWhere, SizeText(size), SizeText(sizeMax)));
    }

    // A control turned inside out has no size; one mostly off its picture
    // is cut off by the window's edge.
    void CheckRect(const QString& strWhere, const QRect& rc, const CSectionFormat& format)
    {
        const int nRight = rc.left() + rc.width();
        const int nBottom = rc.top() + rc.height();
        if (rc.width() < 0)
            Report(tr("%1: right %2 is less than left %3").arg(strWhere, Number(nRight), Number(rc.left())));
        if (rc.height() < 0)
            Report(tr("%1: bottom %2 is less than top %3").arg(strWhere, Number(nBottom), Number(rc.top())));
        const bool bOnNotifier = &format == &SkinFormat::TASK_BUTTONS;
        const QSize sizePicture = bOnNotifier ? m_sizeNotifier : m_sizeBackground;
        if (rc.isEmpty() || !sizePicture.isValid())
            return;
        const QRect rcOnPicture = rc.intersected(QRect(QPoint(0, 0), sizePicture));
        const double dShareOnPicture =
            double(rcOnPicture.width()) * rcOnPicture.height() / (double(rc.width()) * rc.height());
        if (dShareOnPicture >= MIN_SHARE_ON_PICTURE)
            return;
        const bool bMostly = !rcOnPicture.isEmpty();
        const QString strProblem = bOnNotifier
            ? (bMostly ? tr("%1: rectangle %2 lies mostly outside the %3 notifier picture")
                       : tr("%1: rectangle %2 lies outside the %3 notifier picture"))
            : (bMostly ? tr("%1: rectangle %2 lies mostly outside the %3 background")
                       : tr("%1: rectangle %2 lies outside the %3 background"));
        Report(strProblem.arg(strWhere,
                              QStringLiteral("%1,%2,%3,%4").arg(rc.left()).arg(rc.top()).arg(nRight).arg(nBottom),
                              SizeText(sizePicture)));
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
            Report(tr("%1: page %2 does not lie on the %3 notifier picture")
                       .arg(strWhere,
                            QStringLiteral("%1,%2,%3,%4")
                                .arg(rcPage.left())
                                .arg(rcPage.top())
                                .arg(rcPage.left() + rcPage.width())
                                .arg(rcPage.top() + rcPage.height()),
                            SizeText(picture.size())));
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
            Report(tr("%1: image %2 smaller than its rectangle %3: %4")
                       .arg(strWhere, SizeText(image.size()), SizeText(rcIcon.size()), strFile));
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
                Report(tr("%1: never read; keys must be numbered 1 to %2 without gaps")
                           .arg(strSection + u' ' + strKey, Number(nCount)));
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
        const QString strName = EntryName(format, strFirstHidden);
        const QString strIgnored = nMore == 0 ? tr("%1 (key %2) is ignored").arg(strName, strFirstHidden)
            : nMore == 1
            ? tr("%1 (key %2) and 1 more entry after it are ignored").arg(strName, strFirstHidden)
            : tr("%1 (key %2) and %3 more entries after it are ignored").arg(strName, strFirstHidden, Number(nMore));
        const QString strMissing = arrMissing.size() == 1 ? tr("%1 key %2 missing") : tr("%1 keys %2 missing");
        Report(tr("%1: the window reads keys 1 to %2 only, so %3")
                   .arg(strMissing.arg(strSection, KeyRuns(arrMissing)), Number(nCount), strIgnored));
    }

    // Ascending keys with runs shortened: "2, 5 to 9".
    static QString KeyRuns(const QList<int>& arrKeys)
    {
        QStringList arrRuns;
        for (qsizetype i = 0; i < arrKeys.size();) {
            qsizetype nEnd = i;
            while (nEnd + 1 < arrKeys.size() && arrKeys[nEnd + 1] == arrKeys[nEnd] + 1)
                ++nEnd;
            arrRuns.append(nEnd == i ? QString::number(arrKeys[i]) : tr("%1 to %2").arg(arrKeys[i]).arg(arrKeys[nEnd]));
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
        return strName.isEmpty() ? tr("entry %1").arg(strKey) : strName;
    }

    void CheckRequiredButtons()
    {
        for (const auto& button : REQUIRED_BUTTONS) {
            const QString strName = QString::fromLatin1(button.pszName);
            const bool bSameCommand = button.pszSameCommand != nullptr
                && m_setButtonNames.contains(QString::fromLatin1(button.pszSameCommand));
            if (!m_setButtonNames.contains(strName) && !bSameCommand)
                Report(tr("%1: no %2 button; %3").arg(SkinFormat::BUTTONS.Section(), strName, tr(button.pszLost)));
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
