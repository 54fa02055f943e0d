#pragma once

#include "patterns/PatternForm.h"

class frmCrosshairsFS : public PatternForm
{
    Q_OBJECT
public:
    frmCrosshairsFS();
};
