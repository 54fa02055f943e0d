#include "patterns/ShapeLayouts.h"
#include "platform/RuntimeError.h"

#include <QtTest>

#include <cmath>

using Bounds = ShapeLayouts::Bounds;
using LineEnds = ShapeLayouts::LineEnds;

Q_DECLARE_METATYPE(Bounds)
Q_DECLARE_METATYPE(LineEnds)

namespace {

// Exact comparison: the layouts promise bit-for-bit single-precision values, not nearly-equal ones.
QString differs(const char *what, double actual, double expected)
{
    if (actual == expected)
        return QString();
    return QStringLiteral("%1: %2, expected %3 ")
        .arg(QLatin1String(what))
        .arg(actual, 0, 'g', 17)
        .arg(expected, 0, 'g', 17);
}

QString differs(double actual, double expected)
{
    return differs("value", actual, expected);
}

QString differs(const Bounds &a, const Bounds &e)
{
    return differs("Left", a.Left, e.Left) + differs("Top", a.Top, e.Top) + differs("Width", a.Width, e.Width)
        + differs("Height", a.Height, e.Height);
}

QString differs(const LineEnds &a, const LineEnds &e)
{
    return differs("X1", a.X1, e.X1) + differs("Y1", a.Y1, e.Y1) + differs("X2", a.X2, e.X2)
        + differs("Y2", a.Y2, e.Y2);
}

#define QCOMPARE_EXACT(actual, expected)                                                                     \
    do {                                                                                                     \
        const QString problem = differs(actual, expected);                                                   \
        QVERIFY2(problem.isEmpty(), qPrintable(problem));                                                    \
    } while (false)

const Bounds &pick(const ShapeLayouts::ColorBars &l, const QString &control)
{
    static const Bounds none { -1, -1, -1, -1 };
    const std::pair<const char *, const Bounds *> all[] = {
        { "Red", &l.Red },
        { "Green", &l.Green },
        { "Blue", &l.Blue },
        { "White", &l.White },
        { "Black", &l.Black },
        { "MagentaLeft", &l.MagentaLeft },
        { "Yellow", &l.Yellow },
        { "Cyan", &l.Cyan },
        { "MagentaRight", &l.MagentaRight },
    };
    for (const auto &[name, bounds] : all)
        if (control == QLatin1String(name))
            return *bounds;
    return none;
}

bool raisesOverflow(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.code() == RuntimeError::Overflow;
    }
    return false;
}

// Pixels times twips per pixel.
constexpr float px(int pixels, float tpp = 15)
{
    return float(pixels) * tpp;
}

} // namespace

