#pragma once

#include "patterns/PatternForm.h"

class LineCanvas;

class frmGreysFS : public PatternForm
{
    Q_OBJECT
public:
    frmGreysFS();

    // The ramp: levels of n one-pixel lines from black towards white, n from the screen's width.
    static void drawPattern(LineCanvas &canvas);

protected:
    void Form_Resize() override;
};
