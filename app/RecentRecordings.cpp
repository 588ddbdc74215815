#include "app/RecentRecordings.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "controls/SkinListBox.h"
#include "skin/SkinDialog.h"

namespace {

// Sizes on a row keep three digits ("1.2 GiB", "12.3 MiB", "123 MiB"), which
// keeps the line within the narrowest of our lists; the tooltip tells more.
constexpr int SIZE_STEP = 1024;
constexpr double SIZE_WITHOUT_DECIMALS = 100;

} // namespace

QString CRecentRecordings::ShortSize(qint64 nBytes)
{
    double dValue = static_cast<double>(nBytes);
    while (dValue >= SIZE_STEP)
        dValue /= SIZE_STEP;
    return QLocale::system().formattedDataSize(nBytes, dValue >= SIZE_WITHOUT_DECIMALS ? 0 : 1);
}

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
    return entry.strTitle.isEmpty() ? QFileInfo(entry.strPath).fileName() : entry.strTitle;
}

QString CRecentRecordings::RowDetails(const CEntry& entry)
{
    if (!QFileInfo::exists(entry.strPath))
        return tr("missing");
    return QStringLiteral("%1  %2").arg(CSkinDialog::FormatTime(static_cast<int>(entry.dSeconds)),
                                        ShortSize(entry.nBytes));
}

QString CRecentRecordings::RowToolTip(const CEntry& entry)
{
    QStringList arrLines;
    if (!entry.strTitle.isEmpty())
        arrLines.append(entry.strTitle);
    arrLines.append(QDir::toNativeSeparators(entry.strPath));
    if (QFileInfo::exists(entry.strPath)) {
        arrLines.append(tr("Length %1, %2 (%3 bytes)")
                            .arg(CSkinDialog::FormatTime(static_cast<int>(entry.dSeconds)),
                                 QLocale::system().formattedDataSize(entry.nBytes),
                                 QLocale::system().toString(entry.nBytes)));
    } else {
        arrLines.append(tr("The file is no longer there."));
    }
    return arrLines.join(u'\n');
}

void CRecentRecordings::ShowIn(CSkinListBox& list) const
{
    list.DeleteAllItems();
    list.SetDetailsShown(true);
    for (const CEntry& entry : m_arrEntries) {
        list.AddItem(RowText(entry));
        const int nRow = list.GetItemCount() - 1;
        list.SetItemDetails(nRow, RowDetails(entry));
        list.SetItemToolTip(nRow, RowToolTip(entry));
    }
}
