#include "patterns/render/LineControl.h"

#include "patterns/render/DeviceGrid.h"

#include <algorithm>

namespace {
// A level or upright line: the same run on every row it covers.
class StraightRows : public GraphicElement::RowWalker
{
public:
    StraightRows(int firstColumn, int endColumn, int top, int bottom, int rows, QRgb color)
        : m_run { firstColumn, endColumn, color }
    {
        firstRow = std::max(0, top);
        endRow = std::min(rows, bottom + 1);
    }
    void runs(int, std::vector<GraphicElement::Run> &out) override { out.push_back(m_run); }

private:
    GraphicElement::Run m_run;
};
} // namespace

void LineControl::assign(float &member, float value)
{
    if (member == value)
        return;
    member = value;
    changed();
}

void LineControl::setX1(float twips)
{
    assign(m_x1, twips);
}
void LineControl::setY1(float twips)
{
    assign(m_y1, twips);
}
void LineControl::setX2(float twips)
{
    assign(m_x2, twips);
}
void LineControl::setY2(float twips)
{
    assign(m_y2, twips);
}

void LineControl::setBorderColor(quint32 color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    changed();
}

void LineControl::render(QImage &target, double twipsPerPixelX, double twipsPerPixelY) const
{
    DeviceGrid::drawLine(target, DeviceGrid::pixelAt(m_x1, twipsPerPixelX),
        DeviceGrid::pixelAt(m_y1, twipsPerPixelY), DeviceGrid::pixelAt(m_x2, twipsPerPixelX),
        DeviceGrid::pixelAt(m_y2, twipsPerPixelY), OleColor::toStandardRgb(m_borderColor));
}

std::unique_ptr<GraphicElement::RowWalker> LineControl::rows(
    QSize target, double twipsPerPixelX, double twipsPerPixelY) const
{
    const int x1 = DeviceGrid::pixelAt(m_x1, twipsPerPixelX);
    const int y1 = DeviceGrid::pixelAt(m_y1, twipsPerPixelY);
    const int x2 = DeviceGrid::pixelAt(m_x2, twipsPerPixelX);
    const int y2 = DeviceGrid::pixelAt(m_y2, twipsPerPixelY);
    if (x1 != x2 && y1 != y2)
        return nullptr;
    // Both ends are drawn. Ends far outside are held back to the image's edge, so the run stays in range.
    const auto clampTo = [](int v, int size) { return std::clamp(v, -1, size); };
    const int first = clampTo(std::min(x1, x2), target.width());
    const int last = clampTo(std::max(x1, x2), target.width());
    return std::make_unique<StraightRows>(first, last + 1, std::min(y1, y2), std::max(y1, y2),
        target.height(), OleColor::toStandardRgb(m_borderColor));
}
