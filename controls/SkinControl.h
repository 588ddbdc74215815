#pragma once

#include <QRect>

#include "controls/SkinIdentity.h"

// A widget of kind TWidget that the window knows by its skin entry and
// places by the entry's rectangle.
template <class TWidget>
class CSkinControl : public TWidget, public CSkinIdentity
{
public:
    using TWidget::TWidget;

    // Places the control at rc (parent client coordinates) and shows it.
    void Create(const QRect& rc)
    {
        this->setGeometry(rc);
        this->show();
    }
};
