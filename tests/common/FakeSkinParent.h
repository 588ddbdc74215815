#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QStringList>

#include "controls/SkinParent.h"

// Records what skinned controls report to their window.
class CFakeSkinParent : public ISkinParent
{
public:
    const QImage& BackgroundCopy() const override { return m_imgBackground; }
    void OnButtonClicked(int nIndex) override { m_arrButtons.append(nIndex); }
    void OnOptionClicked(int nIndex) override { m_arrOptions.append(nIndex); }
    CSkinCheck* OnCheckClicked(int nIndex) override
    {
        m_arrChecks.append(nIndex);
        return nullptr;
    }
    void OnSliderChanged(int nIndex, int nPos) override { m_arrSliders.append({nIndex, nPos}); }
    void OnTaskButton(const QString& strName) override { m_arrTaskButtons.append(strName); }
    CSkinComboBox* FirstComboBox() const override { return nullptr; }
    void SetDropDownOpen(bool bOpen) override { m_bDropDownOpen = bOpen; }

    QImage m_imgBackground;
    QList<int> m_arrButtons;
    QList<int> m_arrOptions;
    QList<int> m_arrChecks;
    QList<QPair<int, int>> m_arrSliders;
    QStringList m_arrTaskButtons;
    bool m_bDropDownOpen = false;
};
