#include "patterns/render/GraphicElement.h"

#include "patterns/render/DeviceGrid.h"

void GraphicElement::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    changed();
}

void GraphicElement::changed() const
{
    if (m_changed)
        m_changed();
}

std::unique_ptr<GraphicElement::RowWalker> GraphicElement::rows(QSize, double, double) const
{
    return nullptr;
}

void GraphicElement::render(QImage &target, double twipsPerPixelX, double twipsPerPixelY) const
{
    const std::unique_ptr<RowWalker> walker = rows(target.size(), twipsPerPixelX, twipsPerPixelY);
    if (!walker)
        return;
    std::vector<Run> runs;
    for (int y = std::max(0, walker->firstRow); y < std::min(target.height(), walker->endRow); ++y) {
        runs.clear();
        walker->runs(y, runs);
        for (const Run &run : runs)
            DeviceGrid::fillRect(target, QRect(run.first, y, run.end - run.first, 1), run.color);
    }
}
