#include "patterns/PatternForm.h"

#include "patterns/render/FrameComposer.h"
#include "patterns/render/GraphicElement.h"
#include "platform/ErrorBoundary.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"
#include "platform/WindowHints.h"

#include <QCursor>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

namespace {
// Qt's blank cursor under Wayland only hides a cursor Qt has shown: a pointer that rests where the pattern
// opens, without having crossed one of our windows, kept the compositor's arrow. A transparent picture
// is a cursor of our own, which the compositor shows as nothing.
QCursor invisibleCursor()
{
    QPixmap none(32, 32);
    none.fill(Qt::transparent);
    return QCursor(none);
}
} // namespace

PatternForm::PatternForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_backColor(OleColor::ButtonFace)
    , m_foreColor(OleColor::ButtonText)
{
    setWindowTitle(QStringLiteral("Quorbel!"));
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(invisibleCursor());
    setFocusPolicy(Qt::StrongFocus);
    // We paint every pixel ourselves from the kept surface.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PatternForm::keyPressEvent(QKeyEvent *event)
{
    // Esc alone ends the test; other keys leave the pattern alone.
    if (event->key() == Qt::Key_Escape)
        emit escaped();
}

void PatternForm::closeEvent(QCloseEvent *event)
{
    // Closed by the desktop rather than by its owner: the test is over all the same.
    if (event->spontaneous())
        emit escaped();
    QWidget::closeEvent(event);
}

void PatternForm::showOn(QScreen *screen)
{
    // The monitor and its whole area are chosen before the native window exists: a window moved to a
    // monitor of another scale afterwards keeps the buffer of the first. Without a window manager, full
    // screen alone would not cover the monitor under X11; XWayland's window manager would place a window
    // whose position we set instead of making it full screen, which there the compositor does for us.
    if (screen) {
        setScreen(screen);
        if (!WindowHints::isXWayland())
            setGeometry(screen->geometry());
        followScreen(screen);
    }
    WindowHints::keepOffTaskBar(this);
    showFullScreen();
    raise();
    activateWindow();
}

void PatternForm::followScreen(QScreen *screen)
{
    // A new display resolution while the pattern is up: a window manager would resize a full-screen
    // window, but without one nothing does, and the pattern would cover only part of the screen.
    disconnect(m_screenWatch);
    m_screenWatch = connect(screen, &QScreen::geometryChanged, this, [this](const QRect &geometry) {
        if (isVisible() && geometry.isValid() && geometry != this->geometry() && !WindowHints::isXWayland())
            setGeometry(geometry);
    });
}

void PatternForm::setBackColor(quint32 color)
{
    m_backColor = color;
    clearSurface(); // lines drawn so far are covered by the new background anyway
}

QSize PatternForm::deviceSize() const
{
    // Once the window exists its own ratio is what devicePixelRatioF() would answer, without a look
    // through the screens; Line asks for it with every line.
    const QWindow *window = windowHandle();
    const qreal dpr = window ? window->devicePixelRatio() : devicePixelRatioF();
    const QSize logical = size();
    return QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr));
}

float PatternForm::Width() const
{
    return float(deviceSize().width()) * Screen::TwipsPerPixelX();
}

float PatternForm::Height() const
{
    return float(deviceSize().height()) * Screen::TwipsPerPixelY();
}

void PatternForm::followSize()
{
    const QSize size = deviceSize();
    if (size == m_surfaceSize)
        return;
    m_surfaceSize = size;
    clearSurface();
}

void PatternForm::clearSurface()
{
    m_lines.clear();
    changed();
}

void PatternForm::changed()
{
    // Thousands of lines come one by one: the first change asks for the repaint that draws them all.
    if (std::exchange(m_repaintAsked, true))
        return;
    update();
}

void PatternForm::Line(float x1, float y1, float x2, float y2)
{
    Q_ASSERT(m_elements.empty());
    followSize();
    const double tx = Screen::TwipsPerPixelX();
    const double ty = Screen::TwipsPerPixelY();
    m_lines.push_back({ DeviceGrid::pixelAt(x1, tx), DeviceGrid::pixelAt(y1, ty), DeviceGrid::pixelAt(x2, tx),
        DeviceGrid::pixelAt(y2, ty), OleColor::toStandardRgb(m_foreColor) });
    changed();
}

void PatternForm::addElement(GraphicElement *element)
{
    Q_ASSERT(m_lines.empty());
    m_elements.push_back(element);
    element->setChangeHandler([this] { changed(); });
    changed();
}

void PatternForm::render(QImage &image)
{
    const QRgb background = OleColor::toStandardRgb(m_backColor);
    if (m_elements.empty())
        DeviceGrid::drawLines(image, m_lines, background);
    else
        FrameComposer::compose(image, background, m_elements, Screen::TwipsPerPixelX(), Screen::TwipsPerPixelY());
}

QImage PatternForm::frame()
{
    followSize();
    QImage image(m_surfaceSize, QImage::Format_RGB32);
    render(image);
    return image;
}

void PatternForm::resizeEvent(QResizeEvent *event)
{
    // A new size starts from a clean surface; Form_Resize then lays out or draws afresh.
    followSize();
    QWidget::resizeEvent(event);
    ErrorBoundary::run("Form_Resize", [this] { Form_Resize(); });
}

QImage *PatternForm::drawableBuffer(QPainter &painter, const QSize &size)
{
    QPaintDevice *device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto *image = static_cast<QImage *>(device);
    const bool rgb32 = image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied;
    return rgb32 && image->size() == size ? image : nullptr;
}

void PatternForm::paintEvent(QPaintEvent *)
{
    m_repaintAsked = false;
    followSize();
    QPainter painter(this);
    // Drawn straight into the window's own buffer, the one frame a pattern costs; the buffer keeps the
    // picture, so an expose shows it again without drawing.
    if (QImage *buffer = drawableBuffer(painter, m_surfaceSize)) {
        render(*buffer);
        return;
    }
    // Undo the desktop scale rather than tag the picture with it: one device pixel per image pixel.
    const qreal dpr = devicePixelRatioF();
    painter.setTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    painter.drawImage(QPoint(0, 0), frame());
}

void PatternForm::mousePressEvent(QMouseEvent *)
{
    // Clicks do nothing in a pattern window.
}
