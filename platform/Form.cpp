#include "platform/Form.h"

#include "platform/ErrorBoundary.h"
#include "platform/FormScaler.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QWindow>
#include <QtMath>

namespace {
int s_loaded = 0;
std::function<void()> s_allUnloaded;
QPointer<QWidget> s_mainWindow;
} // namespace

Form::Form(Qt::WindowFlags flags)
    : QWidget(nullptr, flags)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form()
{
    if (m_slot) {
        // Destroyed without Unload (at process exit): keep the bookkeeping right.
        if (*m_slot == this)
            *m_slot = nullptr;
        --s_loaded;
    }
}

void Form::load(QPointer<Form> *slot)
{
    *slot = this;
    m_slot = slot;
    ++s_loaded;
    Form_Load();
}

void Form::Show(ShowMode mode)
{
    if (!isLoaded())
        return;
    ownByMainWindow();
    // Laid out as late as this: texts may have changed since the window was built.
    FormScaler::fit(this);
    keepSizeAcrossScaleFactors();
    if (mode == Modeless) {
        showWindow();
        raise();
        activateWindow();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    showWindow();
    raise();
    activateWindow();
    QEventLoop loop;
    m_modalLoop = &loop;
    QPointer<Form> self(this);
    loop.exec(QEventLoop::DialogExec);
    if (self)
        self->m_modalLoop = nullptr;
}

void Form::showWindow()
{
    show();
}

void Form::keepSizeAcrossScaleFactors()
{
    // A fixed-size window moved to a monitor with another scale factor kept its device size: its
    // layout, in logical pixels, was cut or left a margin. The same logical size is asked again.
    if (m_scaleWatch)
        return;
    winId();
    m_scaleWatch = connect(windowHandle(), &QWindow::screenChanged, this, [this] {
        if (minimumSize() == maximumSize())
            windowHandle()->resize(minimumSize());
    });
}

void Form::ownByMainWindow()
{
    // Dialogs belong to the main window: window managers keep them above it, with it, and off the
    // task bar only when they know the owner.
    QWidget *main = mainWindow();
    if (windowType() != Qt::Dialog || !main || main == this)
        return;
    winId(); // both native windows, so that the owner can be named
    main->winId();
    windowHandle()->setTransientParent(main->windowHandle());
}

void Form::Hide()
{
    hide();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Form::Unload()
{
    if (m_unloading || !isLoaded())
        return;
    m_unloading = true;
    Form_Unload();
    if (*m_slot == this)
        *m_slot = nullptr;
    m_slot = nullptr;
    --s_loaded;
    if (m_modalLoop)
        m_modalLoop->quit();
    hide();
    deleteLater();
    if (s_loaded == 0 && s_allUnloaded)
        s_allUnloaded();
}

float Form::Width() const
{
    return float(width()) * TwipsPerLogicalPixel;
}

float Form::Height() const
{
    return float(height()) * TwipsPerLogicalPixel;
}

QRect Form::twipsRect(int left, int top, int width, int height)
{
    const auto px = [](int twips) { return qRound(twips / double(TwipsPerLogicalPixel)); };
    return QRect(px(left), px(top), px(width), px(height));
}

void Form::placeTwips(QWidget *control, int left, int top, int width, int height)
{
    FormScaler::record(control, QRect(left, top, width, height));
    control->setGeometry(twipsRect(left, top, width, height));
}

void Form::setClientSizeTwips(int width, int height)
{
    FormScaler::record(this, QRect(0, 0, width, height));
    setFixedSize(twipsRect(0, 0, width, height).size());
}

static void initResources()
{
    // The images live in the static library; referencing its initialiser keeps them linked in.
    Q_INIT_RESOURCE(resources);
}

QIcon Form::applicationIcon()
{
    // Raw pixels, converted from the PNGs by resources/make-icons.sh: no image decoder, and no scan of
    // the image format plugins, before the main window can show.
    static const QIcon icon = [] {
        initResources();
        QIcon i;
        for (int size : { 16, 24, 32, 48, 64, 72 }) {
            const QByteArray pixels
                = QResource(QStringLiteral(":/icons/quorbel-%1.rgba").arg(size)).uncompressedData();
            if (pixels.size() != size * size * 4)
                continue;
            const QImage image(reinterpret_cast<const uchar *>(pixels.constData()), size, size, size * 4,
                QImage::Format_RGBA8888);
            i.addPixmap(QPixmap::fromImage(image));
        }
        return i;
    }();
    return icon;
}

void Form::setAsMainWindow()
{
    s_mainWindow = this;
}

QWidget *Form::mainWindow()
{
    return s_mainWindow.data();
}

int Form::loadedCount()
{
    return s_loaded;
}

void Form::setAllUnloadedHandler(std::function<void()> handler)
{
    s_allUnloaded = std::move(handler);
}

void Form::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused command button, else the default one; Esc the cancel button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The keypad's Enter comes with the keypad modifier; it confirms like the main Enter key.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        QPushButton *target = qobject_cast<QPushButton *>(focusWidget());
        if (!target)
            target = m_defaultButton;
        if (target && target->isEnabled()) {
            target->click();
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && m_cancelButton && m_cancelButton->isEnabled()) {
        m_cancelButton->click();
        return;
    }
    int keyAscii = 0;
    if (!event->text().isEmpty())
        keyAscii = event->text().at(0).unicode();
    else if (event->key() == Qt::Key_Escape)
        keyAscii = 27;
    if (keyAscii == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    ErrorBoundary::run("Form_KeyPress", [&] { Form_KeyPress(keyAscii); });
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ErrorBoundary::run("Form_Resize", [&] { Form_Resize(); });
}

void Form::closeEvent(QCloseEvent *event)
{
    ErrorBoundary::run("Form_Unload", [&] { Unload(); });
    event->accept();
}
