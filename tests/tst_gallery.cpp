// The README's gallery is what the program draws today: the picture tool renders every picture again
// and the patterns must match the committed ones pixel for pixel.
#include "support/TestSupport.h"

#include <QtTest>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The thirteen tests, as the gallery names their pictures.
const QStringList Tests { QStringLiteral("boxes"), QStringLiteral("circles"), QStringLiteral("colors"),
    QStringLiteral("crosshairs"), QStringLiteral("vertical-lines"), QStringLiteral("diagonal-lines"),
    QStringLiteral("red"), QStringLiteral("green"), QStringLiteral("blue"), QStringLiteral("black"),
    QStringLiteral("white"), QStringLiteral("grey-50"), QStringLiteral("greys") };

struct Run
{
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

Run render(const QStringList &args)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("QRBL_RENDER"), args);
    Run run;
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = tool.exitCode();
    run.output = tool.readAllStandardOutput();
    run.errors = tool.readAllStandardError();
    return run;
}

QStringList pngNames(const QDir &dir)
{
    QStringList names = dir.entryList({ QStringLiteral("*.png") }, QDir::Files);
    for (QString &name : names)
        name.chop(4);
    names.sort();
    return names;
}

QString hex(QRgb c)
{
    return QStringLiteral("#%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

} // namespace

class tst_gallery : public QObject
{
    Q_OBJECT

    QDir m_committed;
    QTemporaryDir m_fresh;

private slots:
    void initTestCase()
    {
        QVERIFY2(
            QFileInfo(qEnvironmentVariable("QRBL_RENDER")).isExecutable(), "QRBL_RENDER names no program");
        m_committed = QDir(qEnvironmentVariable("QRBL_TEST_SOURCE_DIR") + QStringLiteral("/../docs/gallery"));
        QVERIFY2(m_committed.exists(), qPrintable(m_committed.path()));
        // Rendered again on a screen the size the committed patterns were made for.
        const QSize size = QImage(m_committed.filePath(QStringLiteral("boxes.png"))).size();
        QVERIFY(!size.isEmpty());
        QVERIFY(m_fresh.isValid());
        const Run run
            = render({ QStringLiteral("--size"), QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                QStringLiteral("--out"), m_fresh.path() });
        QVERIFY2(run.exitCode == 0, run.errors.constData());
    }

    // Nothing stale in the gallery and nothing missing from it, every one of the thirteen tests included.
    void everyPictureIsCommitted()
    {
        const Run list = render({ QStringLiteral("--list") });
        QCOMPARE(list.exitCode, 0);
        QStringList offered = QString::fromUtf8(list.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        offered.sort();
        for (const QString &test : Tests)
            QVERIFY2(offered.contains(test), qPrintable(test));
        QCOMPARE(pngNames(QDir(m_fresh.path())), offered);
        QCOMPARE(pngNames(m_committed), offered);
    }

    void patternsArePixelIdentical_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &test : Tests)
            QTest::newRow(qPrintable(test)) << test;
    }

    // Decoded pixels, not file bytes: another PNG encoder may pack the same picture differently.
    void patternsArePixelIdentical()
    {
        QFETCH(QString, name);
        const QImage committed = QImage(m_committed.filePath(name + QStringLiteral(".png")))
                                     .convertToFormat(QImage::Format_RGB32);
        const QImage fresh = QImage(QDir(m_fresh.path()).filePath(name + QStringLiteral(".png")))
                                 .convertToFormat(QImage::Format_RGB32);
        QVERIFY(!committed.isNull());
        QVERIFY(!fresh.isNull());
        QCOMPARE(fresh.size(), committed.size());
        qint64 differing = 0;
        QString first;
        for (int y = 0; y < fresh.height(); ++y) {
            const auto *a = reinterpret_cast<const QRgb *>(committed.constScanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(fresh.constScanLine(y));
            for (int x = 0; x < fresh.width(); ++x) {
                if ((a[x] | 0xFF000000) == (b[x] | 0xFF000000))
                    continue;
                if (differing++ == 0)
                    first = QStringLiteral("(%1, %2): committed %3, drawn now %4")
                                .arg(x)
                                .arg(y)
                                .arg(hex(a[x]), hex(b[x]));
            }
        }
        QVERIFY2(differing == 0,
            qPrintable(QStringLiteral("%1 pixels differ, the first at %2; if the change is meant, "
                                      "`make gallery` and commit the pictures")
                           .arg(differing)
                           .arg(first)));
    }

    void windowsKeepTheirSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("widthDesigned");
        QTest::addColumn<bool>("heightDesigned");
        // Text in windows follows the installed fonts and style, so only the size is compared, and only
        // where the window's design fixes it in twips.
        QTest::newRow("main window: the menu bar's height follows the font")
            << QStringLiteral("main-window") << true << false;
        QTest::newRow("pre-test message") << QStringLiteral("pre-test-message") << true << true;
        QTest::newRow("help") << QStringLiteral("help") << true << true;
        QTest::newRow("about") << QStringLiteral("about") << true << true;
        QTest::newRow("update dialog") << QStringLiteral("update") << true << true;
        QTest::newRow("latest version message, sized by its text")
            << QStringLiteral("update-latest") << false << false;
        QTest::newRow("not responding message, sized by its text")
            << QStringLiteral("update-not-responding") << false << false;
    }

    void windowsKeepTheirSize()
    {
        QFETCH(QString, name);
        QFETCH(bool, widthDesigned);
        QFETCH(bool, heightDesigned);
        const QImage committed(m_committed.filePath(name + QStringLiteral(".png")));
        const QImage fresh(QDir(m_fresh.path()).filePath(name + QStringLiteral(".png")));
        QVERIFY(!committed.isNull());
        QVERIFY(!fresh.isNull());
        if (widthDesigned)
            QCOMPARE(fresh.width(), committed.width());
        if (heightDesigned)
            QCOMPARE(fresh.height(), committed.height());
        // A picture of the window's content, not an empty surface.
        QVERIFY(TestSupport::countNot(fresh, fresh.pixel(0, 0)) > 0);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<QSize>("size");
        QTest::newRow("chosen pictures at a chosen size")
            << QStringList { QStringLiteral("--size"), QStringLiteral("321x203"), QStringLiteral("greys"),
                   QStringLiteral("red") }
            << true << QStringList { QStringLiteral("greys"), QStringLiteral("red") } << QSize(321, 203);
        QTest::newRow("unknown name") << QStringList { QStringLiteral("boxes"), QStringLiteral("nosuch") }
                                      << false << QStringList() << QSize();
        QTest::newRow("size of zero") << QStringList { QStringLiteral("--size"), QStringLiteral("0x200") }
                                      << false << QStringList() << QSize();
        QTest::newRow("size without height")
            << QStringList { QStringLiteral("--size"), QStringLiteral("640") } << false << QStringList()
            << QSize();
        QTest::newRow("unknown option")
            << QStringList { QStringLiteral("--scale") } << false << QStringList() << QSize();
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, succeeds);
        QFETCH(QStringList, written);
        QFETCH(QSize, size);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const Run run = render(args + QStringList { QStringLiteral("--out"), out.path() });
        QVERIFY2((run.exitCode == 0) == succeeds, run.errors.constData());
        if (!succeeds)
            QVERIFY2(run.errors.startsWith("quorbel-render: "), run.errors.constData());
        QCOMPARE(pngNames(QDir(out.path())), written);
        for (const QString &name : written)
            QCOMPARE(QImage(QDir(out.path()).filePath(name + QStringLiteral(".png"))).size(), size);
    }
};

QTEST_MAIN(tst_gallery)
#include "tst_gallery.moc"
