#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>

static std::unique_ptr<QTemporaryDir> s_dir;

QList<QWidget *> TestSupport::windows(const char *className)
{
    QList<QWidget *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits(className))
            found << w;
    return found;
}

void TestSupport::answerModals(QObject *scope, std::function<void(QWidget &)> answer)
{
    auto *poll = new QTimer(scope);
    QObject::connect(poll, &QTimer::timeout, [answer] {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            answer(*modal);
    });
    poll->start(5);
}

void TestSupport::freshSettings()
{
    s_dir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, s_dir->path());
}

QString TestSupport::settingsFile()
{
    return s_dir ? s_dir->filePath(QStringLiteral("QRBL/QRBL.conf")) : QString();
}

void TestSupport::writeSettingsFile(const QByteArray &content)
{
    QDir().mkpath(s_dir->filePath(QStringLiteral("QRBL")));
    QFile file(settingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

QByteArray TestSupport::readSettingsFile()
{
    QFile file(settingsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<QProcess> TestSupport::startOnMonitors(
    const QList<Monitor> &monitors, const QStringList &args, const QStringList &env)
{
    QStringList screens;
    for (const Monitor &m : monitors)
        screens << QString::asprintf(R"({"name":"m%d","x":%d,"y":%d,"width":%d,"height":%d,"logicalDpi":%g,)"
                                     R"("logicalBaseDpi":96})",
            int(screens.size()), m.device.x(), m.device.y(), m.device.width(), m.device.height(),
            96 * m.scale);
    auto child = std::make_unique<QProcess>();
    auto *config = new QTemporaryFile(child.get()); // goes with the process
    if (config->open())
        config->write(QStringLiteral(R"({"screens":[%1]})").arg(screens.join(QLatin1Char(','))).toUtf8());
    config->close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(
        QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config->fileName());
    for (const QString &pair : env)
        environment.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    child->setProcessEnvironment(environment);
    child->start(QCoreApplication::applicationFilePath(), args);
    return child;
}
