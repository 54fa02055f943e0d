// The quick ways frames are made give the same pixels as the plain ones: line batches drawn through row
// strips against drawing each line in turn, elements composed topmost first against painting them one
// over another; and a frame handed out is never changed behind its holder's back.
#include "patterns/render/LineCanvas.h"
#include "patterns/render/PatternCanvas.h"
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmVerticalLines.h"
#include "patterns/render/DeviceGrid.h"
#include "patterns/render/FrameComposer.h"
#include "patterns/render/LineControl.h"
#include "platform/OleColor.h"
#include "platform/Screen.h"
#include "patterns/render/Shape.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QResizeEvent>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr QRgb White = 0xFFFFFFFF;

enum class LinePattern { Greys, Vertical, Diagonal };

// The lines a recorded pattern issued, in device pixels, converted as the window converts them.
std::vector<DeviceGrid::Segment> segmentsOf(const LineRecorder &recorder)
{
    const double tx = Screen::TwipsPerPixelX(), ty = Screen::TwipsPerPixelY();
    std::vector<DeviceGrid::Segment> segments;
    for (const LineRecorder::Recorded &r : recorder.lines)
        segments.push_back({ DeviceGrid::pixelAt(r.line.x1(), tx), DeviceGrid::pixelAt(r.line.y1(), ty),
            DeviceGrid::pixelAt(r.line.x2(), tx), DeviceGrid::pixelAt(r.line.y2(), ty),
            OleColor::toStandardRgb(r.color) });
    return segments;
}

void drawPattern(LinePattern p, LineCanvas &canvas)
{
    switch (p) {
    case LinePattern::Greys:
        frmGreysFS::drawPattern(canvas);
        break;
    case LinePattern::Vertical:
        frmVerticalLines::drawPattern(canvas);
        break;
    case LinePattern::Diagonal:
        frmDiagonalLines::drawPattern(canvas);
        break;
    }
}

std::unique_ptr<PatternForm> newLineWindow(LinePattern p)
{
    switch (p) {
    case LinePattern::Greys:
        return std::make_unique<frmGreysFS>();
    case LinePattern::Vertical:
        return std::make_unique<frmVerticalLines>();
    case LinePattern::Diagonal:
        break;
    }
    return std::make_unique<frmDiagonalLines>();
}

// The plain way: each line drawn in turn over what is there.
QImage oneByOne(QImage image, const std::vector<DeviceGrid::Segment> &segments)
{
    for (const DeviceGrid::Segment &s : segments)
        DeviceGrid::drawLine(image, s.x1, s.y1, s.x2, s.y2, s.color);
    return image;
}

QImage filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage noise(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = 0xFF000000u | random.generate();
    }
    return image;
}

