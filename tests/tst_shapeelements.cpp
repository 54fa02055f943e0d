#include "patterns/render/LineControl.h"
#include "platform/OleColor.h"
#include "patterns/render/Shape.h"

#include "support/TestSupport.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr QRgb Background = 0xFF123456;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
constexpr QRgb Red = 0xFFFF0000;
constexpr QRgb Blue = 0xFF0000FF;

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Background);
    return image;
}

// The pixels that differ from the background, as their bounding rectangle.
QRect painted(const QImage &image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != Background)
                r |= QRect(x, y, 1, 1);
    return r;
}

// A circle's pixels by their definition: the pixel centre lies strictly inside the circle.
bool inDisc(int x, int y, double cx, double cy, double r, double tpp)
{
    const double dx = (x + 0.5) * tpp - cx;
    const double dy = (y + 0.5) * tpp - cy;
    return dx * dx + dy * dy < r * r;
}

} // namespace

class tst_shapeelements : public QObject
{
    Q_OBJECT

private slots:
    void defaults()
    {
        // A new shape is a transparent rectangle outlined in the window text colour.
        Shape shape;
        QCOMPARE(shape.Kind(), Shape::Rectangle);
        QCOMPARE(shape.BackStyle(), Shape::Transparent);
        QCOMPARE(shape.FillStyle(), Shape::TransparentFill);
        QCOMPARE(shape.BackColor(), OleColor::WindowBackground);
        QCOMPARE(shape.BorderColor(), OleColor::WindowText);
        QVERIFY(shape.Visible());
        QCOMPARE(LineControl().BorderColor(), OleColor::WindowText);
    }

    void everyChangeIsAnnounced()
    {
        Shape shape;
        int changes = 0;
        shape.setChangeHandler([&changes] { ++changes; });
        shape.setLeft(15);
        shape.setWidth(30);
        shape.setKind(Shape::Circle);
        shape.setBorderColor(0x00FFFFFF);
        shape.setVisible(false);
        QCOMPARE(changes, 5);
        shape.setLeft(15); // the same value again changes nothing
        QCOMPARE(changes, 5);
    }

    void shapePixels_data()
    {
        QTest::addColumn<bool>("circle");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<double>("tpp");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<QRect>("covered"); // a rectangle's pixels even beyond the image; a circle's within

        const QSize strip(1000, 30);
        // A rectangle covers the pixels whose centres lie inside.
        QTest::newRow("whole pixels")
            << false << 15.f << 30.f << 150.f << 45.f << 15. << strip << QRect(1, 2, 10, 3);
        QTest::newRow("edge on a pixel centre is inside")
            << false << 7.5f << 0.f << 15.f << 15.f << 15. << strip << QRect(0, 0, 1, 1);
        QTest::newRow("edge just past a centre")
            << false << 7.6f << 0.f << 29.f << 15.f << 15. << strip << QRect(1, 0, 1, 1);
        QTest::newRow("far edge on a centre is outside")
            << false << 0.f << 0.f << 37.5f << 15.f << 15. << strip << QRect(0, 0, 2, 1);
        QTest::newRow("fractional twips: dx 767.25")
            << false << 767.25f << 0.f << 13810.5f << 15.f << 15. << strip << QRect(51, 0, 921, 1);
        QTest::newRow("12 twips per pixel")
            << false << 12.f << 24.f << 120.f << 36.f << 12. << strip << QRect(1, 2, 10, 3);
        QTest::newRow("clipped at the image")
            << false << -150.f << -150.f << 3000.f << 3000.f << 15. << strip << QRect(-10, -10, 200, 200);

        QTest::newRow("circle: square, 20 pixels")
            << true << 0.f << 0.f << 300.f << 300.f << 15. << QSize(20, 20) << QRect(0, 0, 20, 20);
        QTest::newRow("circle: wide, diameter is the height, centred")
            << true << 0.f << 0.f << 600.f << 300.f << 15. << QSize(40, 20) << QRect(10, 0, 20, 20);
        QTest::newRow("circle: tall, diameter is the width, centred")
            << true << 0.f << 0.f << 300.f << 600.f << 15. << QSize(20, 40) << QRect(0, 10, 20, 20);
        QTest::newRow("circle: odd diameter, centre on a pixel centre")
            << true << 0.f << 0.f << 315.f << 315.f << 15. << QSize(21, 21) << QRect(0, 0, 21, 21);
        QTest::newRow("circle: fractional placement") << true << 767.25f << 575.25f << 1150.5f << 1150.5f
                                                      << 15. << QSize(140, 120) << QRect(51, 38, 77, 77);
        QTest::newRow("circle: 12 twips per pixel")
            << true << 0.f << 0.f << 480.f << 360.f << 12. << QSize(40, 30) << QRect(5, 0, 30, 30);
        QTest::newRow("circle: clipped by the image")
            << true << -300.f << -150.f << 900.f << 900.f << 15. << QSize(30, 30) << QRect(0, 0, 30, 30);
        QTest::newRow("circle: one pixel")
            << true << 0.f << 0.f << 15.f << 15.f << 15. << QSize(3, 3) << QRect(0, 0, 1, 1);
        // Large and centred on a pixel corner: no rounding drift makes it lopsided.
        QTest::newRow("circle: 1024 pixels, touches the edges at their middles")
            << true << 0.f << 0.f << 15360.f << 15360.f << 15. << QSize(1024, 1024)
            << QRect(0, 0, 1024, 1024);
    }

