#pragma once

#include "patterns/PatternForm.h"

// The six solid-colour tests: the main window sets the colour before every show.
class frmOneColor : public PatternForm
{
    Q_OBJECT
public:
    explicit frmOneColor(QWidget *parent = nullptr);
};
