// The stored option as a user meets it: the menu's check mark, the message before a test, the file.
#include "app/frmMenu.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Where the QRBL folder goes, as ~/.config would be.
const auto home = [] { return QDir::cleanPath(TestSupport::settingsFile() + QStringLiteral("/../..")); };


std::unique_ptr<frmMenu> s_menu;
frmMenu &menu()
{
    if (!s_menu)
        s_menu = std::make_unique<frmMenu>();
    s_menu->show();
    return *s_menu;
}
const auto mark = [] { return TestSupport::control<QAction>(&menu(), "menitmShowPreTestMessage"); };

const QStringList MessageThenTest { QStringLiteral("message"), QStringLiteral("test") };
const QStringList TestOnly { QStringLiteral("test") };

// The message boxes seen, each closed, as "text" (or "unowned: text" when the main window does not own it).
QStringList s_boxes;
void answerBox(QWidget &box)
{
    s_boxes << (box.parentWidget() == &menu() ? "" : "unowned: ") + box.property("text").toString();
    box.close();
}

// Clicks Red and tells what came up, in order; the message, if it comes, gets answer (default: OK).
QStringList runTest(std::function<void(QWidget &)> answer = {})
{
    QStringList shown;
    QObject scope;
    TestSupport::answerModals(&scope, [&](QWidget &d) {
        if (d.inherits("QMessageBox"))
            return answerBox(d);
        shown << QStringLiteral("message");
        answer ? answer(d) : TestSupport::control<QPushButton>(&d, "cmdOK")->click();
    });
    TestSupport::control<QPushButton>(&menu(), "cmdRed")->click();
    for (QWidget *pattern : TestSupport::windows("PatternForm")) {
        shown << QStringLiteral("test");
        QTest::keyClick(pattern, Qt::Key_Escape);
    }
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
    void init()
    {
        TestSupport::freshSettings();
        s_boxes.clear();
    }
    void cleanup()
    {
        s_menu.reset();
        umount2(QFile::encodeName(home()).constData(), MNT_DETACH);
        QProcess::execute(QStringLiteral("chmod"), { QStringLiteral("-R"), QStringLiteral("u+w"), home() });
    }

    void storedFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("shown"); // the check mark, and the message before a test
        QTest::addColumn<bool>("checked");
        QTest::newRow("nothing stored") << QByteArray() << true << true;
        QTest::newRow("1") << QByteArray("[Options]\nShowInfo=1\n") << true << true;
        QTest::newRow("0") << QByteArray("[Options]\nShowInfo=0\n") << false << false;
        QTest::newRow("2: neither") << QByteArray("[Options]\nShowInfo=2\n") << false << true;
        QTest::newRow("1.0 is 1") << QByteArray("[Options]\nShowInfo=1.0\n") << true << true;
        QTest::newRow("1 in blanks") << QByteArray("[Options]\nShowInfo=\" 1 \"\n") << true << true;
        QTest::newRow("letters") << QByteArray("[Options]\nShowInfo=yes\n") << false << true;
        QTest::newRow("a list") << QByteArray("[Options]\nShowInfo=1, 0\n") << false << true;
        QTest::newRow("other section") << QByteArray("[Other]\nShowInfo=0\n") << true << true;
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[Opt\x01ions]\n\x80ShowInfo\x00=\xff\n", 24) << true << true;
        QTest::newRow("no such monitor") << QByteArray("[Options]\nMonitor=gone\n") << true << true;
    }

    // Start-up sets the mark, every test reads the file again, and neither writes anything; nor does
    // the message's close box.
    void storedFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, shown);
        QFETCH(bool, checked);
        if (!file.isNull())
            TestSupport::writeSettingsFile(file);
        QCOMPARE(Options().monitor(), QStringLiteral("window")); // a monitor not connected is this window's
        QCOMPARE(mark()->isChecked(), checked);
        for (int round = 0; round < 2; ++round)
            QCOMPARE(runTest([](QWidget &d) { d.close(); }), shown ? MessageThenTest : TestOnly);
        QCOMPARE(TestSupport::readSettingsFile(), file.isNull() ? QByteArray() : file);
    }

    // Unticking the message's box stores the choice and clears the mark; the menu item turns it back
    // on; another program's change is seen at the next test; the next start shows the stored choice.
    void choiceStoredAndSeen()
    {
        QCOMPARE(runTest(), MessageThenTest);
        QCOMPARE(runTest([](QWidget &d) {
            TestSupport::control<QCheckBox>(&d, "chkShowEveryTime")->setChecked(false);
            TestSupport::control<QPushButton>(&d, "cmdOK")->click();
        }),
            MessageThenTest);
        QVERIFY(!mark()->isChecked());
        QCOMPARE(runTest(), TestOnly);
        mark()->trigger();
        QVERIFY(TestSupport::readSettingsFile().contains("ShowInfo=1"));
        QCOMPARE(runTest(), MessageThenTest);
        QTest::qWait(20);
        TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
        QCOMPARE(runTest(), TestOnly);
        QVERIFY(mark()->isChecked());
        s_menu.reset();
        QVERIFY(!mark()->isChecked());
    }

    // A store that cannot be written, even by root: the first failure is told where and why, the choice
    // holds for the rest of the run, the file stays as it was and the next run meets the old value.
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
        // OK in the message stores nothing new: no word of the store while the user changes nothing.
        QCOMPARE(runTest(), stored ? MessageThenTest : TestOnly);
        QCOMPARE(s_boxes.size(), 0);
        // The menu item, used three times: one message box, owned by the main window, says where and why.
        QCOMPARE(mark()->isChecked(), stored);
        for (int round = 0; round < 3; ++round) {
            QObject scope;
            TestSupport::answerModals(&scope, answerBox);
            mark()->trigger();
        }
        QCOMPARE(s_boxes.size(), 1);
        QVERIFY2(s_boxes[0].startsWith("Your choice") && s_boxes[0].contains(TestSupport::settingsFile() + " could not")
                && s_boxes[0].endsWith(reason + ")."),
            qPrintable(s_boxes[0]));
        // The mark and the next test agree with the choice.
        QVERIFY(mark()->isChecked() != stored);
        QCOMPARE(runTest(), stored ? TestOnly : MessageThenTest);
        QVERIFY(!Options().setMonitor(QStringLiteral("all")).ok);
        QCOMPARE(Options().showInfo(), std::optional(stored)); // the next run meets the old value
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
