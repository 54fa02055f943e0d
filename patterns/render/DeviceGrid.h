#pragma once

#include <QImage>

#include <vector>

// The one mapping from twips to device pixels that every pattern uses.
// Device pixel c covers the twips [c * tpp, (c + 1) * tpp), tpp being the screen's twips per pixel.
// - An area covers exactly the pixels whose centres lie inside it: [start, start + length) covers
//   pixels ceil(start / tpp - 0.5) up to, not including, ceil((start + length) / tpp - 0.5).
// - A point (a line's end) lights the pixel that contains it: floor(twips / tpp).
// - A line lights both of its end pixels and the aliased pixels between them (Bresenham).
namespace DeviceGrid {
struct Span
{
    int first = 0; // first pixel covered
    int end = 0; // one past the last pixel covered
    int count() const { return end > first ? end - first : 0; }
};

Span span(double startTwips, double lengthTwips, double twipsPerPixel);
int pixelAt(double twips, double twipsPerPixel);

struct Segment
{
    int x1, y1, x2, y2;
    QRgb color;
};

// The pixels a line lights on an image of the given size (solid, one pixel wide, aliased, both end points
// drawn), row by row: the columns [first, end) of each row from firstRow on (a row of a line lies in one
// piece).
struct LineRows
{
    int firstRow = 0;
    std::vector<Span> columns;
};
LineRows lineRows(int x1, int y1, int x2, int y2, QSize image);
// The whole image: the background, then each segment in turn, as the line patterns draw them: every
// segment upright, or every one at 45 degrees from upper right to lower left.
void drawLines(QImage &image, const std::vector<Segment> &segments, QRgb background);
// count pixels of one colour from row onwards.
void fillRun(QRgb *row, int count, QRgb color);
} // namespace DeviceGrid
