#include "patterns/frmCirclesFS.h"

#include "patterns/ShapeLayouts.h"

frmCirclesFS::frmCirclesFS()
{
    setObjectName(QStringLiteral("frmCirclesFS"));
    setBackColor(0x00FFFFFF);
    const std::array<Shape *, 10> layoutOrder { &b1, &w1, &b2, &w2, &b3, &w3, &b4, &w4, &b5, &w5 };
    ShapeLayouts::designNested(layoutOrder, Shape::Circle, false);
    for (Shape *shape : layoutOrder)
        addElement(shape);
}

void frmCirclesFS::Form_Load()
{
    for (Shape *shape : { &b1, &b2, &b3, &b4, &b5, &w1, &w2, &w3, &w4, &w5 })
        shape->setVisible(false);
    PatternForm::Form_Load();
}

void frmCirclesFS::Form_Resize()
{
    ShapeLayouts::place(
        ShapeLayouts::nestedInset(Width(), Height()), { &b1, &w1, &b2, &w2, &b3, &w3, &b4, &w4, &b5, &w5 });
}
