#include "app/CommandLine.h"
#include "app/Options.h"
#include "app/frmMenu.h"
#include "platform/AppVersion.h"
#include "platform/AppIcon.h"
#include "platform/SettingsStore.h"

#include <QApplication>

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace {
// Qt's messages while it connects to the display: kept back, so that a missing display ends in one
// line of ours instead of Qt's advice to reinstall and an abort.
QtMessageHandler s_defaultHandler = nullptr;
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> s_heldBack;

void holdBackMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        s_heldBack.append({ type, QByteArray(context.category), text });
        return;
    }
    std::fputs("quorbel: no display could be opened (no X server at DISPLAY, no Wayland compositor at "
               "WAYLAND_DISPLAY); without a desktop, run: xvfb-run -s '-screen 0 1920x1080x24' quorbel\n",
        stderr);
    std::_Exit(EXIT_FAILURE);
}

void releaseMessages()
{
    qInstallMessageHandler(s_defaultHandler);
    for (const HeldMessage &held : std::as_const(s_heldBack))
        s_defaultHandler(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()), held.text);
    s_heldBack.clear();
}

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationVersion(AppVersion::text());
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Full-screen test patterns for adjusting a monitor."));
    parser.addHelpOption();
    parser.addVersionOption();
    CommandLine::addOptions(parser);
    // Qt's own options (-platform, -display...) are not ours: a failed parse here is judged later.
    if (parser.parse(argumentList(argc, argv)) && (parser.isSet(QStringLiteral("help"))
            || parser.isSet(QStringLiteral("version")))) {
        // Answered without a display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Quorbel!"));
        parser.process(core);
    }

    // The class of the windows and the Wayland app id, as the menu entry names them.
    QCoreApplication::setApplicationName(QStringLiteral("quorbel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quorbel"));
    SettingsStore::ignoreRelativeConfigHome();
    s_defaultHandler = qInstallMessageHandler(holdBackMessage);
    QApplication app(argc, argv);
    releaseMessages();
    parser.process(app);

    app.setWindowIcon(AppIcon::icon());
    const CommandLine::Request request = CommandLine::read(parser);
    if (!request.error.isEmpty()) {
        std::fprintf(stderr, "quorbel: %s\n", qPrintable(request.error));
        return 2;
    }
    if (request.listMonitors) {
        std::fputs(qPrintable(CommandLine::monitorList()), stdout);
        return 0;
    }
    // Closing the main window closes every window it opened, and the program ends.
    frmMenu menu;
    menu.bringToFront();
    if (request.test)
        menu.openTest(*request.test, request.monitor.isEmpty() ? Options().monitor() : request.monitor);
    return app.exec();
}
