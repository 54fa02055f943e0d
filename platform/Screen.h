#pragma once

#include <optional>

class QScreen;

// The screen object of the layouts: twips per device pixel and the width of the screen in twips.
// Pattern windows work in device pixels, so a one-twip-per-pixel rule holds whatever the desktop scale.
namespace Screen {
float TwipsPerPixelX();
float TwipsPerPixelY();
// Width in twips of the screen that holds the main window (where the patterns open).
float Width();

// The monitor patterns open on: the one holding the main window, else the primary one.
QScreen *target();
int deviceWidth(const QScreen *screen);
int deviceHeight(const QScreen *screen);

// Tests give the screen object other values; nullopt restores what the desktop reports.
void setTwipsPerPixel(std::optional<float> x, std::optional<float> y);
void setWidthOverride(std::optional<float> widthTwips);

inline constexpr float DefaultTwipsPerPixel = 15.0f;
} // namespace Screen
