#pragma once

#include "patterns/render/GraphicElement.h"

#include <QImage>

#include <vector>

// Composes a pattern window's frame: its surface with the windowless elements on top. Each pixel is
// written once, by whatever lies topmost over it, rather than by painting the elements one over another:
// ten nested full-screen shapes would otherwise cost about four passes over the whole frame.
class FrameComposer
{
public:
    // Every pixel of target: the visible elements (bottom first in the list) over the surface, which is
    // canvas when given (the same size as target) and otherwise background everywhere.
    static void compose(QImage &target, const QImage *canvas, QRgb background,
        const std::vector<GraphicElement *> &elements, double twipsPerPixelX, double twipsPerPixelY);
};
