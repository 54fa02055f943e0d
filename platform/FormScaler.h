#pragma once

#include <QRect>

class QWidget;

// Lays a window out from its design's twips, every control, gap and the client area times one factor:
// the smallest at or above 1 at which each control's own size hint fits its room at the desktop's font.
// The design was measured for a smaller font than most desktops use; growing the window evenly keeps its
// proportions, where shrinking single captions would make them unreadable.
namespace FormScaler {
// Dialogs and the main window are laid out at this many twips per logical pixel.
inline constexpr float TwipsPerLogicalPixel = 15.0f;

// The design's twips in logical pixels at factor 1.
QRect twipsRect(int left, int top, int width, int height);
// Places a control where the design puts it, in twips within its parent; the window's factor applies
// when it shows.
void place(QWidget *control, int left, int top, int width, int height);
// The window's client area, fixed in size.
void setClientSize(QWidget *window, int width, int height);
// A control whose design sets its own font size: never below the desktop's font less one point.
void setDesignPointSize(QWidget *control, qreal points);

// Picks the window's factor and lays out every placed control. Done again when the desktop's font
// changes; the window keeps its logical size on a monitor of another scale factor.
void fit(QWidget *window);
qreal factor(const QWidget *window);

// The design's twips at a factor, in logical pixels; edges are rounded, so neighbours stay apart.
QRect scaled(const QRect &twips, qreal factor);
} // namespace FormScaler
