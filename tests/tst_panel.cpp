// The description panel of the main window: what a pointer move over each control leaves in the box.
#include "app/Options.h"
#include "app/frmMenu.h"
#include "dialogs/frmTestInfo.h"
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmOneColor.h"
#include "support/TestSupport.h"

#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

namespace {
const QString Lines = QStringLiteral(
    "This test draws lines 1 pixel apart on the screen. The lines should look clear and sharp. Fuzzy lines "
    "could indicate a poor quality or damaged monitor. If you feel the picture is unnacceptably blury, "
    "contact your monitor's manufacture or your place of purchase for further advice.");

QString lcd(const QString &colour)
{
    return QStringLiteral("This test is for LCDs. It simply colors the screen %1 so you can see if all the "
                          "pixels on the LCD are working. Failure of some pixels is generally considered "
                          "acceptable. If you feel there is an unnaceptable number pixels which are not "
                          "colored or are stuck on one color, contact your LCD manufacturer or place of "
                          "purchase for further advice.")
        .arg(colour);
}

const QString Boxes = QStringLiteral("The boxes help to adjust pincushion and trapezoid controls.");
const QString Circles = QStringLiteral("The circles test helps to help adjust pincushion and trapezoid "
                                       "controls, as well as picture height and width.");
const QString Greys = QStringLiteral(
    "This is for adjusting contrast and brightness controls on your monitor. Sometimes, after setting the "
    "contrast and brightness controls, black can look greenish and white can look a little dull. This in "
    "particular gives a good scope of the entire grey scale. This will only appear correctly if your monitor "
    "is set to 32 bit color depth.");
} // namespace

class tst_panel : public QObject
{
    Q_OBJECT

private:
    frmMenu &menu() { return form<frmMenu>(); }
    QWidget *control(const QString &name) { return menu().findChild<QWidget *>(name); }

    // Moves the pointer as the user does: through the window, to the control under the point.
    // A move to where the pointer already is raises nothing, so each move starts one pixel aside.
    void pointAt(QWidget *widget, QPoint at)
    {
        QTest::mouseMove(widget, at + QPoint(1, 0));
        QTest::mouseMove(widget, at);
    }
    void pointAt(QWidget *widget) { pointAt(widget, widget->rect().center()); }
    QPoint clientPoint(int xTwips, int yTwips) { return QPoint(xTwips / 15, yTwips / 15); }

private slots:
    void initTestCase()
    {
        TestSupport::freshSettings();
        // Tests start straight into the pattern, without the pre-test message.
        Options::saveShowInfo(false);
    }

