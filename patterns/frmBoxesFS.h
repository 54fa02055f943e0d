#pragma once

#include "patterns/PatternForm.h"

class frmBoxesFS : public PatternForm
{
    Q_OBJECT
public:
    frmBoxesFS();
};
