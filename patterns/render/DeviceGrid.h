#pragma once

#include <QImage>

#include <optional>
#include <vector>

// The one mapping from twips to device pixels that every pattern uses.
// Device pixel c covers the twips [c * tpp, (c + 1) * tpp), tpp being the screen's twips per pixel.
// - An area covers exactly the pixels whose centres lie inside it: [start, start + length) covers
//   pixels ceil(start / tpp - 0.5) up to, not including, ceil((start + length) / tpp - 0.5).
// - A point (a line's end) lights the pixel that contains it: floor(twips / tpp).
// - A line lights both of its end pixels and the aliased pixels between them (Bresenham).
class DeviceGrid
{
public:
    struct Span
    {
        int first = 0; // first pixel covered
        int end = 0; // one past the last pixel covered
        int count() const { return end > first ? end - first : 0; }
    };

    static Span span(double startTwips, double lengthTwips, double twipsPerPixel);
    static int pixelAt(double twips, double twipsPerPixel);

    struct Segment
    {
        int x1, y1, x2, y2;
        QRgb color;
    };

    // Solid, one pixel wide, aliased; clipped to the image. Both end points are drawn.
    static void drawLine(QImage &image, int x1, int y1, int x2, int y2, QRgb color);
    // The same pixels as drawLine on each segment in turn, much faster for many long lines. With a
    // background, the image's old content does not count: as if it were filled with that colour first.
    static void drawLines(
        QImage &image, const std::vector<Segment> &segments, std::optional<QRgb> background = std::nullopt);
    static void fillRect(QImage &image, const QRect &rect, QRgb color);
    // count pixels of one colour from row onwards.
    static void fillRun(QRgb *row, int count, QRgb color);
};
