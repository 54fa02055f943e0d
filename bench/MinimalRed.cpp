// The floor for opening a pattern: the cold launch of a plain Qt program whose only window covers the
// screen in red. Nothing but what any widget program would write.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace {
class RedWindow : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Qt::red); }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    RedWindow window;
    // Full screen is the window manager's job; without one (Xvfb) the window would stay 640 x 480.
    window.setGeometry(window.screen()->geometry());
    window.showFullScreen();
    return app.exec();
}
