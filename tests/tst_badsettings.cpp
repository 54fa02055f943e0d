#include "app/Options.h"
#include "app/frmMenu.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/frmOneColor.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>

#include <sys/stat.h>
#include <unistd.h>

// A settings file nobody wrote: binary garbage, ten megabytes, a directory, unreadable, in a folder
// the user may not write. The program starts in time, reads what it can (the defaults otherwise),
// runs its tests, says on stderr when it cannot save, and never destroys a value that was stored.
namespace {

// Generous: a slow machine under load must not fail it, a hang must.
constexpr qint64 StartLimitMs = 20000;
constexpr int TenMiB = 10 * 1024 * 1024;

QByteArray garbage(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Clicks Red; answers the pre-test message with OK if it comes. Tells whether it came.
bool runRedTest()
{
    bool messageShown = false;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        messageShown = true;
        d.cmdOK->click();
    });
    TestSupport::whenModal<frmOneColor>([](frmOneColor &f) { TestSupport::pressEsc(&f); });
    form<frmMenu>().cmdRed->click();
    TestSupport::cancelPending();
    return messageShown;
}

QString storedValue(const QByteArray &file, const QByteArray &key)
{
    for (const QByteArray &line : file.split('\n'))
        if (line.startsWith(key + '='))
            return QString::fromLatin1(line.mid(key.size() + 1));
    return QString();
}

} // namespace

class tst_badsettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void brokenFile_data();
    void brokenFile();
    void directoryInPlaceOfTheFile();
    void cannotWrite_data();
    void cannotWrite();
    void child();
};

void tst_badsettings::init()
{
    TestSupport::freshSettings();
}

void tst_badsettings::cleanup()
{
    TestSupport::cancelPending();
    unload<frmMenu>();
    TestSupport::flushDeletes();
}

void tst_badsettings::brokenFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("checked"); // the menu's mark at start
    QTest::addColumn<bool>("messageShown"); // before the first test
    QTest::addColumn<QString>("showExitInfo"); // what must survive the program's own writes

    const QByteArray values = "\n[Options]\nShowInfo=0\nShowExitInfo=0\n";
    QTest::newRow("binary garbage") << garbage(4096, 1) << true << true << QString();
    QTest::newRow("binary garbage around stored values")
        << garbage(4096, 2) + values + garbage(4096, 3) << false << false << QStringLiteral("0");
    QTest::newRow("NUL bytes in a value")
        << QByteArray("[Options]\nShowInfo=0") + QByteArray("\0\x01", 2) + "\nShowExitInfo=0\n"
        << true << false << QStringLiteral("0");

    // Ten megabytes of other keys after the values.
    QByteArray padded = values;
    for (int i = 0; padded.size() < TenMiB; ++i)
        padded += "Key" + QByteArray::number(i) + "=" + QByteArray(100, 'x') + "\n";
    QTest::newRow("10 MiB of other keys") << padded << false << false << QStringLiteral("0");
    // One value of ten million digits: a number too large to be 1 or 0.
    QTest::newRow("a 10 MiB value") << "[Options]\nShowExitInfo=0\nShowInfo=" + QByteArray(TenMiB, '1') + "\n"
                                    << true << false << QStringLiteral("0");
    QTest::newRow("10 MiB of garbage") << garbage(TenMiB, 4) << true << true << QString();
}

void tst_badsettings::brokenFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, checked);
    QFETCH(bool, messageShown);
    QFETCH(QString, showExitInfo);
    TestSupport::writeSettingsFile(file);

    QElapsedTimer clock;
    clock.start();
    frmMenu &menu = form<frmMenu>();
    menu.Show();
    QVERIFY2(clock.elapsed() < StartLimitMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(menu.menitmShowPreTestMessage->isChecked(), checked);
    clock.restart();
    QCOMPARE(runRedTest(), messageShown);
    QVERIFY2(clock.elapsed() < StartLimitMs, qPrintable(QString::number(clock.elapsed())));
    // Nothing is written by starting or by a test the message did not interrupt.
    if (!messageShown)
        QCOMPARE(TestSupport::readSettingsFile(), file);

    // The menu writes its value, and whatever was stored beside it stays.
    menu.menitmShowPreTestMessage->trigger();
    const bool nowOn = menu.menitmShowPreTestMessage->isChecked();
    QCOMPARE(nowOn, !checked);
    const QByteArray after = TestSupport::readSettingsFile();
    QCOMPARE(storedValue(after, "ShowInfo"), nowOn ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(storedValue(after, "ShowExitInfo"), showExitInfo);
    QCOMPARE(runRedTest(), nowOn);
}

void tst_badsettings::directoryInPlaceOfTheFile()
{
    const QString file = TestSupport::settingsFile();
    QVERIFY(QDir().mkpath(file + QStringLiteral("/inside")));
    frmMenu &menu = form<frmMenu>();
    menu.Show();
    QVERIFY(menu.menitmShowPreTestMessage->isChecked());
    QVERIFY(runRedTest()); // the default applies
    QVERIFY(!Options::saveShowInfo(false));
    menu.menitmShowPreTestMessage->trigger(); // fails, says so on stderr, and the program goes on
    QVERIFY(runRedTest()); // nothing was stored
    QVERIFY(QFileInfo(file).isDir());
    QVERIFY(QFileInfo::exists(file + QStringLiteral("/inside")));
}

// Runs as an unprivileged user when this is root (who reads and writes through any permission):
// setpriv or runuser to nobody, in a child process of this program.
void tst_badsettings::cannotWrite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("unreadable file, mode 000") << "unreadable";
    QTest::newRow("read-only file in a read-only folder") << "readonly";
    QTest::newRow("read-only folder, no file yet") << "readonly-empty";
}