QString firstDifference(const QImage &got, const QImage &want)
{
    if (got.size() != want.size())
        return QStringLiteral("size %1x%2, not %3x%4")
            .arg(got.width())
            .arg(got.height())
            .arg(want.width())
            .arg(want.height());
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            if ((got.pixel(x, y) | 0xFF000000u) != (want.pixel(x, y) | 0xFF000000u))
                return QStringLiteral("%1,%2 is #%3, not #%4")
                    .arg(x)
                    .arg(y)
                    .arg(got.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(want.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    return QString();
}

// Random segments of one kind: 0 upright, 1 falling (x + y fixed), 2 rising (x - y fixed), 3 any slope,
// 4 all of those and level ones mixed.
std::vector<DeviceGrid::Segment> randomSegments(QRandomGenerator &random, int kind, int count, QSize size)
{
    std::vector<DeviceGrid::Segment> segments;
    const int w = size.width(), h = size.height();
    for (int k = 0; k < count; ++k) {
        const int x1 = random.bounded(-w / 2, w + w / 2);
        const int y1 = random.bounded(-h / 2, h + h / 2);
        const int length = random.bounded(-2 * h, 2 * h);
        // Few colours, so lines over lines of the same colour and of others both occur.
        const QRgb color = qRgb(random.bounded(3) * 120, 40, random.bounded(2) * 200);
        switch (kind == 4 ? k % 5 : kind) {
        case 0:
            segments.push_back({ x1, y1, x1, y1 + length, color });
            break;
        case 4:
            segments.push_back({ x1, y1, x1 + length, y1, color });
            break;
        case 1:
            segments.push_back({ x1, y1, x1 - length, y1 + length, color });
            break;
        case 2:
            segments.push_back({ x1, y1, x1 + length, y1 + length, color });
            break;
        default:
            segments.push_back({ x1, y1, random.bounded(-w, 2 * w), random.bounded(-h, 2 * h), color });
            break;
        }
    }
    return segments;
}

QImage paintedInTurn(QSize size, QRgb background, const std::vector<GraphicElement *> &elements, double tpp)
{
    QImage image = filled(size, background);
    for (const GraphicElement *e : elements)
        if (e->Visible())
            e->render(image, tpp, tpp);
    return image;
}

// A window of the given device size that has just been resized to it: its Form_Resize has run.
void resizeHidden(PatternForm &f, QSize size)
{
    const QSize old = f.size();
    f.resize(size);
    QResizeEvent event(size, old);
    QCoreApplication::sendEvent(&f, &event);
}

} // namespace

Q_DECLARE_METATYPE(LinePattern)

class tst_framecomposition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::freshSettings(); }
    void cleanup()
    {
        Screen::setTwipsPerPixel(std::nullopt, std::nullopt);
        Screen::setWidthOverride(std::nullopt);
    }

    void linePatternsMatchLineByLine_data()
    {
        QTest::addColumn<LinePattern>("pattern");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<float>("tppX");
        QTest::addColumn<float>("tppY");
        const std::pair<const char *, LinePattern> patterns[] = { { "greys", LinePattern::Greys },
            { "vertical", LinePattern::Vertical }, { "diagonal", LinePattern::Diagonal } };
        const struct
        {
            const char *name;
            QSize pixels;
            float tppX, tppY;
        } screens[] = {
            { "odd 1001x777", { 1001, 777 }, 15, 15 },
            { "portrait 768x1024", { 768, 1024 }, 15, 15 },
            { "odd portrait 599x901 at 12", { 599, 901 }, 12, 12 },
            { "1280x800 at 7.5", { 1280, 800 }, 7.5f, 7.5f },
            { "unequal axes 800x600 at 15 by 12", { 800, 600 }, 15, 12 },
            { "one pixel", { 1, 1 }, 15, 15 },
            { "one row", { 640, 1 }, 15, 15 },
        };
        for (const auto &s : screens)
            for (const auto &[name, p] : patterns)
                QTest::addRow("%s, %s", name, s.name) << p << s.pixels << s.tppX << s.tppY;
    }

    // The window draws the pattern's own line list, through its quick paths, exactly as drawing those
    // lines one by one on the background does.
    void linePatternsMatchLineByLine()
    {
        QFETCH(LinePattern, pattern);
        QFETCH(QSize, pixels);
        QFETCH(float, tppX);
        QFETCH(float, tppY);
        Screen::setTwipsPerPixel(tppX, tppY);
        Screen::setWidthOverride(float(pixels.width()) * tppX);

        LineRecorder recorder(float(pixels.width()) * tppX, float(pixels.height()) * tppY);
        drawPattern(pattern, recorder);
        const std::vector<DeviceGrid::Segment> segments = segmentsOf(recorder);
        QVERIFY(!segments.empty() || pixels.width() < 128); // a narrow ramp has no columns
        const QImage want = oneByOne(filled(pixels, White), segments);

        std::unique_ptr<PatternForm> window = newLineWindow(pattern);
        window->resize(pixels);
        QCOMPARE(window->deviceSize(), pixels);
        PatternCanvas canvas(*window);
        drawPattern(pattern, canvas);
        const QImage got = window->frame();
        QVERIFY2(got == want, qPrintable(firstDifference(got, want)));

        // The same lines again over what is already there: drawn over it, as line after line would be.
        drawPattern(pattern, canvas);
        const QImage again = window->frame();
        const QImage wantAgain = oneByOne(want, segments);
        QVERIFY2(again == wantAgain, qPrintable(firstDifference(again, wantAgain)));
    }

    void lineBatchesMatchLineByLine_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("size");
        QTest::newRow("upright") << 0 << 300 << QSize(257, 190);
        QTest::newRow("upright, few") << 0 << 3 << QSize(64, 48);
        QTest::newRow("falling") << 1 << 300 << QSize(257, 190);
        QTest::newRow("falling, tall image") << 1 << 200 << QSize(90, 301);
        QTest::newRow("rising") << 2 << 300 << QSize(257, 190);
        QTest::newRow("rising, tall image") << 2 << 200 << QSize(90, 301);
        QTest::newRow("any slope") << 3 << 300 << QSize(257, 190);
        QTest::newRow("one column") << 1 << 50 << QSize(1, 40);
        QTest::newRow("mixed, tall enough for several bands") << 4 << 300 << QSize(2000, 700);
    }

    // Random batches, lines partly or wholly outside, short and long, over a bare background and over
    // old content: the same pixels as drawing the lines one by one.
    void lineBatchesMatchLineByLine()
    {
        QFETCH(int, kind);
        QFETCH(int, count);
        QFETCH(QSize, size);
        QRandomGenerator random(2024 + kind);
        for (int round = 0; round < 25; ++round) {
            std::vector<DeviceGrid::Segment> segments = randomSegments(random, kind, count, size);
            if (round % 5 == 4) // single points fit every family
                segments.push_back({ size.width() / 2, size.height() / 2, size.width() / 2, size.height() / 2,
                    qRgb(1, 2, 3) });

            // Over a bare background (whatever the image held before must not count) and over old content.
            QImage bare = noise(size, round);
            DeviceGrid::drawLines(bare, segments, White);
            const QImage old = noise(size, 1000 + round);
            QImage over = old.copy();
            DeviceGrid::drawLines(over, segments);
            for (const auto &[got, want] : { std::pair { bare, oneByOne(filled(size, White), segments) },
                     std::pair { over, oneByOne(old, segments) } })
                QVERIFY2(got == want,
                    qPrintable(QStringLiteral("round %1: %2").arg(round).arg(firstDifference(got, want))));
        }
    }

    void elementsComposedMatchPaintedInTurn_data()
    {
        QTest::addColumn<bool>("withSlantedLine");
        QTest::addColumn<bool>("overCanvas");
        QTest::newRow("shapes and straight lines") << false << false;
        QTest::newRow("over a drawn canvas") << false << true;
        QTest::newRow("with a slanted line") << true << false;
        QTest::newRow("with a slanted line, over a drawn canvas") << true << true;
    }

    // Random rectangles, circles and lines, overlapping, partly outside, some hidden, some transparent:
    // topmost-first composition shows exactly what painting them bottom first shows.
    void elementsComposedMatchPaintedInTurn()
    {
        QFETCH(bool, withSlantedLine);
        QFETCH(bool, overCanvas);
        const QSize size(211, 157);
        constexpr double Tpp = 15;
        constexpr QRgb Background = 0xFF102030;
        const quint32 colors[] = { 0x00000000, 0x00FFFFFF, 0x000000FF, OleColor::WindowText };
        QRandomGenerator random(77);
        for (int round = 0; round < 40; ++round) {
            std::vector<std::unique_ptr<GraphicElement>> owned;
            std::vector<GraphicElement *> elements;
            const int count = random.bounded(1, 14);
            for (int i = 0; i < count; ++i) {
                const float left = float(random.bounded(-60, 230)) * 15.f + float(random.bounded(15));
                const float top = float(random.bounded(-60, 180)) * 15.f + float(random.bounded(15));
                if (random.bounded(5) == 0) {
                    auto line = std::make_unique<LineControl>();
                    line->setX1(left);
                    line->setY1(top);
                    const bool level = random.bounded(2);
                    line->setX2(level ? float(random.bounded(-900, 4000)) : left);
                    line->setY2(level ? top : float(random.bounded(-900, 3000)));
                    line->setBorderColor(colors[random.bounded(4)]);
                    elements.push_back(line.get());
                    owned.push_back(std::move(line));
                    continue;
                }
                auto shape = std::make_unique<Shape>();
                shape->setKind(random.bounded(2) ? Shape::Circle : Shape::Rectangle);
                shape->Move(left, top, float(random.bounded(0, 4000)), float(random.bounded(0, 3000)));
                shape->setBackStyle(random.bounded(3) ? Shape::Opaque : Shape::Transparent);
                shape->setBackColor(colors[random.bounded(4)]);
                shape->setBorderColor(colors[random.bounded(4)]);
                if (random.bounded(4) == 0) {
                    shape->setFillStyle(Shape::Solid);
                    shape->setFillColor(colors[random.bounded(4)]);
                }
                shape->setVisible(random.bounded(6) != 0);
                elements.push_back(shape.get());
                owned.push_back(std::move(shape));
            }
            if (withSlantedLine) {
                auto line = std::make_unique<LineControl>();
                line->setX1(30);
                line->setY1(2000);
                line->setX2(3000);
                line->setY2(float(random.bounded(0, 2400)));
                elements.insert(elements.begin() + random.bounded(int(elements.size()) + 1), line.get());
                owned.push_back(std::move(line));
            }

            const QImage canvas = noise(size, 500 + round);
            QImage want = overCanvas ? canvas.copy() : filled(size, Background);
            for (const GraphicElement *e : elements)
                if (e->Visible())
                    e->render(want, Tpp, Tpp);
            QImage got = noise(size, 99); // nothing of what was there may show through
            FrameComposer::compose(got, overCanvas ? &canvas : nullptr, Background, elements, Tpp, Tpp);
            QVERIFY2(got == want,
                qPrintable(QStringLiteral("round %1: %2").arg(round).arg(firstDifference(got, want))));
        }
    }

    void shapePatternsMatchPaintedInTurn_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<float>("tpp");
        const char *names[] = { "boxes", "circles", "colors", "crosshairs" };
        for (int p = 0; p < 4; ++p) {
            QTest::addRow("%s odd 1001x777", names[p]) << p << QSize(1001, 777) << 15.f;
            QTest::addRow("%s portrait 601x1023 at 12", names[p]) << p << QSize(601, 1023) << 12.f;
            QTest::addRow("%s tiny 3x2", names[p]) << p << QSize(3, 2) << 15.f;
        }
    }

    // Each shape pattern's frame, composed topmost first, is its elements painted bottom first on the
    // window's background.
    void shapePatternsMatchPaintedInTurn()
    {
        QFETCH(int, pattern);
        QFETCH(QSize, pixels);
        QFETCH(float, tpp);
        Screen::setTwipsPerPixel(tpp, tpp);
        std::unique_ptr<PatternForm> window[]
            = { std::make_unique<frmBoxesFS>(), std::make_unique<frmCirclesFS>(),
                  std::make_unique<frmColorFS>(), std::make_unique<frmCrosshairsFS>() };
        PatternForm &f = *window[pattern];
        resizeHidden(f, pixels);
        const QImage got = f.frame();
        const QRgb background = OleColor::toStandardRgb(f.BackColor());
        const QImage want = paintedInTurn(pixels, background, TestSupport::elementsOf(f), tpp);
        QVERIFY2(got == want, qPrintable(firstDifference(got, want)));
        QVERIFY(TestSupport::countNot(got, background) > 0); // not a picture of the background alone
    }

    // The window reuses its buffers from frame to frame, but a frame already handed out keeps its pixels.
    void frameHandedOutIsNeverChanged()
    {
        frmBoxesFS boxes;
        resizeHidden(boxes, QSize(320, 200));
        const QImage first = boxes.frame();
        const QImage firstCopy = first.copy();
        resizeHidden(boxes, QSize(320, 200)); // the same size: a new layout into the same buffer
        boxes.b5.setBackColor(0x000000FF);
        const QImage second = boxes.frame();
        QCOMPARE(first, firstCopy);
        QVERIFY(second != first);
        QCOMPARE(second.pixel(160, 100), qRgb(255, 0, 0));

        frmVerticalLines lines;
        lines.resize(QSize(64, 32));
        PatternCanvas canvas(lines);
        frmVerticalLines::drawPattern(canvas);
        const QImage drawn = lines.frame();
        const QImage drawnCopy = drawn.copy();
        lines.setBackColor(0x00FF0000); // clears the surface to blue
        lines.Line(0, 0, 64 * 15, 32 * 15);
        const QImage redrawn = lines.frame();
        QCOMPARE(drawn, drawnCopy);
        QCOMPARE(redrawn.pixel(1, 0), qRgb(0, 0, 255));
        QCOMPARE(redrawn.pixel(10, 5), qRgb(0, 0, 0));
    }
};

QTEST_MAIN(tst_framecomposition)
#include "tst_framecomposition.moc"
