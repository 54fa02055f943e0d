#include "app/frmMenu.h"
#include "patterns/PatternForm.h"
#include "platform/ErrorBoundary.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <set>

// Screens nobody designs for: a single pixel, no height at all, 16384 pixels square, and twips per
// pixel of 12 and 7.5. Every test opens from its button, shows its pattern over the whole screen in
// its own colours, and Esc brings the main window back; no handler fails. Each row runs this program
// again on an offscreen platform with that screen.
namespace {

constexpr int OpenTimeoutMs = 120000;

enum class Kind { Solid, TwoTone, Bars, Greys, Columns };

struct TestButton
{
    const char *button;
    Kind kind;
    QRgb solid; // Solid only
};

const TestButton Buttons[] = {
    { "cmdBoxes", Kind::TwoTone, 0 },
    { "cmdCircles", Kind::TwoTone, 0 },
    { "cmdColors", Kind::Bars, 0 },
    { "cmdCrosshairs", Kind::TwoTone, 0 },
    { "cmdVerticalLines", Kind::Columns, 0 },
    { "cmdDiagonalLines", Kind::TwoTone, 0 },
    { "cmdRed", Kind::Solid, qRgb(255, 0, 0) },
    { "cmdGreen", Kind::Solid, qRgb(0, 255, 0) },
    { "cmdBlue", Kind::Solid, qRgb(0, 0, 255) },
    { "cmdBlack", Kind::Solid, qRgb(0, 0, 0) },
    { "cmdWhite", Kind::Solid, qRgb(255, 255, 255) },
    { "cmdGrey50", Kind::Solid, qRgb(128, 128, 128) },
    { "cmdGreys", Kind::Greys, 0 },
};

const std::set<QRgb> BlackAndWhite { qRgb(0, 0, 0), qRgb(255, 255, 255) };
const std::set<QRgb> BarColours { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255),
    qRgb(0, 0, 0), qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(255, 0, 255) };

// Every colour of the picture, found in one pass (they are few in every pattern).
std::set<QRgb> coloursOf(const QImage &image)
{
    std::set<QRgb> colours;
    QRgb last = 0;
    bool any = false;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (!any || c != last) {
                colours.insert(c);
                last = c;
                any = true;
            }
        }
    }
    return colours;
}

QString describe(const std::set<QRgb> &colours)
{
    QStringList names;
    for (QRgb c : colours)
        names << QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    return names.join(QLatin1Char(' '));
}

// What the pattern must look like on any screen; empty when it does.
QString checkPicture(const TestButton &test, const QImage &frame, float tpp)
{
    const std::set<QRgb> colours = coloursOf(frame);
    const bool roomy = frame.width() >= 256 && frame.height() >= 64; // room for the whole pattern
    switch (test.kind) {
    case Kind::Solid:
        if (!frame.isNull() && colours != std::set<QRgb> { test.solid | 0xFF000000u })
            return QStringLiteral("not one plain colour: ") + describe(colours);
        return QString();
    case Kind::TwoTone:
    case Kind::Columns:
        for (QRgb c : colours)
            if (!BlackAndWhite.count(c))
                return QStringLiteral("a colour that is neither black nor white: ") + describe(colours);
        if (roomy && colours != BlackAndWhite)
            return QStringLiteral("not both black and white: ") + describe(colours);
        if (test.kind == Kind::Columns) {
            // Lines two device pixels apart, the first in column 0, whatever the twips per pixel.
            for (int x = 0; x < frame.width(); ++x) {
                const QRgb want = x % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
                if (TestSupport::countNot(frame, want, QRect(x, 0, 1, frame.height())) != 0)
                    return QStringLiteral("column %1 is not all %2").arg(x).arg(x % 2 ? "white" : "black");
            }
        }
        return QString();
    case Kind::Bars:
        for (QRgb c : colours)
            if (!BarColours.count(c))
                return QStringLiteral("a colour that is no bar's: ") + describe(colours);
        if (roomy && colours != BarColours)
            return QStringLiteral("not all eight colours: ") + describe(colours);
        return QString();
    case Kind::Greys: {
        for (QRgb c : colours)
            if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c))
                return QStringLiteral("a colour that is no grey: ") + describe(colours);
        if (frame.isNull())
            return QString();
        // Black at the left edge, lighter to the right; columns no line lands on keep the white
        // background.
        int last = -1;
        for (int x = 0; x < frame.width(); ++x) {
            const int level = qRed(frame.pixel(x, 0));
            // Under 128 pixels a level gets no column at all (the width / 255 rounds to 0).
            if (x == 0 && level != 0 && frame.width() >= 128)
                return QStringLiteral("the ramp does not start black");
            if (level == 255)
                continue;
            if (level < last)
                return QStringLiteral("level %1 after %2 in column %3").arg(level).arg(last).arg(x);
            last = level;
        }
        // The lines advance by the twips per pixel rounded to whole twips (7.5 becomes 8), which
        // stretches the ramp by that ratio: all 256 levels fit only when the step is whole.
        const double step = std::nearbyint(double(tpp));
        const int wanted = int(256 * double(tpp) / step);
        if (frame.width() >= 1024 && int(colours.size()) < wanted)
            return QStringLiteral("%1 grey levels, not %2").arg(colours.size()).arg(wanted);
        return QString();
    }
    }
    return QStringLiteral("unknown pattern");
}