    void init()
    {
        menu().Show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu()));
        menu().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&menu()));
    }

    void emptyAtStart() { QVERIFY(menu().txtTestInformation->toPlainText().isEmpty()); }

    void buttonDescribesItsTest_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Boxes") << "cmdBoxes" << Boxes;
        QTest::newRow("Circles") << "cmdCircles" << Circles;
        QTest::newRow("Colors")
            << "cmdColors"
            << QStringLiteral("The colors test pattern allows you to get a good overall look at the "
                              "basic colors your monitor can display. The main colors are the primary "
                              "colors. Between them are the secondary colors. Black and white are "
                              "both displayed at the bottom of the screen. This test should help to "
                              "identify and help adjust color settings for a monitor or video "
                              "projector.");
        QTest::newRow("Crosshairs") << "cmdCrosshairs"
                                    << QStringLiteral(
                                           "This helps identify the outer edge and centre of the "
                                           "visible display image. This is particularly useful for "
                                           "projectors.");
        QTest::newRow("Vertical Lines") << "cmdVerticalLines" << Lines;
        QTest::newRow("Diagonal Lines") << "cmdDiagonalLines" << Lines;
        QTest::newRow("Red") << "cmdRed" << lcd("red");
        QTest::newRow("Green") << "cmdGreen" << lcd("green");
        QTest::newRow("Blue") << "cmdBlue" << lcd("blue");
        QTest::newRow("Black") << "cmdBlack"
                               << QStringLiteral(
                                      "Use this for adjusting contrast and brightness controls on your "
                                      "monitor. Sometimes, after setting the contrast and brightness "
                                      "controls, black can look greenish. Use this after the Colors "
                                      "test to make sure black still looks OK.");
        QTest::newRow("White") << "cmdWhite"
                               << QStringLiteral(
                                      "Use this for adjusting contrast and brightness controls on your "
                                      "monitor. Sometimes, after setting the contrast and brightness "
                                      "controls, white can look dull or grey. Use this after the Colors "
                                      "test to make sure white still looks OK.");
        QTest::newRow("50% Grey")
            << "cmdGrey50"
            << QStringLiteral("This is for adjusting contrast and brightness controls on your monitor.");
        QTest::newRow("Greys") << "cmdGreys" << Greys;
    }

    void buttonDescribesItsTest()
    {
        QFETCH(QString, button);
        QFETCH(QString, text);
        QPlainTextEdit *box = menu().txtTestInformation;
        // Start from another button's text, so the move must replace it.
        pointAt(button == QLatin1String("cmdBoxes") ? menu().cmdGreys : menu().cmdBoxes);
        QVERIFY(!box->toPlainText().isEmpty());
        QVERIFY(box->toPlainText() != text);

        pointAt(control(button), QPoint(5, 5));
        QCOMPARE(box->toPlainText(), text);
        // Anywhere on the button, as often as the pointer moves.
        pointAt(control(button), control(button)->rect().bottomRight() - QPoint(5, 3));
        QCOMPARE(box->toPlainText(), text);

        // The whole description is readable: the box has no scroll bar, so nothing may lie beyond it.
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
    }

    void moveElsewhereEmptiesBox_data()
    {
        // Points in client twips, each with the control the window finds under it.
        QTest::addColumn<QPoint>("twips");
        QTest::addColumn<QString>("under");
        QTest::newRow("window background") << QPoint(5040, 1500) << QString();
        QTest::newRow("window background, lower edge") << QPoint(2000, 5370) << QString();
        QTest::newRow("fraTestPatterns") << QPoint(1740, 1800) << "fraTestPatterns";
        QTest::newRow("fraTestPatterns caption") << QPoint(400, 170) << "fraTestPatterns";
        QTest::newRow("fraLCDPixelColorTests") << QPoint(1740, 3100) << "fraLCDPixelColorTests";
        QTest::newRow("fraBWTestPatterns") << QPoint(3000, 4800) << "fraBWTestPatterns";
        QTest::newRow("fraTestInformation caption") << QPoint(5400, 200) << "fraTestInformation";
        QTest::newRow("fraTestInformation edge") << QPoint(5200, 3000) << "fraTestInformation";
        QTest::newRow("txtTestInformation") << QPoint(6400, 2700) << "qt_scrollarea_viewport";
        QTest::newRow("txtTestInformation border") << QPoint(5282, 2700) << "txtTestInformation";
    }

    void moveElsewhereEmptiesBox()
    {
        QFETCH(QPoint, twips);
        QFETCH(QString, under);
        QWidget *client = menu().client();
        const QPoint at = clientPoint(twips.x(), twips.y());
        QWidget *found = client->childAt(at);
        QCOMPARE(found ? found->objectName() : QString(), under);

        pointAt(menu().cmdColors);
        QVERIFY(!menu().txtTestInformation->toPlainText().isEmpty());
        pointAt(client, at);
        QCOMPARE(menu().txtTestInformation->toPlainText(), QString());
    }

    void menuBarLeavesBoxAlone_data()
    {
        QTest::addColumn<int>("x");
        QTest::newRow("over File") << 12;
        QTest::newRow("over Help") << 55;
        QTest::newRow("empty part of the bar") << 400;
    }

    void menuBarLeavesBoxAlone()
    {
        QFETCH(int, x);
        pointAt(menu().cmdGreys);
        QCOMPARE(menu().txtTestInformation->toPlainText(), Greys);
        pointAt(menu().menuBar, QPoint(x, menu().menuBar->height() / 2));
        QCOMPARE(menu().txtTestInformation->toPlainText(), Greys);
    }

    void leavingFromButtonKeepsText()
    {
        // Straight off the window from a button: nothing else raised a move, the text stays.
        pointAt(menu().cmdCircles);
        QTest::mouseMove(menu().cmdCircles, QPoint(-400, -400));
        QCOMPARE(menu().txtTestInformation->toPlainText(), Circles);
    }

    void focusIntoBoxLandsOnBoxes_data()
    {
        QTest::addColumn<bool>("byClick");
        QTest::newRow("click into the box") << true;
        QTest::newRow("focus given by code") << false;
    }

    void focusIntoBoxLandsOnBoxes()
    {
        QFETCH(bool, byClick);
        menu().cmdGreys->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), menu().cmdGreys);
        if (byClick)
            QTest::mouseClick(menu().txtTestInformation->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
        else
            menu().txtTestInformation->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), menu().cmdBoxes);
        QVERIFY(!menu().txtTestInformation->hasFocus());
    }

    void enterAfterClickIntoBoxStartsBoxes()
    {
        QTest::mouseClick(menu().txtTestInformation->viewport(), Qt::LeftButton, {}, QPoint(50, 60));
        bool boxesShown = false;
        bool preTestMessage = false;
        TestSupport::whenModal<frmTestInfo>([&](frmTestInfo &info) {
            preTestMessage = true;
            info.cmdOK->click();
        });
        TestSupport::whenModal<frmBoxesFS>([&](frmBoxesFS &boxes) {
            boxesShown = true;
            TestSupport::pressEsc(&boxes);
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(boxesShown);
        QVERIFY(!preTestMessage);
        QVERIFY(!isLoaded<frmBoxesFS>());
    }

    void textStaysThroughTest_data()
    {
        QTest::addColumn<bool>("preTestMessage");
        QTest::newRow("straight to the pattern") << false;
        QTest::newRow("after the pre-test message") << true;
    }

    void textStaysThroughTest()
    {
        QFETCH(bool, preTestMessage);
        Options::saveShowInfo(preTestMessage);
        pointAt(menu().cmdCircles);
        QCOMPARE(menu().txtTestInformation->toPlainText(), Circles);
        bool patternShown = false;
        TestSupport::whenModal<frmTestInfo>([](frmTestInfo &info) {
            QCOMPARE(form<frmMenu>().txtTestInformation->toPlainText(), Circles);
            info.cmdOK->click();
        });
        TestSupport::whenModal<frmCirclesFS>([&](frmCirclesFS &circles) {
            patternShown = true;
            QCOMPARE(form<frmMenu>().txtTestInformation->toPlainText(), Circles);
            TestSupport::pressEsc(&circles);
        });
        QTest::mouseClick(menu().cmdCircles, Qt::LeftButton);
        QVERIFY(patternShown);
        TestSupport::flushDeletes();
        QCOMPARE(menu().txtTestInformation->toPlainText(), Circles);
        Options::saveShowInfo(false);
    }

    void boxRefusesTyping()
    {
        pointAt(menu().cmdBoxes);
        QTest::mouseClick(menu().txtTestInformation->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("xyz"));
        QVERIFY(!menu().txtTestInformation->toPlainText().contains(QLatin1String("xyz")));
    }

    // A test that did not need one of its modal actions must not leave it to act in the next test.
    void cleanup() { TestSupport::cancelPending(); }

    void cleanupTestCase()
    {
        unload<frmOneColor>();
        unload<frmMenu>();
        TestSupport::flushDeletes();
    }
};

QTEST_MAIN(tst_panel)
#include "tst_panel.moc"