class tst_shapelayouts : public QObject
{
    Q_OBJECT

private slots:
    void nestedInset_data()
    {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("dx");
        QTest::addColumn<double>("dy");
        QTest::addColumn<Bounds>("expected");

        // 1280 x 1024 pixels at 15 twips per pixel: dx 960, dy 768.
        const float w1280 = px(1280), h1024 = px(1024);
        QTest::newRow("1280x1024 step 0 is the window")
            << w1280 << h1024 << 0 << 960. << 768. << Bounds { 0, 0, 19200, 15360 };
        QTest::newRow("1280x1024 step 1")
            << w1280 << h1024 << 1 << 960. << 768. << Bounds { 960, 768, 17280, 13824 };
        QTest::newRow("1280x1024 step 4")
            << w1280 << h1024 << 4 << 960. << 768. << Bounds { 3840, 3072, 11520, 9216 };
        QTest::newRow("1280x1024 step 9, the centre")
            << w1280 << h1024 << 9 << 960. << 768. << Bounds { 8640, 6912, 1920, 1536 };
        QTest::newRow("width 15345: dx 767.25")
            << 15345.f << h1024 << 1 << 767.25 << 768. << Bounds { 767.25, 768, 13810.5, 13824 };
        QTest::newRow("width 32767: single-precision dx")
            << 32767.f << 32767.f << 9 << 1638.3499755859375 << 1638.3499755859375
            << Bounds { 14745.1494140625, 14745.1494140625, 3276.700439453125, 3276.700439453125 };
        QTest::newRow("width 32766.5 rounds to 32766")
            << 32766.5f << 32765.5f << 0 << 1638.3 << 1638.3 << Bounds { 0, 0, 32766, 32766 };
        QTest::newRow("widened: 32767.5 rounds to 32768")
            << 32767.5f << 32768.5f << 0 << 1638.4 << 1638.4 << Bounds { 0, 0, 32768, 32768 };
        QTest::newRow("widened: 65536.5 and 65537.5 to even")
            << 65537.5f << 65536.5f << 0 << 3276.9 << 3276.8 << Bounds { 0, 0, 65538, 65536 };
        QTest::newRow("2185 pixels now lay out")
            << px(2185) << px(1024) << 1 << 1638.75 << 768. << Bounds { 1638.75, 768, 29497.5, 13824 };
        QTest::newRow("3840x2160 step 9")
            << px(3840) << px(2160) << 9 << 2880. << 1620. << Bounds { 25920, 14580, 5760, 3240 };
        QTest::newRow("7680x4320 step 9")
            << px(7680) << px(4320) << 9 << 5760. << 3240. << Bounds { 51840, 29160, 11520, 6480 };
        QTest::newRow("portrait 768x1024 step 3")
            << px(768) << px(1024) << 3 << 576. << 768. << Bounds { 1728, 2304, 8064, 10752 };
        QTest::newRow("1365x767 step 9")
            << px(1365) << px(767) << 9 << 1023.75 << 575.25 << Bounds { 9213.75, 5177.25, 2047.5, 1150.5 };
        QTest::newRow("12 twips per pixel, 1280x1024 step 1")
            << px(1280, 12) << px(1024, 12) << 1 << 768. << 614.4000244140625
            << Bounds { 768, 614.4000244140625, 13824, 11059.2001953125 };
        QTest::newRow("12 twips per pixel, 1280x1024 step 9")
            << px(1280, 12) << px(1024, 12) << 9 << 768. << 614.4000244140625
            << Bounds { 6912, 5529.60009765625, 1536, 1228.799560546875 };
        QTest::newRow("zero size, step 0") << 0.f << 0.f << 0 << 0. << 0. << Bounds { 0, 0, 0, 0 };
        QTest::newRow("zero size, step 9") << 0.f << 0.f << 9 << 0. << 0. << Bounds { 0, 0, 0, 0 };
    }

    void nestedInset()
    {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(int, step);
        QFETCH(double, dx);
        QFETCH(double, dy);
        QFETCH(Bounds, expected);

        const ShapeLayouts::NestedInset l = ShapeLayouts::nestedInset(width, height);
        QCOMPARE_EXACT(double(l.dx), double(float(dx)));
        QCOMPARE_EXACT(double(l.dy), double(float(dy)));
        QCOMPARE_EXACT(l.steps[step], expected);
        // Every step lies inside the window and is centred in it.
        for (const Bounds &b : l.steps) {
            QVERIFY(b.Width >= 0 && b.Height >= 0);
            QVERIFY(b.Left + b.Width <= float(l.W) && b.Top + b.Height <= float(l.H));
        }
    }

