#include "platform/GraphicElement.h"

void GraphicElement::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    changed();
}

void GraphicElement::changed() const
{
    if (m_changed)
        m_changed();
}
