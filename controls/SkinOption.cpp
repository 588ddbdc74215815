#include "controls/SkinOption.h"

#include "controls/SkinParent.h"

void CSkinOption::OnClickInside()
{
    m_bChecked = true;
    update();
    SkinParent().OnOptionClicked(GetIndex());
}

bool CSkinOption::CanStartHover() const
{
    return !m_bChecked;
}
