#pragma once

#include "patterns/DrawnPatternForm.h"

class frmDiagonalLines : public DrawnPatternForm
{
    Q_OBJECT
public:
    using DrawnPatternForm::DrawnPatternForm;

protected:
    // Parallel lines from upper right to lower left, three pixels apart along each axis, in ForeColor.
    void drawPattern() override;
};
