#pragma once

#include "patterns/render/GraphicElement.h"
#include "platform/OleColor.h"

// A windowless line control from (X1, Y1) to (X2, Y2) in single-precision twips: solid, one pixel wide,
// both end points drawn.
class LineControl : public GraphicElement
{
public:
    float X1() const { return m_x1; }
    void setX1(float twips) { assign(m_x1, twips); }
    float Y1() const { return m_y1; }
    void setY1(float twips) { assign(m_y1, twips); }
    float X2() const { return m_x2; }
    void setX2(float twips) { assign(m_x2, twips); }
    float Y2() const { return m_y2; }
    void setY2(float twips) { assign(m_y2, twips); }
    quint32 BorderColor() const { return m_borderColor; }
    void setBorderColor(quint32 color) { assign(m_borderColor, color); }

    std::unique_ptr<RowWalker> rows(
        QSize target, double twipsPerPixelX, double twipsPerPixelY) const override;

private:
    float m_x1 = 0;
    float m_y1 = 0;
    float m_x2 = 0;
    float m_y2 = 0;
    quint32 m_borderColor = OleColor::WindowText;
};
