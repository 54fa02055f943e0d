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
#include <QPushButton>

#include <unistd.h>

// The stored option: what start-up, a test, the menu and the message read and write.
class tst_options : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp_data();
    void startUp();
    void menuToggleWrites();
    void storedTwoIsClearedByOneClick();
    void messageBoxFollowsShowExitInfo_data();
    void messageBoxFollowsShowExitInfo();
    void showExitInfoIsNeverWritten();
    void valueChangedOutsideIsSeenAtTheNextClick();
    void unwritableStore_data();
    void unwritableStore();

private:
    // Clicks Red, answers the message with OK if it comes; tells whether it came.
    bool runRedTest();
};

void tst_options::init()
{
    TestSupport::freshSettings();
}

void tst_options::cleanup()
{
    TestSupport::cancelPending();
    unload<frmMenu>();
    TestSupport::flushDeletes();
}

bool tst_options::runRedTest()
{
    bool messageShown = false;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        messageShown = true;
        d.close(); // stores nothing
    });
    TestSupport::whenModal<frmOneColor>([](frmOneColor &f) { TestSupport::pressEsc(&f); });
    form<frmMenu>().cmdRed->click();
    TestSupport::cancelPending();
    return messageShown;
}

void tst_options::startUp_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("messageShown");
    QTest::newRow("nothing stored") << QByteArray() << true << true;
    QTest::newRow("1") << QByteArray("[Options]\nShowInfo=1\n") << true << true;
    QTest::newRow("0") << QByteArray("[Options]\nShowInfo=0\n") << false << false;
    QTest::newRow("2") << QByteArray("[Options]\nShowInfo=2\n") << true << false;
    QTest::newRow("1.0") << QByteArray("[Options]\nShowInfo=1.0\n") << true << true;
    QTest::newRow("quoted blanks around 1") << QByteArray("[Options]\nShowInfo=\" 1 \"\n") << true << true;
    QTest::newRow("letters") << QByteArray("[Options]\nShowInfo=yes\n") << true << false;
    QTest::newRow("empty") << QByteArray("[Options]\nShowInfo=\n") << true << false;
    QTest::newRow("a list") << QByteArray("[Options]\nShowInfo=1, 0\n") << true << false;
    QTest::newRow("other section only") << QByteArray("[Other]\nShowInfo=0\n") << true << true;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe[Opt\x01ions]\n\x80ShowInfo\x00=\xff\n", 24)
                                    << true << true;
}

void tst_options::startUp()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, checked);
    QFETCH(bool, messageShown);
    if (!file.isNull())
        TestSupport::writeSettingsFile(file);
    form<frmMenu>().Show();
    QCOMPARE(form<frmMenu>().menitmShowPreTestMessage->isChecked(), checked);
    QCOMPARE(runRedTest(), messageShown);
    QCOMPARE(runRedTest(), messageShown);
    // Nothing is written at start-up, by a test, or by closing the message with its close box.
    QCOMPARE(TestSupport::readSettingsFile(), file.isNull() ? QByteArray() : file);
}

void tst_options::menuToggleWrites()
{
    frmMenu &f = form<frmMenu>();
    f.Show();
    QAction *item = f.menitmShowPreTestMessage;
    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(Options::ShowInfo(), QStringLiteral("0"));
    QVERIFY(!runRedTest());
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(Options::ShowInfo(), QStringLiteral("1"));
    QVERIFY(runRedTest());

    // The next start of the program shows the stored choice.
    item->trigger();
    unload<frmMenu>();
    TestSupport::flushDeletes();
    QVERIFY(!form<frmMenu>().menitmShowPreTestMessage->isChecked());
}

void tst_options::storedTwoIsClearedByOneClick()
{
    TestSupport::writeSettingsFile("[Options]\nShowInfo=2\n");
    frmMenu &f = form<frmMenu>();
    QVERIFY(f.menitmShowPreTestMessage->isChecked());
    f.menitmShowPreTestMessage->trigger();
    QVERIFY(!f.menitmShowPreTestMessage->isChecked());
    QCOMPARE(Options::ShowInfo(), QStringLiteral("0"));
}

void tst_options::messageBoxFollowsShowExitInfo_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("absent") << QByteArray() << true;
    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("0") << QByteArray("0") << false;
    QTest::newRow("2") << QByteArray("2") << false;
    QTest::newRow("letters") << QByteArray("on") << false;
}

void tst_options::messageBoxFollowsShowExitInfo()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, checked);
    if (!stored.isNull())
        TestSupport::writeSettingsFile("[Options]\nShowExitInfo=" + stored + "\n");
    form<frmMenu>();
    QCOMPARE(form<frmTestInfo>().chkShowEveryTime->isChecked(), checked);
    unload<frmTestInfo>();
}

void tst_options::showExitInfoIsNeverWritten()
{
    TestSupport::writeSettingsFile("[Options]\nShowExitInfo=0\n");
    form<frmMenu>().Show();
    TestSupport::whenModal<frmTestInfo>([](frmTestInfo &d) {
        d.chkShowEveryTime->setChecked(true);
        d.cmdOK->click();
    });
    TestSupport::whenModal<frmOneColor>([](frmOneColor &f) { TestSupport::pressEsc(&f); });
    form<frmMenu>().cmdBlue->click();
    const QByteArray file = TestSupport::readSettingsFile();
    QVERIFY(file.contains("ShowExitInfo=0"));
    QVERIFY(file.contains("ShowInfo=1"));
}

void tst_options::valueChangedOutsideIsSeenAtTheNextClick()
{
    form<frmMenu>().Show();
    QVERIFY(runRedTest());
    // Another process (or the user's editor) changes the file: no value is cached.
    QTest::qWait(20);
    TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
    QVERIFY(!runRedTest());
    QVERIFY(form<frmMenu>().menitmShowPreTestMessage->isChecked()); // the mark is only read at start-up
}

void tst_options::unwritableStore_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a directory in place of the file") << "directory";
    QTest::newRow("read-only folder") << "readonly";
}

void tst_options::unwritableStore()
{
    QFETCH(QString, kind);
    const QString file = TestSupport::settingsFile();
    const QString folder = QFileInfo(file).absolutePath();
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(file));
    } else {
        if (geteuid() == 0)
            QSKIP("root writes through file permissions");
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    frmMenu &f = form<frmMenu>();
    f.Show();
    QVERIFY(f.menitmShowPreTestMessage->isChecked());
    QVERIFY(runRedTest()); // the default applies
    QVERIFY(!SettingsStore::SaveSetting(
        QStringLiteral("QRBL"), QStringLiteral("Options"), QStringLiteral("ShowInfo"), QStringLiteral("0")));
    f.menitmShowPreTestMessage->trigger(); // reported on stderr; the program goes on
    QVERIFY(runRedTest()); // nothing was stored, so the message still comes
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_MAIN(tst_options)
#include "tst_options.moc"
