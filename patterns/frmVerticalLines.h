#pragma once

#include "patterns/PatternForm.h"

class LineCanvas;

class frmVerticalLines : public PatternForm
{
    Q_OBJECT
public:
    frmVerticalLines();

    // Black lines on every second pixel column, over the full height.
    static void drawPattern(LineCanvas &canvas);

protected:
    void Form_Resize() override;
};