    // Every pixel: a one-pixel outline (of the whole shape, even where the image cuts it off) in the
    // border colour round an interior of the back colour; nothing else touched.
    void shapePixels()
    {
        QFETCH(bool, circle);
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(double, tpp);
        QFETCH(QSize, imageSize);
        QFETCH(QRect, covered);

        Shape shape;
        shape.setKind(circle ? Shape::Circle : Shape::Rectangle);
        shape.setBackStyle(Shape::Opaque);
        shape.setBackColor(0x000000FF);
        shape.setBorderColor(0x00FF0000);
        shape.Move(left, top, width, height);
        QImage image = canvas(imageSize.width(), imageSize.height());
        shape.render(image, tpp, tpp);

        const double cx = double(left) + double(width) / 2, cy = double(top) + double(height) / 2;
        const double r = std::min(double(width), double(height)) / 2;
        const auto inside
            = [&](int x, int y) { return circle ? inDisc(x, y, cx, cy, r, tpp) : covered.contains(x, y); };
        qint64 wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                QRgb want = Background;
                if (inside(x, y)) {
                    const bool edge
                        = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                    want = edge ? Blue : Red;
                }
                wrong += image.pixel(x, y) != want;
            }
        QCOMPARE(wrong, 0);
        QCOMPARE(painted(image), covered & image.rect());
    }

    void interior_data()
    {
        QTest::addColumn<int>("backStyle");
        QTest::addColumn<int>("fillStyle");
        QTest::addColumn<quint32>("backColor");
        QTest::addColumn<quint32>("borderColor");
        QTest::addColumn<QRgb>("interior");
        QTest::addColumn<QRgb>("outline");

        QTest::newRow("opaque back colour")
            << int(Shape::Opaque) << int(Shape::TransparentFill) << 0x000000FFu << 0x00FF0000u << Red << Blue;
        QTest::newRow("transparent shows what lies below")
            << int(Shape::Transparent) << int(Shape::TransparentFill) << 0x000000FFu << 0x00FF0000u
            << Background << Blue;
        QTest::newRow("solid fill lies over the back colour")
            << int(Shape::Opaque) << int(Shape::Solid) << 0x000000FFu << 0x00FF0000u << White << Blue;
        QTest::newRow("solid fill without back colour")
            << int(Shape::Transparent) << int(Shape::Solid) << 0x000000FFu << 0x00FFFFFFu << White << White;
        QTest::newRow("system colours: window background and text")
            << int(Shape::Opaque) << int(Shape::TransparentFill) << OleColor::WindowBackground
            << OleColor::WindowText << White << Black;
    }

    void interior()
    {
        QFETCH(int, backStyle);
        QFETCH(int, fillStyle);
        QFETCH(quint32, backColor);
        QFETCH(quint32, borderColor);
        QFETCH(QRgb, interior);
        QFETCH(QRgb, outline);

        for (Shape::ShapeKind kind : { Shape::Rectangle, Shape::Circle }) {
            Shape shape;
            shape.setKind(kind);
            shape.setBackStyle(Shape::BackStyleValue(backStyle));
            shape.setFillStyle(Shape::FillStyleValue(fillStyle));
            shape.setFillColor(0x00FFFFFF);
            shape.setBackColor(backColor);
            shape.setBorderColor(borderColor);
            shape.Move(0, 0, 300, 300);
            QImage image = canvas(20, 20);
            shape.render(image, 15, 15);
            QCOMPARE(image.pixel(10, 10), interior);
            QCOMPARE(image.pixel(10, 0), outline);
            QCOMPARE(image.pixel(0, 10), outline);
        }
    }

    void hugeAndDegenerateShapes()
    {
        QImage image = canvas(64, 48);
        Shape huge;
        huge.setKind(Shape::Circle);
        huge.setBackStyle(Shape::Opaque);
        huge.setBackColor(0x000000FF);
        huge.Move(-1e9f, -1e9f, 2e9f, 2e9f);
        huge.render(image, 15, 15);
        QCOMPARE(TestSupport::countNot(image, Red), 0);

        for (const auto &[w, h] :
            { std::pair { 0.f, 0.f }, { 0.f, 300.f }, { -300.f, 300.f }, { float(NAN), 300.f } }) {
            for (Shape::ShapeKind kind : { Shape::Rectangle, Shape::Circle }) {
                QImage clean = canvas(64, 48);
                Shape shape;
                shape.setKind(kind);
                shape.setBackStyle(Shape::Opaque);
                shape.Move(15, 15, w, h);
                shape.render(clean, 15, 15);
                QCOMPARE(TestSupport::countNot(clean, Background), 0);
            }
        }
    }

    void line_data()
    {
        QTest::addColumn<float>("x1");
        QTest::addColumn<float>("y1");
        QTest::addColumn<float>("x2");
        QTest::addColumn<float>("y2");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<int>("pixels");

        QTest::newRow("top edge to W - p") << 0.f << 0.f << 945.f << 0.f << QRect(0, 0, 64, 1) << 64;
        QTest::newRow("right edge, both ends drawn")
            << 945.f << 0.f << 945.f << 705.f << QRect(63, 0, 1, 48) << 48;
        QTest::newRow("reversed direction") << 945.f << 705.f << 0.f << 705.f << QRect(0, 47, 64, 1) << 64;
        QTest::newRow("half-pixel centre line: the pixel holding it")
            << 487.5f << 0.f << 487.5f << 720.f << QRect(32, 0, 1, 48) << 48;
        QTest::newRow("end beyond the image is clipped")
            << 0.f << 360.f << 960.f << 360.f << QRect(0, 24, 64, 1) << 64;
        QTest::newRow("diagonal") << 0.f << 0.f << 150.f << 75.f << QRect(0, 0, 11, 6) << 11;
        QTest::newRow("single point") << 20.f << 20.f << 20.f << 20.f << QRect(1, 1, 1, 1) << 1;
    }

    void line()
    {
        QFETCH(float, x1);
        QFETCH(float, y1);
        QFETCH(float, x2);
        QFETCH(float, y2);
        QFETCH(QRect, expected);
        QFETCH(int, pixels);

        LineControl line;
        line.setBorderColor(0x00FFFFFF);
        line.setX1(x1);
        line.setY1(y1);
        line.setX2(x2);
        line.setY2(y2);
        QImage image = canvas(64, 48);
        line.render(image, 15, 15);
        QCOMPARE(painted(image), expected);
        QCOMPARE(TestSupport::countOf(image, White), qint64(pixels));
        QCOMPARE(
            TestSupport::countOf(image, White) + TestSupport::countOf(image, Background), qint64(64 * 48));
    }
};

QTEST_MAIN(tst_shapeelements)
#include "tst_shapeelements.moc"
