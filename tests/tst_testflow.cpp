#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmHelp.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmOneColor.h"
#include "patterns/frmVerticalLines.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

// The road of a test: the pre-test message while the option says so, the pattern, Esc back.
class tst_testflow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void solidColours_data();
    void solidColours();
    void firstRunShowsTheMessage();
    void messageLayout();
    void uncheckingTheMessageTurnsItOff();
    void closeBoxStoresNothing();
    void otherKeysAndClicksLeaveThePattern_data();
    void otherKeysAndClicksLeaveThePattern();
    void exitUnloadsEveryForm_data();
    void exitUnloadsEveryForm();

private:
    frmMenu *m_menu = nullptr;
};

void tst_testflow::init()
{
    TestSupport::freshSettings();
    m_menu = &form<frmMenu>();
    m_menu->Show();
    QVERIFY(QTest::qWaitForWindowExposed(m_menu));
}

void tst_testflow::cleanup()
{
    TestSupport::cancelPending();
    unload<frmMenu>();
    TestSupport::flushDeletes();
    QCOMPARE(Form::loadedCount(), 0);
}

void tst_testflow::solidColours_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("Red") << "cmdRed" << qRgb(255, 0, 0);
    QTest::newRow("Green") << "cmdGreen" << qRgb(0, 255, 0);
    QTest::newRow("Blue") << "cmdBlue" << qRgb(0, 0, 255);
    QTest::newRow("Black") << "cmdBlack" << qRgb(0, 0, 0);
    QTest::newRow("White") << "cmdWhite" << qRgb(255, 255, 255);
    QTest::newRow("50% Grey") << "cmdGrey50" << qRgb(128, 128, 128);
}

void tst_testflow::solidColours()
{
    QFETCH(QString, button);
    QFETCH(QRgb, colour);
    TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
    qint64 wrongInFrame = -1;
    qint64 wrongOnScreen = -1;
    bool mainStillVisible = false;
    bool coversTheScreen = false;
    TestSupport::whenModal<frmOneColor>([&](frmOneColor &f) {
        wrongInFrame = TestSupport::countNot(f.frame(), colour);
        wrongOnScreen = TestSupport::countNot(f.grab().toImage(), colour);
        mainStillVisible = m_menu->isVisible();
        coversTheScreen = f.geometry() == f.screen()->geometry() && f.isFullScreen()
            && (f.windowFlags() & Qt::FramelessWindowHint) && f.cursor().shape() == Qt::BlankCursor;
        TestSupport::pressEsc(&f);
    });
    m_menu->client()->findChild<QPushButton *>(button)->click();
    QCOMPARE(wrongInFrame, 0);
    QCOMPARE(wrongOnScreen, 0);
    QVERIFY(mainStillVisible);
    QVERIFY(coversTheScreen);
    QVERIFY(!isLoaded<frmOneColor>());
    QVERIFY(m_menu->isVisible());
}

void tst_testflow::firstRunShowsTheMessage()
{
    QVERIFY(!QFile::exists(TestSupport::settingsFile()));
    QVERIFY(m_menu->menitmShowPreTestMessage->isChecked());
    bool boxChecked = false;
    bool okHadFocus = false;
    bool patternShown = false;
    bool stillThereAfterEsc = false;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        // Activation comes a moment after the show on a busy machine; until then the main window's button
        // has the focus and Return would start the test a second time.
        if (!QTest::qWaitFor([&d] { return QApplication::activeWindow() == &d; })) {
            d.cmdOK->click(); // never active: fail below rather than hang
            return;
        }
        boxChecked = d.chkShowEveryTime->isChecked();
        okHadFocus = QApplication::focusWidget() == d.cmdOK;
        // Esc does nothing here; Enter presses OK, which holds the focus.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTest::keyClick(&d, Qt::Key_Escape);
        stillThereAfterEsc = isLoaded<frmTestInfo>() && d.isVisible();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    TestSupport::whenModal<frmBoxesFS>([&](frmBoxesFS &f) {
        patternShown = true;
        TestSupport::pressEsc(&f);
    });
    m_menu->cmdBoxes->click();
    QVERIFY(boxChecked);
    QVERIFY(okHadFocus);
    QVERIFY(stillThereAfterEsc);
    QVERIFY(patternShown);
    QVERIFY(TestSupport::readSettingsFile().contains("ShowInfo=1"));
    QVERIFY(m_menu->menitmShowPreTestMessage->isChecked());
}

