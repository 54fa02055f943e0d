#pragma once

#include "patterns/PatternForm.h"
#include "patterns/render/Shape.h"

// Ten concentric circles, alternately black and white, on white; the largest as tall as the screen.
class frmCirclesFS : public PatternForm
{
    Q_OBJECT
public:
    frmCirclesFS();

    // Bottom of the stacking first; also the order of the layout steps.
    Shape b1, w1, b2, w2, b3, w3, b4, w4, b5, w5;

protected:
    void Form_Load() override;
    void Form_Resize() override;
};
