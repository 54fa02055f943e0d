#include "patterns/frmBoxesFS.h"

#include "patterns/ShapeLayouts.h"

namespace {
constexpr quint32 White = 0x00FFFFFF;
constexpr quint32 Black = 0x00000000;
// The design sketch: a 4800 x 3600 twips window, insets of 240 and 180. Never seen: the shapes are
// hidden at load and placed by the first layout.
constexpr float DesignWidth = 4800;
constexpr float DesignHeight = 3600;
} // namespace

frmBoxesFS::frmBoxesFS()
{
    setObjectName(QStringLiteral("frmBoxesFS"));
    int k = 0;
    for (Shape *shape : { &w1, &b1, &w2, &b2, &w3, &b3, &w4, &b4, &w5, &b5 }) {
        shape->setBackStyle(Shape::Opaque);
        // White boxes keep the default interior (window background), black ones the default outline
        // (window text).
        if (k % 2 == 0)
            shape->setBorderColor(White);
        else
            shape->setBackColor(Black);
        shape->Move(k * DesignWidth / 20, k * DesignHeight / 20, DesignWidth - k * DesignWidth / 10,
            DesignHeight - k * DesignHeight / 10);
        addElement(shape);
        ++k;
    }
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
