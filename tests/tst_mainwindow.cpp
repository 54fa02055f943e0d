// The main window as its user meets it: the description of the test under the pointer, and the about
// box's links handed to the desktop. Captions, tab order and clipping are checked at every font in
// tst_layout.
#include "BuildConfig.h"
#include "app/frmMenu.h"
#include "dialogs/frmAbout.h"
#include "platform/LinkLabel.h"

#include <QDesktopServices>
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
    void pointAt(QWidget *w) { QTest::mouseMove(w, QPoint(5, 12)), QTest::mouseMove(w, QPoint(4, 12)); }
    QList<QUrl> m_opened;

public slots:
    void open(const QUrl &url) { m_opened << url; }

private slots:
    void describesTestUnderPointer()
    {
        menu().Show();
        pointAt(menu().cmdBoxes);
        QCOMPARE(box()->toPlainText(), "The boxes help to adjust pincushion and trapezoid controls.");
        for (const char *elsewhere : { "fraLCDPixelColorTests", "client", "qt_scrollarea_viewport" }) {
            pointAt(menu().cmdColors);
            QVERIFY(box()->toPlainText().startsWith("The colors test pattern"));
            pointAt(menu().findChild<QWidget *>(elsewhere));
            QVERIFY2(box()->toPlainText().isEmpty(), elsewhere);
        }
    }

    // With a font too large for any window a description outgrows the box, though the window grows: it
    // scrolls by keys and wheel, and no scroll bar shows.
    void longDescriptionScrolls()
    {
        const QFont before = QApplication::font();
        const int narrow = menu().width();
        QApplication::setFont(QFont(before.family(), 48));
        QTest::qWait(1);
        pointAt(menu().cmdGreys);
        QScrollBar *bar = box()->verticalScrollBar();
        QVERIFY(!bar->isVisible() && menu().width() > 2 * narrow); // the window grew with the font
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(bar->value(), 0);
        QWheelEvent wheel({ 9, 9 }, box()->mapToGlobal(QPointF(9, 9)), {}, { 0, -360 }, {}, {}, {}, false);
        QApplication::sendEvent(box()->viewport(), &wheel);
        QVERIFY(bar->value() > 0);
        QApplication::setFont(before);
    }

    void aboutLinksOpenThroughDesktop()
    {
        for (const char *scheme : { "http", "https", "mailto" })
            QDesktopServices::setUrlHandler(scheme, this, "open");
        form<frmAbout>().Show();
        QTest::mouseClick(form<frmAbout>().lblURL, Qt::LeftButton, {}, QPoint(10, 8));
        QTest::mouseClick(form<frmAbout>().lblEmail, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(m_opened, QList<QUrl>({ QUrl(QRBL_WEB_URL), QUrl("mailto:" QRBL_SUPPORT_EMAIL) }));
    }
};

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
