#pragma once

#include "patterns/render/DeviceGrid.h"

#include <QImage>
#include <QWidget>

#include <vector>

class GraphicElement;
class QPainter;
class QScreen;

// What every full-screen pattern window shares: borderless, full screen on the monitor it is shown on, no
// pointer; Esc asks its owner to end the test. It draws in device pixels: one twips-per-pixel step of the
// screen object is one physical pixel, whatever the desktop's scale factor.
class PatternForm : public QWidget
{
    Q_OBJECT
public:
    quint32 BackColor() const { return m_backColor; }
    // Like a form's background: the drawing surface is cleared to the new colour.
    void setBackColor(quint32 color);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color) { m_foreColor = color; }

    // The form's line operation: from (x1, y1) to (x2, y2) twips in ForeColor, one device pixel wide,
    // both end points drawn. The lines are kept, so a repaint shows them again.
    void Line(float x1, float y1, float x2, float y2);

    // Size in twips: device pixels times the screen's twips per pixel.
    float Width() const;
    float Height() const;
    QSize deviceSize() const;

    // Full screen on that monitor, in its device pixels.
    void showOn(QScreen *screen);

    // Draws the whole picture into an image of the window's device size (one pixel per device pixel).
    void render(QImage &image);
    // The picture as it is on screen, in an image of its own.
    QImage frame();

signals:
    // Esc: the test is over.
    void escaped();

protected:
    explicit PatternForm(QWidget *parent);

    // Lays out or draws the pattern at the window's present size.
    virtual void Form_Resize() { }

    // A pattern either holds elements (shapes, line controls) or draws with Line, never both.
    // Elements are drawn bottom first, in the order they were added.
    void addElement(GraphicElement *element);
    // Back to the bare background, as after a size change: what Line drew is dropped.
    void clearSurface();

    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // A new device size starts a new, bare surface.
    void followSize();
    void changed();
    // The window's own buffer, where the picture can be drawn straight into it; null elsewhere.
    static QImage *drawableBuffer(QPainter &painter, const QSize &size);
    void followScreen(QScreen *screen);

    quint32 m_backColor;
    quint32 m_foreColor;
    QSize m_surfaceSize;
    std::vector<DeviceGrid::Segment> m_lines; // drawn with Line since the surface was last cleared
    std::vector<GraphicElement *> m_elements;
    bool m_repaintAsked = false;
    QMetaObject::Connection m_screenWatch;
};
