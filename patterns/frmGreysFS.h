#pragma once

#include "patterns/PatternForm.h"

class frmGreysFS : public PatternForm
{
    Q_OBJECT
public:
    frmGreysFS();
};
