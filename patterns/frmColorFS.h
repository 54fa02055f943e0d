#pragma once

#include "patterns/PatternForm.h"

class frmColorFS : public PatternForm
{
    Q_OBJECT
public:
    frmColorFS();
};
