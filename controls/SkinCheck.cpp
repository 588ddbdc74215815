#include "controls/SkinCheck.h"

#include "controls/SkinParent.h"

void CSkinCheck::OnClickInside()
{
    m_bChecked = !m_bChecked;
    update();
    SkinParent().OnCheckClicked(GetIndex());
}

bool CSkinCheck::CanStartHover() const
{
    return !m_bChecked;
}
