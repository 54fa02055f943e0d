#include "patterns/frmBoxesFS.h"

#include "patterns/ShapeLayouts.h"

frmBoxesFS::frmBoxesFS()
{
    setObjectName(QStringLiteral("frmBoxesFS"));
    const std::array<Shape *, 10> layoutOrder { &w1, &b1, &w2, &b2, &w3, &b3, &w4, &b4, &w5, &b5 };
    ShapeLayouts::designNested(layoutOrder, Shape::Rectangle, true);
    for (Shape *shape : layoutOrder)
        addElement(shape);
}

void frmBoxesFS::Form_Load()
{
    for (Shape *shape : { &b1, &b2, &b3, &b4, &b5, &w1, &w2, &w3, &w4, &w5 })
        shape->setVisible(false);
    PatternForm::Form_Load();
}

void frmBoxesFS::Form_Resize()
{
    ShapeLayouts::place(
        ShapeLayouts::nestedInset(Width(), Height()), { &w1, &b1, &w2, &b2, &w3, &b3, &w4, &b4, &w5, &b5 });
}
