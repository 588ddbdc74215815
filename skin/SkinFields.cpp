#include "skin/SkinFields.h"

#include "skin/IniFile.h"

namespace SkinFields {

namespace {

// Value of leading digits in the given base; stops at the first other
// character. Wraps like the 32-bit conversions skins were written for.
std::uint32_t LeadingDigits(QStringView text, int nBase)
{
    std::uint32_t nValue = 0;
    for (const QChar ch : text) {
        const int nDigit = ch.isDigit()                                     ? ch.digitValue()
            : (nBase == 16 && ch.toLower() >= u'a' && ch.toLower() <= u'f') ? ch.toLower().unicode() - u'a' + 10
                                                                            : -1;
        if (nDigit < 0 || nDigit >= nBase || ch.unicode() > 0x7F)
            break;
        nValue = nValue * std::uint32_t(nBase) + std::uint32_t(nDigit);
    }
    return nValue;
}

} // namespace

QString NextField(QString& strValue)
{
    const qsizetype nComma = strValue.indexOf(u',');
    if (nComma < 0) {
        const QString strField = strValue;
        strValue = strValue.trimmed();
        return strField;
    }
    const QString strField = strValue.left(nComma);
    strValue = strValue.mid(nComma + 1).trimmed();
    return strField;
}

int ToInt(const QString& strField)
{
    QStringView text = QStringView(strField).trimmed();
    bool bNegative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        bNegative = text.front() == u'-';
        text = text.mid(1);
    }
    const std::uint32_t nMagnitude = LeadingDigits(text, 10);
    return int(bNegative ? 0u - nMagnitude : nMagnitude);
}

QRect ParseRect(QString& strValue)
{
    const int nLeft = ToInt(NextField(strValue));
    const int nTop = ToInt(NextField(strValue));
    const int nRight = ToInt(NextField(strValue));
    const int nBottom = ToInt(NextField(strValue));
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

COLORREF ParseColor(const QString& strField)
{
    if (strField.isEmpty())
        return CLR_NONE_GIVEN;
    QStringView text = QStringView(strField).trimmed();
    bool bNegative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        bNegative = text.front() == u'-';
        text = text.mid(1);
    }
    std::uint32_t nValue = 0;
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        nValue = LeadingDigits(text.mid(2), 16);
    else
        nValue = LeadingDigits(text, 10);
    if (bNegative)
        nValue = 0u - nValue;
    return MakeColorRef(int((nValue >> 16) & 0xFF), int((nValue >> 8) & 0xFF), int(nValue & 0xFF));
}

bool IsFlagSet(const QString& strField)
{
    return strField.startsWith(u'T');
}

bool IsVertical(const QString& strField)
{
    return strField.startsWith(u'V');
}

bool IsEnabled(const QString& strField)
{
    return strField == u"TRUE";
}

QList<CControlEntry> ReadControlList(const CIniFile& ini, const QString& strSection)
{
    QStringList arrKeys;
    ini.GetKeyNames(strSection, arrKeys);
    QList<CControlEntry> entries;
    for (int i = 0; i < arrKeys.size(); ++i) {
        QString strValue = ini.GetString(strSection, QString::number(i + 1), QString());
        if (!strValue.isEmpty())
            entries.append({ i, strValue });
    }
    return entries;
}

} // namespace SkinFields
