// The line patterns as they come out in device pixels: on screens from 768 to 8K wide, at desktop scales
// 1, 1.5 and 2 (each screen in a child process of this test), kept across repaints, redrawn on resize.
#include "patterns/modFunctions.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmVerticalLines.h"
#include "patterns/render/DeviceGrid.h"
#include "platform/ErrorBoundary.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QScreen>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

using Model = std::function<QRgb(int column, int row)>;

// Counts the pixels of image that differ from what expected(column, row) says, checking every
// stride-th row (stride 1: every pixel).
qint64 countWrong(const QImage &image, const Model &expected, int stride = 1)
{
    const QImage img
        = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    qint64 wrong = 0;
    for (int r = 0; r < img.height(); r += stride) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(r));
        for (int c = 0; c < img.width(); ++c)
            wrong += (line[c] | 0xFF000000u) != (expected(c, r) | 0xFF000000u);
    }
    return wrong;
}

template <class T> T &showPattern()
{
    T &f = form<T>();
    f.Show();
    if (!QTest::qWaitForWindowExposed(&f))
        qWarning("pattern window not exposed");
    QCoreApplication::processEvents();
    return f;
}

QSize screenSize()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return QSize(Screen::deviceWidth(screen), Screen::deviceHeight(screen));
}

// Each pattern: how to show it and what it should show on a window of the given size.
struct LinePattern
{
    const char *name;
    PatternForm &(*show)();
    Model (*expected)(QSize window, int screenWidth);
};

const LinePattern Patterns[] = {
    { "vertical lines", []() -> PatternForm & { return showPattern<frmVerticalLines>(); },
        // Alternating columns: black on the even ones.
        [](QSize, int) -> Model { return [](int c, int) { return c % 2 == 0 ? Black : White; }; } },
    { "diagonal lines", []() -> PatternForm & { return showPattern<frmDiagonalLines>(); },
        // The family x + y = 3k in pixels. The lines end on the first multiple of three at or beyond the
        // width, so in a window clearly taller than wide the rows below that stay white.
        [](QSize window, int) -> Model {
            const int lastRow = (window.width() + 2) / 3 * 3;
            return [lastRow](int c, int r) { return r <= lastRow && (c + r) % 3 == 0 ? Black : White; };
        } },
    { "greys", []() -> PatternForm & { return showPattern<frmGreysFS>(); },
        // Column c shows grey c / n, n being the screen's width in pixels over 255 (ties to even); beyond
        // level 255 the background shows.
        [](QSize, int screenWidth) -> Model {
            const int n = int(std::nearbyint(screenWidth / 255.0));
            return [n](int c, int) { return n > 0 && c / n <= 255 ? qRgb(c / n, c / n, c / n) : White; };
        } },
};

void unloadPatterns()
{
    unload<frmVerticalLines>();
    unload<frmDiagonalLines>();
    unload<frmGreysFS>();
    TestSupport::flushDeletes();
}

QImage screenShot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

} // namespace

class tst_linepatterns : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::freshSettings(); }
    void cleanup() { unloadPatterns(); }

    void screens_data()
    {
        QTest::addColumn<QSize>("devicePixels");
        QTest::addColumn<double>("scale");
        QTest::newRow("1365x767, odd, ramp narrower than the screen") << QSize(1365, 767) << 1.0;
        QTest::newRow("768x1024 portrait") << QSize(768, 1024) << 1.0;
        QTest::newRow("3840x2160") << QSize(3840, 2160) << 1.0;
        QTest::newRow("7680x4320") << QSize(7680, 4320) << 1.0;
        QTest::newRow("1920x1080 at 1.5") << QSize(1920, 1080) << 1.5;
        QTest::newRow("2560x1600 at 2") << QSize(2560, 1600) << 2.0;
        QTest::newRow("7680x4320 at 2") << QSize(7680, 4320) << 2.0;
    }

    // Runs patternsOnThisScreen in a child process whose only screen has the given device pixels and scale.
    void screens()
    {
        QFETCH(QSize, devicePixels);
        QFETCH(double, scale);
        bool ok = false;
        const QByteArray output
            = TestSupport::runOnScreen(devicePixels, scale, { QStringLiteral("patternsOnThisScreen") }, &ok);
        QVERIFY2(
            ok && output.contains("PASS   : tst_linepatterns::patternsOnThisScreen()"), output.constData());
    }

    void patternsOnThisScreen()
    {
        const auto expectedScreen = TestSupport::expectedScreen();
        if (!expectedScreen)
            QSKIP("runs as the child of screens()");
        const QSize device = expectedScreen->device;
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), expectedScreen->ratio);
        QCOMPARE(screenSize(), device);
        QCOMPARE(Screen::Width(), float(device.width()) * 15.0f);
        const int errorsBefore = ErrorBoundary::reportCount();
        // Sizes up to 2K are checked in full on screen too; larger ones on every 7th row there.
        const int grabStride = device.width() > 2560 ? 7 : 1;
        for (const LinePattern &p : Patterns) {
            PatternForm &f = p.show();
            const auto expected = p.expected(device, device.width());
            QCOMPARE(f.devicePixelRatioF(), expectedScreen->ratio);
            QCOMPARE(f.frame().size(), device);
            QVERIFY2(countWrong(f.frame(), expected) == 0, p.name);
            const QImage grabbed = f.grab().toImage();
            QCOMPARE(grabbed.size(), device);
            QVERIFY2(countWrong(grabbed, expected, grabStride) == 0, p.name);
            unloadPatterns();
        }
        // Nothing overflowed on the way.
        QCOMPARE(ErrorBoundary::reportCount(), errorsBefore);
    }

    void keptAcrossRepaint_data()
    {
        QTest::addColumn<int>("pattern");
        for (int p = 0; p < 3; ++p)
            QTest::newRow(Patterns[p].name) << p;
    }

    // A repaint without a size change (a notification passing over, an uncovered area) shows the pattern
    // again, not the bare background.
    void keptAcrossRepaint()
    {
        QFETCH(int, pattern);
        PatternForm &f = Patterns[pattern].show();
        const auto expected = Patterns[pattern].expected(screenSize(), screenSize().width());
        QCOMPARE(f.frame().size(), screenSize());
        QCOMPARE(countWrong(screenShot(), expected), 0);

        // Another window over part of it, then gone again.
        QWidget cover;
        cover.setAttribute(Qt::WA_ShowWithoutActivating);
        cover.setGeometry(40, 30, 200, 150);
        cover.setStyleSheet(QStringLiteral("background: red"));
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        cover.hide();
        f.update(QRect(40, 30, 200, 150));
        QCoreApplication::processEvents();
        QCOMPARE(countWrong(screenShot(), expected), 0);

        // A full repaint, as after the screen saver or a compositor's request.
        f.repaint();
        QCOMPARE(countWrong(f.grab().toImage(), expected), 0);
    }

    void resizeRedrawsFromScratch();
    void waitBlocksEveryResize();
    void clippedLinesMatchUnclipped_data();
    void clippedLinesMatchUnclipped();
};

