// The line lists the three line patterns issue, recorded instead of drawn.
#include "patterns/render/LineCanvas.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmVerticalLines.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QLineF>
#include <QtTest>

#include <vector>

namespace {

using Recorder = LineRecorder;
using Recorded = LineRecorder::Recorded;

// A window of the given pixel size on a screen of screenPixels width, at tpp twips per pixel.
Recorder windowOf(int widthPixels, int heightPixels, float tpp, int screenPixels)
{
    Screen::setTwipsPerPixel(tpp, tpp);
    Screen::setWidthOverride(float(screenPixels) * tpp);
    return Recorder(float(widthPixels) * tpp, float(heightPixels) * tpp);
}

quint32 grey(int g)
{
    return OleColor::rgb(g, g, g);
}

} // namespace

class tst_linelayouts : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void diagonalLines_data();
    void diagonalLines();

    void greys_data();
    void greys();

    void verticalLines_data();
    void verticalLines();
};

void tst_linelayouts::cleanup()
{
    Screen::setTwipsPerPixel(std::nullopt, std::nullopt);
    Screen::setWidthOverride(std::nullopt);
}

void tst_linelayouts::diagonalLines_data()
{
    QTest::addColumn<int>("widthPx");
    QTest::addColumn<int>("heightPx");
    QTest::addColumn<float>("tpp");
    QTest::addColumn<int>("phase1");
    QTest::addColumn<int>("phase2");
    QTest::addColumn<int>("phase3");
    QTest::addColumn<QLineF>("phase1Last");
    QTest::addColumn<QLineF>("phase2First");
    QTest::addColumn<QLineF>("phase2Last");
    QTest::addColumn<QLineF>("phase3First");
    QTest::addColumn<QLineF>("phase3Last");

    QTest::newRow("1024x768") << 1024 << 768 << 15.0f << 256 << 86 << 256 << QLineF(11475, 0, 0, 11475)
                              << QLineF(11520, 0, 0, 11520) << QLineF(15345, 0, 3825, 11520)
                              << QLineF(15390, 0, 3870, 11520) << QLineF(15390, 11475, 15345, 11520);
    QTest::newRow("800x600") << 800 << 600 << 15.0f << 200 << 67 << 200 << QLineF(8955, 0, 0, 8955)
                             << QLineF(9000, 0, 0, 9000) << QLineF(11970, 0, 2970, 9000)
                             << QLineF(12015, 0, 3015, 9000) << QLineF(12015, 8955, 11970, 9000);
    QTest::newRow("1280x1024") << 1280 << 1024 << 15.0f << 342 << 85 << 342 << QLineF(15345, 0, 0, 15345)
                               << QLineF(15390, 0, 0, 15390) << QLineF(19170, 0, 3780, 15390)
                               << QLineF(19215, 0, 3825, 15390) << QLineF(19215, 15345, 19170, 15390);
    QTest::newRow("768x1024 portrait")
        << 768 << 1024 << 15.0f << 256 << 1 << 342 << QLineF(11475, 0, 0, 11475) << QLineF(11520, 0, 0, 11520)
        << QLineF(11520, 0, 0, 11520) << QLineF(11565, 0, 45, 11520) << QLineF(11565, 15345, 15390, 11520);
    QTest::newRow("1024x768 at 12 twips")
        << 1024 << 768 << 12.0f << 256 << 86 << 256 << QLineF(9180, 0, 0, 9180) << QLineF(9216, 0, 0, 9216)
        << QLineF(12276, 0, 3060, 9216) << QLineF(12312, 0, 3096, 9216) << QLineF(12312, 9180, 12276, 9216);
    // Beyond the 16-bit range: the whole family still comes out.
    QTest::newRow("3840x2160") << 3840 << 2160 << 15.0f << 720 << 560 << 720 << QLineF(32355, 0, 0, 32355)
                               << QLineF(32400, 0, 0, 32400) << QLineF(57555, 0, 25155, 32400)
                               << QLineF(57600, 0, 25200, 32400) << QLineF(57600, 32355, 57555, 32400);
    QTest::newRow("7680x4320") << 7680 << 4320 << 15.0f << 1440 << 1120 << 1440 << QLineF(64755, 0, 0, 64755)
                               << QLineF(64800, 0, 0, 64800) << QLineF(115155, 0, 50355, 64800)
                               << QLineF(115200, 0, 50400, 64800) << QLineF(115200, 64755, 115155, 64800);
}

void tst_linelayouts::diagonalLines()
{
    QFETCH(int, widthPx);
    QFETCH(int, heightPx);
    QFETCH(float, tpp);
    QFETCH(int, phase1);
    QFETCH(int, phase2);
    QFETCH(int, phase3);

    Recorder canvas = windowOf(widthPx, heightPx, tpp, widthPx);
    frmDiagonalLines::drawPattern(canvas);

    QCOMPARE(int(canvas.lines.size()), phase1 + phase2 + phase3);
    QCOMPARE(canvas.lines.front().line, QLineF(0, 0, 0, 0)); // the first has zero length
    QTEST(canvas.lines[phase1 - 1].line, "phase1Last");
    QTEST(canvas.lines[phase1].line, "phase2First");
    QTEST(canvas.lines[phase1 + phase2 - 1].line, "phase2Last");
    QTEST(canvas.lines[phase1 + phase2].line, "phase3First");
    QTEST(canvas.lines.back().line, "phase3Last");

    // One family of parallel lines, three pixels apart: every line lies on x + y = 3k pixels.
    const double step = 3.0 * tpp;
    for (const Recorded &r : canvas.lines) {
        const QLineF &l = r.line;
        QCOMPARE(l.x1() + l.y1(), l.x2() + l.y2());
        QCOMPARE(std::fmod(l.x1() + l.y1(), step), 0.0);
    }
    // The default foreground is kept.
    QVERIFY(canvas.colorsSet.empty());
    QCOMPARE(canvas.lines.back().color, OleColor::ButtonText);
}