    void colorBars_data()
    {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<QString>("control");
        QTest::addColumn<Bounds>("expected");

        const auto rows = [](const char *screen, float w, float h,
                              std::initializer_list<std::pair<const char *, Bounds>> list) {
            for (const auto &[control, bounds] : list)
                QTest::addRow("%s %s", screen, control) << w << h << QString::fromLatin1(control) << bounds;
        };
        rows("1024x768", px(1024), px(768),
            { { "Red", { 0, 0, 5120, 11520 } }, { "Green", { 5120, 0, 5120, 11520 } },
                { "Blue", { 10240, 0, 5120, 11520 } }, { "White", { 0, 9216, 7680, 2304 } },
                { "Black", { 7680, 9216, 7680, 2304 } }, { "MagentaLeft", { 0, 3456, 1536, 3840 } },
                { "MagentaRight", { 13824, 3456, 1536, 3840 } }, { "Yellow", { 3840, 3456, 2560, 3840 } },
                { "Cyan", { 8960, 3456, 2560, 3840 } } });
        rows("800x600", px(800), px(600),
            { { "Red", { 0, 0, 4000, 9000 } }, { "Green", { 4000, 0, 4000, 9000 } },
                { "Blue", { 8000, 0, 4000, 9000 } }, { "White", { 0, 7200, 6000, 1800 } },
                { "Black", { 6000, 7200, 6000, 1800 } }, { "MagentaLeft", { 0, 2700, 1200, 3000 } },
                { "MagentaRight", { 10800, 2700, 1200, 3000 } }, { "Yellow", { 3000, 2700, 2000, 3000 } },
                { "Cyan", { 7000, 2700, 2000, 3000 } } });
        // h - b is a single, so the strip's top and the blocks' top keep its rounding.
        rows("1024x768 at 12 twips per pixel", px(1024, 12), px(768, 12),
            { { "Black", { 6144, 7372.7998046875, 6144, 1843.199951171875 } },
                { "White", { 0, 7372.7998046875, 6144, 1843.199951171875 } },
                { "MagentaLeft", { 0, 2764.7998046875, 1228.800048828125, 3072 } },
                { "MagentaRight", { 11059.2001953125, 2764.7998046875, 1228.800048828125, 3072 } },
                { "Yellow", { 3072, 2764.7998046875, 2048, 3072 } } });
        rows("1365x767", px(1365), px(767),
            { { "Blue", { 13650, 0, 6825, 11505 } }, { "Black", { 10237.5, 9204, 10237.5, 2301 } },
                { "MagentaRight", { 18427.5, 3451.5, 2047.5, 3835 } },
                { "Yellow", { 5118.75, 3451.5, 3412.5, 3835 } },
                { "Cyan", { 11943.75, 3451.5, 3412.5, 3835 } } });
        rows("32767 square", 32767.f, 32767.f,
            { { "Green", { 10922.3330078125, 0, 10922.3330078125, 32767 } },
                { "Blue", { 21844.666015625, 0, 10922.3330078125, 32767 } },
                { "Black", { 16383.5, 26213.599609375, 16383.5, 6553.39990234375 } },
                { "Cyan", { 19114.083984375, 9830.099609375, 5461.16650390625, 10922.3330078125 } } });
        rows("portrait 768x1024", px(768), px(1024),
            { { "Red", { 0, 0, 3840, 15360 } }, { "White", { 0, 12288, 5760, 3072 } },
                { "Cyan", { 6720, 4608, 1920, 5120 } } });
        rows("2185 pixels wide", px(2185), px(1080),
            { { "Blue", { 21850, 0, 10925, 16200 } }, { "MagentaRight", { 29497.5, 4860, 3277.5, 5400 } },
                { "Yellow", { 8193.75, 4860, 5462.5, 5400 } } });
        rows("3840x2160", px(3840), px(2160),
            { { "Blue", { 38400, 0, 19200, 32400 } }, { "Black", { 28800, 25920, 28800, 6480 } },
                { "Cyan", { 33600, 9720, 9600, 10800 } } });
        rows("7680x4320", px(7680), px(4320),
            { { "Green", { 38400, 0, 38400, 64800 } }, { "White", { 0, 51840, 57600, 12960 } },
                { "MagentaRight", { 103680, 19440, 11520, 21600 } },
                { "Yellow", { 28800, 19440, 19200, 21600 } } });
        rows("zero size", 0, 0, { { "Red", { 0, 0, 0, 0 } }, { "Cyan", { 0, 0, 0, 0 } } });
        rows("half twips to even", 15360.5f, 11521.5f,
            { { "Red", { 0, 0, 5120, 11522 } },
                { "Black", { 7680, 9217.599609375, 7680, 2304.39990234375 } } });
    }

    void colorBars()
    {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(QString, control);
        QFETCH(Bounds, expected);
        QCOMPARE_EXACT(pick(ShapeLayouts::colorBars(width, height), control), expected);
    }

    void overflow_data()
    {
        QTest::addColumn<bool>("bars"); // the colour bars, else the nested inset
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<bool>("overflows");
        for (const bool bars : { false, true }) {
            const char *layout = bars ? "bars" : "inset";
            QTest::addRow("%s: width 2^31", layout) << bars << 2147483648.f << 15360.f << true;
            QTest::addRow("%s: height 2^31", layout) << bars << 19200.f << 2147483648.f << true;
            QTest::addRow("%s: negative beyond 32 bits", layout) << bars << -2147483904.f << 15360.f << true;
            QTest::addRow("%s: not a number", layout) << bars << float(NAN) << 15360.f << true;
            QTest::addRow("%s: 8K", layout) << bars << px(7680) << px(4320) << false;
        }
        QTest::newRow("inset: the largest single below 2^31")
            << false << 2147483520.f << 2147483520.f << false;
    }

