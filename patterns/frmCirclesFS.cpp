#include "patterns/frmCirclesFS.h"

frmCirclesFS::frmCirclesFS()
{
    setObjectName(QStringLiteral("frmCirclesFS"));
    setBackColor(0x00FFFFFF);
    nest({ &b1, &w1, &b2, &w2, &b3, &w3, &b4, &w4, &b5, &w5 }, Shape::Circle, false);
}