void tst_badsettings::cannotWrite()
{
    QFETCH(QString, kind);
    if (!qEnvironmentVariableIsEmpty("QRBL_CHILD_KIND"))
        QSKIP("this is the child");
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/qrbl-badsettings-XXXXXX"));
    QVERIFY(root.isValid());
    const QString folder = root.filePath(QStringLiteral("QRBL"));
    const QString file = folder + QStringLiteral("/QRBL.conf");
    const QByteArray content = "[Options]\nShowInfo=0\nShowExitInfo=0\n";
    QVERIFY(QDir().mkpath(folder));
    if (kind != QLatin1String("readonly-empty")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QStringList command { QCoreApplication::applicationFilePath(), QStringLiteral("child") };
    if (geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            QSKIP("running as root without setpriv to drop privileges");
        QVERIFY(::chown(qPrintable(root.path()), 65534, 65534) == 0);
        QVERIFY(::chown(qPrintable(folder), 65534, 65534) == 0);
        if (QFileInfo::exists(file))
            QVERIFY(::chown(qPrintable(file), 65534, 65534) == 0);
        command = QStringList { setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
            QStringLiteral("--clear-groups"), QStringLiteral("--") }
            + command;
    }
    QVERIFY(::chmod(qPrintable(root.path()), 0755) == 0);
    if (kind == QLatin1String("unreadable")) {
        QVERIFY(::chmod(qPrintable(file), 0000) == 0);
    } else {
        if (QFileInfo::exists(file))
            QVERIFY(::chmod(qPrintable(file), 0444) == 0);
        QVERIFY(::chmod(qPrintable(folder), 0555) == 0);
    }

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QRBL_CHILD_KIND"), kind);
    env.insert(QStringLiteral("QRBL_CHILD_CONFIG"), root.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
    child.setProcessEnvironment(env);
    child.start(command.takeFirst(), command);
    QVERIFY(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput();
    const QByteArray err = child.readAllStandardError();
    QVERIFY2(child.exitCode() == 0 && out.contains(", 0 failed,"), (out + err).constData());
    QVERIFY2(out.contains("PASS   : tst_badsettings::child()"), out.constData());
    // The failed save was said on stderr, naming the file.
    QVERIFY2(err.contains("quorbel: could not save Options/ShowInfo in " + file.toUtf8()), err.constData());

    // Nothing was lost: the file is as it was, permissions included.
    ::chmod(qPrintable(folder), 0755);
    if (kind == QLatin1String("readonly-empty")) {
        QVERIFY(!QFileInfo::exists(file));
    } else {
        struct stat info
        {
        };
        QVERIFY(::stat(qPrintable(file), &info) == 0);
        QCOMPARE(int(info.st_mode & 07777), kind == QLatin1String("unreadable") ? 0 : 0444);
        ::chmod(qPrintable(file), 0644);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }
}

void tst_badsettings::child()
{
    const QString kind = qEnvironmentVariable("QRBL_CHILD_KIND");
    if (kind.isEmpty())
        QSKIP("run as a child process, unprivileged");
    QSettings::setPath(
        QSettings::NativeFormat, QSettings::UserScope, qEnvironmentVariable("QRBL_CHILD_CONFIG"));
    // What a user who owns nothing there could still see: the stored values when they are readable,
    // the defaults otherwise.
    const bool readable = kind == QLatin1String("readonly");
    frmMenu &menu = form<frmMenu>();
    menu.Show();
    QCOMPARE(menu.menitmShowPreTestMessage->isChecked(), !readable);
    QCOMPARE(runRedTest(), !readable);
    QCOMPARE(form<frmTestInfo>().chkShowEveryTime->isChecked(), !readable);
    unload<frmTestInfo>();

    // The menu's write fails: the mark moves (the menu shows what the user chose), nothing is stored,
    // and the next test still follows the store.
    menu.menitmShowPreTestMessage->trigger();
    QCOMPARE(menu.menitmShowPreTestMessage->isChecked(), readable);
    QCOMPARE(runRedTest(), !readable);
    unload<frmMenu>();
    TestSupport::flushDeletes();
}

QTEST_MAIN(tst_badsettings)
#include "tst_badsettings.moc"
