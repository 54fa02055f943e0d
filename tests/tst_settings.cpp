// The stored option as a user meets it: the menu's check mark, the message before a test, the file.
#include "app/frmMenu.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/PatternForm.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Where the QRBL folder goes, as ~/.config would be.
const auto home = [] { return QDir::cleanPath(TestSupport::settingsFile() + QStringLiteral("/../..")); };

const QString Window = QStringLiteral("window");

frmMenu &menu()
{
    form<frmMenu>().Show();
    return form<frmMenu>();
}

const QStringList MessageThenTest { QStringLiteral("message"), QStringLiteral("test") };
const QStringList TestOnly { QStringLiteral("test") };

// Clicks Red and tells what came up, in order; the message, if it comes, gets answer (default: OK).
QStringList runTest(std::function<void(frmTestInfo &)> answer = {})
{
    QStringList shown;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        shown << QStringLiteral("message");
        answer ? answer(d) : d.cmdOK->click();
    });
    TestSupport::whenModalForm([](Form &f) { return qobject_cast<PatternForm *>(&f) != nullptr; },
        [&](Form &f) {
            shown << QStringLiteral("test");
            TestSupport::pressEsc(&f);
        });
    menu().cmdRed->click();
    TestSupport::cancelPending();
    return shown;
}

} // namespace

class tst_settings : public QObject
{
    Q_OBJECT
private slots:
    // Root writes whatever the permission bits say; without this capability it meets them as their owner
    // would.
    void initTestCase()
    {
        __user_cap_header_struct head { _LINUX_CAPABILITY_VERSION_3, 0 };
        __user_cap_data_struct caps[2] {};
        syscall(SYS_capget, &head, caps);
        caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        syscall(SYS_capset, &head, caps);
    }
    void init() { TestSupport::freshSettings(); }
    void cleanup()
    {
        umount2(QFile::encodeName(home()).constData(), MNT_DETACH);
        QProcess::execute(QStringLiteral("chmod"), { QStringLiteral("-R"), QStringLiteral("u+w"), home() });
        TestSupport::cancelPending();
        unload<frmMenu>();
        TestSupport::flushDeletes();
    }

