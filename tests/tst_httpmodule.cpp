#include "app/frmMenu.h"
#include "update/HttpClient.h"
#include "support/TestSupport.h"
#include "update/UpdateCheck.h"

#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>

// The network libraries load with the update check's module on the first check, never at start-up;
// without the module a check tells the user what an unreachable server would, and stderr says why.
class tst_httpmodule : public QObject
{
    Q_OBJECT
private slots:
    void startUpLoadsNoNetworkLibrary();
    void missingModuleIsAnUnreachableServer();
    void child();
};

namespace {
QStringList librariesOf(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QStringList libraries;
    for (const QByteArray &line : maps.readAll().split('\n'))
        if (line.contains(".so"))
            libraries << QString::fromLocal8Bit(line.mid(line.lastIndexOf(' ') + 1));
    libraries.removeDuplicates();
    return libraries;
}
} // namespace

void tst_httpmodule::startUpLoadsNoNetworkLibrary()
{
    if (!qEnvironmentVariableIsEmpty("QRBL_CHILD_MODULE"))
        QSKIP("this is the child");
    const QString quorbel = qEnvironmentVariable("QRBL_QUORBEL");
    QVERIFY2(QFileInfo::exists(quorbel), qPrintable(quorbel));
    QTemporaryDir config;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    program.setProcessEnvironment(env);
    program.start(quorbel, {});
    QVERIFY(program.waitForStarted());
    // Up and running once its platform plugin is in and it sits idle in its event loop.
    QStringList libraries;
    QTRY_VERIFY_WITH_TIMEOUT(
        (libraries = librariesOf(program.processId())).filter(QStringLiteral("offscreen")).size() > 0, 20000);
    QTest::qWait(500);
    libraries = librariesOf(program.processId());
    QVERIFY(libraries.filter(QStringLiteral("libQt6Widgets")).size() == 1);
    QVERIFY2(
        libraries.filter(QStringLiteral("Network")).isEmpty(), qPrintable(libraries.join(QLatin1Char(' '))));
    QVERIFY2(libraries.filter(QStringLiteral("quorbel-http")).isEmpty(),
        qPrintable(libraries.join(QLatin1Char(' '))));
    program.kill();
    program.waitForFinished();
}

void tst_httpmodule::missingModuleIsAnUnreachableServer()
{
    if (!qEnvironmentVariableIsEmpty("QRBL_CHILD_MODULE"))
        QSKIP("this is the child");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QRBL_CHILD_MODULE"), QStringLiteral("/nonexistent/quorbel-http.so"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("child") });
    QVERIFY(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput();
    const QByteArray err = child.readAllStandardError();
    QVERIFY2(
        child.exitCode() == 0 && out.contains("PASS   : tst_httpmodule::child()"), (out + err).constData());
    QVERIFY2(err.contains("quorbel: no network module for the update check (/nonexistent/quorbel-http.so)"),
        err.constData());
    QCOMPARE(err.count("no network module"), 1); // the second check tried no further
}

void tst_httpmodule::child()
{
    const QString module = qEnvironmentVariable("QRBL_CHILD_MODULE");
    if (module.isEmpty())
        QSKIP("run as a child process");
    TestSupport::freshSettings();
    HttpClient::setModulePath(module);
    UpdateCheck::setAddressForTest(QStringLiteral("http://127.0.0.1:9/qrblver.dat"));
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start();
    form<frmMenu>().mnuFileCheckForUpdate->trigger();
    poll.stop();
    QCOMPARE(text, UpdateCheck::NotResponding);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(HttpClient::openHandleCount(), 0);
    poll.start();
    text.clear();
    form<frmMenu>().mnuFileCheckForUpdate->trigger();
    poll.stop();
    QCOMPARE(text, UpdateCheck::NotResponding);
    unload<frmMenu>();
    TestSupport::flushDeletes();
}

QTEST_MAIN(tst_httpmodule)
#include "tst_httpmodule.moc"
