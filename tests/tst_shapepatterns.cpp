#include "app/frmMenu.h"
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "platform/ErrorBoundary.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <optional>

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

enum class Pattern { Boxes, Circles, Colors, Crosshairs };

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

// Pixels whose colour is not what the model says, leaving out those within a pixel of an edge
// (where the model changes within one pixel either way), and pixels of no colour of the pattern.
struct Count
{
    qint64 wrong = 0;
    qint64 foreign = 0;
    qint64 checked = 0;
    QString first;
};

Count compare(const QImage &image, const Model &model, const QList<QRgb> &palette)
{
    // The model at every pixel centre, with a margin of one pixel all round: a pixel is checked only
    // where its four neighbours' centres agree with its own.
    const int w = image.width(), h = image.height(), gw = w + 2;
    std::vector<QRgb> grid(size_t(gw) * (h + 2));
    for (int gy = 0; gy < h + 2; ++gy)
        for (int gx = 0; gx < gw; ++gx)
            grid[size_t(gy) * gw + gx] = model(gx - 0.5, gy - 0.5);
    Count c;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const QRgb *above = grid.data() + size_t(y) * gw + 1;
        const QRgb *here = above + gw;
        const QRgb *below = here + gw;
        for (int x = 0; x < w; ++x) {
            const QRgb actual = line[x] | 0xFF000000;
            if (!palette.contains(actual)) {
                ++c.foreign;
                continue;
            }
            const QRgb want = here[x];
            if (here[x - 1] != want || here[x + 1] != want || above[x] != want || below[x] != want)
                continue;
            ++c.checked;
            if (actual != want) {
                if (c.wrong == 0)
                    c.first = QStringLiteral("%1,%2 is %3, not %4").arg(x).arg(y).arg(hex(actual), hex(want));
                ++c.wrong;
            }
        }
    }
    return c;
}

// Most pixels of a picture of some size lie clear of its edges; on tiny screens nearly all are near one.
bool checkedEnough(const Count &c, const QImage &image)
{
    if (std::min(image.width(), image.height()) < 200)
        return c.checked > 0;
    return c.checked >= qint64(image.width()) * image.height() * 3 / 4;
}

QString describe(const Count &c)
{
    return QStringLiteral("%1 wrong of %2 checked, %3 of no pattern colour; first: %4")
        .arg(c.wrong)
        .arg(c.checked)
        .arg(c.foreign)
        .arg(c.first);
}

// Runs of equal colour along a row, as (colour, length).
QList<QPair<QRgb, int>> runs(const QImage &image, int y)
{
    QList<QPair<QRgb, int>> r;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        if (!r.isEmpty() && r.last().first == c)
            ++r.last().second;
        else
            r.append({ c, 1 });
    }
    return r;
}

QString checkBoxes(const QImage &image)
{
    const int w = image.width(), h = image.height();
    const Count c = compare(image, boxesModel(w, h), { White, Black });
    if (c.wrong || c.foreign || !checkedEnough(c, image))
        return describe(c);
    // Inside each band along the middle row and column: white, black, ... from the edge in.
    for (int k = 0; k < 10; ++k) {
        const QRgb want = k % 2 == 0 ? White : Black;
        const int x = int((k + 0.5) * w / 20.0), y = int((k + 0.5) * h / 20.0);
        for (const QPoint p :
            { QPoint(x, h / 2), QPoint(w - 1 - x, h / 2), QPoint(w / 2, y), QPoint(w / 2, h - 1 - y) })
            if (image.pixel(p) != want)
                return QStringLiteral("band %1 at %2,%3 is %4")
                    .arg(k)
                    .arg(p.x())
                    .arg(p.y())
                    .arg(hex(image.pixel(p)));
    }
    // Nine bands to each side of the black centre, each a twentieth of the width; the centre a tenth.
    const auto r = runs(image, h / 2);
    if (r.size() != 19)
        return QStringLiteral("%1 bands across the middle row").arg(r.size());
    for (int i = 0; i < r.size(); ++i) {
        const double want = i == 9 ? w / 10.0 : w / 20.0;
        if (std::abs(r[i].second - want) > 1.5)
            return QStringLiteral("band %1 is %2 pixels wide, not %3").arg(i).arg(r[i].second).arg(want);
    }
    return QString();
}