    void storedFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("shown"); // the check mark, and the message before a test
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("monitor");
        const QString screen = QGuiApplication::primaryScreen()->name();
        QTest::newRow("nothing stored") << QByteArray() << true << true << Window;
        QTest::newRow("1") << QByteArray("[Options]\nShowInfo=1\n") << true << true << Window;
        QTest::newRow("0") << QByteArray("[Options]\nShowInfo=0\n") << false << false << Window;
        QTest::newRow("2: neither") << QByteArray("[Options]\nShowInfo=2\n") << false << true << Window;
        QTest::newRow("1.0 is 1") << QByteArray("[Options]\nShowInfo=1.0\n") << true << true << Window;
        QTest::newRow("1 in blanks") << QByteArray("[Options]\nShowInfo=\" 1 \"\n") << true << true << Window;
        QTest::newRow("letters") << QByteArray("[Options]\nShowInfo=yes\n") << false << true << Window;
        QTest::newRow("a list") << QByteArray("[Options]\nShowInfo=1, 0\n") << false << true << Window;
        QTest::newRow("other section") << QByteArray("[Other]\nShowInfo=0\n") << true << true << Window;
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[Opt\x01ions]\n\x80ShowInfo\x00=\xff\n", 24) << true << true << Window;
        QTest::newRow("a monitor") << "[Options]\nMonitor=" + screen.toUtf8() << true << true << screen;
        QTest::newRow("no such monitor") << QByteArray("[Options]\nMonitor=gone\n") << true << true << Window;
    }

    // Start-up sets the mark, every test reads the file again, and neither writes anything; nor does
    // the message's close box.
    void storedFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, shown);
        QFETCH(bool, checked);
        QFETCH(QString, monitor);
        if (monitor.isEmpty()) { // offscreen names a monitor only when told to: the row runs again on one
            auto child = TestSupport::startOnMonitors({ { { 0, 0, 640, 480 } } }, { "storedFile:a monitor" });
            QVERIFY(child->waitForFinished(60000) && child->exitCode() == 0);
            return;
        }
        if (!file.isNull())
            TestSupport::writeSettingsFile(file);
        QCOMPARE(Options().monitor(), monitor);
        QCOMPARE(menu().menitmShowPreTestMessage->isChecked(), checked);
        for (int round = 0; round < 2; ++round)
            QCOMPARE(runTest([](frmTestInfo &d) { d.close(); }), shown ? MessageThenTest : TestOnly);
        QCOMPARE(TestSupport::readSettingsFile(), file.isNull() ? QByteArray() : file);
    }

    // Unticking the message's box stores the choice and clears the mark; the menu item turns it back
    // on; another program's change is seen at the next test; the next start shows the stored choice.
    void choiceStoredAndSeen()
    {
        QCOMPARE(runTest(), MessageThenTest);
        QCOMPARE(runTest([](frmTestInfo &d) {
            d.chkShowEveryTime->setChecked(false);
            d.cmdOK->click();
        }),
            MessageThenTest);
        QVERIFY(!menu().menitmShowPreTestMessage->isChecked());
        QCOMPARE(runTest(), TestOnly);
        menu().menitmShowPreTestMessage->trigger();
        QVERIFY(TestSupport::readSettingsFile().contains("ShowInfo=1"));
        QCOMPARE(runTest(), MessageThenTest);
        QTest::qWait(20);
        TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
        QCOMPARE(runTest(), TestOnly);
        QVERIFY(menu().menitmShowPreTestMessage->isChecked());
        unload<frmMenu>();
        TestSupport::flushDeletes();
        QVERIFY(!menu().menitmShowPreTestMessage->isChecked());
    }

    // A store that cannot be written, even by root: the save says where and why, the choice holds for the
    // rest of the run (only the first failure is for a message box), the file stays as it was and the next
    // run meets the old value.
    void unwritableStore_data()
    {
        // A shell command run in the home folder; none: a read-only file system is mounted there.
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("reason");
        const QString withFile = "mkdir QRBL && printf '[Options]\\nShowInfo=0\\n' >QRBL/QRBL.conf && ";
        QTest::newRow("folder in place of the file") << "mkdir -p QRBL/QRBL.conf" << true << "Is a directory";
        QTest::newRow("dangling link") << "mkdir QRBL && ln -s ../gone/QRBL.conf QRBL/QRBL.conf" << true
                                       << "/gone/QRBL.conf: No such file or directory";
        QTest::newRow("read-only folder") << withFile + "chmod 555 QRBL" << false << "Permission denied";
        QTest::newRow("read-only file") << withFile + "chmod 444 QRBL/*" << false << "Permission denied";
        QTest::newRow("read-only home") << "chmod 555 ." << true << "Permission denied";
        QTest::newRow("read-only file system") << QString() << true << "Read-only file system";
        QTest::newRow("1.2 MB") << withFile + "yes | head -c1200K >>QRBL/QRBL.conf" << true << "than 64 KiB";
    }

    void unwritableStore()
    {
        QFETCH(QString, spoil);
        QFETCH(bool, stored);
        QFETCH(QString, reason);
        if (spoil.isNull()
            && (unshare(CLONE_NEWNS) || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr)
                || mount("none", QFile::encodeName(home()).constData(), "tmpfs", MS_RDONLY, nullptr)))
            QSKIP("needs root, to mount a read-only file system");
        QVERIFY(spoil.isNull() || QProcess::execute("sh", { "-c", "cd \"$0\" && " + spoil, home() }) == 0);
        const QByteArray before = TestSupport::readSettingsFile();
        Options options;
        QCOMPARE(options.showInfo(), std::optional(stored));
        const Options::Saved first = options.setShowInfo(!stored);
        QVERIFY2(first.firstFailure && first.message.contains(TestSupport::settingsFile() + " could not")
                && first.message.endsWith(reason + ")."),
            qPrintable(first.message));
        QCOMPARE(options.showInfo(), std::optional(!stored));
        QVERIFY(!options.setMonitor(QStringLiteral("all")).firstFailure);
        QCOMPARE(options.monitor(), QStringLiteral("all"));
        QCOMPARE(Options().showInfo(), std::optional(stored));
        QCOMPARE(TestSupport::readSettingsFile(), before);
    }

    // A relative $XDG_CONFIG_HOME is ignored: the choice goes to ~/.config, not below the working folder.
    void relativeConfigHome()
    {
        qputenv("XDG_CONFIG_HOME", "config");
        SettingsStore::ignoreRelativeConfigHome();
        QCOMPARE(SettingsStore::fileName("QRBL"), QDir::homePath() + "/.config/QRBL/QRBL.conf");
    }
};

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
