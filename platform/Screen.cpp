#include "platform/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtMath>

namespace {
std::optional<float> s_tppX;
std::optional<float> s_tppY;
std::optional<float> s_width;
} // namespace

float Screen::TwipsPerPixelX()
{
    return s_tppX.value_or(DefaultTwipsPerPixel);
}

float Screen::TwipsPerPixelY()
{
    return s_tppY.value_or(DefaultTwipsPerPixel);
}

float Screen::Width(const QScreen *screen)
{
    if (s_width)
        return *s_width;
    const int device = screen ? qRound(screen->geometry().width() * screen->devicePixelRatio()) : 0;
    return float(device) * TwipsPerPixelX();
}

QScreen *Screen::holding(const QWidget *window)
{
    if (window)
        if (QScreen *s = window->screen())
            return s;
    return QGuiApplication::primaryScreen();
}

void Screen::setTwipsPerPixel(std::optional<float> x, std::optional<float> y)
{
    s_tppX = x;
    s_tppY = y;
}

void Screen::setWidthOverride(std::optional<float> widthTwips)
{
    s_width = widthTwips;
}
