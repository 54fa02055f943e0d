#include "patterns/frmDiagonalLines.h"

#include "platform/Convert.h"
#include "platform/Screen.h"

namespace {
constexpr int PixelsPerStep = 3;

// 32-bit, so 4K to 8K screens are covered whole; the twips per pixel are read at every step.
int32_t stepX(int32_t x)
{
    return Convert::toInt32(double(PixelsPerStep * Screen::TwipsPerPixelX() + float(x)));
}

int32_t stepY(int32_t y)
{
    return Convert::toInt32(double(PixelsPerStep * Screen::TwipsPerPixelY() + float(y)));
}
} // namespace

void frmDiagonalLines::drawPattern()
{
    // ForeColor stays the form's default, the button-text colour: black in a pattern.
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    const auto line = [&] { Line(float(x1), float(y1), float(x2), float(y2)); };

    // Each phase tests after its body, so each draws at least one line.
    // Upper-left triangle: from the top edge to the left edge.
    for (;;) {
        line();
        x1 = stepX(x1);
        y2 = stepY(y2);
        const bool pastRight = float(x1) >= Width();
        const bool pastBottom = float(y2) >= Height();
        if (pastRight || pastBottom)
            break;
    }
    // The middle band: both ends move right.
    do {
        line();
        x1 = stepX(x1);
        x2 = stepX(x2);
    } while (!(float(x1) >= Width()));
    // Lower-right triangle: the upper end moves down the right edge, the lower end right.
    do {
        line();
        x2 = stepX(x2);
        y1 = stepY(y1);
    } while (!(float(y1) >= Height()));
}
