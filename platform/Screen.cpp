#include "platform/Screen.h"

#include "platform/Form.h"

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

float Screen::Width()
{
    if (s_width)
        return *s_width;
    return float(deviceWidth(target())) * TwipsPerPixelX();
}

QScreen *Screen::target()
{
    if (QWidget *main = Form::mainWindow())
        if (QScreen *s = main->screen())
            return s;
    return QGuiApplication::primaryScreen();
}

int Screen::deviceWidth(const QScreen *screen)
{
    return screen ? qRound(screen->geometry().width() * screen->devicePixelRatio()) : 0;
}

int Screen::deviceHeight(const QScreen *screen)
{
    return screen ? qRound(screen->geometry().height() * screen->devicePixelRatio()) : 0;
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
