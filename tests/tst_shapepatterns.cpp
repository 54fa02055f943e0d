#include "app/frmMenu.h"
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "platform/ErrorBoundary.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Green = 0xFF00FF00;
constexpr QRgb Blue = 0xFF0000FF;
constexpr QRgb Yellow = 0xFFFFFF00;
constexpr QRgb Cyan = 0xFF00FFFF;
constexpr QRgb Magenta = 0xFFFF00FF;
constexpr QRgb ButtonFace = 0xFFF0F0F0;

QString hex(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

// What a pattern should show at a point given in device pixels (a pixel's centre is x + 0.5),
// described from the picture itself rather than from the layout's twips.
using Model = std::function<QRgb(double x, double y)>;

Model boxesModel(int w, int h)
{
    return [w, h](double x, double y) {
        const double bandX = w / 20.0, bandY = h / 20.0;
        const int inX = bandX > 0 ? int(std::floor(std::min(x, w - x) / bandX)) : 0;
        const int inY = bandY > 0 ? int(std::floor(std::min(y, h - y) / bandY)) : 0;
        const int depth = std::min({ inX, inY, 9 });
        return depth % 2 == 0 ? White : Black;
    };
}

// The radius of the circle of layout step k, in pixels.
double circleRadius(int w, int h, int k)
{
    return (1 - k / 10.0) * std::min(w, h) / 2.0;
}

Model circlesModel(int w, int h)
{
    return [w, h](double x, double y) {
        const double d = std::hypot(x - w / 2.0, y - h / 2.0);
        int inside = 0;
        for (int k = 0; k < 10; ++k)
            inside += d < circleRadius(w, h, k);
        // Outside every circle the white background; then black, white, ... from the outermost in.
        return inside % 2 == 1 ? Black : White;
    };
}

struct Block
{
    QRgb colour;
    double left, top, right, bottom; // pixels; right and bottom exclusive
};

// The colour bars as the picture describes them, topmost first.
std::vector<Block> colorBlocks(int w, int h)
{
    const double blockTop = h * 0.3, blockBottom = blockTop + h / 3.0, strip = h - h / 5.0;
    return {
        { Magenta, w - w / 10.0, blockTop, double(w), blockBottom },
        { Magenta, 0, blockTop, w / 10.0, blockBottom },
        { Cyan, 2 * w / 3.0 - w / 12.0, blockTop, 2 * w / 3.0 + w / 12.0, blockBottom },
        { Yellow, w / 3.0 - w / 12.0, blockTop, w / 3.0 + w / 12.0, blockBottom },
        { Black, w / 2.0, strip, double(w), double(h) },
        { White, 0, strip, w / 2.0, double(h) },
        { Blue, 2 * w / 3.0, 0, double(w), double(h) },
        { Green, w / 3.0, 0, 2 * w / 3.0, double(h) },
        { Red, 0, 0, w / 3.0, double(h) },
    };
}

Model colorsModel(int w, int h)
{
    return [blocks = colorBlocks(w, h)](double x, double y) {
        for (const Block &b : blocks)
            if (x >= b.left && x < b.right && y >= b.top && y < b.bottom)
                return b.colour;
        return ButtonFace;
    };
}

// Pixels whose colour is not what the model says, leaving out those within a pixel of an edge (where
// the model changes within one pixel either way), and pixels of no colour of the pattern; empty if none.
QString compare(const QImage &image, const Model &model, const QList<QRgb> &palette)
{
    // The model at every pixel centre, with a margin of one pixel all round: a pixel is checked only
    // where its four neighbours' centres agree with its own.
    const int w = image.width(), h = image.height(), gw = w + 2;
    std::vector<QRgb> grid(size_t(gw) * (h + 2));
    for (int gy = 0; gy < h + 2; ++gy)
        for (int gx = 0; gx < gw; ++gx)
            grid[size_t(gy) * gw + gx] = model(gx - 0.5, gy - 0.5);
    qint64 wrong = 0, foreign = 0, checked = 0;
    QString first;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const QRgb *above = grid.data() + size_t(y) * gw + 1;
        const QRgb *here = above + gw;
        const QRgb *below = here + gw;
        for (int x = 0; x < w; ++x) {
            const QRgb actual = line[x] | 0xFF000000, want = here[x];
            if (!palette.contains(actual))
                ++foreign;
            else if (here[x - 1] == want && here[x + 1] == want && above[x] == want && below[x] == want
                && ++checked && actual != want && !wrong++)
                first = QStringLiteral("%1,%2 is %3, not %4").arg(x).arg(y).arg(hex(actual), hex(want));
        }
    }
    // Most pixels of a picture of some size lie clear of its edges; on tiny screens nearly all are near one.
    const bool enough = std::min(w, h) < 200 ? checked > 0 : checked >= qint64(w) * h * 3 / 4;
    if (!wrong && !foreign && enough)
        return QString();
    return QStringLiteral("%1 wrong of %2 checked, %3 of no pattern colour; first: %4")
        .arg(wrong)
        .arg(checked)
        .arg(foreign)
        .arg(first);
}