// The child's failures with their details, short enough to be shown whole.
QByteArray failures(const QByteArray &output)
{
    QByteArray shown;
    bool inFailure = false;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("FAIL!") || line.startsWith("Totals"))
            inFailure = true;
        else if (!line.startsWith("   "))
            inFailure = false;
        if (inFailure)
            shown += line + '\n';
    }
    return shown.isEmpty() ? output.right(2000) : shown;
}

PatternForm *modalPattern()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<PatternForm *>(w))
            if (p->isModalShowing() && p->isVisible())
                return p;
    return nullptr;
}

} // namespace

class tst_badscreens : public QObject
{
    Q_OBJECT
private slots:
    void everyTestOnScreen_data();
    void everyTestOnScreen();

    void initTestCase();
    void child_data();
    void child();
};

void tst_badscreens::everyTestOnScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<float>("twipsPerPixel");
    QTest::addColumn<QString>("only"); // a comma-separated list of buttons, or all of them
#if defined(__SANITIZE_ADDRESS__)
    // Checked memory makes drawing lines over a gigabyte take minutes: the windows of filled shapes.
    const QString everyWindow = QStringLiteral("cmdBoxes,cmdColors,cmdCrosshairs,cmdRed");
    const QString tppWindows = QStringLiteral("cmdCrosshairs");
#else
    const QString everyWindow = QStringLiteral(
        "cmdBoxes,cmdCircles,cmdColors,cmdCrosshairs,cmdVerticalLines,cmdDiagonalLines,cmdRed,cmdGreys");
    const QString tppWindows = QStringLiteral("cmdCrosshairs,cmdGreys");
#endif
    QTest::newRow("1024x768 at 12 twips per pixel") << QSize(1024, 768) << 12.f << QString();
    QTest::newRow("1024x768 at 7.5 twips per pixel") << QSize(1024, 768) << 7.5f << QString();
    QTest::newRow("1x1") << QSize(1, 1) << 15.f << QString();
    QTest::newRow("1x1 at 7.5 twips per pixel") << QSize(1, 1) << 7.5f << QString();
    QTest::newRow("no height, 1024x0") << QSize(1024, 0) << 15.f << QString();
    QTest::newRow("no width, 0x768") << QSize(0, 768) << 15.f << QString();
    QTest::newRow("no height at 12 twips per pixel") << QSize(1024, 0) << 12.f << QString();
    // Each picture is a gigabyte here: the eight windows once, not all thirteen tests.
    QTest::newRow("16384x16384") << QSize(16384, 16384) << 15.f << everyWindow;
    QTest::newRow("16384x16384 at 7.5 twips per pixel") << QSize(16384, 16384) << 7.5f << tppWindows;
}

