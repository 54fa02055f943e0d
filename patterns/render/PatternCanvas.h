#pragma once

#include "patterns/render/LineCanvas.h"

class PatternForm;

// A pattern window's own surface seen as a line canvas.
class PatternCanvas : public LineCanvas
{
public:
    explicit PatternCanvas(PatternForm &form)
        : m_form(form)
    { }

    float Width() const override;
    float Height() const override;
    quint32 ForeColor() const override;
    void setForeColor(quint32 color) override;
    void Line(float x1, float y1, float x2, float y2) override;

private:
    PatternForm &m_form;
};
