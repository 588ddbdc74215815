#pragma once

#include <QStringList>

#include "skin/SkinDialog.h"

// Records what the skinned window reports to its owner.
class CSkinTestDialog : public CSkinDialog
{
    Q_OBJECT

public:
    using CSkinDialog::CSkinDialog;

    QList<CSkinButton*> Buttons() const { return m_buttons; }
    QList<CSkinOption*> Options() const { return m_options; }
    QList<CSkinCheck*> Checks() const { return m_checks; }

    QStringList m_arrCommands;
    QStringList m_arrOptionsSelected;
    int m_nMouseMoves = 0;

protected:
    void OnSkinCommand(const QString& strName) override { m_arrCommands.append(strName); }
    void OnSkinOptionSelected(const QString& strName) override { m_arrOptionsSelected.append(strName); }
    void OnSkinMouseMove(const QString&, int, int) override { ++m_nMouseMoves; }
};
