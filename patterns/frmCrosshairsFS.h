#pragma once

#include "patterns/PatternForm.h"
#include "patterns/render/LineControl.h"

// Six white lines on black: a frame on the outermost pixels and a cross through the centre.
class frmCrosshairsFS : public PatternForm
{
    Q_OBJECT
public:
    explicit frmCrosshairsFS(QWidget *parent = nullptr);

    // Bottom of the stacking first.
    LineControl Line1, Line2, Line3, Line4, Line5, Line6;

protected:
    void Form_Resize() override;
};