void tst_badscreens::everyTestOnScreen()
{
    if (!qEnvironmentVariableIsEmpty("QRBL_CHILD_SCREEN"))
        QSKIP("this is the child");
    QFETCH(QSize, screen);
    QFETCH(float, twipsPerPixel);
    QFETCH(QString, only);

    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral(R"({"screens":[{"name":"s","x":0,"y":0,"width":%1,"height":%2,)"
                              R"("logicalDpi":96,"logicalBaseDpi":96}]})")
                   .arg(screen.width())
                   .arg(screen.height())
                   .toUtf8());
    file.close();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QStringLiteral("QRBL_CHILD_SCREEN"),
        QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()));
    env.insert(QStringLiteral("QRBL_CHILD_TWIPS_PER_PIXEL"), QString::number(double(twipsPerPixel)));
    env.insert(QStringLiteral("QRBL_CHILD_ONLY"), only);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("child") });
    QVERIFY(child.waitForFinished(OpenTimeoutMs * 3));
    const QByteArray output = child.readAll();
    QVERIFY2(
        child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, failures(output).constData());
    QVERIFY2(output.contains(", 0 failed,"), failures(output).constData());
    QVERIFY2(!output.contains("SKIP   : tst_badscreens::child("), output.constData());
}

void tst_badscreens::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("QRBL_CHILD_SCREEN"))
        return;
    TestSupport::freshSettings();
    TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");
    Screen::setTwipsPerPixel(qEnvironmentVariable("QRBL_CHILD_TWIPS_PER_PIXEL").toFloat(),
        qEnvironmentVariable("QRBL_CHILD_TWIPS_PER_PIXEL").toFloat());
}

void tst_badscreens::child_data()
{
    QTest::addColumn<int>("index");
    const QStringList only
        = qEnvironmentVariable("QRBL_CHILD_ONLY").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int i = 0; i < int(std::size(Buttons)); ++i)
        if (only.isEmpty() || only.contains(QLatin1String(Buttons[i].button)))
            QTest::newRow(Buttons[i].button) << i;
}

void tst_badscreens::child()
{
    const QString screenSize = qEnvironmentVariable("QRBL_CHILD_SCREEN");
    if (screenSize.isEmpty())
        QSKIP("run as a child process with its own screen");
    QFETCH(int, index);
    const TestButton &test = Buttons[index];
    const QStringList wh = screenSize.split(QLatin1Char('x'));
    const QSize device(wh[0].toInt(), wh[1].toInt());
    const float tpp = qEnvironmentVariable("QRBL_CHILD_TWIPS_PER_PIXEL").toFloat();

    frmMenu &menu = form<frmMenu>();
    menu.Show();
    const int errorsBefore = ErrorBoundary::reportCount();

    bool opened = false;
    QSize deviceSize;
    QSize frameSize;
    float widthTwips = -1;
    float heightTwips = -1;
    QString problem;
    QTimer poll;
    poll.setInterval(5);
    connect(&poll, &QTimer::timeout, [&] {
        PatternForm *f = modalPattern();
        if (!f)
            return;
        poll.stop();
        opened = true;
        deviceSize = f->deviceSize();
        widthTwips = f->Width();
        heightTwips = f->Height();
        const QImage frame = f->frame();
        frameSize = frame.size();
        problem = checkPicture(test, frame, tpp);
        TestSupport::pressEsc(f);
    });
    poll.start();
    QElapsedTimer clock;
    clock.start();
    menu.client()->findChild<QPushButton *>(QLatin1String(test.button))->click();
    const qint64 elapsed = clock.elapsed();
    poll.stop();

    QVERIFY(opened);
    QCOMPARE(deviceSize, device);
    QCOMPARE(frameSize, device.isEmpty() ? QSize(0, 0) : device); // no pixels: an empty picture
    QCOMPARE(widthTwips, float(device.width()) * tpp);
    QCOMPARE(heightTwips, float(device.height()) * tpp);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(ErrorBoundary::reportCount() == errorsBefore, qPrintable(ErrorBoundary::lastReport()));
    QVERIFY2(elapsed < OpenTimeoutMs, qPrintable(QString::number(elapsed)));
    // Esc closed it and the main window is back.
    TestSupport::flushDeletes();
    QVERIFY(!modalPattern());
    QCOMPARE(Form::loadedCount(), 1);
    QVERIFY(menu.isVisible());
    qInfo("%s: %lld ms", test.button, elapsed);
}

QTEST_MAIN(tst_badscreens)
#include "tst_badscreens.moc"
