// The floor for start-up: a plain Qt window with the same widgets as the main window and no logic.
#include <QApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QMenuBar(&window);
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Check For Update"));
    file->addAction(QStringLiteral("Show Pre-Test Message"))->setCheckable(true);
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"));
    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Help"));
    help->addSeparator();
    help->addAction(QStringLiteral("About"));
    layout->setMenuBar(bar);
    auto *client = new QWidget(&window);
    client->setFixedSize(522, 361);
    layout->addWidget(client);
    for (int i = 0; i < 4; ++i)
        new QGroupBox(QStringLiteral("Frame %1").arg(i), client);
    for (int i = 0; i < 13; ++i) {
        auto *b = new QPushButton(QStringLiteral("Test %1").arg(i), client);
        b->setGeometry(24 + (i % 3) * 104, 32 + (i / 3) * 48, 81, 33);
    }
    auto *text = new QPlainTextEdit(client);
    text->setGeometry(352, 24, 153, 321);
    window.show();
    return app.exec();
}
