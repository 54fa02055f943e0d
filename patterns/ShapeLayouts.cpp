#include "patterns/ShapeLayouts.h"

#include "platform/Convert.h"

namespace {
constexpr double InsetDivisor = 20.0;
} // namespace

ShapeLayouts::NestedInset ShapeLayouts::nestedInset(float formWidth, float formHeight)
{
    NestedInset l;
    l.H = Convert::toInt32(formHeight);
    l.W = Convert::toInt32(formWidth);
    l.dx = Convert::toSingle(l.W / InsetDivisor);
    l.dy = Convert::toSingle(l.H / InsetDivisor);
    for (int k = 0; k < int(l.steps.size()); ++k) {
        Bounds &b = l.steps[k];
        b.Top = Convert::toSingle(k * double(l.dy));
        b.Left = Convert::toSingle(k * double(l.dx));
        b.Width = Convert::toSingle(l.W - 2 * k * double(l.dx));
        b.Height = Convert::toSingle(l.H - 2 * k * double(l.dy));
    }
    return l;
}

ShapeLayouts::ColorBars ShapeLayouts::colorBars(float formWidth, float formHeight)
{
    ColorBars l;
    const int32_t w = l.w = Convert::toInt32(formWidth);
    const int32_t h = l.h = Convert::toInt32(formHeight);
    const double third = w / 3.0;

    l.Red = { 0, 0, Convert::toSingle(third), Convert::toSingle(h) };
    l.Green = { Convert::toSingle(third), 0, Convert::toSingle(third), Convert::toSingle(h) };
    l.Blue = { Convert::toSingle(third * 2), 0, Convert::toSingle(third), Convert::toSingle(h) };

    l.Black.Left = Convert::toSingle(w / 2.0);
    l.White.Left = 0;
    l.Black.Height = Convert::toSingle(h / 5.0);
    l.White.Height = Convert::toSingle(h / 5.0);
    // Read back from the controls: what a control holds is the single-precision value it was given,
    // and the difference of a single and an integer is itself a single.
    const float b = l.Black.Height;
    const float hMinusB = float(float(h) - b);
    l.Black.Top = hMinusB;
    l.White.Top = float(float(h) - l.White.Height);
    l.Black.Width = Convert::toSingle(w / 2.0);
    l.White.Width = Convert::toSingle(w / 2.0);

    const float blockTop = Convert::toSingle(double(hMinusB) - h / 2.0);
    l.MagentaLeft = { 0, blockTop, Convert::toSingle(w / 10.0), Convert::toSingle(h / 3.0) };
    l.MagentaRight = { Convert::toSingle(w - w / 10.0), blockTop, Convert::toSingle(w / 10.0),
        Convert::toSingle(h / 3.0) };

    l.Yellow.Width = Convert::toSingle(w / 6.0);
    const float y = l.Yellow.Width;
    l.Yellow.Left = Convert::toSingle(third - double(y) / 2);
    l.Yellow.Height = Convert::toSingle(h / 3.0);
    l.Yellow.Top = blockTop;
    l.Cyan = { Convert::toSingle(third * 2 - double(y) / 2), blockTop, Convert::toSingle(w / 6.0),
        Convert::toSingle(h / 3.0) };
    return l;
}

std::array<ShapeLayouts::LineEnds, 6> ShapeLayouts::crosshairs(
    float formWidth, float formHeight, int16_t pixelInTwips)
{
    const float W = formWidth;
    const float H = formHeight;
    // One pixel in from the far edges, so that the frame lies on the outermost pixel rows and columns.
    const auto lessPixel
        = [pixelInTwips](float size) { return Convert::toSingle(double(size) - pixelInTwips); };
    std::array<LineEnds, 6> lines;
    lines[0].X1 = 0;
    lines[0].Y1 = 0;
    lines[0].X2 = lessPixel(W);
    lines[0].Y2 = 0;
    lines[1].X1 = lessPixel(W);
    lines[1].Y1 = 0;
    lines[1].X2 = lessPixel(W);
    lines[1].Y2 = lessPixel(H);
    lines[2].X1 = lessPixel(W);
    lines[2].Y1 = lessPixel(H);
    lines[2].X2 = 0;
    lines[2].Y2 = lessPixel(H);
    lines[3].X1 = 0;
    lines[3].Y1 = lessPixel(H);
    lines[3].X2 = 0;
    lines[3].Y2 = 0;
    // The centre lines run from edge to edge, through the half of the size as read, unrounded.
    lines[4] = { W / 2, 0, W / 2, H };
    lines[5] = { 0, H / 2, W, H / 2 };
    return lines;
}