    void overflow()
    {
        QFETCH(bool, bars);
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(bool, overflows);
        QCOMPARE(raisesOverflow([&] {
            if (bars)
                ShapeLayouts::colorBars(width, height);
            else
                ShapeLayouts::nestedInset(width, height);
        }),
            overflows);
    }

    void colorBarsTile()
    {
        // Whatever the size, the bars cover the width edge to edge and the strips meet in the middle.
        for (const auto &[w, h] : { std::pair { 1024, 768 }, { 1365, 767 }, { 7, 3 }, { 7680, 4320 } }) {
            const ShapeLayouts::ColorBars l = ShapeLayouts::colorBars(px(w), px(h));
            QCOMPARE(l.Red.Left + l.Red.Width, l.Green.Left);
            QCOMPARE(l.Blue.Left + l.Blue.Width, float(l.w));
            QCOMPARE(l.White.Left + l.White.Width, l.Black.Left);
            QCOMPARE(l.Black.Top + l.Black.Height, float(l.h));
            QCOMPARE(l.MagentaRight.Left + l.MagentaRight.Width, float(l.w));
            QVERIFY(l.Yellow.Top + l.Yellow.Height < l.Black.Top);
        }
    }

    void crosshairs_data()
    {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("line");
        QTest::addColumn<LineEnds>("expected");

        const float w = px(1024), h = px(768);
        QTest::newRow("1024x768 Line1 top edge") << w << h << 15 << 1 << LineEnds { 0, 0, 15345, 0 };
        QTest::newRow("1024x768 Line2 right edge")
            << w << h << 15 << 2 << LineEnds { 15345, 0, 15345, 11505 };
        QTest::newRow("1024x768 Line3 bottom edge")
            << w << h << 15 << 3 << LineEnds { 15345, 11505, 0, 11505 };
        QTest::newRow("1024x768 Line4 left edge") << w << h << 15 << 4 << LineEnds { 0, 11505, 0, 0 };
        QTest::newRow("1024x768 Line5 vertical centre")
            << w << h << 15 << 5 << LineEnds { 7680, 0, 7680, 11520 };
        QTest::newRow("1024x768 Line6 horizontal centre")
            << w << h << 15 << 6 << LineEnds { 0, 5760, 15360, 5760 };
        QTest::newRow("1365 wide: centre at half a pixel")
            << px(1365) << px(767) << 15 << 5 << LineEnds { 10237.5, 0, 10237.5, 11505 };
        QTest::newRow("767 high: centre at half a pixel")
            << px(1365) << px(767) << 15 << 6 << LineEnds { 0, 5752.5, 20475, 5752.5 };
        QTest::newRow("12 twips per pixel")
            << px(1024, 12) << px(768, 12) << 12 << 2 << LineEnds { 12276, 0, 12276, 9204 };
        QTest::newRow("3840x2160 needs no conversion")
            << px(3840) << px(2160) << 15 << 3 << LineEnds { 57585, 32385, 0, 32385 };
        QTest::newRow("7680x4320") << px(7680) << px(4320) << 15 << 2
                                   << LineEnds { 115185, 0, 115185, 64785 };
        QTest::newRow("portrait 768x1024")
            << px(768) << px(1024) << 15 << 6 << LineEnds { 0, 7680, 11520, 7680 };
        QTest::newRow("fractional size kept unrounded")
            << 100.25f << 50.5f << 15 << 2 << LineEnds { 85.25, 0, 85.25, 35.5 };
        QTest::newRow("zero size") << 0.f << 0.f << 15 << 1 << LineEnds { 0, 0, -15, 0 };
    }

    void crosshairs()
    {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(int, pixel);
        QFETCH(int, line);
        QFETCH(LineEnds, expected);
        const auto lines = ShapeLayouts::crosshairs(width, height, [pixel] { return int16_t(pixel); });
        QCOMPARE_EXACT(lines[line - 1], expected);
    }

    void crosshairsAskForThePixelPerCoordinate()
    {
        // One pixel in twips is asked for afresh wherever it is used: the eight far-edge coordinates.
        int asked = 0;
        ShapeLayouts::crosshairs(px(1024), px(768), [&asked] {
            ++asked;
            return int16_t(15);
        });
        QCOMPARE(asked, 8);
    }
};

QTEST_APPLESS_MAIN(tst_shapelayouts)
#include "tst_shapelayouts.moc"
