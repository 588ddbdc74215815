#pragma once

#include <QDir>
#include <QStringList>

#include "controls/SkinButton.h"
#include "skin/SkinDialog.h"
#include "skin/SkinFormat.h"

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
    // What the hooks saw, in order: the buttons still there as a skin goes;
    // the buttons made, the background the description names and whether
    // the skin's folder is still there as it has come.
    QStringList m_arrHooks;

protected:
    void OnSkinCommand(const QString& strName) override { m_arrCommands.append(strName); }
    void OnSkinOptionSelected(const QString& strName) override { m_arrOptionsSelected.append(strName); }
    void OnSkinMouseMove(const QString&, int, int) override { ++m_nMouseMoves; }
    void OnSkinReleasing() override { m_arrHooks.append("releasing " + ButtonNames()); }
    void OnSkinLoaded(const CIniFile& ini, const QString& strFolder) override
    {
        m_arrHooks.append(QStringLiteral("loaded %1 on %2 in %3")
                              .arg(ButtonNames(), SkinFormat::SingleValue(ini, SkinFormat::BACKGROUND),
                                   QDir(strFolder).exists() ? "its folder" : "no folder"));
    }
    void OnSkinChanged() override { m_arrHooks.append("changed"); }

private:
    QString ButtonNames() const
    {
        QStringList arrNames;
        for (const CSkinButton* pButton : m_buttons)
            arrNames.append(pButton->GetName());
        return arrNames.join(u',');
    }
};
