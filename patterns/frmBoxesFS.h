#pragma once

#include "patterns/NestedShapesForm.h"

// Ten nested rectangles, alternately white and black, each inset by a twentieth of the screen.
class frmBoxesFS : public NestedShapesForm
{
    Q_OBJECT
public:
    explicit frmBoxesFS(QWidget *parent = nullptr);

    // Bottom of the stacking first; also the order of the layout steps.
    Shape w1, b1, w2, b2, w3, b3, w4, b4, w5, b5;
};
