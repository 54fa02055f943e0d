#include "patterns/frmCrosshairsFS.h"

#include "patterns/ShapeLayouts.h"
#include "patterns/modFunctions.h"
#include "platform/OleColor.h"

namespace {
} // namespace

frmCrosshairsFS::frmCrosshairsFS(QWidget *parent)
    : PatternForm(parent)
{
    setObjectName(QStringLiteral("frmCrosshairsFS"));
    setBackColor(OleColor::Black);
    // The design sketch on a 4800 x 3600 twips window; the first layout replaces every coordinate.
    const float design[6][4] = { { 0, 0, 4785, 0 }, { 4785, 0, 4785, 3585 }, { 4785, 3585, 0, 3585 },
        { 0, 3585, 0, 0 }, { 2400, 0, 2400, 3600 }, { 0, 1800, 4800, 1800 } };
    LineControl *lines[] = { &Line1, &Line2, &Line3, &Line4, &Line5, &Line6 };
    for (int i = 0; i < 6; ++i) {
        LineControl &line = *lines[i];
        line.setBorderColor(OleColor::White);
        line.setX1(design[i][0]);
        line.setY1(design[i][1]);
        line.setX2(design[i][2]);
        line.setY2(design[i][3]);
        addElement(&line);
    }
}

void frmCrosshairsFS::Form_Resize()
{
    const auto ends
        = ShapeLayouts::crosshairs(Width(), Height(), modFunctions::PixelsToTwipsX(1.0f));
    LineControl *lines[] = { &Line1, &Line2, &Line3, &Line4, &Line5, &Line6 };
    for (int i = 0; i < 6; ++i) {
        lines[i]->setX1(ends[i].X1);
        lines[i]->setY1(ends[i].Y1);
        lines[i]->setX2(ends[i].X2);
        lines[i]->setY2(ends[i].Y2);
    }
}
