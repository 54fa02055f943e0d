#include "patterns/frmBoxesFS.h"

frmBoxesFS::frmBoxesFS(QWidget *parent)
    : NestedShapesForm(parent)
{
    setObjectName(QStringLiteral("frmBoxesFS"));
    nest({ &w1, &b1, &w2, &b2, &w3, &b3, &w4, &b4, &w5, &b5 }, Shape::Rectangle, true);
}
