#include "patterns/frmGreysFS.h"

#include "patterns/modFunctions.h"
#include "platform/Convert.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"

namespace {
constexpr int32_t LastLevel = 255;
} // namespace

void frmGreysFS::drawPattern()
{
    // 32-bit throughout, so screens wider than 2184 pixels get their whole ramp.
    const int32_t h = Convert::toInt32(Height());
    int32_t x = 0;
    int32_t g = int32_t(OleColor::rgb(0, 0, 0));
    const int32_t n = Convert::toInt32(double(modFunctions::TwipsToPixelsX(Screen::Width(screen()))) / 255.0);

    for (;;) {
        // Only tested between levels: a level that starts inside the window is drawn whole.
        const bool inside = float(x) <= Width();
        if (!(inside && g <= LastLevel))
            break;
        setForeColor(OleColor::rgb(g, g, g));
        for (int32_t i = 1; i <= n; i = Convert::add32(i, 1)) {
            Line(float(x), 0.0f, float(x), float(h));
            x = Convert::toInt32(double(float(x) + Screen::TwipsPerPixelX()));
        }
        g = Convert::add32(g, 1);
    }
}