QString checkBoxes(const QImage &image)
{
    return compare(image, boxesModel(image.width(), image.height()), { White, Black });
}

QString checkCircles(const QImage &image)
{
    const int w = image.width(), h = image.height();
    if (const QString problem = compare(image, circlesModel(w, h), { White, Black }); !problem.isEmpty())
        return problem;
    // Edge pixels escape the model: the outermost circle is as high (or, upright, as wide) as the screen.
    const bool landscape = w >= h;
    const QPoint top = landscape ? QPoint(w / 2, 0) : QPoint(0, h / 2);
    const QPoint bottom = landscape ? QPoint(w / 2, h - 1) : QPoint(w - 1, h / 2);
    if (image.pixel(top) != Black || image.pixel(bottom) != Black)
        return QStringLiteral("the outer circle does not reach the edges");
    if (image.pixel(0, 0) != White || image.pixel(w - 1, h - 1) != White)
        return QStringLiteral("the corners are not the white background");
    return QString();
}

QString checkColors(const QImage &image)
{
    return compare(image, colorsModel(image.width(), image.height()),
        { Red, Green, Blue, White, Black, Yellow, Cyan, Magenta });
}

QString checkCrosshairs(const QImage &image)
{
    // Exact: the outermost rows and columns and the row and column holding the centre are white.
    const int w = image.width(), h = image.height();
    qint64 wrong = 0;
    QString first;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool lit = x == 0 || x == w - 1 || x == w / 2 || y == 0 || y == h - 1 || y == h / 2;
            const QRgb actual = reinterpret_cast<const QRgb *>(image.constScanLine(y))[x] | 0xFF000000;
            if (actual != (lit ? White : Black) && !wrong++)
                first = QStringLiteral("%1,%2 is %3").arg(x).arg(y).arg(hex(actual));
        }
    return wrong ? QStringLiteral("%1 wrong pixels; first %2").arg(wrong).arg(first) : QString();
}

struct Pattern
{
    const char *name;
    const char *button;
    PatternForm &(*load)();
    bool (*loaded)();
    void (*whenModal)(std::function<void(PatternForm &)>);
    QString (*check)(const QImage &);
    QRgb background;
};

template <class T> PatternForm &loadT()
{
    return form<T>();
}
template <class T> bool loadedT()
{
    return isLoaded<T>();
}
template <class T> void whenModalT(std::function<void(PatternForm &)> action)
{
    TestSupport::whenModal<T>([action](T &f) { action(f); });
}
template <class T>
constexpr Pattern kind(
    const char *name, const char *button, QString (*check)(const QImage &), QRgb background)
{
    return { name, button, loadT<T>, loadedT<T>, whenModalT<T>, check, background };
}

const Pattern Patterns[] = {
    kind<frmBoxesFS>("Boxes", "cmdBoxes", checkBoxes, ButtonFace),
    kind<frmCirclesFS>("Circles", "cmdCircles", checkCircles, White),
    kind<frmColorFS>("Colors", "cmdColors", checkColors, ButtonFace),
    kind<frmCrosshairsFS>("Crosshairs", "cmdCrosshairs", checkCrosshairs, Black),
};
constexpr int Crosshairs = 3;

void patternRows(bool withCrosshairs)
{
    QTest::addColumn<int>("pattern");
    for (int p = 0; p < (withCrosshairs ? 4 : 3); ++p)
        QTest::newRow(Patterns[p].name) << p;
}

