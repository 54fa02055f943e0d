// The line patterns as they come out in device pixels: on screens from 768 to 8K wide, at desktop scales
// 1, 1.5 and 2 (each screen in a child process of this test), kept across repaints, redrawn on resize.
#include "app/modFunctions.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmVerticalLines.h"
#include "platform/DeviceGrid.h"
#include "platform/ErrorBoundary.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

namespace {

constexpr char ChildSizeVar[] = "QRBL_LINES_CHILD_SIZE";
constexpr char ChildDprVar[] = "QRBL_LINES_CHILD_DPR";
constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

QRgb greyRgb(int g)
{
    return qRgb(g, g, g);
}

// Counts the pixels of image that differ from what expected(column, row) says, checking every
// stride-th row (stride 1: every pixel).
qint64 countWrong(const QImage &image, const std::function<QRgb(int, int)> &expected, int stride = 1)
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

// Alternating columns: black on the even ones.
QRgb verticalExpected(int c, int)
{
    return c % 2 == 0 ? Black : White;
}

// The family x + y = 3k in pixels. The lines end on the first multiple of three at or beyond the width,
// so in a window clearly taller than wide the rows below that stay white.
std::function<QRgb(int, int)> diagonalExpected(QSize size)
{
    const int lastRow = (size.width() + 2) / 3 * 3;
    return [lastRow](int c, int r) { return r <= lastRow && (c + r) % 3 == 0 ? Black : White; };
}

// Column c shows grey c / n, n being the screen's width in pixels over 255 (ties to even); beyond level 255
// the background shows.
std::function<QRgb(int, int)> greysExpected(int screenPixels)
{
    const int n = int(std::nearbyint(screenPixels / 255.0));
    return [n](int c, int) { return n > 0 && c / n <= 255 ? greyRgb(c / n) : White; };
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

void unloadPatterns()
{
    unload<frmVerticalLines>();
    unload<frmDiagonalLines>();
    unload<frmGreysFS>();
    TestSupport::flushDeletes();
}

QImage screenShot()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0).toImage();
}

} // namespace

class tst_linepatterns : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void screens_data();
    void screens();
    void patternsOnThisScreen();

    void keptAcrossRepaint_data();
    void keptAcrossRepaint();
    void resizeRedrawsFromScratch();
    void waitBlocksEveryResize();

    void clippedLinesMatchUnclipped_data();
    void clippedLinesMatchUnclipped();
    void manyLinesAtOnceMatchOneByOne();

private:
    QTemporaryDir m_dir;
};

void tst_linepatterns::initTestCase()
{
    TestSupport::freshSettings();
}

void tst_linepatterns::cleanup()
{
    unloadPatterns();
}

void tst_linepatterns::screens_data()
{
    QTest::addColumn<QSize>("devicePixels");
    QTest::addColumn<QString>("scale");

    QTest::newRow("1024x768") << QSize(1024, 768) << "1";
    QTest::newRow("1280x1024") << QSize(1280, 1024) << "1";
    QTest::newRow("1366x768, ramp narrower than the screen") << QSize(1366, 768) << "1";
    QTest::newRow("768x1024 portrait") << QSize(768, 1024) << "1";
    QTest::newRow("1920x1080") << QSize(1920, 1080) << "1";
    QTest::newRow("3840x2160") << QSize(3840, 2160) << "1";
    QTest::newRow("7680x4320") << QSize(7680, 4320) << "1";
    QTest::newRow("1920x1080 at 1.5") << QSize(1920, 1080) << "1.5";
    QTest::newRow("3840x2160 at 1.5") << QSize(3840, 2160) << "1.5";
    QTest::newRow("2560x1600 at 2") << QSize(2560, 1600) << "2";
    QTest::newRow("3840x2160 at 2") << QSize(3840, 2160) << "2";
    QTest::newRow("7680x4320 at 2") << QSize(7680, 4320) << "2";
}

