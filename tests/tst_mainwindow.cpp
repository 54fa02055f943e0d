#include "app/frmMenu.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

class tst_mainwindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void window();
    void controls_data();
    void controls();
    void stacking();
    void tabOrder();
    void descriptionBox();
    void menus_data();
    void menus();
    void everyCaptionFits();
    void captionsShrinkForALargeFontBeforeTheyShow();
    void iconIsTheArtwork_data();
    void iconIsTheArtwork();
};

void tst_mainwindow::initTestCase()
{
    TestSupport::freshSettings();
    form<frmMenu>().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&form<frmMenu>()));
}

void tst_mainwindow::cleanupTestCase()
{
    unload<frmMenu>();
}

void tst_mainwindow::window()
{
    frmMenu &f = form<frmMenu>();
    QCOMPARE(f.windowTitle(), QStringLiteral("Quorbel!"));
    // The client area below the menu bar: 7830 x 5415 twips at 15 twips per logical pixel.
    QCOMPARE(f.client()->size(), QSize(522, 361));
    QCOMPARE(f.client()->y(), f.menuBar->height());
    QCOMPARE(f.size(), QSize(522, 361 + f.menuBar->height()));
    QCOMPARE(f.minimumSize(), f.maximumSize()); // the user cannot resize it
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(f.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!f.windowIcon().isNull());
    const QList<QSize> sizes = f.windowIcon().availableSizes();
    for (int s : { 16, 24, 32, 48, 64, 72 })
        QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
}

void tst_mainwindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char *name, const char *caption, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << QRect(l, t, w, h);
    };
    row("fraTestPatterns", "Test Patterns", 120, 120, 4815, 1815);
    row("fraLCDPixelColorTests", "LCD Pixel Color Tests", 120, 2160, 4815, 1095);
    row("fraBWTestPatterns", "Black and White Test Patterns", 120, 3480, 4815, 1815);
    row("fraTestInformation", "Test Information", 5160, 120, 2535, 5175);
    row("cmdBoxes", "Boxes", 360, 480, 1215, 495);
    row("cmdCircles", "Circles", 1920, 480, 1215, 495);
    row("cmdColors", "Colors", 3480, 480, 1215, 495);
    row("cmdCrosshairs", "Crosshairs", 360, 1200, 1215, 495);
    row("cmdVerticalLines", "Vertical Lines", 1920, 1200, 1215, 495);
    row("cmdDiagonalLines", "Diagonal Lines", 3480, 1200, 1215, 495);
    row("cmdRed", "Red", 360, 2520, 1215, 495);
    row("cmdGreen", "Green", 1920, 2520, 1215, 495);
    row("cmdBlue", "Blue", 3480, 2520, 1215, 495);
    row("cmdBlack", "Black", 360, 3840, 1215, 495);
    row("cmdWhite", "White", 1920, 3840, 1215, 495);
    row("cmdGrey50", "50% Grey", 3480, 3840, 1215, 495);
    row("cmdGreys", "Greys", 360, 4560, 1215, 495);
    row("txtTestInformation", "", 5280, 360, 2295, 4815);
}

void tst_mainwindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    frmMenu &f = form<frmMenu>();
    auto *control = f.client()->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
    QVERIFY2(control, "every control is a direct child of the client area");
    const QRect expected(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
        qRound(twips.height() / 15.0));
    QCOMPARE(control->geometry(), expected);
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->text().contains(QLatin1Char('&'))); // no access keys
    } else if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        QCOMPARE(frame->title(), caption);
        QCOMPARE(frame->focusPolicy(), Qt::NoFocus);
    } else {
        QCOMPARE(qobject_cast<QPlainTextEdit *>(control)->toPlainText(), caption);
    }
}

void tst_mainwindow::stacking()
{
    // Topmost first, as designed: the buttons and the box lie above the frames.
    const QStringList topmostFirst { "txtTestInformation", "cmdDiagonalLines", "cmdVerticalLines", "cmdGreys",
        "cmdGrey50", "cmdCrosshairs", "cmdCircles", "cmdWhite", "cmdBlack", "cmdRed", "cmdGreen", "cmdBlue",
        "fraLCDPixelColorTests", "cmdColors", "cmdBoxes", "fraBWTestPatterns", "fraTestPatterns",
        "fraTestInformation" };
    QStringList bottomFirst;
    for (QObject *child : form<frmMenu>().client()->children())
        if (child->isWidgetType())
            bottomFirst.prepend(child->objectName());
    QCOMPARE(bottomFirst, topmostFirst);
    // And so the platform's hit test finds the button over a frame.
    frmMenu &f = form<frmMenu>();
    QCOMPARE(f.client()->childAt(f.cmdRed->geometry().center()), f.cmdRed);
}

