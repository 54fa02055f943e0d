#include "patterns/frmCirclesFS.h"

#include "platform/OleColor.h"

frmCirclesFS::frmCirclesFS(QWidget *parent)
    : NestedShapesForm(parent)
{
    setObjectName(QStringLiteral("frmCirclesFS"));
    setBackColor(OleColor::White);
    nest({ &b1, &w1, &b2, &w2, &b3, &w3, &b4, &w4, &b5, &w5 }, Shape::Circle, false);
}
