#include "patterns/PatternForm.h"

#include "app/frmMenu.h"
#include "patterns/render/DeviceGrid.h"
#include "patterns/render/FrameComposer.h"
#include "patterns/render/GraphicElement.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"

#include <QGuiApplication>
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

namespace {
// XWayland's window manager places a window whose position we set instead of making it full screen;
// there the compositor always covers the output for us.
bool fullScreenByCompositor()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}
} // namespace

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
        if (!fullScreenByCompositor())
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
        if (m_windowState == Maximized && isVisible() && geometry.isValid() && geometry != this->geometry()
            && !fullScreenByCompositor())
            setGeometry(geometry);
    });
}

void PatternForm::setBackColor(quint32 color)
{
    m_backColor = color;
    clearSurface(); // lines drawn so far are covered by the new background anyway
    update();
}

QSize PatternForm::deviceSize() const
{
    // Once the window exists its own ratio is what devicePixelRatioF() would answer, without a look
    // through the screens; Line asks for it with every line.
    const QWindow *window = windowHandle();
    const qreal dpr = window ? window->devicePixelRatio() : devicePixelRatioF();
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
    if (size == m_surfaceSize)
        return;
    m_surfaceSize = size;
    // Let go of the old pictures before anything is drawn at the new size.
    m_canvas = QImage();
    m_frame = QImage();
    clearSurface();
}

void PatternForm::clearSurface()
{
    m_canvasBare = true;
    m_pendingLines.clear();
    m_frameDirty = true;
}

void PatternForm::Line(float x1, float y1, float x2, float y2)
{
    ensureCanvas();
    const double tx = Screen::TwipsPerPixelX();
    const double ty = Screen::TwipsPerPixelY();
    // Collected and drawn together when the picture is next needed: thousands of screen-high lines
    // go much faster that way. The first one asks for the repaint that will draw them all.
    if (m_pendingLines.empty())
        update();
    m_pendingLines.push_back({ DeviceGrid::pixelAt(x1, tx), DeviceGrid::pixelAt(y1, ty),
        DeviceGrid::pixelAt(x2, tx), DeviceGrid::pixelAt(y2, ty), OleColor::toStandardRgb(m_foreColor) });
    m_frameDirty = true;
}

// A buffer of the surface's size that this form alone holds, so that writing to it copies nothing.
void PatternForm::prepareBuffer(QImage &image) const
{
    if (image.size() == m_surfaceSize && image.isDetached())
        return;
    image = QImage();
    image = QImage(m_surfaceSize, QImage::Format_RGB32);
}

void PatternForm::paintCanvas()
{
    if (m_canvasBare) {
        // Nothing is on the surface yet but the background: it is filled on the way.
        prepareBuffer(m_canvas);
        DeviceGrid::drawLines(m_canvas, m_pendingLines, OleColor::toStandardRgb(m_backColor));
        m_canvasBare = false;
    } else if (!m_pendingLines.empty()) {
        DeviceGrid::drawLines(m_canvas, m_pendingLines);
    }
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
    auto *self = const_cast<PatternForm *>(this);
    self->ensureCanvas();
    if (m_elements.empty()) {
        self->paintCanvas();
        return m_canvas;
    }
    if (m_frameDirty) {
        // A surface that holds only the background is never painted: the elements go straight over it.
        const bool bare = m_canvasBare && m_pendingLines.empty();
        if (!bare)
            self->paintCanvas();
        prepareBuffer(m_frame);
        FrameComposer::compose(m_frame, bare ? nullptr : &m_canvas, OleColor::toStandardRgb(m_backColor),
            m_elements, Screen::TwipsPerPixelX(), Screen::TwipsPerPixelY());
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