void tst_linelayouts::greys_data()
{
    QTest::addColumn<int>("screenPx");
    QTest::addColumn<int>("widthPx");
    QTest::addColumn<int>("heightPx");
    QTest::addColumn<float>("tpp");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("levels");
    QTest::addColumn<int>("lastLevelX"); // where the last level drawn starts, in twips

    QTest::newRow("640x480: n 2.51 rounds to 3, level 213 is the last")
        << 640 << 640 << 480 << 15.0f << 3 << 214 << 9585;
    QTest::newRow("800x600: n 3, columns from 768 white") << 800 << 800 << 600 << 15.0f << 3 << 256 << 11475;
    QTest::newRow("1024x768: n 4 fills the width") << 1024 << 1024 << 768 << 15.0f << 4 << 256 << 15300;
    QTest::newRow("1280x1024: n 5") << 1280 << 1280 << 1024 << 15.0f << 5 << 256 << 19125;
    QTest::newRow("1920x1080: level 240 starts on the edge")
        << 1920 << 1920 << 1080 << 15.0f << 8 << 241 << 28800;
    QTest::newRow("127 pixels: n 0, no lines") << 127 << 127 << 100 << 15.0f << 0 << 256 << 0;
    QTest::newRow("128 pixels: n 1") << 128 << 128 << 100 << 15.0f << 1 << 129 << 1920;
    QTest::newRow("1024x768 at 12 twips") << 1024 << 1024 << 768 << 12.0f << 4 << 256 << 12240;
    QTest::newRow("n from the screen, not the window") << 1024 << 800 << 600 << 15.0f << 4 << 201 << 12000;
    QTest::newRow("3840x2160") << 3840 << 3840 << 2160 << 15.0f << 15 << 256 << 57375;
    QTest::newRow("7680x4320") << 7680 << 7680 << 4320 << 15.0f << 30 << 256 << 114750;
}

void tst_linelayouts::greys()
{
    QFETCH(int, screenPx);
    QFETCH(int, widthPx);
    QFETCH(int, heightPx);
    QFETCH(float, tpp);
    QFETCH(int, n);
    QFETCH(int, levels);

    Recorder canvas = windowOf(widthPx, heightPx, tpp, screenPx);
    frmGreysFS::drawPattern(canvas);

    // One ForeColor per level, black first, one step lighter each time.
    QCOMPARE(int(canvas.colorsSet.size()), levels);
    for (int g = 0; g < levels; ++g)
        QCOMPARE(canvas.colorsSet[g], grey(g));
    QCOMPARE(canvas.ForeColor(), grey(levels - 1));

    // n one-pixel lines per level, column after column, from the top to the window's height.
    QCOMPARE(int(canvas.lines.size()), n * levels);
    const double h = double(heightPx) * tpp;
    for (int k = 0; k < int(canvas.lines.size()); ++k) {
        const Recorded &r = canvas.lines[k];
        QCOMPARE(r.line, QLineF(k * tpp, 0, k * tpp, h));
        QCOMPARE(r.color, grey(k / n));
    }
    if (n > 0)
        QTEST(int(canvas.lines[(levels - 1) * n].line.x1()), "lastLevelX");
}

void tst_linelayouts::verticalLines_data()
{
    QTest::addColumn<int>("widthTwips");
    QTest::addColumn<int>("heightTwips");
    QTest::addColumn<float>("tpp");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("lastX");

    QTest::newRow("1024x768") << 15360 << 11520 << 15.0f << 512 << 15331;
    QTest::newRow("1023 pixels: last column still 1022") << 15345 << 11520 << 15.0f << 512 << 15331;
    QTest::newRow("1024x768 at 12 twips") << 12288 << 9216 << 12.0f << 512 << 12265;
    QTest::newRow("one twip wide") << 1 << 100 << 15.0f << 1 << 1;
    QTest::newRow("zero width") << 0 << 11520 << 15.0f << 0 << 0;
    QTest::newRow("negative width") << -15 << 11520 << 15.0f << 0 << 0;
    QTest::newRow("3840x2160") << 57600 << 32400 << 15.0f << 1920 << 57571;
    QTest::newRow("7680x4320") << 115200 << 64800 << 15.0f << 3840 << 115171;
}

void tst_linelayouts::verticalLines()
{
    QFETCH(int, widthTwips);
    QFETCH(int, heightTwips);
    QFETCH(float, tpp);
    QFETCH(int, count);

    Screen::setTwipsPerPixel(tpp, tpp);
    Recorder canvas { float(widthTwips), float(heightTwips) };
    frmVerticalLines::drawPattern(canvas);

    QCOMPARE(canvas.colorsSet, std::vector<quint32> { 0x00000000 });
    QCOMPARE(int(canvas.lines.size()), count);
    if (count == 0)
        return;
    QTEST(int(canvas.lines.back().line.x1()), "lastX");
    // Two pixels apart, each one just inside an even pixel column, over the full height.
    for (int k = 0; k < count; ++k) {
        const QLineF &l = canvas.lines[k].line;
        QCOMPARE(l, QLineF(1 + 2 * tpp * k, 0, 1 + 2 * tpp * k, heightTwips));
        QCOMPARE(int(std::floor(l.x1() / tpp)), 2 * k);
    }
}

QTEST_GUILESS_MAIN(tst_linelayouts)
#include "tst_linelayouts.moc"
