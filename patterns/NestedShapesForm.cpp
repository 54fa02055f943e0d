#include "patterns/NestedShapesForm.h"

#include "patterns/ShapeLayouts.h"
#include "platform/OleColor.h"

namespace {
constexpr float DesignWidth = 4800;
constexpr float DesignHeight = 3600;
} // namespace

void NestedShapesForm::nest(const std::array<Shape *, 10> &shapes, Shape::ShapeKind kind, bool firstIsWhite)
{
    m_shapes = shapes;
    for (size_t k = 0; k < shapes.size(); ++k) {
        Shape *shape = shapes[k];
        shape->setKind(kind);
        shape->setBackStyle(Shape::Opaque);
        // White shapes keep the default interior (window background), black ones the default outline
        // (window text).
        if ((k % 2 == 0) == firstIsWhite)
            shape->setBorderColor(OleColor::White);
        else
            shape->setBackColor(OleColor::Black);
        shape->Move(k * DesignWidth / 20, k * DesignHeight / 20, DesignWidth - k * DesignWidth / 10,
            DesignHeight - k * DesignHeight / 10);
        // Never seen: hidden until the first layout moves it.
        shape->setVisible(false);
        addElement(shape);
    }
}

void NestedShapesForm::Form_Resize()
{
    const ShapeLayouts::NestedInset layout = ShapeLayouts::nestedInset(Width(), Height());
    for (size_t k = 0; k < layout.steps.size(); ++k) {
        const ShapeLayouts::Bounds &b = layout.steps[k];
        m_shapes[k]->Move(b.Left, b.Top, b.Width, b.Height);
        m_shapes[k]->setVisible(true);
    }
}
