#pragma once

#include <QList>
#include <QString>

class CSkinListBox;

// The recordings made since the program started, newest first, for the
// skin's "Recordings" list. Like the settings, the list lasts until the
// program ends.
class CRecentRecordings
{
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

    // Title (or file name), duration and size; a file deleted since shows
    // as missing.
    static QString RowText(const CEntry& entry);
    void ShowIn(CSkinListBox& list) const;

private:
    QList<CEntry> m_arrEntries;
};
