#pragma once

#include <array>
#include <cstdint>

// The layouts of the shape-built patterns, as pure functions of the window's size in twips. Each
// returns what its form hands to its controls: single-precision twips, already rounded as a control
// stores them. Sizes that the layouts convert to integers use 32 bits, so screens up to 8K fit; a
// size out of that range raises the overflow error before anything is computed.
namespace ShapeLayouts {
struct Bounds
{
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

// Ten shapes, each inset from the one before by a twentieth of the size on every side.
struct NestedInset
{
    int32_t W = 0;
    int32_t H = 0;
    float dx = 0;
    float dy = 0;
    std::array<Bounds, 10> steps; // layout step k, from the full window inwards
};
NestedInset nestedInset(float formWidth, float formHeight);

struct ColorBars
{
    int32_t w = 0;
    int32_t h = 0;
    Bounds Red, Green, Blue, White, Black, MagentaLeft, MagentaRight, Yellow, Cyan;
};
ColorBars colorBars(float formWidth, float formHeight);

struct LineEnds
{
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
};
// pixelInTwips: one pixel in twips.
std::array<LineEnds, 6> crosshairs(float formWidth, float formHeight, int16_t pixelInTwips);
} // namespace ShapeLayouts
