#include "skin/SkinFields.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <QHash>

#include "skin/IniFile.h"

namespace SkinFields {

namespace {

// Decimal digits past this magnitude can no longer change which end of
// int's range the number is read as.
constexpr std::uint64_t DECIMAL_CEILING = std::uint64_t(1) << 32;

// The digit ch stands for in the given base, -1 when it is none.
int DigitValue(QChar ch, int nBase)
{
    if (ch.unicode() > 0x7F)
        return -1;
    const char16_t lower = ch.toLower().unicode();
    const int nDigit = ch.isDigit()                       ? ch.digitValue()
        : (nBase == 16 && lower >= u'a' && lower <= u'f') ? lower - u'a' + 10
                                                          : -1;
    return nDigit < nBase ? nDigit : -1;
}

// Value of leading digits in the given base; stops at the first other
// character. Wraps like the 32-bit conversion colours were written for.
std::uint32_t WrappedDigits(QStringView text, int nBase)
{
    std::uint32_t nValue = 0;
    for (const QChar ch : text) {
        const int nDigit = DigitValue(ch, nBase);
        if (nDigit < 0)
            break;
        nValue = nValue * std::uint32_t(nBase) + std::uint32_t(nDigit);
    }
    return nValue;
}

// Value of leading decimal digits, held at DECIMAL_CEILING once it gets
// there.
std::uint64_t SaturatedDecimalDigits(QStringView text)
{
    std::uint64_t nValue = 0;
    for (const QChar ch : text) {
        const int nDigit = DigitValue(ch, 10);
        if (nDigit < 0)
            break;
        nValue = std::min(nValue * 10 + std::uint64_t(nDigit), DECIMAL_CEILING);
    }
    return nValue;
}

int ToCoordinate(const QString& strField)
{
    return std::clamp(ToInt(strField), -MAX_COORDINATE, MAX_COORDINATE);
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
    const auto nMagnitude = qint64(SaturatedDecimalDigits(text));
    return int(std::clamp<qint64>(bNegative ? -nMagnitude : nMagnitude, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

QRect ParseRect(QString& strValue)
{
    const int nLeft = ToCoordinate(NextField(strValue));
    const int nTop = ToCoordinate(NextField(strValue));
    const int nRight = ToCoordinate(NextField(strValue));
    const int nBottom = ToCoordinate(NextField(strValue));
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
        nValue = WrappedDigits(text.mid(2), 16);
    else
        nValue = WrappedDigits(text, 10);
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
    // One reading of the section, then one lookup per key: reading the file
    // for every key would take time that grows with the square of the keys.
    const QList<CIniFile::CEntry> section = ini.GetSection(strSection);
    QHash<QString, QString> valuesByKey;
    // The first of two lines with one key wins.
    for (auto it = section.crbegin(); it != section.crend(); ++it)
        valuesByKey.insert(it->strKey.toLower(), it->strValue.left(CIniFile::MAX_VALUE_CHARS));
    QStringList arrKeys;
    ini.GetKeyNames(strSection, arrKeys);
    QList<CControlEntry> entries;
    for (int i = 0; i < arrKeys.size(); ++i) {
        const QString strValue = valuesByKey.value(QString::number(i + 1));
        if (!strValue.isEmpty())
            entries.append({ i, strValue });
    }
    return entries;
}

} // namespace SkinFields
