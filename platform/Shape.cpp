#include "platform/Shape.h"

#include "platform/DeviceGrid.h"

#include <algorithm>
#include <cmath>

namespace {

// One pixel row of a disc: the columns [first, end) whose centres lie inside it.
struct RowSpan
{
    int first = 0;
    int end = 0;
    bool empty() const { return end <= first; }
};

// The disc in twips, measured on a device grid of tppX by tppY twips per pixel.
class Disc
{
public:
    Disc(double cx, double cy, double radius, double tppX, double tppY)
        : m_cx(cx)
        , m_cy(cy)
        , m_r2(radius * radius)
        , m_tppX(tppX)
        , m_tppY(tppY)
    { }

    // Columns are looked at within [-1, columns], one beyond the image on either side: enough to tell
    // the boundary pixels inside the image, and bounded however large the disc.
    RowSpan row(int y, int columns) const
    {
        RowSpan s;
        const double dy = (y + 0.5) * m_tppY - m_cy;
        const double rest = m_r2 - dy * dy;
        if (!(rest > 0))
            return s;
        // A first guess from the square root, then settled by the exact test on the pixel centres,
        // so rounding in sqrt cannot move an edge pixel.
        const double half = std::sqrt(rest);
        const auto column = [columns](double v) {
            if (!(v > -1))
                return -1;
            return v < columns + 1 ? int(v) : columns + 1;
        };
        s.first = column(std::floor((m_cx - half) / m_tppX - 0.5) + 1);
        s.end = column(std::ceil((m_cx + half) / m_tppX - 0.5));
        while (s.first > -1 && inside(s.first - 1, rest))
            --s.first;
        while (s.first < s.end && !inside(s.first, rest))
            ++s.first;
        while (s.end < columns + 1 && inside(s.end, rest))
            ++s.end;
        while (s.end > s.first && !inside(s.end - 1, rest))
            --s.end;
        return s;
    }

    // Rows that can hold a pixel of the disc, as a range [first, end).
    int firstRow(int rows) const { return clamp(std::floor((m_cy - std::sqrt(m_r2)) / m_tppY - 0.5), rows); }
    int endRow(int rows) const { return clamp(std::ceil((m_cy + std::sqrt(m_r2)) / m_tppY + 0.5), rows); }

private:
    bool inside(int x, double rest) const
    {
        const double dx = (x + 0.5) * m_tppX - m_cx;
        return dx * dx < rest;
    }
    static int clamp(double v, int rows)
    {
        if (!(v > 0))
            return 0;
        return v < rows ? int(v) : rows;
    }

    double m_cx;
    double m_cy;
    double m_r2;
    double m_tppX;
    double m_tppY;
};

void fillRow(QImage &image, int y, int first, int end, QRgb color)
{
    if (end > first)
        DeviceGrid::fillRect(image, QRect(first, y, end - first, 1), color);
}

} // namespace

template <typename T> void Shape::assign(T &member, T value)
{
    if (member == value)
        return;
    member = value;
    changed();
}

void Shape::setKind(ShapeKind kind)
{
    assign(m_kind, kind);
}
void Shape::setBackStyle(BackStyleValue style)
{
    assign(m_backStyle, style);
}
void Shape::setBackColor(quint32 color)
{
    assign(m_backColor, color);
}
void Shape::setFillStyle(FillStyleValue style)
{
    assign(m_fillStyle, style);
}
void Shape::setFillColor(quint32 color)
{
    assign(m_fillColor, color);
}
void Shape::setBorderColor(quint32 color)
{
    assign(m_borderColor, color);
}
void Shape::setLeft(float twips)
{
    assign(m_left, twips);
}
void Shape::setTop(float twips)
{
    assign(m_top, twips);
}
void Shape::setWidth(float twips)
{
    assign(m_width, twips);
}
void Shape::setHeight(float twips)
{
    assign(m_height, twips);
}

void Shape::Move(float left, float top, float width, float height)
{
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

bool Shape::interiorColor(QRgb &color) const
{
    if (m_fillStyle == Solid) {
        color = OleColor::toStandardRgb(m_fillColor);
        return true;
    }
    if (m_backStyle == Opaque) {
        color = OleColor::toStandardRgb(m_backColor);
        return true;
    }
    return false;
}

void Shape::render(QImage &target, double twipsPerPixelX, double twipsPerPixelY) const
{
    if (!(twipsPerPixelX > 0) || !(twipsPerPixelY > 0) || target.isNull())
        return;
    if (m_kind == Circle)
        renderCircle(target, twipsPerPixelX, twipsPerPixelY);
    else
        renderRectangle(target, twipsPerPixelX, twipsPerPixelY);
}

void Shape::renderRectangle(QImage &target, double tppX, double tppY) const
{
    const DeviceGrid::Span xs = DeviceGrid::span(m_left, m_width, tppX);
    const DeviceGrid::Span ys = DeviceGrid::span(m_top, m_height, tppY);
    if (xs.count() == 0 || ys.count() == 0)
        return;
    const QRect area(xs.first, ys.first, xs.count(), ys.count());
    QRgb interior;
    if (interiorColor(interior))
        DeviceGrid::fillRect(target, area.adjusted(1, 1, -1, -1), interior);
    const QRgb border = OleColor::toStandardRgb(m_borderColor);
    DeviceGrid::fillRect(target, QRect(area.left(), area.top(), area.width(), 1), border);
    DeviceGrid::fillRect(target, QRect(area.left(), area.bottom(), area.width(), 1), border);
    DeviceGrid::fillRect(target, QRect(area.left(), area.top(), 1, area.height()), border);
    DeviceGrid::fillRect(target, QRect(area.right(), area.top(), 1, area.height()), border);
}

void Shape::renderCircle(QImage &target, double tppX, double tppY) const
{
    // The diameter is the smaller side, centred in the bounds. A pixel belongs to the disc when its
    // centre lies strictly inside the circle; the outline is the disc's own boundary pixels (those
    // with a neighbour above, below, left or right outside the disc), so it never adds to the disc.
    const double diameter = std::min(double(m_width), double(m_height));
    if (!(diameter > 0))
        return;
    const Disc disc(
        double(m_left) + double(m_width) / 2, double(m_top) + double(m_height) / 2, diameter / 2, tppX, tppY);
    const int columns = target.width();
    const int firstRow = disc.firstRow(target.height());
    const int endRow = disc.endRow(target.height());
    if (firstRow >= endRow)
        return;
    QRgb interior;
    const bool filled = interiorColor(interior);
    const QRgb border = OleColor::toStandardRgb(m_borderColor);

    RowSpan above = disc.row(firstRow - 1, columns);
    RowSpan here = disc.row(firstRow, columns);
    for (int y = firstRow; y < endRow; ++y) {
        const RowSpan below = disc.row(y + 1, columns);
        if (!here.empty()) {
            // Columns of this row missing from the row above or below lie on the boundary: they form
            // a run at each end of the row.
            int leftEnd = here.first + 1;
            int rightStart = here.end - 1;
            for (const RowSpan &other : { above, below }) {
                if (other.empty()) {
                    leftEnd = here.end;
                    rightStart = here.first;
                    break;
                }
                leftEnd = std::max(leftEnd, std::min(here.end, other.first));
                rightStart = std::min(rightStart, std::max(here.first, other.end));
            }
            if (filled)
                fillRow(target, y, leftEnd, rightStart, interior);
            fillRow(target, y, here.first, std::min(leftEnd, here.end), border);
            fillRow(target, y, std::max(rightStart, leftEnd), here.end, border);
        }
        above = here;
        here = below;
    }
}
