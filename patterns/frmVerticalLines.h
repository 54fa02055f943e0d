#pragma once

#include "patterns/DrawnPatternForm.h"

class frmVerticalLines : public DrawnPatternForm
{
    Q_OBJECT
public:
    using DrawnPatternForm::DrawnPatternForm;

protected:
    // Black lines on every second pixel column, over the full height.
    void drawPattern() override;
};