void tst_mainwindow::tabOrder()
{
    frmMenu &f = form<frmMenu>();
    QCOMPARE(f.focusWidget(), f.cmdBoxes);
    const QList<QPushButton *> order { f.cmdBoxes, f.cmdCircles, f.cmdColors, f.cmdCrosshairs,
        f.cmdVerticalLines, f.cmdDiagonalLines, f.cmdRed, f.cmdGreen, f.cmdBlue, f.cmdBlack, f.cmdWhite,
        f.cmdGrey50, f.cmdGreys };
    f.cmdBoxes->setFocus();
    for (int i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), order[i % order.size()]);
    }
}

void tst_mainwindow::descriptionBox()
{
    QPlainTextEdit *box = form<frmMenu>().txtTestInformation;
    QVERIFY(box->isReadOnly());
    QVERIFY(box->toPlainText().isEmpty());
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!(box->focusPolicy() & Qt::TabFocus));
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(box->viewport()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(box->palette().color(QPalette::Base), box->palette().color(QPalette::Button));
}

void tst_mainwindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("File") << "&File"
                          << QStringList { "mnuFileCheckForUpdate=Check For Update",
                                 "menitmShowPreTestMessage=Show Pre-Test Message", "menitmFileSeperator=-",
                                 "menitmExit=E&xit" };
    QTest::newRow("Help") << "&Help"
                          << QStringList { "menitmQRBLHelp=Quorbel! Help", "menitmHelpSeparator=-",
                                 "menitmAbout=About" };
}

void tst_mainwindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QMenu *found = nullptr;
    for (QAction *a : form<frmMenu>().menuBar->actions())
        if (a->text() == menu)
            found = a->menu();
    QVERIFY(found);
    QStringList actual;
    for (QAction *a : found->actions()) {
        actual << a->objectName() + QLatin1Char('=') + (a->isSeparator() ? QStringLiteral("-") : a->text());
        QVERIFY(a->shortcut().isEmpty());
    }
    QCOMPARE(actual, items);
    QVERIFY(form<frmMenu>().menitmShowPreTestMessage->isCheckable());
}

void tst_mainwindow::everyCaptionFits()
{
    frmMenu &f = form<frmMenu>();
    for (QPushButton *b : f.client()->findChildren<QPushButton *>()) {
        const int needed = QFontMetrics(b->font()).horizontalAdvance(b->text());
        QVERIFY2(needed < b->width() - 4, qPrintable(b->objectName()));
    }
}

// A desktop font too large for the buttons: each caption is shrunk before its button first shows,
// and only the ones that need it.
void tst_mainwindow::captionsShrinkForALargeFontBeforeTheyShow()
{
    unload<frmMenu>();
    TestSupport::flushDeletes();
    const QFont original = QApplication::font();
    QFont large = original;
    large.setPointSizeF(16);
    QApplication::setFont(large);
    frmMenu &f = form<frmMenu>();
    f.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QApplication::processEvents();
    int shrunk = 0;
    for (QPushButton *b : f.client()->findChildren<QPushButton *>()) {
        const int needed = QFontMetrics(b->font()).horizontalAdvance(b->text());
        QVERIFY2(needed < b->width() - 4, qPrintable(b->objectName()));
        if (b->font().pointSizeF() < 16) {
            ++shrunk;
            // No smaller than needed: a quarter point more would not fit.
            QFont larger = b->font();
            larger.setPointSizeF(larger.pointSizeF() + 0.25);
            QVERIFY2(QFontMetrics(larger).horizontalAdvance(b->text()) + 10 > b->width(),
                qPrintable(b->objectName()));
        }
    }
    QVERIFY(f.cmdVerticalLines->font().pointSizeF() < 16);
    QVERIFY(shrunk > 0);
    QApplication::setFont(original);
    unload<frmMenu>();
    TestSupport::flushDeletes();
    form<frmMenu>().Show();
}

void tst_mainwindow::iconIsTheArtwork_data()
{
    QTest::addColumn<int>("size");
    for (int size : { 16, 24, 32, 48, 64, 72 })
        QTest::addRow("%d pixels", size) << size;
}

// The window's icon holds each size of the artwork, pixel for pixel as its PNG shows it.
void tst_mainwindow::iconIsTheArtwork()
{
    QFETCH(int, size);
    const QIcon icon = form<frmMenu>().windowIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QString png = qEnvironmentVariable("QRBL_TEST_SOURCE_DIR")
        + QStringLiteral("/../resources/icons/quorbel-%1.png").arg(size);
    QImage expected(png);
    QVERIFY2(!expected.isNull(), qPrintable(png));
    expected = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage actual
        = icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(actual.size(), QSize(size, size));
    QCOMPARE(actual, expected);
}

QTEST_MAIN(tst_mainwindow)
#include "tst_mainwindow.moc"
