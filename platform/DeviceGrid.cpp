#include "platform/DeviceGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {
// Rows drawn together by drawLines: small enough to stay in the processor's cache.
constexpr int BandBytes = 1 << 19;

int clampToInt(double v)
{
    if (!(v > double(INT_MIN / 2)))
        return INT_MIN / 2;
    if (v > double(INT_MAX / 2))
        return INT_MAX / 2;
    return int(v);
}

// A row of one colour. Copying a ready block lets the compiler use wide stores; a plain element loop
// runs about four times slower on a 4K frame.
void fillRow(QRgb *row, int count, QRgb color)
{
    constexpr int Block = 16;
    QRgb block[Block];
    std::fill_n(block, Block, color);
    int i = 0;
    for (; i + Block <= count; i += Block)
        std::memcpy(row + i, block, sizeof block);
    for (; i < count; ++i)
        row[i] = color;
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

void DeviceGrid::fillRect(QImage &image, const QRect &rect, QRgb color)
{
    const QRect r = rect.intersected(image.rect());
    if (r.isEmpty())
        return;
    const int bpl = image.bytesPerLine() / 4;
    auto *bits = reinterpret_cast<QRgb *>(image.bits());
    for (int y = r.top(); y <= r.bottom(); ++y)
        fillRow(bits + qsizetype(y) * bpl + r.left(), r.width(), color);
}

void DeviceGrid::drawLines(QImage &image, const std::vector<Segment> &segments)
{
    const int w = image.width();
    const int h = image.height();
    if (w == 0 || h == 0)
        return;
    const int bandRows = std::max(1, BandBytes / std::max(1, int(image.bytesPerLine())));
    if (segments.size() < 16 || bandRows >= h) {
        for (const Segment &s : segments)
            drawLine(image, s.x1, s.y1, s.x2, s.y2, s.color);
        return;
    }

    // A screen full of long lines, drawn one line after the other, writes one pixel per row and line:
    // nearly every write lands on another memory page. Drawn band by band instead, each band stays in
    // the cache while all lines pass through it. Each pixel still ends up with the colour of the last
    // line over it, as with drawLine on each in turn.
    uchar *bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    for (int top = 0; top < h; top += bandRows) {
        const int rows = std::min(bandRows, h - top);
        QImage band(bits + top * bpl, w, rows, bpl, image.format());
        for (const Segment &s : segments)
            drawLine(band, s.x1, s.y1 - top, s.x2, s.y2 - top, s.color);
    }
}

void DeviceGrid::drawLine(QImage &image, int x1, int y1, int x2, int y2, QRgb color)
{
    const int w = image.width();
    const int h = image.height();
    if (w == 0 || h == 0)
        return;
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= w && x2 >= w) || (y1 >= h && y2 >= h))
        return;
    const int bpl = image.bytesPerLine() / 4;
    auto *bits = reinterpret_cast<QRgb *>(image.bits());
    if (x1 == x2) {
        const int top = std::max(0, std::min(y1, y2));
        const int bottom = std::min(h - 1, std::max(y1, y2));
        for (int y = top; y <= bottom; ++y)
            bits[qsizetype(y) * bpl + x1] = color;
        return;
    }
    if (y1 == y2) {
        fillRect(image, QRect(QPoint(std::min(x1, x2), y1), QPoint(std::max(x1, x2), y1)), color);
        return;
    }
    // Bresenham, walked only over the part inside the image: along the major axis, step i lights the
    // minor offset floor((2 * minor * i + major) / (2 * major)). Both end points are lit.
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
    } else if (a == b) {
        // 45 degrees: the offset is the step itself.
        first = std::max(first, offLo);
        last = std::min(last, offHi);
        for (long long i = first; i <= last; ++i) {
            const long long x = xMajor ? u1 + su * i : v1 + sv * i;
            const long long y = xMajor ? v1 + sv * i : u1 + su * i;
            bits[qsizetype(y) * bpl + x] = color;
        }
        return;
    } else {
        if (offLo > 0)
            first = std::max(first, (2 * a * offLo - a + 2 * b - 1) / (2 * b));
        last = std::min(last, (2 * a * offHi + a - 1) / (2 * b));
    }
    if (first > last)
        return;

    long long rest = 2 * b * first + a;
    long long off = rest / (2 * a);
    rest %= 2 * a;
    for (long long i = first; i <= last; ++i) {
        const long long u = u1 + su * i;
        const long long v = v1 + sv * off;
        if (xMajor)
            bits[qsizetype(v) * bpl + u] = color;
        else
            bits[qsizetype(u) * bpl + v] = color;
        rest += 2 * b;
        if (rest >= 2 * a) {
            rest -= 2 * a;
            ++off;
        }
    }
}
