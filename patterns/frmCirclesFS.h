#pragma once

#include "patterns/NestedShapesForm.h"

// Ten concentric circles, alternately black and white, on white; the largest as tall as the screen.
class frmCirclesFS : public NestedShapesForm
{
    Q_OBJECT
public:
    explicit frmCirclesFS(QWidget *parent = nullptr);

    // Bottom of the stacking first; also the order of the layout steps.
    Shape b1, w1, b2, w2, b3, w3, b4, w4, b5, w5;
};
