// Every test, opened from its button, compared pixel for pixel with a model of its picture written from
// the pattern's geometry alone. Each screen row runs this binary again as a child on its own monitors.
#include "app/frmMenu.h"
#include "patterns/PatternForm.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QPushButton>
#include <QScreen>

namespace {

constexpr QRgb White = 0xFFFFFFFF, Black = 0xFF000000, Red = 0xFFFF0000, Green = 0xFF00FF00,
               Blue = 0xFF0000FF, Yellow = 0xFFFFFF00, Cyan = 0xFF00FFFF, Magenta = 0xFFFF00FF;

// The colour of device pixel (x, y) of a w x h picture; the grey ramp also depends on the monitor's width.
using Model = QRgb (*)(qint64 x, qint64 y, qint64 w, qint64 h);

// A pixel belongs to a shape when its centre does: edges are inclusive on the left and top only.
// Ten nested rectangles, each a twentieth of the size in from the last: rectangle k holds the centre
// x + 1/2 when k w <= 20 x + 10 < 20 w - k w, in whole numbers. The innermost one counts.
qint64 nestedDepth(qint64 x, qint64 w)
{
    return std::min({ (20 * x + 10) / w, (20 * w - 20 * x - 11) / w, qint64(9) });
}

const Model boxes = [](qint64 x, qint64 y, qint64 w, qint64 h) {
    return std::min(nestedDepth(x, w), nestedDepth(y, h)) % 2 == 0 ? White : Black;
};

// Ten concentric discs on the white background, outermost black, each a tenth of the smaller side
// narrower; a centre exactly on a circle lies outside it.
QRgb circles(qint64 x, qint64 y, qint64 w, qint64 h)
{
    const qint64 d2 = 100 * ((2 * x + 1 - w) * (2 * x + 1 - w) + (2 * y + 1 - h) * (2 * y + 1 - h));
    int inside = 0;
    for (qint64 k = 0; k < 10; ++k)
        inside += d2 < (10 - k) * std::min(w, h) * (10 - k) * std::min(w, h);
    return inside % 2 == 1 ? Black : White;
}

// Thirds of red, green and blue; white and black strips along the bottom fifth; magenta at both sides,
// yellow and cyan centred on the bar edges, from 0.3 of the height for a third of it. In 60ths of a pixel.
QRgb colors(qint64 x, qint64 y, qint64 w, qint64 h)
{
    const qint64 cx = 30 * (2 * x + 1), cy = 30 * (2 * y + 1);
    const auto in = [](qint64 c, qint64 from, qint64 to) { return c >= from && c < to; };
    const bool block = in(cy, 18 * h, 38 * h), strip = in(cy, 48 * h, 60 * h);
    if (block && (in(cx, 54 * w, 60 * w) || in(cx, 0, 6 * w)))
        return Magenta;
    if (block && in(cx, 35 * w, 45 * w))
        return Cyan;
    if (block && in(cx, 15 * w, 25 * w))
        return Yellow;
    if (strip && in(cx, 0, 60 * w))
        return in(cx, 0, 30 * w) ? White : Black;
    return in(cx, 0, 20 * w) ? Red : in(cx, 20 * w, 40 * w) ? Green : Blue;
}

// White on the outermost rows and columns and through the centre, on black.
const Model crosshairs = [](qint64 x, qint64 y, qint64 w, qint64 h) {
    return x == 0 || y == 0 || x == w - 1 || y == h - 1 || x == w / 2 || y == h / 2 ? White : Black;
};

const Model verticalLines = [](qint64 x, qint64, qint64, qint64) { return x % 2 == 0 ? Black : White; };

// Black lines x + y = 3k; they end where the first multiple of three at or past the width meets the left
// edge.
const Model diagonalLines = [](qint64 x, qint64 y, qint64 w, qint64) {
    return y <= (w + 2) / 3 * 3 && (x + y) % 3 == 0 ? Black : White;
};

// Level g on n = width / 255 columns (ties to even), black first; past level 255 the white background.
const Model greys = [](qint64 x, qint64, qint64 w, qint64) {
    const qint64 n = qint64(std::nearbyint(double(w) / 255));
    return n > 0 && x / n <= 255 ? qRgb(int(x / n), int(x / n), int(x / n)) : White;
};

template <QRgb C> const Model solid = [](qint64, qint64, qint64, qint64) { return C; };

// What each of the main window's buttons shows, by the button's name.
const QHash<QByteArray, Model> Pictures { { "cmdBoxes", boxes }, { "cmdCircles", circles },
    { "cmdColors", colors }, { "cmdCrosshairs", crosshairs }, { "cmdVerticalLines", verticalLines },
    { "cmdDiagonalLines", diagonalLines }, { "cmdRed", solid<Red> }, { "cmdGreen", solid<Green> },
    { "cmdBlue", solid<Blue> }, { "cmdBlack", solid<Black> }, { "cmdWhite", solid<White> },
    { "cmdGrey50", solid<0xFF808080> }, { "cmdGreys", greys } };

// Empty when the picture is the model's, pixel for pixel; otherwise how many differ and the first.
QString compare(const QImage &picture, Model model)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const qint64 w = image.width(), h = image.height();
    qint64 wrong = 0;
    QString first;
    for (qint64 y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(int(y)));
        for (qint64 x = 0; x < w; ++x)
            if (const QRgb want = model(x, y, w, h); want != (line[x] | 0xFF000000) && !wrong++)
                first = QString::asprintf(
                    "(%lld, %lld) is #%06x, not #%06x", x, y, line[x] & 0xFFFFFF, want & 0xFFFFFF);
    }
    return wrong ? QStringLiteral("%1 pixels wrong, first %2").arg(wrong).arg(first) : QString();
}

} // namespace

