#include "patterns/render/PatternCanvas.h"

#include "patterns/PatternForm.h"

float PatternCanvas::Width() const
{
    return m_form.Width();
}

float PatternCanvas::Height() const
{
    return m_form.Height();
}

quint32 PatternCanvas::ForeColor() const
{
    return m_form.ForeColor();
}

void PatternCanvas::setForeColor(quint32 color)
{
    m_form.setForeColor(color);
}

void PatternCanvas::Line(float x1, float y1, float x2, float y2)
{
    m_form.Line(x1, y1, x2, y2);
}
