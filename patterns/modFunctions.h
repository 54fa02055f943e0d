#pragma once

#include <cstdint>

// The routines the pattern windows share.
namespace modFunctions {
// Blocks the calling thread for at least Seconds without running the event loop: nothing is
// repainted and no input is handled meanwhile.
void Wait(const float &Seconds);
// Twips to pixels along X, at the screen's current twips per pixel; ties round to even.
int16_t TwipsToPixelsX(const float &Twips);
int16_t PixelsToTwipsX(const float &Pixels);
} // namespace modFunctions
