#pragma once

#include "patterns/PatternForm.h"

class frmVerticalLines : public PatternForm
{
    Q_OBJECT
public:
    frmVerticalLines();
};
