#include "patterns/render/DeviceGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {
int clampToInt(double v)
{
    if (!(v > double(INT_MIN / 2)))
        return INT_MIN / 2;
    if (v > double(INT_MAX / 2))
        return INT_MAX / 2;
    return int(v);
}

// Lines of one family, as the line patterns draw them: every segment vertical, or every one at 45 degrees
// from upper right to lower left (x + y constant). On each row such a segment lights one pixel, at the same
// index of a strip that the row sees through a window moved by one pixel per row (not moved at all for
// vertical lines). Rows that the same segments cover see the same strip, so the strip is built once and
// each row is copied from it.
enum class Family { Vertical, Falling };

struct Track
{
    long long index; // column, or x + y
    int lo; // first and last row it covers, stretched over rows where its pixel lies outside the image
    int hi;
    QRgb color;
};

bool familyOf(const std::vector<DeviceGrid::Segment> &segments, Family &family)
{
    bool vertical = true;
    bool falling = true;
    for (const DeviceGrid::Segment &s : segments) {
        const long long dx = (long long)s.x2 - s.x1;
        const long long dy = (long long)s.y2 - s.y1;
        vertical = vertical && dx == 0;
        falling = falling && dx == -dy;
        if (!vertical && !falling)
            return false;
    }
    family = vertical ? Family::Vertical : Family::Falling;
    return true;
}

// The rows of a segment that lie inside the image, as a track; false when none do.
bool trackOf(const DeviceGrid::Segment &s, Family family, int w, int h, Track &t)
{
    const long long top = std::min(s.y1, s.y2);
    const long long bottom = std::max(s.y1, s.y2);
    // Rows on which the segment's line crosses the image.
    long long first = 0;
    long long last = h - 1;
    if (family == Family::Vertical) {
        t.index = s.x1;
        if (s.x1 < 0 || s.x1 >= w)
            return false;
    } else { // column = index - row
        t.index = (long long)s.x1 + s.y1;
        first = std::max(first, t.index - (w - 1));
        last = std::min(last, t.index);
    }
    const long long lo = std::max(top, first);
    const long long hi = std::min(bottom, last);
    if (lo > hi)
        return false;
    // Where the segment runs on to the edge of the image, stretching it further changes no pixel, and
    // keeps it the same on every row of the image.
    t.lo = int(lo == first ? 0 : lo);
    t.hi = int(hi == last ? h - 1 : hi);
    t.color = s.color;
    return true;
}

// The whole image at once; false when the segments are not of one family.
bool drawFamily(QImage &image, const std::vector<DeviceGrid::Segment> &segments, QRgb background)
{
    Family family;
    if (!familyOf(segments, family))
        return false;
    const int w = image.width();
    const int h = image.height();
    std::vector<Track> tracks;
    tracks.reserve(segments.size());
    std::vector<int> cuts = { 0, h };
    for (const DeviceGrid::Segment &s : segments) {
        Track t;
        if (!trackOf(s, family, w, h, t))
            continue;
        tracks.push_back(t);
        cuts.push_back(t.lo);
        cuts.push_back(t.hi + 1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    const qsizetype bpl = image.bytesPerLine();
    uchar *bits = image.bits();
    std::vector<QRgb> strip;
    for (size_t c = 0; c + 1 < cuts.size(); ++c) {
        const int r0 = cuts[c];
        const int rows = cuts[c + 1] - r0;
        const int shift = family == Family::Vertical ? 0 : rows - 1;
        const size_t length = size_t(w) + shift;
        strip.assign(length, background);
        for (const Track &t : tracks) {
            if (t.lo > r0 || t.hi < r0)
                continue;
            const long long i = family == Family::Vertical ? t.index : t.index - r0;
            if (i < 0 || i >= (long long)length)
                continue;
            strip[size_t(i)] = t.color;
        }
        for (int k = 0; k < rows; ++k) {
            auto *row = reinterpret_cast<QRgb *>(bits + (r0 + k) * bpl);
            const size_t start = family == Family::Vertical ? 0 : size_t(k);
            std::memcpy(row, strip.data() + start, size_t(w) * sizeof(QRgb));
        }
    }
    return true;
}

// Bresenham, walked only over the part inside a w x h image: plot(x, y) for each pixel lit, both end
// points included. Along the major axis, step i lights the minor offset
// floor((2 * minor * i + major) / (2 * major)).
template <typename Plot> void walkLine(int x1, int y1, int x2, int y2, int w, int h, Plot plot)
{
    if (w <= 0 || h <= 0)
        return;
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= w && x2 >= w) || (y1 >= h && y2 >= h))
        return;
    if (x1 == x2 && y1 == y2) {
        plot(x1, y1);
        return;
    }
    const long long dx = std::llabs((long long)x2 - x1);
    const long long dy = std::llabs((long long)y2 - y1);
    const bool xMajor = dx >= dy;
    const long long a = xMajor ? dx : dy; // major length
    const long long b = xMajor ? dy : dx; // minor length
    const long long u1 = xMajor ? x1 : y1;
    const long long v1 = xMajor ? y1 : x1;
    const int su = (xMajor ? x1 < x2 : y1 < y2) ? 1 : -1;
    const int sv = (xMajor ? y1 < y2 : x1 < x2) ? 1 : -1;
    const long long uSize = xMajor ? w : h;
    const long long vSize = xMajor ? h : w;

    // Steps whose major coordinate lies inside the image.
    long long first = std::max(0LL, su > 0 ? -u1 : u1 - (uSize - 1));
    long long last = std::min(a, su > 0 ? uSize - 1 - u1 : u1);
    // Minor offsets that lie inside, turned into steps (the offset never decreases).
    const long long offLo = std::max(0LL, sv > 0 ? -v1 : v1 - (vSize - 1));
    const long long offHi = sv > 0 ? vSize - 1 - v1 : v1;
    if (offLo > offHi)
        return;
    if (b == 0) {
        if (offLo > 0)
            return;
    } else {
        if (offLo > 0)
            first = std::max(first, (2 * a * offLo - a + 2 * b - 1) / (2 * b));
        last = std::min(last, (2 * a * offHi + a - 1) / (2 * b));
    }

    long long rest = 2 * b * first + a;
    long long off = rest / (2 * a);
    rest %= 2 * a;
    for (long long i = first; i <= last; ++i) {
        const int u = int(u1 + su * i);
        const int v = int(v1 + sv * off);
        if (xMajor)
            plot(u, v);
        else
            plot(v, u);
        rest += 2 * b;
        if (rest >= 2 * a) {
            rest -= 2 * a;
            ++off;
        }
    }
}

} // namespace

