// Renders what the user sees, with the program's own code, to PNG files: the picture of each of the
// thirteen tests on a screen of a chosen size, and the main window and the dialogs as they open. Each
// picture is reached the way a user reaches it (a button, a menu item, the update check against a
// loopback server), on Qt's offscreen platform, so the README's gallery cannot drift from the program.

#include "app/Options.h"
#include "app/frmMenu.h"
#include "patterns/PatternForm.h"
#include "patterns/TestCatalog.h"
#include "platform/AppVersion.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>

namespace {

constexpr int DefaultWidth = 640;
constexpr int DefaultHeight = 360;
constexpr int LargestSide = 16384;
constexpr int PollMs = 5;
constexpr int ModalTimeoutMs = 60000;
// The version the update server announces in the picture of the update dialog.
constexpr char NewerVersion[] = "4.1.0";

struct Picture
{
    QString name;
    // The user's action that brings the picture up; nothing for the main window, which is up already.
    std::function<void()> open;
    // Class of the modal window to picture; nullptr for the main window.
    const char *windowClass;
};

const char *const Usage
    = "Usage: quorbel-render [--size WIDTHxHEIGHT] [--out DIR] [--list] [NAME...]\n"
      "Renders the test patterns (on a screen of the given size, default 640x360), the\n"
      "main window and the dialogs to DIR/NAME.png (DIR defaults to the current folder).\n"
      "Without names, every picture; --list prints the names. Pictures named -large show\n"
      "the window with the desktop's font half as large again.\n";

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "quorbel-render: %s\n", qPrintable(message));
    std::exit(2);
}

// Serves the version file to the update check: one body for every request, then the connection ends.
class VersionServer
{
public:
    VersionServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            fail(QStringLiteral("no loopback port for the version file: ") + m_server.errorString());
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->setProperty(
                        "request", socket->property("request").toByteArray() + socket->readAll());
                    if (!socket->property("request").toByteArray().contains("\r\n\r\n"))
                        return;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                        + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
            }
        });
    }

    void setBody(const QByteArray &body) { m_body = body; }
    QString address() const
    {
        return QStringLiteral("http://127.0.0.1:%1/update/qrblver.dat").arg(m_server.serverPort());
    }

private:
    QTcpServer m_server;
    QByteArray m_body;
};

// A modal dialog, else a pattern window: what the user has in front of them.
QWidget *frontWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("PatternForm"))
            return w;
    return nullptr;
}

template <class T = QObject> T *control(frmMenu &menu, const char *name)
{
    return menu.findChild<T *>(QLatin1String(name));
}

// Leaves a modal window the way a user does: Esc for a pattern, OK for a dialog or message box.
void closeModal(QWidget *window)
{
    if (auto *pattern = qobject_cast<PatternForm *>(window)) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QCoreApplication::sendEvent(pattern, &esc);
    } else if (auto *box = qobject_cast<QMessageBox *>(window)) {
        box->button(QMessageBox::Ok)->click();
    } else if (auto *ok = window->findChild<QPushButton *>(QStringLiteral("cmdOK"))) {
        ok->click();
    } else {
        fail(QStringLiteral("no way to close ") + QString::fromLatin1(window->metaObject()->className()));
    }
}

