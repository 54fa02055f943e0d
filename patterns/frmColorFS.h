#pragma once

#include "patterns/PatternForm.h"
#include "patterns/render/Shape.h"

// Colour bars: red, green and blue over the full height, secondary colours between them, a white and
// a black strip along the bottom.
class frmColorFS : public PatternForm
{
    Q_OBJECT
public:
    explicit frmColorFS(QWidget *parent = nullptr);

    // Topmost first.
    Shape MagentaRight, MagentaLeft, Cyan, Yellow, Black, White, Blue, Green, Red;

protected:
    void Form_Resize() override;
};
