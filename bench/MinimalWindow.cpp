// The floor for start-up: a plain Qt window with the main window's menus and controls, at their places
// and with their captions, and no logic (no settings, no icon, no measuring of texts).
#include <QApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
struct Control
{
    const char *caption;
    QRect geometry;
};
const Control Frames[] = {
    { "Test Information", { 344, 8, 169, 345 } },
    { "Test Patterns", { 8, 8, 321, 121 } },
    { "Black and White Test Patterns", { 8, 232, 321, 121 } },
    { "LCD Pixel Color Tests", { 8, 144, 321, 73 } },
};
const char *const Buttons[] = { "Boxes", "Circles", "Colors", "Crosshairs", "Vertical Lines",
    "Diagonal Lines", "Red", "Green", "Blue", "Black", "White", "50% Grey", "Greys" };
const int ButtonLefts[] = { 24, 128, 232 };
const int ButtonTops[] = { 32, 80, 168, 256, 304 };
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *bar = new QMenuBar(&window);
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Check For Update"));
    QAction *showMessage = file->addAction(QStringLiteral("Show Pre-Test Message"));
    showMessage->setCheckable(true);
    showMessage->setChecked(true);
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"));
    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Quorbel! Help"));
    help->addSeparator();
    help->addAction(QStringLiteral("About"));
    layout->setMenuBar(bar);
    auto *client = new QWidget(&window);
    client->setFixedSize(522, 361);
    layout->addWidget(client);
    for (const Control &frame : Frames)
        (new QGroupBox(QString::fromLatin1(frame.caption), client))->setGeometry(frame.geometry);
    for (int i = 0; i < 13; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(Buttons[i]), client);
        // Three to a row, in the catalogue's order; Greys alone in the last row.
        button->setGeometry(ButtonLefts[i % 3], ButtonTops[i / 3], 81, 33);
    }
    auto *text = new QPlainTextEdit(client);
    text->setGeometry(352, 24, 153, 321);
    text->setReadOnly(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window.show();
    return app.exec();
}
