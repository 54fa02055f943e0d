#pragma once

#include "patterns/PatternForm.h"

class frmCirclesFS : public PatternForm
{
    Q_OBJECT
public:
    frmCirclesFS();
};
