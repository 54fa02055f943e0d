#include "platform/Convert.h"

#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QString>

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Longer than any number a person writes: every shorter text keeps Qt's own conversion.
constexpr qsizetype LongNumberText = 1000;

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
    const QString trimmed = text.trimmed();
    // Qt's conversion takes seconds on a text of millions of digits (a broken settings file), so a
    // long text goes through the C library's, which reads the same C-locale numbers in linear time.
    if (trimmed.size() > LongNumberText) {
        QByteArray latin1 = trimmed.toLatin1();
        if (latin1.startsWith('+'))
            latin1.remove(0, 1);
        for (char c : std::as_const(latin1))
            if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E' || c == '+'))
                return std::nullopt;
        double value = 0;
        const char *end = latin1.constData() + latin1.size();
        const auto [stop, error] = std::from_chars(latin1.constData(), end, value);
        if (error != std::errc() || stop != end || !std::isfinite(value))
            return std::nullopt;
        return value;
    }
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
