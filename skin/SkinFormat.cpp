#include "skin/SkinFormat.h"

#include <QtGlobal>

#include "skin/IniFile.h"
#include "skin/SkinFields.h"

namespace SkinFormat {

namespace {

constexpr int RECT_FIELDS = 4;

void RequireKind(const CSectionFormat& format, int nField, EField eKind)
{
    if (nField >= format.FieldCount() || format.arrFields[std::size_t(nField)] != eKind)
        qFatal("%s: field %d is not of the kind the program reads or writes there", format.pszSection, nField + 1);
}

} // namespace

QList<int> CSectionFormat::FieldsOf(EField eKind) const
{
    QList<int> arrPositions;
    for (int i = 0; i < FieldCount(); ++i) {
        if (arrFields[std::size_t(i)] == eKind)
            arrPositions.append(i);
    }
    return arrPositions;
}

QString SingleValue(const CIniFile& ini, const CSectionFormat& format)
{
    return ini.GetString(format.Section(), format.Key(), QString());
}

QStringList CutFields(const CSectionFormat& format, QString strValue)
{
    QStringList arrFields;
    for (int i = 0; i < format.FieldCount(); ++i)
        arrFields.append(SkinFields::NextField(strValue));
    return arrFields;
}

CEntryReader::CEntryReader(const CSectionFormat& format, const QString& strValue)
    : m_format(format)
    , m_strRest(strValue)
{
}

QString CEntryReader::Take(EField eKind)
{
    RequireKind(m_format, m_nNext, eKind);
    ++m_nNext;
    return SkinFields::NextField(m_strRest);
}

QRect CEntryReader::TakeRect()
{
    for (int i = 0; i < RECT_FIELDS; ++i)
        RequireKind(m_format, m_nNext + i, EField::eCoordinate);
    m_nNext += RECT_FIELDS;
    return SkinFields::ParseRect(m_strRest);
}

QRect RectOf(const CSectionFormat& format, const QString& strValue)
{
    CEntryReader entry(format, strValue);
    while (entry.NextKind() != EField::eCoordinate)
        entry.Take(entry.NextKind());
    return entry.TakeRect();
}

EField CEntryReader::NextKind() const
{
    if (m_nNext >= m_format.FieldCount())
        qFatal("%s: read past its %d fields", m_format.pszSection, m_format.FieldCount());
    return m_format.arrFields[std::size_t(m_nNext)];
}

CEntryWriter::CEntryWriter(const CSectionFormat& format)
    : m_format(format)
{
}

CEntryWriter& CEntryWriter::Put(EField eKind, const QString& strField)
{
    RequireKind(m_format, int(m_arrFields.size()), eKind);
    m_arrFields.append(strField);
    return *this;
}

CEntryWriter& CEntryWriter::PutRect(const QRect& rc)
{
    return Put(EField::eCoordinate, QString::number(rc.left()))
        .Put(EField::eCoordinate, QString::number(rc.top()))
        .Put(EField::eCoordinate, QString::number(rc.left() + rc.width()))
        .Put(EField::eCoordinate, QString::number(rc.top() + rc.height()));
}

QString CEntryWriter::Value() const
{
    if (m_arrFields.size() != m_format.FieldCount())
        qFatal("%s: %d of its %d fields written", m_format.pszSection, int(m_arrFields.size()), m_format.FieldCount());
    return m_arrFields.join(u',');
}

} // namespace SkinFormat