QString checkCircles(const QImage &image)
{
    const int w = image.width(), h = image.height();
    const Count c = compare(image, circlesModel(w, h), { White, Black });
    if (c.wrong || c.foreign || !checkedEnough(c, image))
        return describe(c);
    // Along eight radii, the middle of each ring: black, white, ... from the outermost in.
    for (int angle = 0; angle < 360; angle += 45) {
        const double dx = std::cos(qDegreesToRadians(double(angle))),
                     dy = std::sin(qDegreesToRadians(double(angle)));
        for (int k = 0; k < 10; ++k) {
            const double mid = (circleRadius(w, h, k) + (k < 9 ? circleRadius(w, h, k + 1) : 0)) / 2;
            const QPoint p(int(std::floor(w / 2.0 + mid * dx)), int(std::floor(h / 2.0 + mid * dy)));
            const QRgb want = k % 2 == 0 ? Black : White;
            if (image.pixel(p) != want)
                return QStringLiteral("ring %1 at %2 degrees (%3,%4) is %5")
                    .arg(k)
                    .arg(angle)
                    .arg(p.x())
                    .arg(p.y())
                    .arg(hex(image.pixel(p)));
        }
    }
    // The outermost circle is as high (or, upright, as wide) as the screen and touches its edges.
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
    const int w = image.width(), h = image.height();
    const Count c
        = compare(image, colorsModel(w, h), { Red, Green, Blue, White, Black, Yellow, Cyan, Magenta });
    if (c.wrong || c.foreign || !checkedEnough(c, image))
        return describe(c);
    // Each block and strip: one solid rectangle of its colour where the picture puts it. Magenta is
    // told apart by the half of the screen it lies in.
    const auto blocks = colorBlocks(w, h);
    QRect found[6];
    qint64 count[6] = {};
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb colour = line[x] | 0xFF000000;
            for (int i = 0; i < 6; ++i) {
                if (colour != blocks[i].colour || (colour == Magenta && (x >= w / 2) != (blocks[i].left > 0)))
                    continue;
                found[i] |= QRect(x, y, 1, 1);
                ++count[i];
                break;
            }
        }
    }
    for (int i = 0; i < 6; ++i) {
        const Block &b = blocks[i];
        const QString name = hex(b.colour);
        if (count[i] != qint64(found[i].width()) * found[i].height())
            return QStringLiteral("%1 is not one solid rectangle").arg(name);
        const double edges[4] = { found[i].left() - b.left, found[i].top() - b.top,
            found[i].right() + 1 - b.right, found[i].bottom() + 1 - b.bottom };
        for (double e : edges)
            if (std::abs(e) > 1)
                return QStringLiteral("%1 covers %2,%3 %4x%5, not %6,%7 to %8,%9")
                    .arg(name)
                    .arg(found[i].x())
                    .arg(found[i].y())
                    .arg(found[i].width())
                    .arg(found[i].height())
                    .arg(b.left)
                    .arg(b.top)
                    .arg(b.right)
                    .arg(b.bottom);
    }
    return QString();
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
            const QRgb want = lit ? White : Black;
            const QRgb actual = reinterpret_cast<const QRgb *>(image.constScanLine(y))[x] | 0xFF000000;
            if (actual != want) {
                if (!wrong)
                    first = QStringLiteral("%1,%2 is %3").arg(x).arg(y).arg(hex(actual));
                ++wrong;
            }
        }
    return wrong ? QStringLiteral("%1 wrong pixels; first %2").arg(wrong).arg(first) : QString();
}

PatternForm &loadPattern(Pattern p)
{
    switch (p) {
    case Pattern::Boxes:
        return form<frmBoxesFS>();
    case Pattern::Circles:
        return form<frmCirclesFS>();
    case Pattern::Colors:
        return form<frmColorFS>();
    case Pattern::Crosshairs:
        break;
    }
    return form<frmCrosshairsFS>();
}

