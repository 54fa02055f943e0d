// The stored option as a user meets it: the menu's check mark, the message before a test, the file.
#include "app/frmMenu.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/PatternForm.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>

namespace {

frmMenu &menu()
{
    form<frmMenu>().Show();
    return form<frmMenu>();
}

// Clicks Red; the message, if it comes, is answered by answer (default: OK). Tells whether it came, and
// whether the pattern came after it.
bool runTest(std::function<void(frmTestInfo &)> answer = {}, bool *patternShown = nullptr)
{
    bool messageShown = false;
    bool pattern = false;
    bool testUpBeforeMessage = false;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        messageShown = true;
        for (QWidget *w : QApplication::topLevelWidgets())
            testUpBeforeMessage |= qobject_cast<PatternForm *>(w) && w->isVisible();
        answer ? answer(d) : d.cmdOK->click();
    });
    TestSupport::whenModalForm([](Form &f) { return qobject_cast<PatternForm *>(&f) != nullptr; },
        [&](Form &f) {
            pattern = !isLoaded<frmTestInfo>();
            TestSupport::pressEsc(&f);
        });
    menu().cmdRed->click();
    TestSupport::cancelPending();
    if (patternShown)
        *patternShown = pattern && !testUpBeforeMessage;
    return messageShown;
}

} // namespace

class tst_settings : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::freshSettings(); }
    void cleanup()
    {
        TestSupport::cancelPending();
        unload<frmMenu>();
        TestSupport::flushDeletes();
    }

    void storedFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("messageShown");
        QTest::newRow("nothing stored") << QByteArray() << true << true;
        QTest::newRow("1") << QByteArray("[Options]\nShowInfo=1\n") << true << true;
        QTest::newRow("0") << QByteArray("[Options]\nShowInfo=0\n") << false << false;
        QTest::newRow("2: neither") << QByteArray("[Options]\nShowInfo=2\n") << true << false;
        QTest::newRow("1.0 is 1") << QByteArray("[Options]\nShowInfo=1.0\n") << true << true;
        QTest::newRow("blanks around 1") << QByteArray("[Options]\nShowInfo=\" 1 \"\n") << true << true;
        QTest::newRow("letters") << QByteArray("[Options]\nShowInfo=yes\n") << true << false;
        QTest::newRow("a list") << QByteArray("[Options]\nShowInfo=1, 0\n") << true << false;
        QTest::newRow("other section") << QByteArray("[Other]\nShowInfo=0\n") << true << true;
        QTest::newRow("binary garbage")
            << QByteArray("\x00\xff\xfe[Opt\x01ions]\n\x80ShowInfo\x00=\xff\n", 24) << true << true;
    }

    // Start-up sets the mark, every test asks the file again, and neither writes anything.
    void storedFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, checked);
        QFETCH(bool, messageShown);
        if (!file.isNull())
            TestSupport::writeSettingsFile(file);
        QCOMPARE(menu().menitmShowPreTestMessage->isChecked(), checked);
        // The close box answers the message without storing anything.
        for (int round = 0; round < 2; ++round)
            QCOMPARE(runTest([](frmTestInfo &d) { d.close(); }), messageShown);
        QCOMPARE(TestSupport::readSettingsFile(), file.isNull() ? QByteArray() : file);
    }

    // The menu item turns the message off and on, stores the choice, and the next start shows it.
    void toggledFromTheMenu()
    {
        menu().menitmShowPreTestMessage->trigger();
        QVERIFY(!menu().menitmShowPreTestMessage->isChecked());
        QVERIFY(TestSupport::readSettingsFile().contains("ShowInfo=0"));
        QVERIFY(!runTest());
        menu().menitmShowPreTestMessage->trigger();
        QVERIFY(runTest());
        menu().menitmShowPreTestMessage->trigger();
        unload<frmMenu>();
        TestSupport::flushDeletes();
        QVERIFY(!menu().menitmShowPreTestMessage->isChecked());
        QVERIFY(!runTest());
    }

    // The message comes first; OK starts the test; unticking its box stores the choice and clears the mark.
    void messageBeforeTheTest()
    {
        bool patternAfter = false;
        QVERIFY(runTest([](frmTestInfo &d) { d.cmdOK->click(); }, &patternAfter));
        QVERIFY(patternAfter);
        QVERIFY(menu().menitmShowPreTestMessage->isChecked());
        QVERIFY(runTest([](frmTestInfo &d) {
            d.chkShowEveryTime->setChecked(false);
            d.cmdOK->click();
        }, &patternAfter));
        QVERIFY(patternAfter);
        QVERIFY(!menu().menitmShowPreTestMessage->isChecked());
        QVERIFY(TestSupport::readSettingsFile().contains("ShowInfo=0"));
        QVERIFY(!runTest({}, &patternAfter));
        QVERIFY(patternAfter);
    }

    // Another program changes the file: the next test follows it; the mark is read at start-up only.
    void changedOutsideSeenAtTheNextClick()
    {
        QVERIFY(runTest());
        QTest::qWait(20);
        TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
        QVERIFY(!runTest());
        QVERIFY(menu().menitmShowPreTestMessage->isChecked());
    }

    // A folder where the file should be: the default holds, nothing is taken as stored, the program goes on.
    void unwritableStore()
    {
        QVERIFY(QDir().mkpath(TestSupport::settingsFile()));
        QVERIFY(menu().menitmShowPreTestMessage->isChecked());
        menu().menitmShowPreTestMessage->trigger();
        QVERIFY(runTest());
        QVERIFY(QFileInfo(TestSupport::settingsFile()).isDir());
    }
};

QTEST_MAIN(tst_settings)
#include "tst_settings.moc"
