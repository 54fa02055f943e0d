// The main window as its user meets it: captions in tab order, menus and access keys, and the panel that
// describes the test under the pointer.
#include "app/frmMenu.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

class tst_mainwindow : public QObject
{
    Q_OBJECT
    frmMenu &menu() { return form<frmMenu>(); }
    QPlainTextEdit *box() { return menu().txtTestInformation; }
    // A move to where the pointer already is raises nothing, so each move starts one pixel aside.
    void pointAt(QWidget *w, QPoint at = QPoint(4, 12))
    {
        QTest::mouseMove(w, at + QPoint(1, 0));
        QTest::mouseMove(w, at);
    }

private slots:
    void initTestCase()
    {
        menu().Show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu()));
    }
    void cleanupTestCase() { unload<frmMenu>(); }

    void captionsInTabOrder()
    {
        const QStringList captions { "Boxes", "Circles", "Colors", "Crosshairs", "Vertical Lines",
            "Diagonal Lines", "Red", "Green", "Blue", "Black", "White", "50% Grey", "Greys", "Boxes" };
        for (const QString &caption : captions) {
            QCOMPARE(qobject_cast<QPushButton *>(QApplication::focusWidget())->text(), caption);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void menusAndAccessKeys()
    {
        QStringList seen;
        for (QAction *title : menu().menuBar->actions()) {
            seen << title->text();
            for (QAction *item : title->menu()->actions())
                seen << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        QCOMPARE(seen,
            QStringList({ "&File", "Check For Update", "Show Pre-Test Message", "-", "E&xit", "&Help",
                "Quorbel! Help", "-", "About" }));
    }

    void describesTestUnderPointer_data()
    {
        QTest::addColumn<QString>("under");
        QTest::addColumn<QString>("text");
        QTest::newRow("Boxes") << "cmdBoxes"
                               << "The boxes help to adjust pincushion and trapezoid controls.";
        QTest::newRow("50% Grey")
            << "cmdGrey50"
            << "This is for adjusting contrast and brightness controls on your monitor.";
        QTest::newRow("a frame") << "fraLCDPixelColorTests"
                                 << "";
        QTest::newRow("the window") << "client"
                                    << "";
        QTest::newRow("the box") << "qt_scrollarea_viewport"
                                 << "";
    }

    void describesTestUnderPointer()
    {
        QFETCH(QString, under);
        QFETCH(QString, text);
        pointAt(menu().cmdColors);
        QVERIFY(box()->toPlainText().startsWith("The colors test pattern"));
        pointAt(menu().findChild<QWidget *>(under));
        QCOMPARE(box()->toPlainText(), text);
    }

    // At a font too large for any window a description outgrows the box: it scrolls by keys and wheel, and
    // no scroll bar shows.
    void longDescriptionScrolls()
    {
        const QFont before = QApplication::font();
        QApplication::setFont(QFont(before.family(), 48));
        QTest::qWait(1);
        pointAt(menu().cmdGreys);
        QScrollBar *bar = box()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QVERIFY(!bar->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(bar->value(), 0);
        QWheelEvent wheel(QPointF(9, 9), box()->viewport()->mapToGlobal(QPointF(9, 9)), {}, QPoint(0, -360),
            Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box()->viewport(), &wheel);
        QVERIFY(bar->value() > 0);
        QApplication::setFont(before);
    }
};

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
