#include "app/RecentRecordings.h"

#include <QFileInfo>
#include <QLocale>

#include "controls/SkinListBox.h"
#include "skin/SkinDialog.h"

void CRecentRecordings::Add(const CEntry& entry)
{
    m_arrEntries.prepend(entry);
}

const CRecentRecordings::CEntry* CRecentRecordings::At(int nRow) const
{
    return nRow >= 0 && nRow < m_arrEntries.size() ? &m_arrEntries[nRow] : nullptr;
}

QString CRecentRecordings::RowText(const CEntry& entry)
{
    const QString strName = entry.strTitle.isEmpty() ? QFileInfo(entry.strPath).fileName() : entry.strTitle;
    if (!QFileInfo::exists(entry.strPath))
        return QStringLiteral("%1  (missing)").arg(strName);
    return QStringLiteral("%1  %2  %3")
        .arg(strName, CSkinDialog::FormatTime(static_cast<int>(entry.dSeconds)),
             QLocale::system().formattedDataSize(entry.nBytes));
}

void CRecentRecordings::ShowIn(CSkinListBox& list) const
{
    list.DeleteAllItems();
    for (const CEntry& entry : m_arrEntries)
        list.AddItem(RowText(entry));
}
