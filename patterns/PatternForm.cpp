#include "patterns/PatternForm.h"

#include "app/frmMenu.h"
#include "platform/DeviceGrid.h"
#include "platform/GraphicElement.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"

#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QtMath>

PatternForm::PatternForm()
    : Form(Qt::Tool | Qt::FramelessWindowHint)
    , m_backColor(OleColor::ButtonFace)
    , m_foreColor(OleColor::ButtonText)
{
    setWindowTitle(QStringLiteral("Quorbel!"));
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::StrongFocus);
    // We paint every pixel ourselves from the kept surface.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PatternForm::Form_Load()
{
    setWindowStateValue(Maximized);
}

void PatternForm::Form_KeyPress(int &KeyAscii)
{
    if (KeyAscii != 27)
        return;
    Unload();
    form<frmMenu>().Show();
}

void PatternForm::setWindowStateValue(WindowStateValue state)
{
    m_windowState = state;
    if (isVisible())
        showWindow();
}

void PatternForm::showWindow()
{
    if (m_windowState != Maximized) {
        show();
        return;
    }
    // The monitor that holds the main window. Without a window manager, full screen alone would not
    // cover it under X11: the geometry is set to the screen's first.
    QScreen *screen = Screen::target();
    if (screen) {
        if (!windowHandle())
            create();
        windowHandle()->setScreen(screen);
        setGeometry(screen->geometry());
        followScreen(screen);
    }
    showFullScreen();
}

void PatternForm::followScreen(QScreen *screen)
{
    // A new display resolution while the pattern is up: a window manager would resize a full-screen
    // window, but without one nothing does, and the pattern would cover only part of the screen.
    disconnect(m_screenWatch);
    m_screenWatch = connect(screen, &QScreen::geometryChanged, this, [this](const QRect &geometry) {
        if (m_windowState == Maximized && isVisible() && geometry.isValid() && geometry != this->geometry())
            setGeometry(geometry);
    });
}

void PatternForm::setBackColor(quint32 color)
{
    m_backColor = color;
    m_pendingLines.clear(); // covered by the new background anyway
    if (!m_canvas.isNull())
        m_canvas.fill(OleColor::toStandardRgb(color));
    m_frameDirty = true;
    update();
}

QSize PatternForm::deviceSize() const
{
    const qreal dpr = devicePixelRatioF();
    return QSize(qRound(width() * dpr), qRound(height() * dpr));
}

float PatternForm::Width() const
{
    return float(deviceSize().width()) * Screen::TwipsPerPixelX();
}

float PatternForm::Height() const
{
    return float(deviceSize().height()) * Screen::TwipsPerPixelY();
}

void PatternForm::ensureCanvas()
{
    const QSize size = deviceSize();
    if (m_canvas.size() == size && !m_canvas.isNull())
        return;
    m_canvas = QImage(size, QImage::Format_RGB32);
    m_canvas.fill(OleColor::toStandardRgb(m_backColor));
    m_pendingLines.clear(); // they belonged to the surface just dropped
    m_frameDirty = true;
}

void PatternForm::Line(float x1, float y1, float x2, float y2)
{
    ensureCanvas();
    const double tx = Screen::TwipsPerPixelX();
    const double ty = Screen::TwipsPerPixelY();
    // Collected and drawn together when the picture is next needed: thousands of screen-high lines
    // go much faster that way.
    m_pendingLines.push_back({ DeviceGrid::pixelAt(x1, tx), DeviceGrid::pixelAt(y1, ty),
        DeviceGrid::pixelAt(x2, tx), DeviceGrid::pixelAt(y2, ty), OleColor::toStandardRgb(m_foreColor) });
    m_frameDirty = true;
    update();
}

void PatternForm::drawPendingLines()
{
    if (m_pendingLines.empty())
        return;
    DeviceGrid::drawLines(m_canvas, m_pendingLines);
    m_pendingLines.clear();
}

void PatternForm::addElement(GraphicElement *element)
{
    m_elements.push_back(element);
    element->setChangeHandler([this] { elementsChanged(); });
    elementsChanged();
}

void PatternForm::elementsChanged()
{
    m_frameDirty = true;
    update();
}

QImage PatternForm::frame() const
{
    const_cast<PatternForm *>(this)->ensureCanvas();
    const_cast<PatternForm *>(this)->drawPendingLines();
    if (m_elements.empty())
        return m_canvas;
    if (m_frameDirty) {
        m_frame = m_canvas.copy();
        const double tx = Screen::TwipsPerPixelX();
        const double ty = Screen::TwipsPerPixelY();
        for (const GraphicElement *element : m_elements)
            if (element->Visible())
                element->render(m_frame, tx, ty);
        m_frameDirty = false;
    }
    return m_frame;
}

void PatternForm::resizeEvent(QResizeEvent *event)
{
    // A new size starts from a clean surface; Form_Resize then lays out or draws afresh.
    ensureCanvas();
    Form::resizeEvent(event);
}

void PatternForm::paintEvent(QPaintEvent *)
{
    const QImage image = frame();
    QPainter painter(this);
    // Undo the desktop scale rather than tag the picture with it: one device pixel per image pixel
    // either way, but this is a plain copy, not a scaling pass over a detached copy.
    const qreal dpr = devicePixelRatioF();
    painter.setTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    painter.drawImage(QPoint(0, 0), image);
}

void PatternForm::mousePressEvent(QMouseEvent *)
{
    // Clicks do nothing in a pattern window.
}
