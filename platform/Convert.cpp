#include "platform/Convert.h"

#include "platform/RuntimeError.h"

#include <QString>

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

double roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode; make sure it is the default one. Setting the mode
    // costs more than the rounding, so it is set only when it is not the default already.
    const int saved = std::fegetround();
    if (saved == FE_TONEAREST)
        return std::nearbyint(value);
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(saved);
    return r;
}

template <typename T> T toInteger(double value)
{
    if (std::isnan(value))
        throw RuntimeError::overflow();
    const double r = roundHalfEven(value);
    if (r < static_cast<double>(std::numeric_limits<T>::min())
        || r > static_cast<double>(std::numeric_limits<T>::max()))
        throw RuntimeError::overflow();
    return static_cast<T>(r);
}

template <typename T> T checkedAdd(T a, T b)
{
    const int64_t sum = int64_t(a) + int64_t(b);
    if (sum < std::numeric_limits<T>::min() || sum > std::numeric_limits<T>::max())
        throw RuntimeError::overflow();
    return static_cast<T>(sum);
}

} // namespace

int16_t Convert::toInt16(double value)
{
    return toInteger<int16_t>(value);
}

int32_t Convert::toInt32(double value)
{
    return toInteger<int32_t>(value);
}

int16_t Convert::add16(int16_t a, int16_t b)
{
    return checkedAdd(a, b);
}

int32_t Convert::add32(int32_t a, int32_t b)
{
    return checkedAdd(a, b);
}

std::optional<double> Convert::parseNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
