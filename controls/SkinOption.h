#pragma once

#include "controls/SkinButton.h"

// An option drawn from a skin strip: a click inside checks it (never
// unchecks), then the skin parent, which unchecks the other options of its
// group, hears of it. A checked option never highlights.
class CSkinOption : public CSkinButton
{
    Q_OBJECT

public:
    using CSkinButton::CSkinButton;

protected:
    void OnClickInside() override;
    bool CanStartHover() const override;
};
