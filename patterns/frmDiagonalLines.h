#pragma once

#include "patterns/PatternForm.h"

class LineCanvas;

class frmDiagonalLines : public PatternForm
{
    Q_OBJECT
public:
    frmDiagonalLines();

    // Parallel lines from upper right to lower left, three pixels apart along each axis, in ForeColor.
    static void drawPattern(LineCanvas &canvas);

protected:
    void Form_Resize() override;
};
