#include "patterns/frmVerticalLines.h"

#include "platform/Convert.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"

void frmVerticalLines::drawPattern()
{
    setForeColor(OleColor::Black);
    // 32-bit, so windows wider than 2184 pixels are covered to their right edge.
    const int32_t W = Convert::toInt32(Width());
    const float tpp = Screen::TwipsPerPixelX();
    const int32_t S = Convert::toInt32(double(tpp + tpp));
    // x = 1 puts each line just inside an even pixel column, clear of the boundary to its left.
    for (int32_t x = 1; S >= 0 ? x <= W : x >= W; x = Convert::add32(x, S)) {
        const float H = Height();
        Line(float(x), 0.0f, float(x), H);
    }
}