DeviceGrid::Span DeviceGrid::span(double startTwips, double lengthTwips, double twipsPerPixel)
{
    Span s;
    if (!(twipsPerPixel > 0))
        return s;
    s.first = clampToInt(std::ceil(startTwips / twipsPerPixel - 0.5));
    s.end = clampToInt(std::ceil((startTwips + lengthTwips) / twipsPerPixel - 0.5));
    return s;
}

int DeviceGrid::pixelAt(double twips, double twipsPerPixel)
{
    if (!(twipsPerPixel > 0))
        return 0;
    return clampToInt(std::floor(twips / twipsPerPixel));
}

#if defined(__x86_64__) || defined(__i386__)
// The widest stores the processor has, as the toolkit's own fill uses: twice as fast as 16-byte ones on a
// frame that fits in the cache.
__attribute__((target("avx2"))) static void fillRunAvx2(QRgb *row, int count, QRgb color)
{
    const __m256i value = _mm256_set1_epi32(int(color));
    int i = 0;
    for (; i + 32 <= count; i += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(row + i), value);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(row + i + 8), value);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(row + i + 16), value);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(row + i + 24), value);
    }
    for (; i + 8 <= count; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(row + i), value);
    for (; i < count; ++i)
        row[i] = color;
}
#endif

// A row of one colour. Copying a ready block lets the compiler use wide stores; a plain element loop
// runs about four times slower on a 4K frame.
void DeviceGrid::fillRun(QRgb *row, int count, QRgb color)
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        fillRunAvx2(row, count, color);
        return;
    }
#endif
    constexpr int Block = 16;
    QRgb block[Block];
    std::fill_n(block, Block, color);
    int i = 0;
    for (; i + Block <= count; i += Block)
        std::memcpy(row + i, block, sizeof block);
    for (; i < count; ++i)
        row[i] = color;
}

void DeviceGrid::drawLines(QImage &image, const std::vector<Segment> &segments, QRgb background)
{
    if (image.isNull())
        return;
    if (segments.empty() || !drawFamily(image, segments, background))
        image.fill(background);
}

DeviceGrid::LineRows DeviceGrid::lineRows(int x1, int y1, int x2, int y2, QSize image)
{
    LineRows rows;
    rows.firstRow = std::clamp(std::min(y1, y2), 0, std::max(0, image.height()));
    walkLine(x1, y1, x2, y2, image.width(), image.height(), [&rows](int x, int y) {
        const size_t i = size_t(y - rows.firstRow);
        if (i >= rows.columns.size())
            rows.columns.resize(i + 1, Span { x, x });
        Span &s = rows.columns[i];
        s.first = std::min(s.first, x);
        s.end = std::max(s.end, x + 1);
    });
    return rows;
}
