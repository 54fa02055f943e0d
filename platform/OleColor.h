#pragma once

#include <QRgb>
#include <QtGlobal>

// Colours as the layouts give them: 0x00BBGGRR, red in the low byte; 0x80000000 + n names system colour n.
namespace OleColor {
inline constexpr quint32 ButtonFace = 0x8000000F;
inline constexpr quint32 WindowBackground = 0x80000005;
inline constexpr quint32 WindowText = 0x80000008;
inline constexpr quint32 ButtonText = 0x80000012;
inline constexpr quint32 White = 0x00FFFFFF;
inline constexpr quint32 Black = 0x00000000;

constexpr quint32 rgb(int red, int green, int blue)
{
    return quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16;
}
inline bool isSystemColor(quint32 value)
{
    return value & 0x80000000u;
}

// Test patterns resolve system colours in the standard scheme, whatever the desktop theme:
// a pattern must look the same in dark mode.
QRgb toStandardRgb(quint32 value);
} // namespace OleColor
