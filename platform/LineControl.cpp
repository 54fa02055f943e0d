#include "platform/LineControl.h"

#include "platform/DeviceGrid.h"

void LineControl::assign(float &member, float value)
{
    if (member == value)
        return;
    member = value;
    changed();
}

void LineControl::setX1(float twips)
{
    assign(m_x1, twips);
}
void LineControl::setY1(float twips)
{
    assign(m_y1, twips);
}
void LineControl::setX2(float twips)
{
    assign(m_x2, twips);
}
void LineControl::setY2(float twips)
{
    assign(m_y2, twips);
}

void LineControl::setBorderColor(quint32 color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    changed();
}

void LineControl::render(QImage &target, double twipsPerPixelX, double twipsPerPixelY) const
{
    DeviceGrid::drawLine(target, DeviceGrid::pixelAt(m_x1, twipsPerPixelX),
        DeviceGrid::pixelAt(m_y1, twipsPerPixelY), DeviceGrid::pixelAt(m_x2, twipsPerPixelX),
        DeviceGrid::pixelAt(m_y2, twipsPerPixelY), OleColor::toStandardRgb(m_borderColor));
}
