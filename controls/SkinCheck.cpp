#include "controls/SkinCheck.h"

#include "controls/SkinParent.h"

void CSkinCheck::OnClickInside()
{
    SetChecked(!m_bChecked);
    SkinParent().OnCheckClicked(GetIndex());
}

bool CSkinCheck::CanStartHover() const
{
    return !m_bChecked;
}
