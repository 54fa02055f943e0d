#pragma once

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

// A windowless element drawn on a pattern window's surface (a shape or a line control).
// Every property set is the value read back; the owner recomposes its frame on any change.
class GraphicElement
{
public:
    virtual ~GraphicElement() = default;

    bool Visible() const { return m_visible; }
    void setVisible(bool visible) { assign(m_visible, visible); }

    // Pixels [first, end) of one device row, in one colour; they may reach beyond the image.
    struct Run
    {
        int first;
        int end;
        QRgb color;
        bool operator==(const Run &o) const { return first == o.first && end == o.end && color == o.color; }
    };

    // The element row by row, top to bottom, for composing a frame without painting one element over
    // another: runs(y, out) appends, in the order they are painted, the runs on row y. Rows are asked in
    // increasing order, each at most once, within [firstRow, endRow).
    class RowWalker
    {
    public:
        virtual ~RowWalker() = default;
        virtual void runs(int y, std::vector<Run> &out) = 0;
        int firstRow = 0;
        int endRow = 0;
    };

    // How the element lies on an image of the given size.
    virtual std::unique_ptr<RowWalker> rows(QSize target, double twipsPerPixelX, double twipsPerPixelY) const
        = 0;

    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

protected:
    // A property set to a new value tells the owner; the same value again changes nothing.
    template <typename T> void assign(T &member, T value)
    {
        if (member == value)
            return;
        member = value;
        if (m_changed)
            m_changed();
    }

private:
    bool m_visible = true;
    std::function<void()> m_changed;
};
