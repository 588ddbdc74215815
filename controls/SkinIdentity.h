#pragma once

#include <QString>

// What the window knows a skinned control by: the name of its skin entry and
// its index (entry number minus one), which the control reports back to the
// window on a click or a move.
class CSkinIdentity
{
public:
    void SetIndex(int nIndex) { m_nIndex = nIndex; }
    int GetIndex() const { return m_nIndex; }
    void SetName(const QString& strName) { m_strName = strName; }
    const QString& GetName() const { return m_strName; }

protected:
    // Only a part of a control, never deleted as itself.
    ~CSkinIdentity() = default;

    QString m_strName;
    int m_nIndex = 0;
};
