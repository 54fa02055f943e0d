#include "platform/DeviceGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {
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
    // Bresenham on 64-bit error terms, so far-off end points cannot overflow.
    const long long dx = std::llabs((long long)x2 - x1);
    const long long dy = -std::llabs((long long)y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    long long err = dx + dy;
    long long x = x1;
    long long y = y1;
    for (;;) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            bits[qsizetype(y) * bpl + x] = color;
        else if ((sx > 0 && x >= w) || (sx < 0 && x < 0) || (sy > 0 && y >= h) || (sy < 0 && y < 0))
            return; // moving away from the image: nothing more to light
        if (x == x2 && y == y2)
            return;
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}
