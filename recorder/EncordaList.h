#pragma once

#include <functional>

#include <QString>
#include <QStringList>

// One name list the recorder hands out: its devices, inputs, formats or
// compressors, as a snapshot taken when the list was fetched. Indexes are
// zero-based. UI thread only.
class CEncordaList
{
public:
    // Shows the settings page of the entry at an index; false when it has none.
    using CPropertyPage = std::function<bool(short nIndex)>;

    CEncordaList() = default;
    explicit CEncordaList(const QStringList& arrNames, CPropertyPage showPropertyPage = {});

    short Count() const;
    // Exact, case-sensitive match; -1 when absent.
    short FindIndex(const QString& strName) const;
    // Empty text for an index outside the list.
    QString Name(short nIndex) const;
    // The video format lists are read under this name.
    QString FormatName(short nIndex) const;
    // Only the video compressor list has pages; false for every other list,
    // for an index outside the list and for an entry without own settings.
    bool ShowPropertyPage(short nIndex) const;

    const QStringList& Names() const { return m_arrNames; }

private:
    QStringList m_arrNames;
    CPropertyPage m_showPropertyPage;
};