QImage pictureOf(QWidget *window)
{
    // A pattern's own device-pixel picture, exact whatever the platform does with the window.
    if (auto *pattern = qobject_cast<PatternForm *>(window))
        return pattern->frame().convertToFormat(QImage::Format_RGB32);
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Runs the action; the first window of the class that comes up is pictured, and every window on the way
// (the pre-test message before a pattern, the pattern after it) is closed again. Returns once the action has
// run to its end.
QImage captureModal(const std::function<void()> &open, const char *windowClass)
{
    QImage captured;
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer poll;
    poll.setInterval(PollMs);
    const auto step = [&] {
        QWidget *window = frontWindow();
        if (!window || !window->isVisible()) {
            if (elapsed.elapsed() > ModalTimeoutMs)
                fail(QStringLiteral("no %1 came up").arg(QString::fromLatin1(windowClass)));
            return;
        }
        if (captured.isNull() && window->inherits(windowClass))
            captured = pictureOf(window);
        closeModal(window);
    };
    QObject::connect(&poll, &QTimer::timeout, step);
    poll.start();
    open();
    poll.stop();
    // A pattern stays up after the action that opened it.
    while (frontWindow())
        step();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (captured.isNull())
        fail(QStringLiteral("no %1 came up").arg(QString::fromLatin1(windowClass)));
    return captured;
}

std::vector<Picture> pictures(frmMenu &menu, VersionServer &server)
{
    const auto update = [&server, &menu](const char *name, const QByteArray &body, const char *windowClass) {
        return Picture { QString::fromLatin1(name),
            [&server, &menu, body] {
                server.setBody(body);
                control<QAction>(menu, "mnuFileCheckForUpdate")->trigger();
            },
            windowClass };
    };
    std::vector<Picture> all {
        { QStringLiteral("main-window"), nullptr, nullptr },
        { QStringLiteral("pre-test-message"),
            [&menu] {
                Options().setShowInfo(true);
                control<QPushButton>(menu, "cmdBoxes")->click();
            },
            "frmTestInfo" },
    };
    for (const TestCatalog::Test &test : TestCatalog::all()) {
        auto *button = control<QPushButton>(menu, test.button);
        all.push_back({ QString::fromLatin1(test.name),
            [button] {
                Options().setShowInfo(false);
                button->click();
            },
            "PatternForm" });
    }
    all.insert(all.end(),
        {
            { QStringLiteral("help"), [&menu] { control<QAction>(menu, "menitmQRBLHelp")->trigger(); }, "frmHelp" },
            { QStringLiteral("about"), [&menu] { control<QAction>(menu, "menitmAbout")->trigger(); }, "frmAbout" },
            update("update", NewerVersion, "frmUpdate"),
            update("update-latest", AppVersion::text().toLatin1(), "QMessageBox"),
            update("update-not-responding", QByteArray(), "QMessageBox"),
            { QStringLiteral("main-window-large"), nullptr, nullptr },
            { QStringLiteral("about-large"), [&menu] { control<QAction>(menu, "menitmAbout")->trigger(); }, "frmAbout" },
        });
    return all;
}

// The main window as it is while the pointer rests on the Colors button: the panel describes the test.
QImage mainWindowPicture(frmMenu &menu)
{
    const QPointF inside(10, 10);
    auto *colors = control<QPushButton>(menu, "cmdColors");
    QMouseEvent move(QEvent::MouseMove, inside, colors->mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(colors, &move);
    QCoreApplication::processEvents();
    return menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QtMessageHandler s_defaultMessages = nullptr;

// The offscreen platform reports every window-manager request it has no use for; that is no news here.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support"))
        || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    s_defaultMessages(type, context, message);
}

struct Arguments
{
    int width = DefaultWidth;
    int height = DefaultHeight;
    QString out = QStringLiteral(".");
    bool list = false;
    QStringList names;
};

Arguments parse(int argc, char **argv)
{
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const auto value = [&]() -> QString {
            if (i + 1 >= argc)
                fail(arg + QStringLiteral(" needs a value"));
            return QString::fromLocal8Bit(argv[++i]);
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            std::exit(0);
        } else if (arg == QLatin1String("--size")) {
            const QString size = value();
            const QStringList parts = size.split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (parts.size() == 2) {
                args.width = parts[0].toInt(&okW);
                args.height = parts[1].toInt(&okH);
            }
            if (!okW || !okH || args.width < 1 || args.height < 1 || args.width > LargestSide
                || args.height > LargestSide)
                fail(QStringLiteral("--size wants WIDTHxHEIGHT in pixels, 1 to %1 each, not \"%2\"")
                         .arg(LargestSide)
                         .arg(size));
        } else if (arg == QLatin1String("--out")) {
            args.out = value();
        } else if (arg == QLatin1String("--list")) {
            args.list = true;
        } else if (arg.startsWith(QLatin1Char('-'))) {
            fail(QStringLiteral("unknown option ") + arg + QStringLiteral("\n") + QString::fromLatin1(Usage));
        } else {
            args.names << arg;
        }
    }
    return args;
}

} // namespace

