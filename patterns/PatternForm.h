#pragma once

#include "patterns/render/DeviceGrid.h"
#include "platform/Form.h"

#include <QImage>

#include <vector>

class GraphicElement;
class QScreen;

// What every full-screen pattern window shares: borderless, full screen on the main window's monitor,
// no pointer, Esc back to the main window. It draws in device pixels: one twips-per-pixel step of the
// screen object is one physical pixel, whatever the desktop's scale factor.
class PatternForm : public Form
{
    Q_OBJECT
public:
    enum WindowStateValue { Normal = 0, Minimized = 1, Maximized = 2 };

    quint32 BackColor() const { return m_backColor; }
    // Like a form's background: the drawing surface is cleared to the new colour.
    void setBackColor(quint32 color);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color) { m_foreColor = color; }
    void setWindowStateValue(WindowStateValue state);
    WindowStateValue windowStateValue() const { return m_windowState; }

    // The form's line operation: from (x1, y1) to (x2, y2) twips in ForeColor, one device pixel wide,
    // both end points drawn. The lines are kept, so a repaint shows them again.
    void Line(float x1, float y1, float x2, float y2);

    // Size in twips: device pixels times the screen's twips per pixel.
    float Width() const override;
    float Height() const override;
    QSize deviceSize() const;

    // The picture as it is on screen, one QImage pixel per device pixel; drawn again only after a change.
    QImage frame();

protected:
    PatternForm();

    // A pattern either holds elements (shapes, line controls) or draws with Line, never both.
    // Elements are drawn bottom first, in the order they were added.
    void addElement(GraphicElement *element);
    // Back to the bare background, as after a size change: what Line drew is dropped.
    void clearSurface();

    void Form_Load() override;
    void Form_KeyPress(int &KeyAscii) override;
    void showWindow() override;

    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // A new device size starts a new, bare surface.
    void followSize();
    void changed();
    void followScreen(QScreen *screen);

    quint32 m_backColor;
    quint32 m_foreColor;
    WindowStateValue m_windowState = Normal;
    QSize m_surfaceSize;
    std::vector<DeviceGrid::Segment> m_lines; // drawn with Line since the surface was last cleared
    std::vector<GraphicElement *> m_elements;
    QImage m_frame;
    bool m_frameDirty = true;
    QMetaObject::Connection m_screenWatch;
};
