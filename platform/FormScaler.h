#pragma once

#include <QRect>

class QFont;
class QWidget;

// Lays a window out from its design's twips, every control, gap and the client area times one factor:
// the smallest at or above 1 at which each text of the window fits at the desktop's font. The design
// was measured for a smaller font than most desktops use; growing the window evenly keeps its
// proportions, where shrinking single captions would make them unreadable.
class FormScaler
{
public:
    // Remembers where the design puts a control, in twips within its parent. A window records its
    // client area at (0, 0).
    static void record(QWidget *control, const QRect &twips);
    // A control whose design sets its own font size: never below the desktop's font less one point.
    static void setDesignPointSize(QWidget *control, qreal points);

    // Measures the window's texts, picks its factor and lays out every recorded control. Done again,
    // later, when the desktop's font changes.
    static void fit(QWidget *window);
    static qreal factor(const QWidget *window);

    // The design's twips at a factor, in logical pixels; edges are rounded, so neighbours stay apart.
    static QRect scaled(const QRect &twips, qreal factor);
    // The room a control's text takes at a size, with the style's margins, in the control's own
    // coordinates; an empty rect when it shows none (a text box scrolls instead).
    static QRect textRect(const QWidget *control, const QSize &size);

private:
    static bool fits(const QWidget *window, const QList<QWidget *> &controls, qreal factor);
};
