// The main window as its user meets it: the description of the test under the pointer, and the about
// box's links and keys. Captions, tab order and clipping are checked at every font in tst_layout.
#include "BuildConfig.h"
#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "platform/LinkLabel.h"
#include "support/TestSupport.h"

#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

class tst_mainwindow : public QObject
{
    Q_OBJECT
    frmMenu m_menu;
    QPlainTextEdit *box() { return TestSupport::control<QPlainTextEdit>(&m_menu, "txtTestInformation"); }
    QWidget *control(const char *name) { return TestSupport::control(&m_menu, name); }
    // A move to where the pointer already is raises nothing, so each move starts one pixel aside.
    void pointAt(QWidget *w) { QTest::mouseMove(w, QPoint(5, 12)), QTest::mouseMove(w, QPoint(4, 12)); }
    QList<QUrl> m_opened;

public slots:
    void open(const QUrl &url) { m_opened << url; }

private slots:
    void initTestCase() { m_menu.show(); }

    // Over a button its test is described; over the window's background, any frame or the box itself the
    // box is emptied.
    void describesTestUnderPointer()
    {
        pointAt(control("cmdBoxes"));
        QCOMPARE(box()->toPlainText(), "The boxes help to adjust pincushion and trapezoid controls.");
        for (const char *elsewhere : { "fraTestPatterns", "fraLCDPixelColorTests", "fraBWTestPatterns",
                 "fraTestInformation", "client", "txtTestInformation", "qt_scrollarea_viewport" }) {
            pointAt(control("cmdColors"));
            QVERIFY(box()->toPlainText().startsWith("The colors test pattern"));
            QWidget *w = control(elsewhere);
            // The box's own frame: a move at its edge, outside the viewport.
            QTest::mouseMove(w, QPoint(1, 2)), QTest::mouseMove(w, QPoint(1, 1));
            QVERIFY2(box()->toPlainText().isEmpty(), elsewhere);
        }
    }

    // With a font too large for the screen the window grows to the screen's edge and no further, and a
    // description outgrows the box: it scrolls by keys and wheel, and no scroll bar shows.
    void longDescriptionScrolls()
    {
        const QFont before = QApplication::font();
        const int narrow = m_menu.width();
        QApplication::setFont(QFont(before.family(), 48));
        QTest::qWait(1);
        pointAt(control("cmdGreys"));
        QScrollBar *bar = box()->verticalScrollBar();
        QVERIFY(!bar->isVisible() && m_menu.width() > narrow);
        QVERIFY(m_menu.screen()->availableGeometry().contains(m_menu.frameGeometry()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(bar->value(), 0);
        QWheelEvent wheel({ 9, 9 }, box()->mapToGlobal(QPointF(9, 9)), {}, { 0, -360 }, {}, {}, {}, false);
        QApplication::sendEvent(box()->viewport(), &wheel);
        QVERIFY(bar->value() > 0);
        QApplication::setFont(before);
    }

    // The links go to the desktop; Enter and Esc both close the box, which needs no main window.
    void aboutBox()
    {
        for (const char *scheme : { "http", "https", "mailto" })
            QDesktopServices::setUrlHandler(scheme, this, "open");
        for (const auto key : { Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter }) {
            frmAbout about;
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            QVERIFY(!TestSupport::control<QLabel>(&about, "picIcon")->pixmap().isNull());
            QTest::mouseClick(TestSupport::control(&about, "lblURL"), Qt::LeftButton, {}, QPoint(10, 8));
            QTest::mouseClick(TestSupport::control(&about, "lblEmail"), Qt::LeftButton, {}, QPoint(10, 8));
            QTest::keyClick(&about, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QVERIFY2(!about.isVisible(), qPrintable(QKeySequence(key).toString()));
        }
        QCOMPARE(m_opened.mid(0, 2), QList<QUrl>({ QUrl(QRBL_WEB_URL), QUrl("mailto:" QRBL_SUPPORT_EMAIL) }));
        QCOMPARE(m_opened.size(), 6);
    }
};

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
