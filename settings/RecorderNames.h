#pragma once

#include <QStringList>

#include "recorder/EncordaList.h"

// The entries of one of the recorder's name lists, in the list's order.
inline QStringList ReadNames(const CEncordaList& list)
{
    QStringList arrNames;
    for (short nIndex = 0; nIndex < list.Count(); ++nIndex)
        arrNames.append(list.Name(nIndex));
    return arrNames;
}

// Video formats are read under their own name.
inline QStringList ReadFormatNames(const CEncordaList& list)
{
    QStringList arrNames;
    for (short nIndex = 0; nIndex < list.Count(); ++nIndex)
        arrNames.append(list.FormatName(nIndex));
    return arrNames;
}