int main(int argc, char **argv)
{
    const Arguments args = parse(argc, argv);

    // Offscreen, one screen of the asked size at scale 1: a pattern's pixels are then the screen's.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString screenConfig = scratch.filePath(QStringLiteral("screen.json"));
    {
        QFile config(screenConfig);
        if (!config.open(QIODevice::WriteOnly))
            fail(QStringLiteral("cannot write ") + screenConfig);
        config.write(QStringLiteral("{\"screens\":[{\"name\":\"gallery\",\"x\":0,\"y\":0,\"width\":%1,"
                                    "\"height\":%2,\"logicalDpi\":96,\"logicalBaseDpi\":96}]}")
                         .arg(args.width)
                         .arg(args.height)
                         .toUtf8());
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screenConfig));
    for (const char *name : { "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
             "QT_FONT_DPI", "QT_STYLE_OVERRIDE" })
        qunsetenv(name);
    // The loopback version server must be reached directly, whatever proxy this desktop names.
    for (const char *name :
        { "http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy" })
        qunsetenv(name);

    s_defaultMessages = qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // The pictures show a first start; the user's own option is neither read nor changed.
    QSettings::setPath(
        QSettings::NativeFormat, QSettings::UserScope, scratch.filePath(QStringLiteral("config")));

    frmMenu menu;
    menu.show();
    QCoreApplication::processEvents();
    VersionServer server;
    UpdateCheck::setAddressForTest(server.address());
    UpdateCheck::setHelperForTest(QStringLiteral(QRBL_FETCH_HELPER));

    std::vector<Picture> all = pictures(menu, server);
    if (args.list) {
        for (const Picture &p : all)
            std::printf("%s\n", qPrintable(p.name));
        return 0;
    }
    for (const QString &name : args.names)
        if (std::none_of(all.begin(), all.end(), [&](const Picture &p) { return p.name == name; }))
            fail(QStringLiteral("no picture named \"%1\"; --list names them").arg(name));
    if (!QDir().mkpath(args.out))
        fail(QStringLiteral("cannot create ") + args.out);

    // Always in this order, whatever the command line's, so the main window is pictured as it starts.
    for (const Picture &p : all) {
        if (!args.names.isEmpty() && !args.names.contains(p.name))
            continue;
        // A "-large" picture: the desktop's font half as large again, as at 144 dots per inch.
        const QFont desktopFont = QApplication::font();
        if (p.name.endsWith(QLatin1String("-large"))) {
            QFont large = desktopFont;
            large.setPointSizeF(desktopFont.pointSizeF() * 1.5);
            QApplication::setFont(large);
            // The change reaches the windows, then the new layout they queue runs.
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        }
        const QImage image = p.windowClass ? captureModal(p.open, p.windowClass) : mainWindowPicture(menu);
        QApplication::setFont(desktopFont);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (qstrcmp(p.windowClass, "PatternForm") == 0 && image.size() != QSize(args.width, args.height))
            fail(QStringLiteral("%1 came out %2x%3, not the screen's size")
                     .arg(p.name)
                     .arg(image.width())
                     .arg(image.height()));
        const QString file = QDir(args.out).filePath(p.name + QStringLiteral(".png"));
        if (!image.save(file, "PNG"))
            fail(QStringLiteral("cannot write ") + file);
        std::printf("%s\n", qPrintable(file));
    }

    return 0;
}
