#include "app/Options.h"
#include "platform/Convert.h"
#include "platform/RuntimeError.h"

#include <QtTest>

#include <QElapsedTimer>

#include <cmath>
#include <limits>

class tst_conversions : public QObject
{
    Q_OBJECT
private slots:
    void toInt16_data();
    void toInt16();
    void toInt16Overflow_data();
    void toInt16Overflow();
    void toInt32_data();
    void toInt32();
    void toInt32Overflow_data();
    void toInt32Overflow();
    void checkedAdditions();
    void parseNumber_data();
    void parseNumber();
    void toSingle();
    void storedOption_data();
    void storedOption();
};

void tst_conversions::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("exact") << 15360.0 << 15360;
    QTest::newRow("half to even down") << 2.5 << 2;
    QTest::newRow("half to even up") << 3.5 << 4;
    QTest::newRow("1.5 rounds to 2") << 1.5 << 2;
    QTest::newRow("0.5 rounds to 0") << 0.5 << 0;
    QTest::newRow("negative half") << -2.5 << -2;
    QTest::newRow("just under half") << 2.4999 << 2;
    QTest::newRow("just over half") << 2.5001 << 3;
    QTest::newRow("32766.5 to 32766") << 32766.5 << 32766;
    QTest::newRow("32765.5 to 32766") << 32765.5 << 32766;
    QTest::newRow("largest") << 32767.4 << 32767;
    QTest::newRow("smallest") << -32768.5 << -32768;
}

void tst_conversions::toInt16()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(int(Convert::toInt16(value)), expected);
}

void tst_conversions::toInt16Overflow_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("32767.5") << 32767.5;
    QTest::newRow("32768") << 32768.0;
    QTest::newRow("-32769") << -32769.0;
    QTest::newRow("-32768.51") << -32768.51;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("nan") << std::nan("");
}

void tst_conversions::toInt16Overflow()
{
    QFETCH(double, value);
    try {
        Convert::toInt16(value);
        QFAIL("no overflow raised");
    } catch (const RuntimeError &e) {
        QCOMPARE(e.code(), RuntimeError::Overflow);
    }
}

void tst_conversions::toInt32_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    // Everything the 16-bit conversion accepted converts the same way.
    QTest::newRow("32766.5") << 32766.5 << qint64(32766);
    QTest::newRow("32765.5") << 32765.5 << qint64(32766);
    QTest::newRow("32767.5 now fits") << 32767.5 << qint64(32768);
    QTest::newRow("8K width in twips") << 115200.0 << qint64(115200);
    QTest::newRow("half to even") << 100000.5 << qint64(100000);
    QTest::newRow("largest") << 2147483647.4 << qint64(2147483647);
    QTest::newRow("smallest") << -2147483648.5 << qint64(-2147483648LL);
}

void tst_conversions::toInt32()
{
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QCOMPARE(qint64(Convert::toInt32(value)), expected);
}

void tst_conversions::toInt32Overflow_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("2^31 - 0.5") << 2147483647.5;
    QTest::newRow("2^31") << 2147483648.0;
    QTest::newRow("-2^31 - 1") << -2147483649.0;
}

void tst_conversions::toInt32Overflow()
{
    QFETCH(double, value);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Convert::toInt32(value));
}

void tst_conversions::checkedAdditions()
{
    QCOMPARE(int(Convert::add16(32737, 30)), 32767);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Convert::add16(32761, 30));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Convert::add16(-32768, -1));
    QCOMPARE(Convert::add32(32761, 30), 32791);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Convert::add32(std::numeric_limits<int32_t>::max(), 1));
}

void tst_conversions::toSingle()
{
    // Held in single precision: W = 32767 gives dx = 1638.35 as 1638.3499755859375.
    QCOMPARE(double(Convert::toSingle(32767 / 20.0)), 1638.3499755859375);
    QCOMPARE(double(Convert::toSingle(15345 / 20.0)), 767.25);
}

void tst_conversions::storedOption_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("isOne");
    QTest::addColumn<bool>("isZero");
    QTest::newRow("1") << "1" << true << false;
    QTest::newRow("0") << "0" << false << true;
    QTest::newRow("1.0") << "1.0" << true << false;
    QTest::newRow("blanks around 1") << " 1 " << true << false;
    QTest::newRow("2") << "2" << false << false;
    QTest::newRow("-1") << "-1" << false << false;
    QTest::newRow("0.0") << "0.0" << false << true;
    QTest::newRow("letters") << "yes" << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("garbage bytes") << QString::fromLatin1("\x01\xff\x80z") << false << false;
    QTest::newRow("number then letters") << "1abc" << false << false;
    QTest::newRow("infinity text") << "inf" << false << false;
}

void tst_conversions::storedOption()
{
    QFETCH(QString, stored);
    QFETCH(bool, isOne);
    QFETCH(bool, isZero);
    QCOMPARE(Options::equals(stored, 1), isOne);
    QCOMPARE(Options::equals(stored, 0), isZero);
}

void tst_conversions::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    const int n = 10 * 1024 * 1024; // what a broken settings file can hold in one value
    const QString zeros(n, QLatin1Char('0'));
    QTest::newRow("1") << QStringLiteral("1") << true << 1.0;
    QTest::newRow("blanks around 1.0") << QStringLiteral(" 1.0 ") << true << 1.0;
    QTest::newRow("+0") << QStringLiteral("+0") << true << 0.0;
    QTest::newRow("letters") << QStringLiteral("yes") << false << 0.0;
    QTest::newRow("ten million ones: too large") << QString(n, QLatin1Char('1')) << false << 0.0;
    QTest::newRow("1. and ten million zeros") << QStringLiteral("1.") + zeros << true << 1.0;
    QTest::newRow("ten million zeros, then 1") << zeros + QStringLiteral("1") << true << 1.0;
    QTest::newRow("+0. and ten million zeros") << QStringLiteral("+0.") + zeros << true << 0.0;
    QTest::newRow("-2.5e0 after ten million zeros")
        << QStringLiteral("-") + zeros + QStringLiteral("2.5e0") << true << -2.5;
    QTest::newRow("1 and ten million zeros, then e-10485760")
        << QStringLiteral("1") + zeros + QStringLiteral("e-10485760") << true << 1.0;
    QTest::newRow("ten million digits and a letter") << zeros + QStringLiteral("x") << false << 0.0;
    QTest::newRow("ten million digits, two points")
        << QStringLiteral("1.") + zeros + QStringLiteral(".") << false << 0.0;
    QTest::newRow("ten million x") << QString(n, QLatin1Char('x')) << false << 0.0;
}

// Whatever the text, an answer in well under a second.
void tst_conversions::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    QElapsedTimer clock;
    clock.start();
    const std::optional<double> parsed = Convert::parseNumber(text);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(parsed.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*parsed, value);
}

QTEST_GUILESS_MAIN(tst_conversions)
#include "tst_conversions.moc"