class tst_pictures : public QObject
{
    Q_OBJECT
    std::map<QByteArray, std::unique_ptr<QProcess>> m_children;

private slots:
    void screens_data();
    void screens();
    void child();
};

// Every row's child starts here, all at once: most of a child's time is its patterns' waits.
void tst_pictures::screens_data()
{
    using Monitor = TestSupport::Monitor;
    QTest::addColumn<QByteArray>("errors"); // what the child reports on stderr
    const auto row = [this](const char *name, QList<Monitor> monitors, int mainOn = 0, const char *only = "",
                         float twipsPerPixel = 15, const QByteArray &errors = {},
                         const char *monitor = "window") {
        QStringList devices;
        for (const Monitor &m : monitors)
            devices << QString::asprintf("%dx%d", m.device.width(), m.device.height());
        // The monitor that holds the main window, every monitor's device size, the main one's scale, twips
        // per pixel, the stored choice of monitor, which test.
        m_children[name]
            = TestSupport::startOnMonitors(monitors, { QStringLiteral("-silent"), QStringLiteral("child") },
                { QString::asprintf("QRBL_PICTURES=%d %s %g %g %s %s", mainOn, qPrintable(devices.join(',')),
                    monitors[mainOn].scale, double(twipsPerPixel), monitor, only) });
        QTest::newRow(name) << errors;
    };
    const auto one = [](int w, int h, double scale = 1) {
        return QList<Monitor> { { QRect(0, 0, w, h), scale } };
    };
    if (qEnvironmentVariableIsSet("QRBL_HUGE_SCREEN"))
        return row("16384x16384, circles", one(16384, 16384), 0, "cmdCircles");
    row("1024x768", one(1024, 768));
    row("1365x767, odd", one(1365, 767));
    row("768x1024, portrait", one(768, 1024));
    row("1920x1080 at scale 1.5", one(1920, 1080, 1.5));
    row("2560x1600 at scale 2", one(2560, 1600, 2));
    row("7680x4320", one(7680, 4320));
    row("Red on both of two, one Esc ends both",
        { { QRect(0, 0, 1920, 1080), 1 }, { QRect(1920, 0, 1280, 1024), 2 } }, 0, "cmdRed", 15, {}, "all");
    row("1x1", one(1, 1));
    row("no width", one(0, 768));
    row("no height", one(1024, 0));
    row("127x50: no column per grey, pixel centres on circles", one(127, 50));
    row("128 wide: one column per grey", one(128, 40));
    // The product is fixed at 15; another value must still not crash (its pictures are not modelled).
    row("12 twips per pixel does not crash", one(1024, 768), 0, "", 12);
    // A layout's error ends its handler, not the program: one line, and Esc still ends the test.
    row("twips beyond 32 bits", one(1024, 768), 0, "cmdBoxes", 4e6f,
        "quorbel: error in Form_Resize: Overflow\n");
}

