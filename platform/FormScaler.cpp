#include "platform/FormScaler.h"

#include "platform/Form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QtMath>

namespace {
constexpr char TwipsProperty[] = "qrblDesignTwips";
constexpr char PointsProperty[] = "qrblDesignPoints";
constexpr char FactorProperty[] = "qrblScaleFactor";
constexpr char WatchedProperty[] = "qrblFontWatched";
constexpr qreal FactorStep = 0.02;
// Beyond this a text would not fit on any screen; such a text (a server's reply) stays cut off.
constexpr qreal LargestFactor = 4.0;
// A list's text keeps a little air from its border.
constexpr int ListTextMargin = 4;

QRect designOf(const QWidget *control)
{
    return control->property(TwipsProperty).toRect();
}

bool isRecorded(const QWidget *control)
{
    return control->property(TwipsProperty).isValid();
}

QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// Where the control lies in its window at a factor: recorded parents move with it.
QPoint originAt(const QWidget *control, qreal factor)
{
    QPoint origin;
    for (const QWidget *w = control; w && !w->isWindow(); w = w->parentWidget())
        origin += isRecorded(w) ? FormScaler::scaled(designOf(w), factor).topLeft() : w->pos();
    return origin;
}

// Refits the window when the desktop's font changes under it.
class FontWatcher : public QObject
{
public:
    using QObject::QObject;

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

void FormScaler::record(QWidget *control, const QRect &twips)
{
    control->setProperty(TwipsProperty, twips);
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
    const auto px = [factor](int t) { return qRound(t * factor / Form::TwipsPerLogicalPixel); };
    const int left = px(twips.left());
    const int top = px(twips.top());
    return QRect(left, top, px(twips.left() + twips.width()) - left, px(twips.top() + twips.height()) - top);
}

QRect FormScaler::textRect(const QWidget *control, const QSize &size)
{
    const QFontMetrics fm(control->font());
    const QStyle *style = control->style();
    if (auto *box = qobject_cast<const QCheckBox *>(control)) {
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)
            + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        const QSize text = fm.size(Qt::TextShowMnemonic, withoutMnemonics(box->text()));
        const int height = qMax(text.height(), style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box));
        return QRect(0, (size.height() - height) / 2, indicator + text.width(), height);
    }
    if (auto *button = qobject_cast<const QAbstractButton *>(control)) {
        if (button->text().isEmpty())
            return QRect();
        // The style's frame and margin around a centred caption.
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const QSize text = fm.size(Qt::TextShowMnemonic, withoutMnemonics(button->text()))
            + QSize(margin + 2 * frame, 2 * frame);
        return QRect(QPoint((size.width() - text.width()) / 2, (size.height() - text.height()) / 2), text);
    }
    if (auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->text().isEmpty())
            return QRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return fm.boundingRect(QRect(QPoint(), size), flags, label->text());
    }
    if (auto *frame = qobject_cast<const QGroupBox *>(control)) {
        if (frame->title().isEmpty())
            return QRect();
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.rect = QRect(QPoint(), size);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label
            = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        // Never less than the caption's own width, whatever the style gives.
        return QRect(label.topLeft(),
            QSize(qMax(label.width(), fm.horizontalAdvance(option.text)), qMax(label.height(), fm.height())));
    }
    if (auto *list = qobject_cast<const QListWidget *>(control)) {
        if (list->count() == 0)
            return QRect();
        int height = 0;
        for (int row = 0; row < list->count(); ++row)
            height += list->sizeHintForRow(row);
        const int frame = list->frameWidth();
        return QRect(0, 0, list->sizeHintForColumn(0) + 2 * frame + ListTextMargin, height + 2 * frame);
    }
    // Text boxes scroll; other controls show no text.
    return QRect();
}

bool FormScaler::fits(const QWidget *window, const QList<QWidget *> &controls, qreal factor)
{
    QList<QRect> texts;
    QList<QRect> bounds;
    for (const QWidget *control : controls) {
        const QRect at(originAt(control, factor), scaled(designOf(control), factor).size());
        const QRect text = control == window ? QRect() : textRect(control, at.size());
        if (!text.isEmpty() && !QRect(QPoint(), at.size()).contains(text))
            return false;
        bounds.append(at);
        texts.append(text.translated(at.topLeft()));
    }
    // No two texts overlap, and no text lies under a control that hides it: labels and frames are
    // see-through, and a frame may hold another control (a button on it) with its text.
    for (int a = 0; a < controls.size(); ++a) {
        for (int b = 0; b < controls.size(); ++b) {
            const QWidget *other = controls[b];
            if (a == b || texts[a].isEmpty() || other->isAncestorOf(controls[a])
                || controls[a]->isAncestorOf(other))
                continue;
            if (texts[a].intersects(texts[b]))
                return false;
            const bool seeThrough = other->inherits("QLabel") || other->inherits("QGroupBox");
            if (!seeThrough && !bounds[b].contains(bounds[a]) && bounds[b].intersects(texts[a]))
                return false;
        }
    }
    return true;
}

void FormScaler::fit(QWidget *window)
{
    QList<QWidget *> controls;
    if (isRecorded(window))
        controls.append(window);
    for (QWidget *child : window->findChildren<QWidget *>())
        if (isRecorded(child) && child->window() == window)
            controls.append(child);
    if (controls.isEmpty())
        return;
    if (!window->property(WatchedProperty).toBool()) {
        window->setProperty(WatchedProperty, true);
        window->installEventFilter(new FontWatcher(window));
    }

    for (QWidget *control : std::as_const(controls))
        if (control->property(PointsProperty).isValid())
            setDesignPointSize(control, control->property(PointsProperty).toReal());

    qreal factor = 1;
    while (factor + FactorStep <= LargestFactor && !fits(window, controls, factor))
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
