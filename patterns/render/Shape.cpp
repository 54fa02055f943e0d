#include "patterns/render/Shape.h"

#include "patterns/render/DeviceGrid.h"

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

// A rectangle's rows: the outline on its outermost pixels, the interior (if any) inside it.
class RectangleRows : public GraphicElement::RowWalker
{
public:
    RectangleRows(const QRect &area, int rows, bool filled, QRgb interior, QRgb border)
        : m_area(area)
        , m_filled(filled)
        , m_interior(interior)
        , m_border(border)
    {
        firstRow = std::max(0, area.top());
        endRow = std::min(rows, area.bottom() + 1);
    }

    void runs(int y, std::vector<GraphicElement::Run> &out) override
    {
        const int left = m_area.left();
        const int right = m_area.right();
        if (y == m_area.top() || y == m_area.bottom()) {
            out.push_back({ left, right + 1, m_border });
            return;
        }
        if (m_filled && right - left > 1)
            out.push_back({ left + 1, right, m_interior });
        out.push_back({ left, left + 1, m_border });
        out.push_back({ right, right + 1, m_border });
    }

private:
    QRect m_area;
    bool m_filled;
    QRgb m_interior;
    QRgb m_border;
};

// A circle's rows. The outline is the disc's own boundary pixels (those with a neighbour above, below,
// left or right outside the disc), so it never adds to the disc; each row needs the rows next to it.
class CircleRows : public GraphicElement::RowWalker
{
public:
    CircleRows(const Disc &disc, QSize target, bool filled, QRgb interior, QRgb border)
        : m_disc(disc)
        , m_columns(target.width())
        , m_filled(filled)
        , m_interior(interior)
        , m_border(border)
    {
        firstRow = disc.firstRow(target.height());
        endRow = disc.endRow(target.height());
        m_next = firstRow;
        m_above = disc.row(firstRow - 1, m_columns);
        m_here = disc.row(firstRow, m_columns);
    }

    void runs(int y, std::vector<GraphicElement::Run> &out) override
    {
        while (m_next < y)
            advance(m_disc.row(m_next + 1, m_columns));
        const RowSpan below = m_disc.row(y + 1, m_columns);
        const RowSpan &here = m_here;
        if (!here.empty()) {
            // Columns of this row missing from the row above or below lie on the boundary: they form
            // a run at each end of the row.
            int leftEnd = here.first + 1;
            int rightStart = here.end - 1;
            for (const RowSpan &other : { m_above, below }) {
                if (other.empty()) {
                    leftEnd = here.end;
                    rightStart = here.first;
                    break;
                }
                leftEnd = std::max(leftEnd, std::min(here.end, other.first));
                rightStart = std::min(rightStart, std::max(here.first, other.end));
            }
            if (m_filled && rightStart > leftEnd)
                out.push_back({ leftEnd, rightStart, m_interior });
            out.push_back({ here.first, std::min(leftEnd, here.end), m_border });
            const int rightFirst = std::max(rightStart, leftEnd);
            if (rightFirst < here.end)
                out.push_back({ rightFirst, here.end, m_border });
        }
        advance(below);
    }

private:
    void advance(const RowSpan &below)
    {
        m_above = m_here;
        m_here = below;
        ++m_next;
    }

    Disc m_disc;
    int m_columns;
    bool m_filled;
    QRgb m_interior;
    QRgb m_border;
    int m_next = 0;
    RowSpan m_above;
    RowSpan m_here;
};

} // namespace

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

std::unique_ptr<GraphicElement::RowWalker> Shape::rows(
    QSize target, double twipsPerPixelX, double twipsPerPixelY) const
{
    auto none = std::make_unique<RectangleRows>(QRect(), 0, false, 0, 0);
    if (!(twipsPerPixelX > 0) || !(twipsPerPixelY > 0) || target.isEmpty())
        return none;
    QRgb interior = 0;
    const bool filled = interiorColor(interior);
    const QRgb border = OleColor::toStandardRgb(m_borderColor);
    if (m_kind == Circle) {
        // The diameter is the smaller side, centred in the bounds. A pixel belongs to the disc when its
        // centre lies strictly inside the circle.
        const double diameter = std::min(double(m_width), double(m_height));
        if (!(diameter > 0))
            return none;
        const Disc disc(double(m_left) + double(m_width) / 2, double(m_top) + double(m_height) / 2,
            diameter / 2, twipsPerPixelX, twipsPerPixelY);
        return std::make_unique<CircleRows>(disc, target, filled, interior, border);
    }
    const DeviceGrid::Span xs = DeviceGrid::span(m_left, m_width, twipsPerPixelX);
    const DeviceGrid::Span ys = DeviceGrid::span(m_top, m_height, twipsPerPixelY);
    if (xs.count() == 0 || ys.count() == 0)
        return none;
    return std::make_unique<RectangleRows>(
        QRect(xs.first, ys.first, xs.count(), ys.count()), target.height(), filled, interior, border);
}
