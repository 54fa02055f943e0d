#pragma once

#include "patterns/DrawnPatternForm.h"

class frmGreysFS : public DrawnPatternForm
{
    Q_OBJECT
public:
    using DrawnPatternForm::DrawnPatternForm;

protected:
    // The ramp: levels of n one-pixel lines from black towards white, n from the screen's width.
    void drawPattern() override;
};