// A shape's Left, Top, Width and Height, or a line's X1, Y1, X2 and Y2.
QList<float> geometryOf(const GraphicElement *e)
{
    if (auto *s = dynamic_cast<const Shape *>(e))
        return { s->Left(), s->Top(), s->Width(), s->Height() };
    auto *l = dynamic_cast<const LineControl *>(e);
    return { l->X1(), l->Y1(), l->X2(), l->Y2() };
}

} // namespace

class tst_shapepatterns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::freshSettings(); }

    void cleanup()
    {
        TestSupport::cancelPending();
        Screen::setTwipsPerPixel(std::nullopt, std::nullopt);
        unload<frmBoxesFS>();
        unload<frmCirclesFS>();
        unload<frmColorFS>();
        unload<frmCrosshairsFS>();
        unload<frmMenu>();
        TestSupport::flushDeletes();
        QCOMPARE(Form::loadedCount(), 0);
    }

    void patternsOnThisScreen_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<float>("twipsPerPixel");
        for (int p = 0; p < 4; ++p) {
            QTest::addRow("%s", Patterns[p].name) << p << 15.f;
            QTest::addRow("%s at 12 twips per pixel", Patterns[p].name) << p << 12.f;
        }
    }

    // The whole picture, pixel by pixel, on whatever screen this process has (other screens: below).
    void patternsOnThisScreen()
    {
        QFETCH(int, pattern);
        QFETCH(float, twipsPerPixel);
        Screen::setTwipsPerPixel(twipsPerPixel, twipsPerPixel);

        PatternForm &f = Patterns[pattern].load();
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QScreen *screen = f.screen();
        const QSize device(Screen::deviceWidth(screen), Screen::deviceHeight(screen));
        if (const auto expected = TestSupport::expectedScreen()) {
            QCOMPARE(device, expected->device);
            QCOMPARE(f.devicePixelRatioF(), expected->ratio);
        }
        QCOMPARE(f.deviceSize(), device);
        QCOMPARE(f.Width(), device.width() * twipsPerPixel);

        const QImage frame = f.frame();
        QCOMPARE(frame.size(), device);
        const QString problem = Patterns[pattern].check(frame);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // What the window paints is that picture, pixel for pixel, whatever the scale factor.
        QImage grabbed = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
        grabbed.setDevicePixelRatio(1);
        QCOMPARE(grabbed, frame.convertToFormat(QImage::Format_RGB32));
    }

    void otherScreens_data()
    {
        QTest::addColumn<QSize>("device");
        QTest::addColumn<double>("scale");
        QTest::newRow("1365x767, odd sizes") << QSize(1365, 767) << 1.0;
        QTest::newRow("768x1024, portrait") << QSize(768, 1024) << 1.0;
        QTest::newRow("3840x2160") << QSize(3840, 2160) << 1.0;
        QTest::newRow("1920x1080 at scale 1.5") << QSize(1920, 1080) << 1.5;
        QTest::newRow("1600x1200 at scale 2") << QSize(1600, 1200) << 2.0;
        QTest::newRow("40x30, tiny") << QSize(40, 30) << 1.0;
    }

    // Runs patternsOnThisScreen again, at 15 twips per pixel, in a child process with a screen of that size.
    void otherScreens()
    {
        QFETCH(QSize, device);
        QFETCH(double, scale);
        QStringList rows;
        for (const Pattern &p : Patterns)
            rows << QStringLiteral("patternsOnThisScreen:%1").arg(QLatin1String(p.name));
        bool ok = false;
        const QByteArray output = TestSupport::runOnScreen(device, scale, rows, &ok);
        QVERIFY2(ok && output.contains("Totals: 6 passed, 0 failed"), output.constData());
    }

    void designUntilFirstLayout_data() { patternRows(false); }

    // Loading hides the shapes whatever their design places; the first layout shows them; and an
    // unloaded window comes back from its design, shapes hidden again.
    void designUntilFirstLayout()
    {
        QFETCH(int, pattern);
        const Pattern &p = Patterns[pattern];
        for (int round = 0; round < 2; ++round) {
            PatternForm &f = p.load();
            for (const GraphicElement *s : TestSupport::elementsOf(f))
                QVERIFY(!s->Visible());
            QCOMPARE(TestSupport::countNot(f.frame(), p.background), 0);

            f.Show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            for (const GraphicElement *s : TestSupport::elementsOf(f))
                QVERIFY(s->Visible());
            const QString problem = p.check(f.frame());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));

            TestSupport::pressEsc(&f);
            TestSupport::flushDeletes();
            QVERIFY(!p.loaded());
        }
    }

    void workedValuesReachTheControls_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("element"); // bottom first
        QTest::addColumn<QList<float>>("expected"); // Left, Top, Width, Height or X1, Y1, X2, Y2

        // Where the pictures cannot tell: fractions of a pixel reach the controls unrounded.
        const QSize odd(1365, 767);
        QTest::newRow("Boxes, centre box")
            << 0 << odd << 9 << QList<float> { 9213.75, 5177.25, 2047.5, 1150.5 };
        QTest::newRow("Circles, centre circle")
            << 1 << odd << 9 << QList<float> { 9213.75, 5177.25, 2047.5, 1150.5 };
        QTest::newRow("Colors, Yellow") << 2 << odd << 5 << QList<float> { 5118.75, 3451.5, 3412.5, 3835 };
        QTest::newRow("Colors, MagentaRight")
            << 2 << odd << 8 << QList<float> { 18427.5, 3451.5, 2047.5, 3835 };
        QTest::newRow("Crosshairs, Line5")
            << Crosshairs << odd << 4 << QList<float> { 10237.5, 0, 10237.5, 11505 };
        QTest::newRow("Crosshairs, Line6")
            << Crosshairs << odd << 5 << QList<float> { 0, 5752.5, 20475, 5752.5 };
    }

    // The window laid out at the sizes of the worked examples: the values reach the controls.
    void workedValuesReachTheControls()
    {
        QFETCH(int, pattern);
        QFETCH(QSize, size);
        QFETCH(int, element);
        QFETCH(QList<float>, expected);

        PatternForm &f = Patterns[pattern].load();
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        if (f.devicePixelRatioF() != 1)
            QSKIP("the sizes are in device pixels");
        f.showNormal();
        f.resize(size);
        QTRY_COMPARE(f.deviceSize(), size);
        QCOMPARE(geometryOf(TestSupport::elementsOf(f).at(size_t(element))), expected);
    }

    void laidOutAgainOnResize_data() { patternRows(true); }

    // A later size change lays the pattern out afresh, in place, for the new size.
    void laidOutAgainOnResize()
    {
        QFETCH(int, pattern);
        PatternForm &f = Patterns[pattern].load();
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.showNormal();
        f.resize(333, 201);
        QTRY_COMPARE(
            f.deviceSize(), QSize(qRound(333 * f.devicePixelRatioF()), qRound(201 * f.devicePixelRatioF())));
        const QImage frame = f.frame();
        QCOMPARE(frame.size(), f.deviceSize());
        const QString problem = Patterns[pattern].check(frame);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void tooLargeFails_data() { patternRows(false); }

    // Beyond 32 bits of twips the layout raises the overflow error before it touches any shape: the
    // shapes stay hidden and the program goes on.
    void tooLargeFails()
    {
        QFETCH(int, pattern);
        Screen::setTwipsPerPixel(4e6f, 4e6f);
        const int errorsBefore = ErrorBoundary::reportCount();
        PatternForm &f = Patterns[pattern].load();
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(ErrorBoundary::reportCount() > errorsBefore);
        QVERIFY(ErrorBoundary::lastReport().contains(QLatin1String("Form_Resize")));
        for (const GraphicElement *s : TestSupport::elementsOf(f))
            QVERIFY(!s->Visible());
        QCOMPARE(TestSupport::countNot(f.frame(), Patterns[pattern].background), 0);
    }

    void openedFromItsButton_data() { patternRows(true); }

    void openedFromItsButton()
    {
        QFETCH(int, pattern);
        const Pattern &p = Patterns[pattern];
        TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
        frmMenu &menu = form<frmMenu>();
        menu.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));

        QString problem = QStringLiteral("the pattern never opened");
        bool modal = false;
        p.whenModal([&](PatternForm &f) {
            modal = f.isModalShowing();
            problem = p.check(f.frame());
            TestSupport::pressEsc(&f);
        });
        menu.client()->findChild<QPushButton *>(QLatin1String(p.button))->click();
        QVERIFY(modal);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        TestSupport::flushDeletes();
        QVERIFY(!p.loaded());
        QVERIFY(menu.isVisible());
    }
};

QTEST_MAIN(tst_shapepatterns)
#include "tst_shapepatterns.moc"
