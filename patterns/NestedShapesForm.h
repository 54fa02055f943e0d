#pragma once

#include "patterns/PatternForm.h"
#include "patterns/render/Shape.h"

#include <array>

// Ten nested shapes of one kind, alternately white and black, each inset from the one before by a
// twentieth of the window on every side.
class NestedShapesForm : public PatternForm
{
    Q_OBJECT
protected:
    using PatternForm::PatternForm;

    // The shapes bottom of the stacking first, which is also the order of the layout steps; opaque,
    // alternately white and black starting as asked, at their design sketch's places (never seen: they
    // are hidden at load and the first layout moves them).
    void nest(const std::array<Shape *, 10> &shapes, Shape::ShapeKind kind, bool firstIsWhite);

    void Form_Resize() override;

private:
    std::array<Shape *, 10> m_shapes {};
};
