#pragma once

#include <optional>

class QScreen;
class QWidget;

// The screen object of the layouts: twips per device pixel and the width of a monitor in twips.
// Pattern windows work in device pixels, so a one-twip-per-pixel rule holds whatever the desktop scale.
namespace Screen {
float TwipsPerPixelX();
float TwipsPerPixelY();
// Width in twips of the monitor, in its device pixels.
float Width(const QScreen *screen);

// The monitor that holds a window; the primary one for no window.
QScreen *holding(const QWidget *window);

// Tests give the screen object other values; nullopt restores what the desktop reports.
void setTwipsPerPixel(std::optional<float> x, std::optional<float> y);
void setWidthOverride(std::optional<float> widthTwips);

inline constexpr float DefaultTwipsPerPixel = 15.0f;
} // namespace Screen
