#include "app/CommandLine.h"

#include "patterns/TestCatalog.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QScreen>

namespace {
const QString ListMonitors = QStringLiteral("list-monitors");
const QString Test = QStringLiteral("test");
const QString Monitor = QStringLiteral("monitor");

QString testNames()
{
    QStringList names;
    for (const TestCatalog::Test &test : TestCatalog::all())
        names << TestCatalog::commandName(test);
    return names.join(QStringLiteral(", "));
}
} // namespace

void CommandLine::addOptions(QCommandLineParser &parser)
{
    parser.addOption({ ListMonitors,
        QStringLiteral("Prints one line per monitor: its name, size in device pixels, position and scale.") });
    parser.addOption({ Test,
        QStringLiteral("Opens a test at once, without the message before it: ") + testNames()
            + QStringLiteral(". Esc leads back to the main window."),
        QStringLiteral("name") });
    parser.addOption({ Monitor,
        QStringLiteral("With --test: the monitor to show it on, as --list-monitors names it, or all. "
                       "Default: as chosen in File, Show Tests On."),
        QStringLiteral("name") });
}

CommandLine::Request CommandLine::read(const QCommandLineParser &parser)
{
    Request request;
    request.listMonitors = parser.isSet(ListMonitors);
    if (parser.isSet(Test)) {
        request.test = TestCatalog::byCommandName(parser.value(Test));
        if (!request.test)
            request.error = QStringLiteral("no test named \"%1\"; the tests are: %2").arg(parser.value(Test), testNames());
    } else if (parser.isSet(Monitor)) {
        request.error = QStringLiteral("--monitor goes with --test");
    }
    if (!request.error.isEmpty() || !parser.isSet(Monitor))
        return request;
    request.monitor = parser.value(Monitor);
    QStringList names { QStringLiteral("all") };
    for (const QScreen *screen : QGuiApplication::screens())
        names << screen->name();
    if (!names.contains(request.monitor))
        request.error = QStringLiteral("no monitor named \"%1\"; the monitors are: %2")
                            .arg(request.monitor, names.join(QStringLiteral(", ")));
    return request;
}

QString CommandLine::monitorList()
{
    QString lines;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const qreal scale = screen->devicePixelRatio();
        const QRect at = screen->geometry();
        lines += QStringLiteral("%1 %2x%3+%4+%5 scale %6\n")
                     .arg(screen->name())
                     .arg(qRound(at.width() * scale))
                     .arg(qRound(at.height() * scale))
                     .arg(at.x())
                     .arg(at.y())
                     .arg(scale);
    }
    return lines;
}
