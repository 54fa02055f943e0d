#pragma once

#include "patterns/DrawnPatternForm.h"

class frmVerticalLines : public DrawnPatternForm
{
    Q_OBJECT
protected:
    // Black lines on every second pixel column, over the full height.
    void drawPattern() override;
};