bool isPatternLoaded(Pattern p)
{
    switch (p) {
    case Pattern::Boxes:
        return isLoaded<frmBoxesFS>();
    case Pattern::Circles:
        return isLoaded<frmCirclesFS>();
    case Pattern::Colors:
        return isLoaded<frmColorFS>();
    case Pattern::Crosshairs:
        break;
    }
    return isLoaded<frmCrosshairsFS>();
}

QString checkPattern(Pattern p, const QImage &image)
{
    switch (p) {
    case Pattern::Boxes:
        return checkBoxes(image);
    case Pattern::Circles:
        return checkCircles(image);
    case Pattern::Colors:
        return checkColors(image);
    case Pattern::Crosshairs:
        break;
    }
    return checkCrosshairs(image);
}

// The shapes of a pattern, or none for the crosshairs.
std::vector<const Shape *> shapesOf(PatternForm &f)
{
    if (auto *b = qobject_cast<frmBoxesFS *>(&f))
        return { &b->w1, &b->b1, &b->w2, &b->b2, &b->w3, &b->b3, &b->w4, &b->b4, &b->w5, &b->b5 };
    if (auto *c = qobject_cast<frmCirclesFS *>(&f))
        return { &c->b1, &c->w1, &c->b2, &c->w2, &c->b3, &c->w3, &c->b4, &c->w4, &c->b5, &c->w5 };
    if (auto *c = qobject_cast<frmColorFS *>(&f))
        return { &c->Red, &c->Green, &c->Blue, &c->White, &c->Black, &c->Yellow, &c->Cyan, &c->MagentaLeft,
            &c->MagentaRight };
    return {};
}

// A control's Left, Top, Width and Height, or a line's X1, Y1, X2 and Y2, found by its name.
QList<float> geometryOf(PatternForm &f, const QString &name)
{
    static const char *const boxes[] = { "w1", "b1", "w2", "b2", "w3", "b3", "w4", "b4", "w5", "b5" };
    static const char *const circles[] = { "b1", "w1", "b2", "w2", "b3", "w3", "b4", "w4", "b5", "w5" };
    static const char *const colors[]
        = { "Red", "Green", "Blue", "White", "Black", "Yellow", "Cyan", "MagentaLeft", "MagentaRight" };
    const auto shapes = shapesOf(f);
    const char *const *names = qobject_cast<frmBoxesFS *>(&f) ? boxes
        : qobject_cast<frmCirclesFS *>(&f)                    ? circles
                                                              : colors;
    for (size_t i = 0; i < shapes.size(); ++i)
        if (name == QLatin1String(names[i]))
            return { shapes[i]->Left(), shapes[i]->Top(), shapes[i]->Width(), shapes[i]->Height() };
    if (auto *c = qobject_cast<frmCrosshairsFS *>(&f)) {
        const LineControl *lines[] = { &c->Line1, &c->Line2, &c->Line3, &c->Line4, &c->Line5, &c->Line6 };
        for (int i = 0; i < 6; ++i)
            if (name == QStringLiteral("Line%1").arg(i + 1))
                return { lines[i]->X1(), lines[i]->Y1(), lines[i]->X2(), lines[i]->Y2() };
    }
    return {};
}

QRgb backgroundOf(Pattern p)
{
    switch (p) {
    case Pattern::Circles:
        return White;
    case Pattern::Crosshairs:
        return Black;
    default:
        return ButtonFace;
    }
}

// The screen a child run was asked to test on: "WIDTHxHEIGHT@RATIO", in device pixels.
struct ExpectedScreen
{
    QSize device;
    double ratio = 1;
};

std::optional<ExpectedScreen> expectedScreen()
{
    const QString wanted = qEnvironmentVariable("QRBL_EXPECT_SCREEN");
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)@([\\d.]+)$")).match(wanted);
    if (!m.hasMatch())
        return std::nullopt;
    return ExpectedScreen { QSize(m.captured(1).toInt(), m.captured(2).toInt()), m.captured(3).toDouble() };
}

} // namespace

