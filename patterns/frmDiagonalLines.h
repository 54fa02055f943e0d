#pragma once

#include "patterns/PatternForm.h"

class frmDiagonalLines : public PatternForm
{
    Q_OBJECT
public:
    frmDiagonalLines();
};
