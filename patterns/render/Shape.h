#pragma once

#include "patterns/render/GraphicElement.h"
#include "platform/OleColor.h"

// A windowless shape control: a rectangle or a circle given in single-precision twips, with an interior
// (opaque back colour and/or solid fill) and a solid one-pixel outline drawn on its outermost pixels.
class Shape : public GraphicElement
{
public:
    enum ShapeKind { Rectangle = 0, Circle = 3 };
    enum BackStyleValue { Transparent = 0, Opaque = 1 };
    enum FillStyleValue { Solid = 0, TransparentFill = 1 };

    ShapeKind Kind() const { return m_kind; }
    void setKind(ShapeKind kind) { assign(m_kind, kind); }

    BackStyleValue BackStyle() const { return m_backStyle; }
    void setBackStyle(BackStyleValue style) { assign(m_backStyle, style); }
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color) { assign(m_backColor, color); }
    FillStyleValue FillStyle() const { return m_fillStyle; }
    void setFillStyle(FillStyleValue style) { assign(m_fillStyle, style); }
    quint32 FillColor() const { return m_fillColor; }
    void setFillColor(quint32 color) { assign(m_fillColor, color); }
    quint32 BorderColor() const { return m_borderColor; }
    void setBorderColor(quint32 color) { assign(m_borderColor, color); }

    float Left() const { return m_left; }
    void setLeft(float twips) { assign(m_left, twips); }
    float Top() const { return m_top; }
    void setTop(float twips) { assign(m_top, twips); }
    float Width() const { return m_width; }
    void setWidth(float twips) { assign(m_width, twips); }
    float Height() const { return m_height; }
    void setHeight(float twips) { assign(m_height, twips); }
    void Move(float left, float top, float width, float height);

    std::unique_ptr<RowWalker> rows(
        QSize target, double twipsPerPixelX, double twipsPerPixelY) const override;

private:
    // The colour the interior shows, if any: a solid fill lies over the opaque background.
    bool interiorColor(QRgb &color) const;

    ShapeKind m_kind = Rectangle;
    BackStyleValue m_backStyle = Transparent;
    quint32 m_backColor = OleColor::WindowBackground;
    FillStyleValue m_fillStyle = TransparentFill;
    quint32 m_fillColor = 0x00000000;
    quint32 m_borderColor = OleColor::WindowText;
    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
};
