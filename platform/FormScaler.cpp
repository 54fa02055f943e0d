#include "platform/FormScaler.h"

#include "platform/Screen.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QStyle>
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
constexpr qreal FontScaleStep = 0.05;
constexpr qreal SmallestFontScale = 0.5;
constexpr char FittingProperty[] = "qrblFitting";

QRect designOf(const QWidget *control)
{
    return control->property(TwipsProperty).toRect();
}

// A control's own design size, never below the desktop's font less one point; only the size is set, family
// and the rest follow the desktop.
QFont designFont(qreal points, qreal scale)
{
    const qreal desktop = QApplication::font().pointSizeF();
    QFont font;
    font.setPointSizeF((desktop > 0 ? qMax(points, desktop - 1) : points) * scale);
    return font;
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

// Where the search for the factor starts: the step below the largest ratio of a control's hint to its room,
// which no smaller factor can satisfy. (Wrapped labels trade width for height: they are left to the search.)
qreal firstGuess(const QList<QWidget *> &controls, qreal largest)
{
    qreal ratio = 1;
    for (const QWidget *control : controls) {
        const auto *label = qobject_cast<const QLabel *>(control);
        const QSize hint = control->sizeHint();
        const QRect room = FormScaler::scaled(designOf(control), 1);
        if (control->isWindow() || (label && label->wordWrap()) || control->inherits("QAbstractScrollArea")
            || control->inherits("QGroupBox") || !hint.isValid() || room.isEmpty())
            continue;
        ratio = qMax(ratio, qMax(qreal(hint.width()) / room.width(), qreal(hint.height()) / room.height()));
    }
    const qreal steps = std::floor((qMin(ratio, largest) - 1) / FactorStep) - 1;
    return 1 + qMax(qreal(0), steps) * FactorStep;
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
        if (event->type() == QEvent::FontChange && !watched->property(FittingProperty).toBool()) {
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
    control->setFont(designFont(points, 1));
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

namespace {
// The largest factor at which the window, with its menu bar and title bar, fits the free area of the
// monitor it opens on (for a dialog, its owner's).
qreal largestFactor(QWidget *window, const QList<QWidget *> &controls)
{
    QRect client;
    for (const QWidget *control : controls)
        client |= designOf(control).topLeft().isNull() ? designOf(control) : QRect();
    const QScreen *screen = Screen::holding(window->parentWidget() ? window->parentWidget()->window() : window);
    if (!screen || client.isEmpty())
        return LargestFactor;
    const QLayout *layout = window->layout();
    const int menuBar = layout && layout->menuBar() ? layout->menuBar()->sizeHint().height() : 0;
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const QRect room = screen->availableGeometry();
    return qMin(LargestFactor,
        qMin(room.width() * FormScaler::TwipsPerLogicalPixel / client.width(),
            (room.height() - menuBar - titleBar) * FormScaler::TwipsPerLogicalPixel / client.height()));
}

// The window's text at a fraction of the desktop's size, each control with a design size of its own in
// proportion; at 1 the window follows the desktop's font.
void setFontScale(QWidget *window, const QList<QWidget *> &controls, qreal scale)
{
    // Set only where it changes: a new font travels to every control and undoes what each has measured.
    if (scale < 1 || window->testAttribute(Qt::WA_SetFont)) {
        QFont font;
        if (scale < 1)
            font.setPointSizeF(QApplication::font().pointSizeF() * scale);
        window->setFont(font);
    }
    for (QWidget *control : controls) {
        if (!control->property(PointsProperty).isValid())
            continue;
        const QFont font = designFont(control->property(PointsProperty).toReal(), scale);
        if (control->font().pointSizeF() != font.pointSizeF())
            control->setFont(font);
    }
}
} // namespace

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

    // Grown evenly until every text fits; past the monitor's edge, smaller text instead, one size for
    // the whole window.
    const qreal largest = qMax(qreal(1), largestFactor(window, controls));
    qreal factor = 1;
    window->setProperty(FittingProperty, true);
    for (qreal scale = 1; scale > SmallestFontScale; scale -= FontScaleStep) {
        setFontScale(window, controls, scale);
        factor = firstGuess(controls, largest);
        while (factor + FactorStep <= largest && !fits(controls, factor))
            factor += FactorStep;
        if (fits(controls, factor))
            break;
    }
    window->setProperty(FittingProperty, false);

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
