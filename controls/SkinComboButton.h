#pragma once

#include "controls/SkinButton.h"

// The drop button of a skinned combo box. Its colour key stays black unless
// told otherwise. A click inside emits DropDownRequested; the combo box that
// creates it connects that to the window's first combo box, whose list the
// button opens and closes.
class CSkinComboButton : public CSkinButton
{
    Q_OBJECT

public:
    static inline const QString NAME = QStringLiteral("COMBO_BTN");

    CSkinComboButton(QWidget* pParent, ISkinParent& skinParent);

signals:
    void DropDownRequested();

protected:
    void OnClickInside() override;
};
