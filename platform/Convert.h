#pragma once

#include <cstdint>
#include <optional>

class QString;

// Conversions with the rounding the layouts depend on: nearest, ties to the even integer.
namespace Convert {
int16_t toInt16(double value);
// The widened form the pattern layouts use, so screens up to 8K fit; same rounding.
int32_t toInt32(double value);
// Rounded through memory: GCC 12's vectoriser can otherwise drop a float-to-double round trip and
// go on with the unrounded double, and the layouts depend on that rounding.
inline float toSingle(double value)
{
    volatile float single = static_cast<float>(value);
    return single;
}

int16_t add16(int16_t a, int16_t b);
int32_t add32(int32_t a, int32_t b);

// A stored text read as a number: leading and trailing blanks ignored; nothing if it is no number.
std::optional<double> parseNumber(const QString &text);
} // namespace Convert