void tst_pictures::screens()
{
    QFETCH(QByteArray, errors);
    QProcess &child = *m_children.at(QTest::currentDataTag());
    QVERIFY(child.waitForFinished(300000));
    const QByteArray out = child.readAllStandardOutput();
    QVERIFY2(
        child.exitStatus() == QProcess::NormalExit && out.contains("Totals: 3 passed, 0 failed, 0 skipped"),
        out.constData());
    QByteArray reported;
    for (const QByteArray &line : child.readAllStandardError().split('\n'))
        if (line.startsWith("quorbel:"))
            reported += line + '\n';
    QCOMPARE(reported, errors);
}

void tst_pictures::child()
{
    const QStringList given = qEnvironmentVariable("QRBL_PICTURES").split(QLatin1Char(' '));
    if (given.size() != 6)
        QSKIP("runs as the child of screens()");
    const QStringList devices = given[1].split(QLatin1Char(','));
    const float tpp = given[3].toFloat();
    Screen::setTwipsPerPixel(tpp, tpp);
    TestSupport::freshSettings();
    TestSupport::writeSettingsFile("[Options]\nShowInfo=0\nMonitor=" + given[4].toUtf8() + "\n");

    QScreen *target = QGuiApplication::screens().at(given[0].toInt());
    QCOMPARE(target->devicePixelRatio(), given[2].toDouble());
    frmMenu menu;
    menu.move(target->geometry().topLeft() + QPoint(10, 10));
    menu.show();

    const QList<QPushButton *> buttons = menu.findChildren<QPushButton *>(QRegularExpression("^cmd"));
    QCOMPARE(buttons.size(), Pictures.size());
    const QString only = given[5];
    // The monitors the test should cover, each with a window of its device size.
    QList<QScreen *> targets
        = given[4] == QLatin1String("all") ? QGuiApplication::screens() : QList { target };
    std::sort(targets.begin(), targets.end());
    QStringList problems;
    for (QPushButton *button : buttons) {
        const QByteArray name = button->objectName().toUtf8();
        if (!only.isEmpty() && name != only.toUtf8())
            continue;
        QVERIFY2(Pictures.contains(name), name.constData());
        button->click();
        const QList<QWidget *> shown = TestSupport::windows("PatternForm");
        QStringList found;
        QList<QScreen *> covered;
        for (QWidget *window : shown) {
            auto &f = static_cast<PatternForm &>(*window);
            const QImage frame = f.frame();
            covered << f.screen();
            if (f.geometry() != f.screen()->geometry())
                found << QStringLiteral("not over its whole monitor");
            const QStringList size = devices.value(QGuiApplication::screens().indexOf(f.screen())).split('x');
            const QSize device(size.value(0).toInt(), size.value(1).toInt());
            if (f.deviceSize() != device || frame.size() != (device.isEmpty() ? QSize(0, 0) : device))
                found << QStringLiteral("drawn on %1x%2").arg(frame.width()).arg(frame.height());
            else if (tpp == 15 && !device.isEmpty())
                found << compare(frame, Pictures[name]);
            // A repaint shows the same picture again (but for 8K: a gigabyte copied to learn little).
            if (!device.isEmpty() && device.width() <= 4096) {
                QImage painted = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
                painted.setDevicePixelRatio(1);
                if (painted != frame.convertToFormat(QImage::Format_RGB32))
                    found << QStringLiteral("painted otherwise than drawn");
            }
            QTest::keyClick(&f, Qt::Key_Return);
            QTest::keyClick(&f, Qt::Key_Q);
            QTest::mouseClick(&f, Qt::LeftButton);
        }
        std::sort(covered.begin(), covered.end());
        if (covered != targets)
            found << QStringLiteral("shown on the wrong monitors");
        if (TestSupport::windows("PatternForm") != shown)
            found << QStringLiteral("ended by another key or a click");
        if (!shown.isEmpty())
            QTest::keyClick(shown.last(), Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed windows really gone
        if (!TestSupport::windows("PatternForm").isEmpty() || !menu.isVisible() || !button->isEnabled())
            found << QStringLiteral("not back at the main window");
        found.removeAll(QString());
        if (!found.isEmpty())
            problems << QString::fromUtf8(name) + QStringLiteral(": ") + found.join(QStringLiteral("; "));
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_pictures)
#include "tst_pictures.moc"
