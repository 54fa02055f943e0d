#pragma once

#include "patterns/render/GraphicElement.h"

#include <QImage>

#include <vector>

// Composes a shape pattern's frame: its background with the windowless elements on top. Each pixel is
// written once, by whatever lies topmost over it, rather than by painting the elements one over another:
// ten nested full-screen shapes would otherwise cost about four passes over the whole frame.
namespace FrameComposer {
// Every pixel of target: the visible elements (bottom first in the list) over the background.
void compose(QImage &target, QRgb background, const std::vector<GraphicElement *> &elements,
    double twipsPerPixelX, double twipsPerPixelY);
} // namespace FrameComposer
