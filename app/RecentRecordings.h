#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class CSkinListBox;

// The recordings made since the program started, newest first, for the
// skin's "Recordings" list. Like the settings, the list lasts until the
// program ends.
class CRecentRecordings
{
    Q_DECLARE_TR_FUNCTIONS(CRecentRecordings)

public:
    struct CEntry
    {
        QString strPath;
        QString strTitle; // empty: the file name stands for it
        double dSeconds = 0;
        qint64 nBytes = 0;
    };

    void Add(const CEntry& entry);
    const QList<CEntry>& Entries() const { return m_arrEntries; }
    // The entry a list row shows; null for a row past the list.
    const CEntry* At(int nRow) const;

    // A row shows the title (or file name) on its first line and the length
    // and size on its second, where our skins' narrow lists have room for
    // them; a file deleted since shows as missing. The tooltip adds the full
    // path.
    static QString RowText(const CEntry& entry);
    static QString RowDetails(const CEntry& entry);
    static QString RowToolTip(const CEntry& entry);
    // A size in three digits ("1.2 GiB", "12.3 MiB", "123 MiB").
    static QString ShortSize(qint64 nBytes);
    void ShowIn(CSkinListBox& list) const;

private:
    QList<CEntry> m_arrEntries;
};
