#pragma once

#include <string>
#include <vector>

// A list of names as the recorder hands them out: devices, inputs, formats or
// compressors. Indexes are zero-based; out-of-range reads give empty text.
class CNameList
{
public:
    CNameList() = default;
    explicit CNameList(std::vector<std::string> names)
        : m_names(std::move(names))
    {
    }

    short Count() const { return static_cast<short>(m_names.size()); }

    // Exact, case-sensitive match; -1 when absent.
    short FindIndex(const std::string& strName) const
    {
        for (std::size_t nIndex = 0; nIndex < m_names.size(); ++nIndex) {
            if (m_names[nIndex] == strName)
                return static_cast<short>(nIndex);
        }
        return -1;
    }

    std::string Name(short nIndex) const
    {
        return nIndex >= 0 && static_cast<std::size_t>(nIndex) < m_names.size() ? m_names[nIndex] : std::string();
    }

    // All entries at once, for filling a list box.
    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::vector<std::string> m_names;
};
