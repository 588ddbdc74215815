#pragma once

#include "controls/SkinButton.h"

// A check box drawn from a skin strip: a click inside toggles it, then the
// skin parent hears of it. A checked box never highlights.
class CSkinCheck : public CSkinButton
{
    Q_OBJECT

public:
    using CSkinButton::CSkinButton;

protected:
    void OnClickInside() override;
    bool CanStartHover() const override;
};