// A new size starts from a clean surface: nothing of the drawing at the old size is left.
void tst_linepatterns::resizeRedrawsFromScratch()
{
    frmDiagonalLines &f = showPattern<frmDiagonalLines>();
    const QSize portrait(300, 520);
    f.resize(portrait);
    QTRY_COMPARE(f.frame().size(), portrait);
    QCOMPARE(countWrong(f.frame(), Patterns[1].expected(portrait, 0)), 0);

    const QSize landscape(500, 260);
    f.resize(landscape);
    QTRY_COMPARE(f.frame().size(), landscape);
    QCOMPARE(countWrong(f.frame(), Patterns[1].expected(landscape, 0)), 0);
}

// Every resize first waits 0.1 s without letting the event loop run.
void tst_linepatterns::waitBlocksEveryResize()
{
    frmVerticalLines &f = showPattern<frmVerticalLines>();
    QElapsedTimer clock;
    clock.start();
    qint64 resizeAt = -1;
    qint64 loopBackAt = -1;
    int paintsBetween = 0;
    struct Filter : QObject
    {
        std::function<bool(QEvent *)> onEvent;
        bool eventFilter(QObject *, QEvent *e) override { return onEvent(e); }
    } filter;
    filter.onEvent = [&](QEvent *e) {
        if (e->type() == QEvent::Resize && resizeAt < 0) {
            resizeAt = clock.elapsed();
            // Runs only once the event loop gets control back, i.e. after the resize handler.
            QTimer::singleShot(0, [&] { loopBackAt = clock.elapsed(); });
        } else if (e->type() == QEvent::Paint && resizeAt >= 0 && loopBackAt < 0) {
            ++paintsBetween;
        }
        return false;
    };
    f.installEventFilter(&filter);

    for (const QSize size : { QSize(400, 300), QSize(410, 300) }) {
        resizeAt = -1;
        loopBackAt = -1;
        paintsBetween = 0;
        f.resize(size);
        QTRY_VERIFY(loopBackAt >= 0);
        QVERIFY2(loopBackAt - resizeAt >= 100, qPrintable(QString::number(loopBackAt - resizeAt)));
        QCOMPARE(paintsBetween, 0);
        QCOMPARE(countWrong(f.frame(), Patterns[0].expected(size, 0)), 0);
    }
    f.removeEventFilter(&filter);
}

void tst_linepatterns::clippedLinesMatchUnclipped_data()
{
    QTest::addColumn<QRect>("window"); // where the small image lies inside the large one
    QTest::newRow("inside") << QRect(100, 100, 37, 23);
    QTest::newRow("at the origin") << QRect(0, 0, 40, 40);
    QTest::newRow("one row") << QRect(60, 90, 80, 1);
    QTest::newRow("one column") << QRect(90, 60, 1, 80);
    QTest::newRow("far corner") << QRect(150, 170, 50, 30);
}

// Lines drawn into a small image light exactly the pixels the same lines light inside a large one: the
// clipping skips ahead without changing the staircase.
void tst_linepatterns::clippedLinesMatchUnclipped()
{
    QFETCH(QRect, window);
    QRandomGenerator random(4711);
    for (int k = 0; k < 3000; ++k) {
        const int x1 = random.bounded(200), y1 = random.bounded(200);
        const int x2 = random.bounded(200), y2 = random.bounded(200);
        QImage large(200, 200, QImage::Format_RGB32);
        large.fill(White);
        DeviceGrid::drawLine(large, x1, y1, x2, y2, Black);
        QImage small(window.size(), QImage::Format_RGB32);
        small.fill(White);
        DeviceGrid::drawLine(
            small, x1 - window.x(), y1 - window.y(), x2 - window.x(), y2 - window.y(), Black);
        if (small != large.copy(window))
            QFAIL(qPrintable(QStringLiteral("(%1,%2)-(%3,%4)").arg(x1).arg(y1).arg(x2).arg(y2)));
        // Both ends lit, one pixel per step along the longer axis.
        QCOMPARE(large.pixel(x1, y1), Black);
        QCOMPARE(large.pixel(x2, y2), Black);
        QCOMPARE(
            TestSupport::countOf(large, Black), qint64(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1));
    }
}

QTEST_MAIN(tst_linepatterns)
#include "tst_linepatterns.moc"
