#include "recorder/EncordaList.h"

#include <utility>

CEncordaList::CEncordaList(const QStringList& arrNames, CPropertyPage showPropertyPage)
    : m_arrNames(arrNames)
    , m_showPropertyPage(std::move(showPropertyPage))
{
}

short CEncordaList::Count() const
{
    return static_cast<short>(m_arrNames.size());
}

short CEncordaList::FindIndex(const QString& strName) const
{
    return static_cast<short>(m_arrNames.indexOf(strName));
}

QString CEncordaList::Name(short nIndex) const
{
    return m_arrNames.value(nIndex);
}

QString CEncordaList::FormatName(short nIndex) const
{
    return Name(nIndex);
}

bool CEncordaList::ShowPropertyPage(short nIndex) const
{
    if (!m_showPropertyPage || nIndex < 0 || nIndex >= m_arrNames.size())
        return false;
    return m_showPropertyPage(nIndex);
}