// Runs patternsOnThisScreen in a child process whose only screen has the given device pixels and scale.
void tst_linepatterns::screens()
{
    QFETCH(QSize, devicePixels);
    QFETCH(QString, scale);

    const QString config = m_dir.filePath(
        QStringLiteral("screen-%1x%2.json").arg(devicePixels.width()).arg(devicePixels.height()));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("{\"screens\":[{\"name\":\"s1\",\"x\":0,\"y\":0,\"width\":%1,\"height\":%2,"
                              "\"logicalDpi\":96,\"logicalBaseDpi\":96}]}")
                   .arg(devicePixels.width())
                   .arg(devicePixels.height())
                   .toUtf8());
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    env.insert(QString::fromLatin1(ChildSizeVar),
        QStringLiteral("%1x%2").arg(devicePixels.width()).arg(devicePixels.height()));
    env.insert(QString::fromLatin1(ChildDprVar), scale);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("patternsOnThisScreen") });
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : tst_linepatterns::patternsOnThisScreen()"), output.constData());
}

void tst_linepatterns::patternsOnThisScreen()
{
    const QByteArray sizeText = qgetenv(ChildSizeVar);
    if (sizeText.isEmpty())
        QSKIP("runs as the child of screens()");
    const QList<QByteArray> parts = sizeText.split('x');
    const QSize device(parts.value(0).toInt(), parts.value(1).toInt());
    const double dpr = qgetenv(ChildDprVar).toDouble();

    QScreen *screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), dpr);
    QCOMPARE(Screen::deviceWidth(screen), device.width());
    QCOMPARE(Screen::Width(), float(device.width()) * 15.0f);
    const int errorsBefore = ErrorBoundary::reportCount();
    // Sizes up to 2K are checked in full on screen too; larger ones on every 7th row there.
    const int grabStride = device.width() > 2560 ? 7 : 1;

    const auto check = [&](PatternForm &f, const char *name, const std::function<QRgb(int, int)> &expected) {
        QCOMPARE(f.devicePixelRatioF(), dpr);
        const QImage frame = f.frame();
        QCOMPARE(frame.size(), device);
        const qint64 wrongInFrame = countWrong(frame, expected);
        QVERIFY2(
            wrongInFrame == 0, qPrintable(QStringLiteral("%1: %2 wrong pixels").arg(name).arg(wrongInFrame)));
        const QImage grabbed = f.grab().toImage();
        QCOMPARE(grabbed.size(), device);
        const qint64 wrongOnScreen = countWrong(grabbed, expected, grabStride);
        QVERIFY2(wrongOnScreen == 0,
            qPrintable(QStringLiteral("%1 on screen: %2 wrong pixels").arg(name).arg(wrongOnScreen)));
    };

    check(showPattern<frmVerticalLines>(), "vertical lines", verticalExpected);
    unloadPatterns();
    check(showPattern<frmDiagonalLines>(), "diagonal lines", diagonalExpected(device));
    unloadPatterns();
    check(showPattern<frmGreysFS>(), "greys", greysExpected(device.width()));
    unloadPatterns();
    // Nothing overflowed on the way.
    QCOMPARE(ErrorBoundary::reportCount(), errorsBefore);
}

void tst_linepatterns::keptAcrossRepaint_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("vertical lines") << "vertical";
    QTest::newRow("diagonal lines") << "diagonal";
    QTest::newRow("greys") << "greys";
}

