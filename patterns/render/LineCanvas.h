#pragma once

#include <QtGlobal>

// Where the line patterns draw: the pattern window itself, or a recorder that lets the loops be checked
// without a window. Sizes are in twips and are read anew on every call, as a window's would be.
class LineCanvas
{
public:
    virtual ~LineCanvas() = default;

    virtual float Width() const = 0;
    virtual float Height() const = 0;
    virtual quint32 ForeColor() const = 0;
    virtual void setForeColor(quint32 color) = 0;
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
};
