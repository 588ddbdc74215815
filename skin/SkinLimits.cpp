#include "skin/SkinLimits.h"

#include <QGuiApplication>
#include <QScreen>

namespace SkinLimits {

bool ControlFits(const QRect& rc)
{
    return rc.width() <= MAX_CONTROL_SIDE && rc.height() <= MAX_CONTROL_SIDE;
}

QSize MaxWindowSize()
{
    const QScreen* pScreen = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
        ? QGuiApplication::primaryScreen()
        : nullptr;
    if (pScreen == nullptr)
        return QSize(MAX_CONTROL_SIDE, MAX_CONTROL_SIDE);
    return pScreen->size() * WINDOW_SCREENS;
}

bool WindowFits(const QSize& size)
{
    const QSize sizeMax = MaxWindowSize();
    return size.width() <= sizeMax.width() && size.height() <= sizeMax.height();
}

} // namespace SkinLimits
