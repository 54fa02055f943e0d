// The worked values that a picture cannot show (fractions of a twip, read back in single precision) and
// the numeric rules: ties round to the even integer, out-of-range values raise the overflow error.
#include "patterns/ShapeLayouts.h"
#include "patterns/modFunctions.h"
#include "platform/Convert.h"

#include <QtTest>

namespace {

using Bounds = ShapeLayouts::Bounds;
const auto of = [](const Bounds &b) { return QList<double> { b.Left, b.Top, b.Width, b.Height }; };

struct Row
{
    const char *name;
    std::function<QList<double>()> compute;
    QList<double> expected; // empty: raises the overflow error
};


// clang-format off
const Row Rows[] = {
    { "ties to even: 2.5, 3.5, -2.5", [] { return QList<double> { double(Convert::toInt16(2.5)),
        double(Convert::toInt16(3.5)), double(Convert::toInt16(-2.5)) }; }, { 2, 4, -2 } },
    { "16 bits end before 32767.5", [] { return QList<double> { double(Convert::toInt16(32767.5)) }; }, {} },
    { "16-bit sum past 32767", [] { return QList<double> { double(Convert::add16(32767, 1)) }; }, {} },
    { "8K in 32 bits, ties to even", [] { return QList<double> { double(Convert::toInt32(115200.5)) }; },
        { 115200 } },
    { "32 bits end before 2^31 - 0.5", [] { return QList<double> { double(Convert::toInt32(2147483647.5)) }; },
        {} },
    { "twips to pixels and back", [] { return QList<double> { double(modFunctions::TwipsToPixelsX(15360)),
        double(modFunctions::TwipsToPixelsX(22.5f)), double(modFunctions::TwipsToPixelsX(37.5f)),
        double(modFunctions::PixelsToTwipsX(1)) }; }, { 1024, 2, 2, 15 } },
    { "boxes 1280x1024: centre box", [] { return of(ShapeLayouts::nestedInset(19200, 15360).steps[9]); },
        { 8640, 6912, 1920, 1536 } },
    { "boxes 15345 wide: second box", [] { return of(ShapeLayouts::nestedInset(15345, 11520).steps[1]); },
        { 767.25, 576, 13810.5, 10368 } },
    { "boxes 32767 wide: centre box in single precision",
        [] { return of(ShapeLayouts::nestedInset(32767, 32767).steps[9]); },
        { 14745.1494140625, 14745.1494140625, 3276.700439453125, 3276.700439453125 } },
    { "boxes 1365x767: centre box", [] { return of(ShapeLayouts::nestedInset(20475, 11505).steps[9]); },
        { 9213.75, 5177.25, 2047.5, 1150.5 } },
    { "boxes beyond 32 bits", [] { return of(ShapeLayouts::nestedInset(3e9f, 100).steps[0]); }, {} },
    { "colours 1024x768: Cyan and White", [] { const auto l = ShapeLayouts::colorBars(15360, 11520);
        return of(l.Cyan) + of(l.White); }, { 8960, 3456, 2560, 3840, 0, 9216, 7680, 2304 } },
    { "colours 1365x767: Yellow and MagentaRight", [] { const auto l = ShapeLayouts::colorBars(20475, 11505);
        return of(l.Yellow) + of(l.MagentaRight); }, { 5118.75, 3451.5, 3412.5, 3835, 18427.5, 3451.5, 2047.5, 3835 } },
    { "crosshairs 1365x767: right edge and centre lines", [] {
        const auto l = ShapeLayouts::crosshairs(20475, 11505, modFunctions::PixelsToTwipsX(1));
        return QList<double> { l[1].X1, l[1].Y2, l[4].X1, l[4].Y2, l[5].Y1, l[5].X2 }; },
        { 20460, 11490, 10237.5, 11505, 5752.5, 20475 } },
};
// clang-format on

} // namespace

class tst_numbers : public QObject
{
    Q_OBJECT
private slots:
    void values_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(Rows)); ++i)
            QTest::newRow(Rows[i].name) << i;
    }

    void values()
    {
        QFETCH(int, row);
        const Row &r = Rows[row];
        QList<double> actual;
        QString error;
        try {
            actual = r.compute();
        } catch (const std::exception &e) {
            error = QString::fromUtf8(e.what());
        }
        if (r.expected.isEmpty())
            QCOMPARE(error, QStringLiteral("Overflow"));
        else
            QCOMPARE(actual, r.expected);
    }
};

QTEST_MAIN(tst_numbers)
#include "tst_numbers.moc"