// A repaint without a size change (a notification passing over, an uncovered area) shows the pattern
// again, not the bare background.
void tst_linepatterns::keptAcrossRepaint()
{
    QFETCH(QString, pattern);
    PatternForm *f = nullptr;
    std::function<QRgb(int, int)> expected;
    const QSize screenSize = Screen::deviceWidth(QGuiApplication::primaryScreen())
        ? QSize(Screen::deviceWidth(QGuiApplication::primaryScreen()),
            Screen::deviceHeight(QGuiApplication::primaryScreen()))
        : QSize();
    if (pattern == QLatin1String("vertical")) {
        f = &showPattern<frmVerticalLines>();
        expected = verticalExpected;
    } else if (pattern == QLatin1String("diagonal")) {
        f = &showPattern<frmDiagonalLines>();
        expected = diagonalExpected(screenSize);
    } else {
        f = &showPattern<frmGreysFS>();
        expected = greysExpected(screenSize.width());
    }
    QCOMPARE(f->frame().size(), screenSize);
    QCOMPARE(countWrong(screenShot(), expected), 0);

    // Another window over part of it, then gone again.
    QWidget cover;
    cover.setAttribute(Qt::WA_ShowWithoutActivating);
    cover.setGeometry(40, 30, 200, 150);
    cover.setStyleSheet(QStringLiteral("background: red"));
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.hide();
    f->update(QRect(40, 30, 200, 150));
    QCoreApplication::processEvents();
    QCOMPARE(countWrong(screenShot(), expected), 0);

    // A full repaint, as after the screen saver or a compositor's request.
    f->repaint();
    QCOMPARE(countWrong(screenShot(), expected), 0);
    QCOMPARE(countWrong(f->grab().toImage(), expected), 0);
}

// A new size starts from a clean surface: nothing of the drawing at the old size is left.
void tst_linepatterns::resizeRedrawsFromScratch()
{
    frmDiagonalLines &f = showPattern<frmDiagonalLines>();
    const QSize portrait(300, 520);
    f.resize(portrait);
    QTRY_COMPARE(f.frame().size(), portrait);
    QCOMPARE(countWrong(f.frame(), diagonalExpected(portrait)), 0);
    // The rows below the family's last one really are white in a portrait window.
    QCOMPARE(TestSupport::countNot(f.frame(), White, QRect(0, 302, 300, 218)), 0);

    const QSize landscape(500, 260);
    f.resize(landscape);
    QTRY_COMPARE(f.frame().size(), landscape);
    QCOMPARE(countWrong(f.frame(), diagonalExpected(landscape)), 0);
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
        QCOMPARE(countWrong(f.frame(), verticalExpected), 0);
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

// The batch the pattern windows draw with gives every pixel the colour of the last line over it, as
// drawing the lines one by one does, on an image tall enough to be drawn in several bands.
void tst_linepatterns::manyLinesAtOnceMatchOneByOne()
{
    QRandomGenerator random(815);
    const QSize size(2000, 700);
    for (int round = 0; round < 20; ++round) {
        std::vector<DeviceGrid::Segment> segments;
        for (int k = 0; k < 300; ++k) {
            const int x1 = random.bounded(-100, 2100), y1 = random.bounded(-100, 800);
            const int length = random.bounded(1, 3000);
            const QRgb color = qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
            switch (k % 4) {
            case 0: // vertical
                segments.push_back({ x1, y1, x1, y1 + length - 1500, color });
                break;
            case 1: // 45 degrees either way
                segments.push_back(
                    { x1, y1, x1 + length - 1500, y1 + (k % 8 == 1 ? 1 : -1) * (length - 1500), color });
                break;
            case 2: // any slope
                segments.push_back(
                    { x1, y1, random.bounded(-3000, 5000), random.bounded(-3000, 4000), color });
                break;
            default: // horizontal
                segments.push_back({ x1, y1, x1 + length - 1500, y1, color });
                break;
            }
        }
        QImage oneByOne(size, QImage::Format_RGB32);
        oneByOne.fill(White);
        for (const DeviceGrid::Segment &seg : segments)
            DeviceGrid::drawLine(oneByOne, seg.x1, seg.y1, seg.x2, seg.y2, seg.color);
        QImage atOnce(size, QImage::Format_RGB32);
        atOnce.fill(White);
        DeviceGrid::drawLines(atOnce, segments);
        QVERIFY(TestSupport::countNot(oneByOne, White) > 50000); // a busy picture, lines over lines
        QVERIFY2(atOnce == oneByOne, qPrintable(QStringLiteral("round %1").arg(round)));
    }
}

QTEST_MAIN(tst_linepatterns)
#include "tst_linepatterns.moc"
