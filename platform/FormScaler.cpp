#include "platform/FormScaler.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <QtMath>

namespace {
constexpr char TwipsProperty[] = "qrblDesignTwips";
constexpr char PointsProperty[] = "qrblDesignPoints";
constexpr char FactorProperty[] = "qrblScaleFactor";
constexpr char WatchedProperty[] = "qrblFontWatched";
constexpr qreal FactorStep = 0.02;
// Beyond this a text would not fit on any screen; such a text (a server's reply) stays cut off.
constexpr qreal LargestFactor = 4.0;

QRect designOf(const QWidget *control)
{
    return control->property(TwipsProperty).toRect();
}

bool isPlaced(const QWidget *control)
{
    return control->property(TwipsProperty).isValid();
}

// Whether the control shows all of its text in a room of this size, by its own measure.
bool fitsRoom(const QWidget *control, const QSize &room)
{
    if (control->inherits("QAbstractScrollArea")) {
        // Text boxes scroll; a list shows every entry whole.
        auto *list = qobject_cast<const QListWidget *>(control);
        if (!list || list->count() == 0)
            return true;
        int height = 0;
        for (int row = 0; row < list->count(); ++row)
            height += list->sizeHintForRow(row);
        const int frame = 2 * list->frameWidth();
        return list->sizeHintForColumn(0) + frame <= room.width() && height + frame <= room.height();
    }
    if (auto *label = qobject_cast<const QLabel *>(control); label && label->wordWrap())
        return label->minimumSizeHint().width() <= room.width()
            && label->heightForWidth(room.width()) <= room.height();
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->minimumSizeHint().width() <= room.width();
    const QSize hint = control->sizeHint();
    return !hint.isValid() || (hint.width() <= room.width() && hint.height() <= room.height());
}

bool fits(const QList<QWidget *> &controls, qreal factor)
{
    return std::all_of(controls.begin(), controls.end(), [factor](const QWidget *control) {
        return control->isWindow() || fitsRoom(control, FormScaler::scaled(designOf(control), factor).size());
    });
}

// Refits the window when the desktop's font changes under it, and keeps its logical size when it moves to
// a monitor with another scale factor (a fixed-size window would otherwise keep its device size there,
// its layout cut or left with a margin).
class Watcher : public QObject
{
public:
    explicit Watcher(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
        window->winId();
        connect(window->windowHandle(), &QWindow::screenChanged, this, [window] {
            if (window->minimumSize() == window->maximumSize())
                window->windowHandle()->resize(window->minimumSize());
        });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FontChange) {
            // Once the change has reached every control of the window.
            QPointer<QWidget> window = static_cast<QWidget *>(watched);
            QMetaObject::invokeMethod(
                this,
                [window] {
                    if (window)
                        FormScaler::fit(window);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};
} // namespace

QRect FormScaler::twipsRect(int left, int top, int width, int height)
{
    return scaled(QRect(left, top, width, height), 1);
}

void FormScaler::place(QWidget *control, int left, int top, int width, int height)
{
    control->setProperty(TwipsProperty, QRect(left, top, width, height));
    control->setGeometry(twipsRect(left, top, width, height));
}

void FormScaler::setClientSize(QWidget *window, int width, int height)
{
    window->setProperty(TwipsProperty, QRect(0, 0, width, height));
    window->setFixedSize(twipsRect(0, 0, width, height).size());
}

void FormScaler::setDesignPointSize(QWidget *control, qreal points)
{
    control->setProperty(PointsProperty, points);
    const qreal desktop = QApplication::font().pointSizeF();
    // Only the size is set: family and the rest follow the desktop.
    QFont font;
    font.setPointSizeF(desktop > 0 ? qMax(points, desktop - 1) : points);
    control->setFont(font);
}

qreal FormScaler::factor(const QWidget *window)
{
    return window->property(FactorProperty).isValid() ? window->property(FactorProperty).toReal() : 1.0;
}

QRect FormScaler::scaled(const QRect &twips, qreal factor)
{
    const auto px = [factor](int t) { return qRound(t * factor / TwipsPerLogicalPixel); };
    const int left = px(twips.left());
    const int top = px(twips.top());
    return QRect(left, top, px(twips.left() + twips.width()) - left, px(twips.top() + twips.height()) - top);
}

void FormScaler::fit(QWidget *window)
{
    QList<QWidget *> controls;
    if (isPlaced(window))
        controls.append(window);
    for (QWidget *child : window->findChildren<QWidget *>())
        if (isPlaced(child) && child->window() == window)
            controls.append(child);
    if (controls.isEmpty())
        return;
    if (!window->property(WatchedProperty).toBool()) {
        window->setProperty(WatchedProperty, true);
        new Watcher(window);
    }

    for (QWidget *control : std::as_const(controls))
        if (control->property(PointsProperty).isValid())
            setDesignPointSize(control, control->property(PointsProperty).toReal());

    qreal factor = 1;
    while (factor + FactorStep <= LargestFactor && !fits(controls, factor))
        factor += FactorStep;

    window->setProperty(FactorProperty, factor);
    for (QWidget *control : std::as_const(controls)) {
        const QRect at = scaled(designOf(control), factor);
        if (control->isWindow()) {
            control->setFixedSize(at.size());
        } else if (control->minimumSize() == control->maximumSize()) {
            // Fixed in size; where it sits may be its layout's business (the client area under the menu bar).
            control->setFixedSize(at.size());
            if (!control->parentWidget()->layout())
                control->move(at.topLeft());
        } else {
            control->setGeometry(at);
        }
    }
    // A window sized by its layout (the main window: menu bar over the client area) takes its new size now.
    if (window->layout())
        window->layout()->activate();
}
