#pragma once

#include <QRect>
#include <QSize>

// Sizes no screen needs. A skin that asks for more is mistaken or hostile
// (one 12000x12000 button took gigabytes and many seconds to make), so the
// window leaves such an entry out and skintool check reports it.
namespace SkinLimits {

// The longest side of a control, an icon or the notifier's page.
inline constexpr int MAX_CONTROL_SIDE = 8192;
// A window (its background and the recorder's rectangle) may be this many
// times as large as the primary screen.
inline constexpr int WINDOW_SCREENS = 2;

// Whether a control may be made at rc; inside-out rectangles are empty
// controls and fit.
bool ControlFits(const QRect& rc);

// The largest window a skin may ask for: WINDOW_SCREENS times the primary
// screen's size, or MAX_CONTROL_SIDE a side where there is no screen (a
// program without a GUI application, such as skintool).
QSize MaxWindowSize();
bool WindowFits(const QSize& size);

} // namespace SkinLimits
