#include "patterns/frmColorFS.h"

#include "patterns/ShapeLayouts.h"

namespace {
using Bars = ShapeLayouts::ColorBars;

// The red, green and blue bars show their colour as an opaque background, the other six as a solid fill.
// The design sketch is on a 4800 x 3600 twips window, never seen: hidden at load, placed by the layout.
struct Bar
{
    Shape frmColorFS::*shape;
    quint32 color;
    bool opaque;
    ShapeLayouts::Bounds design;
    ShapeLayouts::Bounds Bars::*placed;
};

// Bottom of the stacking first.
const Bar BarTable[] = {
    { &frmColorFS::Red, 0x000000FF, true, { 0, 0, 1600, 3600 }, &Bars::Red },
    { &frmColorFS::Green, 0x0000FF00, true, { 1600, 0, 1600, 3600 }, &Bars::Green },
    { &frmColorFS::Blue, 0x00FF0000, true, { 3200, 0, 1600, 3600 }, &Bars::Blue },
    { &frmColorFS::White, 0x00FFFFFF, false, { 0, 2880, 2400, 720 }, &Bars::White },
    { &frmColorFS::Black, 0x00000000, false, { 2400, 2880, 2400, 720 }, &Bars::Black },
    { &frmColorFS::Yellow, 0x0000FFFF, false, { 1200, 1080, 800, 1200 }, &Bars::Yellow },
    { &frmColorFS::Cyan, 0x00FFFF00, false, { 2800, 1080, 800, 1200 }, &Bars::Cyan },
    { &frmColorFS::MagentaLeft, 0x00FF00FF, false, { 0, 1080, 480, 1200 }, &Bars::MagentaLeft },
    { &frmColorFS::MagentaRight, 0x00FF00FF, false, { 4320, 1080, 480, 1200 }, &Bars::MagentaRight },
};
} // namespace

frmColorFS::frmColorFS(QWidget *parent)
    : PatternForm(parent)
{
    setObjectName(QStringLiteral("frmColorFS"));
    for (const Bar &bar : BarTable) {
        Shape &shape = this->*bar.shape;
        if (bar.opaque) {
            shape.setBackStyle(Shape::Opaque);
            shape.setBackColor(bar.color);
        } else {
            shape.setFillStyle(Shape::Solid);
            shape.setFillColor(bar.color);
        }
        shape.setBorderColor(bar.color);
        shape.Move(bar.design.Left, bar.design.Top, bar.design.Width, bar.design.Height);
        // Never seen: hidden until the first layout places it.
        shape.setVisible(false);
        addElement(&shape);
    }
}

void frmColorFS::Form_Resize()
{
    // The whole layout is computed first: a size out of range fails before any control is touched.
    const Bars layout = ShapeLayouts::colorBars(Width(), Height());
    for (const Bar &bar : BarTable) {
        const ShapeLayouts::Bounds &b = layout.*bar.placed;
        (this->*bar.shape).Move(b.Left, b.Top, b.Width, b.Height);
        (this->*bar.shape).setVisible(true);
    }
}
