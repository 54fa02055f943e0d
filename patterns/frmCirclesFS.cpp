#include "patterns/frmCirclesFS.h"

#include "patterns/ShapeLayouts.h"

namespace {
constexpr quint32 White = 0x00FFFFFF;
constexpr quint32 Black = 0x00000000;
// The design sketch, never seen: the shapes are hidden at load and placed by the first layout.
constexpr float DesignWidth = 4800;
constexpr float DesignHeight = 3600;
} // namespace

frmCirclesFS::frmCirclesFS()
{
    setObjectName(QStringLiteral("frmCirclesFS"));
    setBackColor(White);
    int k = 0;
    for (Shape *shape : { &b1, &w1, &b2, &w2, &b3, &w3, &b4, &w4, &b5, &w5 }) {
        shape->setKind(Shape::Circle);
        shape->setBackStyle(Shape::Opaque);
        // Black circles keep the default outline (window text), white ones the default interior
        // (window background).
        if (k % 2 == 0)
            shape->setBackColor(Black);
        else
            shape->setBorderColor(White);
        shape->Move(k * DesignWidth / 20, k * DesignHeight / 20, DesignWidth - k * DesignWidth / 10,
            DesignHeight - k * DesignHeight / 10);
        addElement(shape);
        ++k;
    }
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
