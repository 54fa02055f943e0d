#include "app/frmMenu.h"
#include "patterns/frmOneColor.h"
#include "platform/Screen.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <QProcess>
#include <QPushButton>
#include <QScreen>

// Patterns open full screen on the monitor that holds the main window, in that monitor's own pixels.
// Each row runs this program again on an offscreen platform with the row's screens.
class tst_screens : public QObject
{
    Q_OBJECT
private slots:
    void solidColourFillsTheMainWindowsMonitor_data();
    void solidColourFillsTheMainWindowsMonitor();
    void child();
};

void tst_screens::solidColourFillsTheMainWindowsMonitor_data()
{
    QTest::addColumn<QString>("screens");
    QTest::addColumn<int>("mainOn");
    QTest::addColumn<QSize>("deviceSize");
    const QString one = QStringLiteral(
        R"({"name":"a","x":0,"y":0,"width":%1,"height":%2,"logicalDpi":%3,"logicalBaseDpi":96})");
    const QString two = QStringLiteral(
        R"({"name":"b","x":%1,"y":0,"width":%2,"height":%3,"logicalDpi":%4,"logicalBaseDpi":96})");
    QTest::newRow("1024x768") << one.arg(1024).arg(768).arg(96) << 0 << QSize(1024, 768);
    QTest::newRow("odd 1365x767") << one.arg(1365).arg(767).arg(96) << 0 << QSize(1365, 767);
    QTest::newRow("portrait 768x1024") << one.arg(768).arg(1024).arg(96) << 0 << QSize(768, 1024);
    QTest::newRow("4K at scale 2") << one.arg(3840).arg(2160).arg(192) << 0 << QSize(3840, 2160);
    QTest::newRow("1080p at scale 1.5") << one.arg(1920).arg(1080).arg(144) << 0 << QSize(1920, 1080);
    QTest::newRow("8K") << one.arg(7680).arg(4320).arg(96) << 0 << QSize(7680, 4320);
    QTest::newRow("two screens, main on the first")
        << one.arg(1920).arg(1080).arg(96) + QLatin1Char(',') + two.arg(1920).arg(2560).arg(1440).arg(192)
        << 0 << QSize(1920, 1080);
    QTest::newRow("two screens, main on the second")
        << one.arg(1920).arg(1080).arg(96) + QLatin1Char(',') + two.arg(1920).arg(2560).arg(1440).arg(192)
        << 1 << QSize(2560, 1440);
}

void tst_screens::solidColourFillsTheMainWindowsMonitor()
{
    QFETCH(QString, screens);
    QFETCH(int, mainOn);
    QFETCH(QSize, deviceSize);
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral(R"({"screens":[%1]})").arg(screens).toUtf8());
    file.close();

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QStringLiteral("QRBL_CHILD_MAIN_SCREEN"), QString::number(mainOn));
    env.insert(QStringLiteral("QRBL_CHILD_DEVICE_SIZE"),
        QStringLiteral("%1x%2").arg(deviceSize.width()).arg(deviceSize.height()));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("child") });
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : tst_screens::child()"), output.constData());
}

void tst_screens::child()
{
    if (qEnvironmentVariableIsEmpty("QRBL_CHILD_MAIN_SCREEN"))
        QSKIP("run as a child process with its own screens");
    const int mainOn = qEnvironmentVariableIntValue("QRBL_CHILD_MAIN_SCREEN");
    const QStringList size = qEnvironmentVariable("QRBL_CHILD_DEVICE_SIZE").split(QLatin1Char('x'));
    const QSize deviceSize(size[0].toInt(), size[1].toInt());
    TestSupport::freshSettings();
    TestSupport::writeSettingsFile("[Options]\nShowInfo=0\n");

    QScreen *target = QGuiApplication::screens().at(mainOn);
    frmMenu &menu = form<frmMenu>();
    menu.move(target->geometry().topLeft() + QPoint(20, 20));
    menu.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QCOMPARE(menu.screen(), target);
    QCOMPARE(Screen::Width(), float(deviceSize.width()) * 15.0f);

    QRect geometry;
    QScreen *on = nullptr;
    QSize frameSize;
    qint64 wrongFrame = -1;
    qint64 wrongScreen = -1;
    float widthTwips = 0;
    TestSupport::whenModal<frmOneColor>([&](frmOneColor &f) {
        geometry = f.geometry();
        on = f.screen();
        frameSize = f.frame().size();
        widthTwips = f.Width();
        wrongFrame = TestSupport::countNot(f.frame(), qRgb(0, 255, 0));
        QImage shown = f.grab().toImage();
        wrongScreen = shown.size() == deviceSize ? TestSupport::countNot(shown, qRgb(0, 255, 0)) : -2;
        TestSupport::pressEsc(&f);
    });
    menu.cmdGreen->click();
    QCOMPARE(on, target);
    QCOMPARE(geometry, target->geometry());
    QCOMPARE(frameSize, deviceSize);
    QCOMPARE(widthTwips, float(deviceSize.width()) * 15.0f);
    QCOMPARE(wrongFrame, 0);
    QCOMPARE(wrongScreen, 0);
}

QTEST_MAIN(tst_screens)
#include "tst_screens.moc"
