#include "patterns/frmVerticalLines.h"

#include "patterns/modFunctions.h"
#include "patterns/render/PatternCanvas.h"
#include "platform/Convert.h"
#include "platform/Screen.h"

namespace {
constexpr float SettleSeconds = 0.1f;
constexpr quint32 Black = 0x00000000;
} // namespace

frmVerticalLines::frmVerticalLines()
{
    setBackColor(0x00FFFFFF);
}

void frmVerticalLines::Form_Resize()
{
    modFunctions::Wait(SettleSeconds);
    PatternCanvas canvas(*this);
    drawPattern(canvas);
}

void frmVerticalLines::drawPattern(LineCanvas &canvas)
{
    canvas.setForeColor(Black);
    // 32-bit, so windows wider than 2184 pixels are covered to their right edge.
    const int32_t W = Convert::toInt32(canvas.Width());
    const float tpp = Screen::TwipsPerPixelX();
    const int32_t S = Convert::toInt32(double(tpp + tpp));
    // x = 1 puts each line just inside an even pixel column, clear of the boundary to its left.
    for (int32_t x = 1; S >= 0 ? x <= W : x >= W; x = Convert::add32(x, S)) {
        const float H = canvas.Height();
        canvas.Line(float(x), 0.0f, float(x), H);
    }
}
