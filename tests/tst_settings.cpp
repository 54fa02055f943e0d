// The stored option as a user meets it: the menu's check mark, the message before a test, the file.
#include "app/frmMenu.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>

namespace {

std::unique_ptr<frmMenu> s_menu;
frmMenu &menu()
{
    if (!s_menu)
        s_menu = std::make_unique<frmMenu>();
    s_menu->show();
    return *s_menu;
}
QAction *mark()
{
    return TestSupport::control<QAction>(&menu(), "menitmShowPreTestMessage");
}

const QStringList MessageThenTest { QStringLiteral("message"), QStringLiteral("test") };
const QStringList TestOnly { QStringLiteral("test") };

// Clicks Red and tells what came up, in order; the message, if it comes, gets answer (default: OK).
QStringList runTest(std::function<void(QWidget &)> answer = {})
{
    QStringList shown;
    TestSupport::answerNextModal([&](QWidget &d) {
        shown << QStringLiteral("message");
        answer ? answer(d) : TestSupport::control<QPushButton>(&d, "cmdOK")->click();
    });
    TestSupport::control<QPushButton>(&menu(), "cmdRed")->click();
    for (QWidget *pattern : TestSupport::windows("PatternForm")) {
        shown << QStringLiteral("test");
        TestSupport::pressEsc(pattern);
    }
    return shown;
}

} // namespace

class tst_settings : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::freshSettings(); }
    void cleanup()
    {
        s_menu.reset();
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
        QTest::newRow("blanks around 1") << QByteArray("[Options]\nShowInfo=\" 1 \"\n") << true << true;
        QTest::newRow("letters") << QByteArray("[Options]\nShowInfo=yes\n") << false << true;
        QTest::newRow("a list") << QByteArray("[Options]\nShowInfo=1, 0\n") << false << true;
        QTest::newRow("other section") << QByteArray("[Other]\nShowInfo=0\n") << true << true;
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[Opt\x01ions]\n\x80ShowInfo\x00=\xff\n", 24) << true << true;
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

    // A folder where the file should be: nothing is taken as stored, and the program goes on.
    void unwritableStore()
    {
        QVERIFY(QDir().mkpath(TestSupport::settingsFile()));
        mark()->trigger();
        QCOMPARE(runTest(), MessageThenTest);
        QVERIFY(QFileInfo(TestSupport::settingsFile()).isDir());
    }
};

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
