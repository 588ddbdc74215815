#include "controls/SkinComboButton.h"

CSkinComboButton::CSkinComboButton(QWidget* pParent, ISkinParent& skinParent)
    : CSkinButton(pParent, skinParent)
{
    SetName(NAME);
}

void CSkinComboButton::OnClickInside()
{
    emit DropDownRequested();
}
