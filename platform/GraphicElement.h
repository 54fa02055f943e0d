#pragma once

#include <QImage>

#include <functional>

// A windowless element drawn on a pattern window's surface (a shape or a line control).
// Every property set is the value read back; the owner recomposes its frame on any change.
class GraphicElement
{
public:
    virtual ~GraphicElement() = default;

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);

    // Draws the element into a device-pixel image at the given twips per pixel.
    virtual void render(QImage &target, double twipsPerPixelX, double twipsPerPixelY) const = 0;

    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

protected:
    void changed() const;

private:
    bool m_visible = true;
    std::function<void()> m_changed;
};
