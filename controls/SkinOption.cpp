#include "controls/SkinOption.h"

#include "controls/SkinParent.h"

void CSkinOption::OnClickInside()
{
    SetChecked(true);
    SkinParent().OnOptionClicked(GetIndex());
}

bool CSkinOption::CanStartHover() const
{
    return !m_bChecked;
}