Q_DECLARE_METATYPE(Pattern)

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
        QTest::addColumn<Pattern>("pattern");
        QTest::addColumn<float>("twipsPerPixel");
        const std::pair<const char *, Pattern> all[]
            = { { "Boxes", Pattern::Boxes }, { "Circles", Pattern::Circles }, { "Colors", Pattern::Colors },
                  { "Crosshairs", Pattern::Crosshairs } };
        for (const auto &[name, p] : all) {
            QTest::addRow("%s", name) << p << 15.f;
            QTest::addRow("%s at 12 twips per pixel", name) << p << 12.f;
        }
    }

    // The whole picture, pixel by pixel, on whatever screen this process has (other screens: below).
    void patternsOnThisScreen()
    {
        QFETCH(Pattern, pattern);
        QFETCH(float, twipsPerPixel);
        Screen::setTwipsPerPixel(twipsPerPixel, twipsPerPixel);

        PatternForm &f = loadPattern(pattern);
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QScreen *screen = f.screen();
        const QSize device = Screen::deviceWidth(screen) > 0
            ? QSize(Screen::deviceWidth(screen), Screen::deviceHeight(screen))
            : QSize();
        if (const auto expected = expectedScreen()) {
            QCOMPARE(device, expected->device);
            QCOMPARE(f.devicePixelRatioF(), expected->ratio);
        }
        QCOMPARE(f.deviceSize(), device);
        QCOMPARE(f.Width(), device.width() * twipsPerPixel);

        const QImage frame = f.frame();
        QCOMPARE(frame.size(), device);
        const QString problem = checkPattern(pattern, frame);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        // What the window paints is that picture, pixel for pixel, whatever the scale factor.
        const QImage grabbed = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(grabbed.size(), device);
        qint64 differing = 0;
        for (int y = 0; y < device.height(); ++y) {
            const auto *a = reinterpret_cast<const QRgb *>(grabbed.constScanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
            for (int x = 0; x < device.width(); ++x)
                differing += (a[x] | 0xFF000000) != (b[x] | 0xFF000000);
        }
        QCOMPARE(differing, 0);
    }

    void otherScreens_data()
    {
        QTest::addColumn<QSize>("device");
        QTest::addColumn<int>("logicalDpi");
        QTest::addColumn<double>("ratio");
        QTest::newRow("1365x767, odd sizes") << QSize(1365, 767) << 96 << 1.0;
        QTest::newRow("768x1024, portrait") << QSize(768, 1024) << 96 << 1.0;
        QTest::newRow("3840x2160") << QSize(3840, 2160) << 96 << 1.0;
        QTest::newRow("1920x1080 at scale 1.5") << QSize(1920, 1080) << 144 << 1.5;
        QTest::newRow("1600x1200 at scale 2") << QSize(1600, 1200) << 192 << 2.0;
        QTest::newRow("40x30, tiny") << QSize(40, 30) << 96 << 1.0;
    }

    // Runs patternsOnThisScreen again in a child process that has a screen of the given size.
    void otherScreens()
    {
        QFETCH(QSize, device);
        QFETCH(int, logicalDpi);
        QFETCH(double, ratio);

        QTemporaryDir dir;
        QFile config(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(
            QStringLiteral("{\"screens\":[{\"name\":\"s1\",\"x\":0,\"y\":0,\"width\":%1,\"height\":%2,"
                           "\"logicalDpi\":%3,\"logicalBaseDpi\":96}]}")
                .arg(device.width())
                .arg(device.height())
                .arg(logicalDpi)
                .toUtf8());
        config.close();

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(
            QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config.fileName());
        env.insert(QStringLiteral("QRBL_EXPECT_SCREEN"),
            QStringLiteral("%1x%2@%3").arg(device.width()).arg(device.height()).arg(ratio));
        env.remove(QStringLiteral("QT_SCALE_FACTOR"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        // At 15 twips per pixel only: the twips-per-pixel rows already ran on this process's screen.
        const QStringList rows { QStringLiteral("patternsOnThisScreen:Boxes"),
            QStringLiteral("patternsOnThisScreen:Circles"), QStringLiteral("patternsOnThisScreen:Colors"),
            QStringLiteral("patternsOnThisScreen:Crosshairs") };
        child.start(QCoreApplication::applicationFilePath(), rows);
        QVERIFY(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("Totals: 6 passed, 0 failed"), output.constData());
    }

    void designUntilFirstLayout_data()
    {
        QTest::addColumn<Pattern>("pattern");
        QTest::newRow("Boxes") << Pattern::Boxes;
        QTest::newRow("Circles") << Pattern::Circles;
        QTest::newRow("Colors") << Pattern::Colors;
    }

    // Loading hides the shapes whatever their design places; the first layout shows them; and an
    // unloaded window comes back from its design, shapes hidden again.
    void designUntilFirstLayout()
    {
        QFETCH(Pattern, pattern);
        for (int round = 0; round < 2; ++round) {
            PatternForm &f = loadPattern(pattern);
            for (const Shape *s : shapesOf(f))
                QVERIFY(!s->Visible());
            QCOMPARE(TestSupport::countNot(f.frame(), backgroundOf(pattern)), 0);

            f.Show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            for (const Shape *s : shapesOf(f))
                QVERIFY(s->Visible());
            QVERIFY(TestSupport::countNot(f.frame(), backgroundOf(pattern)) > 0);
            const QString problem = checkPattern(pattern, f.frame());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));

            TestSupport::pressEsc(&f);
            TestSupport::flushDeletes();
            QVERIFY(!isPatternLoaded(pattern));
        }
    }

    void workedValuesReachTheControls_data()
    {
        QTest::addColumn<Pattern>("pattern");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QList<float>>("expected"); // Left, Top, Width, Height or X1, Y1, X2, Y2

        const auto rows = [](const char *name, Pattern p, QSize size,
                              std::initializer_list<std::pair<const char *, QList<float>>> list) {
            for (const auto &[control, values] : list)
                QTest::addRow("%s %dx%d %s", name, size.width(), size.height(), control)
                    << p << size << QString::fromLatin1(control) << values;
        };
        rows("Boxes", Pattern::Boxes, QSize(1280, 1024),
            { { "w1", { 0, 0, 19200, 15360 } }, { "b1", { 960, 768, 17280, 13824 } },
                { "w3", { 3840, 3072, 11520, 9216 } }, { "b5", { 8640, 6912, 1920, 1536 } } });
        rows("Circles", Pattern::Circles, QSize(1280, 1024),
            { { "b1", { 0, 0, 19200, 15360 } }, { "w1", { 960, 768, 17280, 13824 } },
                { "w5", { 8640, 6912, 1920, 1536 } } });
        rows("Colors", Pattern::Colors, QSize(1024, 768),
            { { "Red", { 0, 0, 5120, 11520 } }, { "Green", { 5120, 0, 5120, 11520 } },
                { "Blue", { 10240, 0, 5120, 11520 } }, { "White", { 0, 9216, 7680, 2304 } },
                { "Black", { 7680, 9216, 7680, 2304 } }, { "MagentaLeft", { 0, 3456, 1536, 3840 } },
                { "MagentaRight", { 13824, 3456, 1536, 3840 } }, { "Yellow", { 3840, 3456, 2560, 3840 } },
                { "Cyan", { 8960, 3456, 2560, 3840 } } });
        rows("Colors", Pattern::Colors, QSize(800, 600),
            { { "Blue", { 8000, 0, 4000, 9000 } }, { "White", { 0, 7200, 6000, 1800 } },
                { "MagentaRight", { 10800, 2700, 1200, 3000 } }, { "Yellow", { 3000, 2700, 2000, 3000 } },
                { "Cyan", { 7000, 2700, 2000, 3000 } } });
        rows("Crosshairs", Pattern::Crosshairs, QSize(1024, 768),
            { { "Line1", { 0, 0, 15345, 0 } }, { "Line2", { 15345, 0, 15345, 11505 } },
                { "Line3", { 15345, 11505, 0, 11505 } }, { "Line4", { 0, 11505, 0, 0 } },
                { "Line5", { 7680, 0, 7680, 11520 } }, { "Line6", { 0, 5760, 15360, 5760 } } });
        rows("Crosshairs", Pattern::Crosshairs, QSize(1365, 767),
            { { "Line5", { 10237.5, 0, 10237.5, 11505 } } });
    }

    // The window laid out at the sizes of the worked examples: the values reach the controls.
    void workedValuesReachTheControls()
    {
        QFETCH(Pattern, pattern);
        QFETCH(QSize, size);
        QFETCH(QString, control);
        QFETCH(QList<float>, expected);

        PatternForm &f = loadPattern(pattern);
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        if (f.devicePixelRatioF() != 1)
            QSKIP("the sizes are in device pixels");
        f.showNormal();
        f.resize(size);
        QTRY_COMPARE(f.deviceSize(), size);
        QCOMPARE(geometryOf(f, control), expected);
    }

    void laidOutAgainOnResize_data()
    {
        designUntilFirstLayout_data();
        QTest::newRow("Crosshairs") << Pattern::Crosshairs;
    }

    // A later size change lays the pattern out afresh, in place, for the new size.
    void laidOutAgainOnResize()
    {
        QFETCH(Pattern, pattern);
        PatternForm &f = loadPattern(pattern);
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        f.showNormal();
        f.resize(333, 201);
        QTRY_COMPARE(
            f.deviceSize(), QSize(qRound(333 * f.devicePixelRatioF()), qRound(201 * f.devicePixelRatioF())));
        const QImage frame = f.frame();
        QCOMPARE(frame.size(), f.deviceSize());
        const QString problem = checkPattern(pattern, frame);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void tooLargeFails_data() { designUntilFirstLayout_data(); }

    // Beyond 32 bits of twips the layout raises the overflow error before it touches any shape: the
    // shapes stay hidden and the program goes on.
    void tooLargeFails()
    {
        QFETCH(Pattern, pattern);
        Screen::setTwipsPerPixel(4e6f, 4e6f);
        const int errorsBefore = ErrorBoundary::reportCount();
        PatternForm &f = loadPattern(pattern);
        f.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QVERIFY(ErrorBoundary::reportCount() > errorsBefore);
        QVERIFY(ErrorBoundary::lastReport().contains(QLatin1String("Form_Resize")));
        for (const Shape *s : shapesOf(f))
            QVERIFY(!s->Visible());
        QCOMPARE(TestSupport::countNot(f.frame(), backgroundOf(pattern)), 0);
    }

    void openedFromItsButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Pattern>("pattern");
        QTest::newRow("Boxes") << "cmdBoxes" << Pattern::Boxes;
        QTest::newRow("Circles") << "cmdCircles" << Pattern::Circles;
        QTest::newRow("Colors") << "cmdColors" << Pattern::Colors;
        QTest::newRow("Crosshairs") << "cmdCrosshairs" << Pattern::Crosshairs;
    }

    void openedFromItsButton()
    {
        QFETCH(QString, button);
        QFETCH(Pattern, pattern);
        TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
        frmMenu &menu = form<frmMenu>();
        menu.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));

        QString problem = QStringLiteral("the pattern never opened");
        bool modal = false;
        const auto check = [&](PatternForm &f) {
            modal = f.isModalShowing();
            problem = checkPattern(pattern, f.frame());
            TestSupport::pressEsc(&f);
        };
        switch (pattern) {
        case Pattern::Boxes:
            TestSupport::whenModal<frmBoxesFS>(check);
            break;
        case Pattern::Circles:
            TestSupport::whenModal<frmCirclesFS>(check);
            break;
        case Pattern::Colors:
            TestSupport::whenModal<frmColorFS>(check);
            break;
        case Pattern::Crosshairs:
            TestSupport::whenModal<frmCrosshairsFS>(check);
            break;
        }
        menu.client()->findChild<QPushButton *>(button)->click();
        QVERIFY(modal);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        TestSupport::flushDeletes();
        QVERIFY(!isPatternLoaded(pattern));
        QVERIFY(menu.isVisible());
    }
};

QTEST_MAIN(tst_shapepatterns)
#include "tst_shapepatterns.moc"
