#include "patterns/render/LineControl.h"

#include "patterns/render/DeviceGrid.h"

namespace {
// The line's pixels on each row it crosses.
class LineRowWalker : public GraphicElement::RowWalker
{
public:
    LineRowWalker(DeviceGrid::LineRows rows, QRgb color)
        : m_rows(std::move(rows))
        , m_color(color)
    {
        firstRow = m_rows.firstRow;
        endRow = m_rows.firstRow + int(m_rows.columns.size());
    }
    void runs(int y, std::vector<GraphicElement::Run> &out) override
    {
        const DeviceGrid::Span &s = m_rows.columns[size_t(y - firstRow)];
        out.push_back({ s.first, s.end, m_color });
    }

private:
    DeviceGrid::LineRows m_rows;
    QRgb m_color;
};
} // namespace

std::unique_ptr<GraphicElement::RowWalker> LineControl::rows(
    QSize target, double twipsPerPixelX, double twipsPerPixelY) const
{
    return std::make_unique<LineRowWalker>(
        DeviceGrid::lineRows(DeviceGrid::pixelAt(m_x1, twipsPerPixelX),
            DeviceGrid::pixelAt(m_y1, twipsPerPixelY), DeviceGrid::pixelAt(m_x2, twipsPerPixelX),
            DeviceGrid::pixelAt(m_y2, twipsPerPixelY), target),
        OleColor::toStandardRgb(m_borderColor));
}