void tst_testflow::messageLayout()
{
    frmTestInfo &d = form<frmTestInfo>();
    QCOMPARE(d.windowTitle(), QStringLiteral("Quorbel!"));
    QCOMPARE(d.size(), QSize(323, 161));
    QCOMPARE(d.lblHowToExit->text(),
        QStringLiteral("A test pattern is about to be displayed on your screen. You can exit and return to "
                       "the main window at any time by pressing the Esc key on your keyboard."));
    QCOMPARE(d.lblHowToExit->geometry(), QRect(8, 8, 305, 113));
    QVERIFY(d.lblHowToExit->wordWrap());
    QCOMPARE(d.lblHowToExit->font().pointSizeF(), 9.75);
    // The whole message fits its area on several lines.
    const QRect needed = QFontMetrics(d.lblHowToExit->font())
                             .boundingRect(QRect(0, 0, 305, 10000), Qt::TextWordWrap, d.lblHowToExit->text());
    QVERIFY(needed.height() <= 113);
    QVERIFY(needed.height() > QFontMetrics(d.lblHowToExit->font()).height());
    QCOMPARE(d.chkShowEveryTime->text(), QStringLiteral("Always show this dialog."));
    QCOMPARE(d.chkShowEveryTime->pos(), QPoint(8, 136));
    QVERIFY(d.chkShowEveryTime->width() >= 153);
    QVERIFY(d.chkShowEveryTime->geometry().right() < d.cmdOK->geometry().left());
    QCOMPARE(d.cmdOK->geometry(), QRect(232, 128, 81, 25));
    QCOMPARE(d.cmdOK->text(), QStringLiteral("OK"));
    QVERIFY(!d.cmdOK->isDefault());
    QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    unload<frmTestInfo>();
}

void tst_testflow::uncheckingTheMessageTurnsItOff()
{
    bool markClearedAtOnce = false;
    int messagesShown = 0;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        ++messagesShown;
        d.chkShowEveryTime->setChecked(false);
        d.cmdOK->click();
    });
    TestSupport::whenModal<frmOneColor>([&](frmOneColor &f) {
        markClearedAtOnce = !m_menu->menitmShowPreTestMessage->isChecked();
        TestSupport::pressEsc(&f);
    });
    m_menu->cmdGreen->click();
    QVERIFY(markClearedAtOnce);
    QVERIFY(TestSupport::readSettingsFile().contains("ShowInfo=0"));

    // The next test starts directly.
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        ++messagesShown;
        d.cmdOK->click();
    });
    TestSupport::whenModal<frmOneColor>([&](frmOneColor &f) { TestSupport::pressEsc(&f); });
    m_menu->cmdRed->click();
    QCOMPARE(messagesShown, 1);
}

void tst_testflow::closeBoxStoresNothing()
{
    bool patternShown = false;
    TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &d) {
        d.chkShowEveryTime->setChecked(false);
        d.close();
    });
    TestSupport::whenModal<frmOneColor>([&](frmOneColor &f) {
        patternShown = true;
        TestSupport::pressEsc(&f);
    });
    m_menu->cmdWhite->click();
    QVERIFY(patternShown);
    QVERIFY(!QFile::exists(TestSupport::settingsFile()));
    QVERIFY(m_menu->menitmShowPreTestMessage->isChecked());
}

void tst_testflow::otherKeysAndClicksLeaveThePattern_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r";
    QTest::newRow("Space") << int(Qt::Key_Space) << " ";
    QTest::newRow("letter") << int(Qt::Key_Q) << "q";
    QTest::newRow("digit") << int(Qt::Key_1) << "1";
    QTest::newRow("arrow") << int(Qt::Key_Left) << "";
    QTest::newRow("function key") << int(Qt::Key_F1) << "";
    QTest::newRow("Ctrl+[ types 27") << int(Qt::Key_BracketLeft) << "\x1b";
}

void tst_testflow::otherKeysAndClicksLeaveThePattern()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
    bool afterKey = false;
    bool afterClick = false;
    TestSupport::whenModal<frmOneColor>([&](frmOneColor &f) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&f, &press);
        afterKey = isLoaded<frmOneColor>();
        if (afterKey) {
            QTest::mouseClick(&f, Qt::LeftButton, {}, QPoint(10, 10));
            afterClick = isLoaded<frmOneColor>() && f.frame().pixel(10, 10) == qRgb(0, 0, 255);
            TestSupport::pressEsc(&f);
        }
    });
    m_menu->cmdBlue->click();
    const bool endsTheTest = text == QLatin1String("\x1b");
    QCOMPARE(afterKey, !endsTheTest);
    if (!endsTheTest)
        QVERIFY(afterClick);
    QVERIFY(!isLoaded<frmOneColor>());
}

void tst_testflow::exitUnloadsEveryForm_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<bool>("openOthersFirst");
    QTest::newRow("File, Exit, nothing else opened") << false << false;
    QTest::newRow("close box, nothing else opened") << true << false;
    QTest::newRow("File, Exit, other forms loaded") << false << true;
    QTest::newRow("close box, other forms loaded") << true << true;
}

void tst_testflow::exitUnloadsEveryForm()
{
    QFETCH(bool, closeBox);
    QFETCH(bool, openOthersFirst);
    int allUnloadedCalls = 0;
    Form::setAllUnloadedHandler([&] { ++allUnloadedCalls; });
    if (openOthersFirst) {
        form<frmTestInfo>();
        form<frmHelp>();
        form<frmAbout>();
        form<frmGreysFS>();
        QCOMPARE(Form::loadedCount(), 5);
    }
    if (closeBox)
        m_menu->close();
    else
        m_menu->menitmExit->trigger();
    QCOMPARE(Form::loadedCount(), 0);
    QCOMPARE(allUnloadedCalls, 1);
    QVERIFY(!QFile::exists(TestSupport::settingsFile())); // nothing is saved on closing
    Form::setAllUnloadedHandler(nullptr);
}

QTEST_MAIN(tst_testflow)
#include "tst_testflow.moc"
