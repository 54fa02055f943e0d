#include "patterns/modFunctions.h"
#include "platform/RuntimeError.h"
#include "platform/Screen.h"

#include <QElapsedTimer>
#include <QtTest>

#include <ctime>

namespace {

// CPU time this thread has used, to tell sleeping from spinning.
qint64 threadCpuNs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

enum class Routine { TwipsToPixels, PixelsToTwips };

} // namespace

Q_DECLARE_METATYPE(Routine)

class tst_modfunctions : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Screen::setTwipsPerPixel(std::nullopt, std::nullopt); }

    void conversions_data()
    {
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::addColumn<float>("argument");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("overflows");

        const auto t2p = Routine::TwipsToPixels;
        const auto p2t = Routine::PixelsToTwips;
        QTest::newRow("screen width 15360 twips is 1024 pixels") << t2p << 15.f << 15360.f << 1024 << false;
        QTest::newRow("22.5 twips: 1.5 to the even 2") << t2p << 15.f << 22.5f << 2 << false;
        QTest::newRow("37.5 twips: 2.5 to the even 2") << t2p << 15.f << 37.5f << 2 << false;
        QTest::newRow("52.5 twips: 3.5 to the even 4") << t2p << 15.f << 52.5f << 4 << false;
        QTest::newRow("-22.5 twips: -1.5 to the even -2") << t2p << 15.f << -22.5f << -2 << false;
        QTest::newRow("491497.5 twips: 32766.5 to 32766") << t2p << 15.f << 491497.5f << 32766 << false;
        QTest::newRow("491512.4 twips still 32767") << t2p << 15.f << 491512.4f << 32767 << false;
        QTest::newRow("491512.5 twips overflows") << t2p << 15.f << 491512.5f << 0 << true;
        QTest::newRow("-491527.5 twips: -32768.5 to -32768") << t2p << 15.f << -491527.5f << -32768 << false;
        QTest::newRow("-491542.5 twips overflows") << t2p << 15.f << -491542.5f << 0 << true;
        QTest::newRow("15360 twips at 12 per pixel") << t2p << 12.f << 15360.f << 1280 << false;
        QTest::newRow("18 twips at 12 per pixel: 1.5 to 2") << t2p << 12.f << 18.f << 2 << false;

        QTest::newRow("one pixel is 15 twips") << p2t << 15.f << 1.f << 15 << false;
        QTest::newRow("one pixel at 12 per pixel is 12 twips") << p2t << 12.f << 1.f << 12 << false;
        QTest::newRow("2184 pixels are 32760 twips") << p2t << 15.f << 2184.f << 32760 << false;
        QTest::newRow("2184.5 pixels overflow") << p2t << 15.f << 2184.5f << 0 << true;
        QTest::newRow("0.5 pixel: 7.5 to the even 8") << p2t << 15.f << 0.5f << 8 << false;
        QTest::newRow("1.5 pixels: 22.5 to the even 22") << p2t << 15.f << 1.5f << 22 << false;
        QTest::newRow("-1 pixel") << p2t << 15.f << -1.f << -15 << false;
    }

    void conversions()
    {
        QFETCH(Routine, routine);
        QFETCH(float, twipsPerPixel);
        QFETCH(float, argument);
        QFETCH(int, expected);
        QFETCH(bool, overflows);

        // The vertical ratio differs, so a routine reading the wrong axis fails; the ratio changes between
        // rows, so one keeping an old ratio fails too.
        Screen::setTwipsPerPixel(twipsPerPixel, twipsPerPixel + 3);
        const float before = argument;
        try {
            const int result = routine == Routine::TwipsToPixels ? modFunctions::TwipsToPixelsX(argument)
                                                                 : modFunctions::PixelsToTwipsX(argument);
            QVERIFY2(
                !overflows, qPrintable(QStringLiteral("expected the overflow error, got %1").arg(result)));
            QCOMPARE(result, expected);
        } catch (const RuntimeError &e) {
            QVERIFY2(overflows, e.what());
            QCOMPARE(e.code(), RuntimeError::Overflow);
        }
        // Passed by reference, but never changed.
        QCOMPARE(argument, before);
    }

    void waitLasts_data()
    {
        QTest::addColumn<float>("seconds");
        QTest::newRow("0.1 s, as the patterns wait") << 0.1f;
        QTest::newRow("zero returns at once") << 0.f;
        QTest::newRow("negative returns at once") << -1.f;
    }

    void waitLasts()
    {
        QFETCH(float, seconds);
        const qint64 requestedNs = qint64(std::max(0.0, double(seconds)) * 1e9);
        QElapsedTimer timer;
        timer.start();
        const qint64 cpuBefore = threadCpuNs();
        modFunctions::Wait(seconds);
        const qint64 elapsed = timer.nsecsElapsed();
        const qint64 cpu = threadCpuNs() - cpuBefore;

        QVERIFY2(elapsed >= requestedNs, qPrintable(QStringLiteral("returned after %1 ns").arg(elapsed)));
        QVERIFY2(elapsed < requestedNs + 60'000'000,
            qPrintable(QStringLiteral("took %1 ns for %2 ns").arg(elapsed).arg(requestedNs)));
        // Sleeping, not spinning: the thread uses a small part of the interval.
        if (requestedNs > 0)
            QVERIFY2(cpu < requestedNs / 4, qPrintable(QStringLiteral("used %1 ns of CPU").arg(cpu)));
    }
    // That Wait lets no event through is checked where the patterns wait on every resize.
};

QTEST_MAIN(tst_modfunctions)
#include "tst_modfunctions.moc"
