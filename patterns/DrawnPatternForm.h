#pragma once

#include "patterns/PatternForm.h"

// A pattern drawn with Line on white: after every size change it waits a moment, then draws itself
// afresh over the bare surface.
class DrawnPatternForm : public PatternForm
{
    Q_OBJECT
public:
    explicit DrawnPatternForm(QWidget *parent = nullptr);

protected:

    // The whole pattern, in twips, at the window's present size.
    virtual void drawPattern() = 0;

    void Form_Resize() override;
};
