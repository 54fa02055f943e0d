#include "platform/Application.h"
#include "platform/Convert.h"
#include "platform/ErrorBoundary.h"
#include "platform/Form.h"

#include <QtTest>

#include <QProcess>
#include <QPushButton>

namespace {
// A form whose handlers do some work, then raise the overflow error.
class ThrowingForm : public Form
{
public:
    ThrowingForm()
    {
        cmdGo = new QPushButton(QStringLiteral("Go"), this);
        connect(cmdGo, &QPushButton::clicked, this, handler("cmdGo_Click", &ThrowingForm::cmdGo_Click));
        resize(200, 100);
    }
    QPushButton *cmdGo;
    int stepsDone = 0;
    int resizes = 0;
    int keys = 0;

protected:
    void Form_Resize() override
    {
        ++resizes;
        Convert::toInt16(double(width()) * 1000.0);
    }
    void Form_KeyPress(int &KeyAscii) override
    {
        keys += KeyAscii;
        Convert::add16(32767, 1);
    }

private:
    void cmdGo_Click()
    {
        ++stepsDone;
        Convert::toInt16(40000.0);
        ++stepsDone; // never reached
    }
};

// Not wired through a handler at all: the application's last line catches it.
class RawWidget : public QWidget
{
protected:
    void mousePressEvent(QMouseEvent *) override { throw std::runtime_error("raw failure"); }
};
} // namespace

class tst_errorboundary : public QObject
{
    Q_OBJECT
private slots:
    void handlerErrorEndsOnlyTheHandler();
    void resizeAndKeyErrorsAreContained();
    void unwrappedEventErrorIsContained();
    void reportsOneLineOnStderr();
    void childThrows();
    void childRawEvent();
};

void tst_errorboundary::handlerErrorEndsOnlyTheHandler()
{
    ThrowingForm &f = form<ThrowingForm>();
    f.Show();
    const int before = ErrorBoundary::reportCount();
    f.cmdGo->click();
    QCOMPARE(f.stepsDone, 1); // the work done before the error stays
    QCOMPARE(ErrorBoundary::reportCount(), before + 1);
    QCOMPARE(ErrorBoundary::lastReport(), QStringLiteral("cmdGo_Click: Overflow"));
    f.cmdGo->click(); // and the program goes on
    QCOMPARE(f.stepsDone, 2);
    QVERIFY(isLoaded<ThrowingForm>());
    unload<ThrowingForm>();
}

void tst_errorboundary::resizeAndKeyErrorsAreContained()
{
    ThrowingForm &f = form<ThrowingForm>();
    f.Show();
    const int before = ErrorBoundary::reportCount();
    f.resize(300, 120);
    QTest::keyClick(&f, Qt::Key_A);
    QVERIFY(f.resizes >= 1);
    QCOMPARE(f.keys, int('a'));
    QVERIFY(ErrorBoundary::reportCount() >= before + 2);
    QCOMPARE(ErrorBoundary::lastReport(), QStringLiteral("Form_KeyPress: Overflow"));
    QVERIFY(f.isVisible());
    unload<ThrowingForm>();
}

void tst_errorboundary::unwrappedEventErrorIsContained()
{
    // Unwinding through Qt's own event delivery strands a few of Qt's objects, so this last-resort
    // path runs in a child where the leak checker is off; what it checks is that the program goes on.
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QRBL_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("childRawEvent") });
    QVERIFY(child.waitForFinished(30000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitCode() == 0, output.constData());
    QVERIFY2(output.contains("PASS   : tst_errorboundary::childRawEvent()"), output.constData());
}

void tst_errorboundary::childRawEvent()
{
    if (qEnvironmentVariableIsEmpty("QRBL_CHILD"))
        QSKIP("run as a child process by unwrappedEventErrorIsContained");
    RawWidget w;
    w.resize(50, 50);
    w.show();
    const int before = ErrorBoundary::reportCount();
    QTest::mouseClick(&w, Qt::LeftButton);
    QCOMPARE(ErrorBoundary::reportCount(), before + 1);
    QCOMPARE(ErrorBoundary::lastReport(), QStringLiteral("event: raw failure"));
    QTest::mouseClick(&w, Qt::LeftButton);
    QCOMPARE(ErrorBoundary::reportCount(), before + 2);
}

void tst_errorboundary::reportsOneLineOnStderr()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QRBL_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("childThrows") });
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    const QList<QByteArray> ours = [&] {
        QList<QByteArray> lines;
        for (const QByteArray &line : child.readAllStandardError().split('\n'))
            if (line.startsWith("quorbel:"))
                lines << line;
        return lines;
    }();
    QCOMPARE(ours, QList<QByteArray> { "quorbel: error in cmdGo_Click: Overflow" });
}

void tst_errorboundary::childThrows()
{
    if (qEnvironmentVariableIsEmpty("QRBL_CHILD"))
        QSKIP("run as a child process by reportsOneLineOnStderr");
    form<ThrowingForm>().cmdGo->click();
    QCOMPARE(form<ThrowingForm>().stepsDone, 1);
}

int main(int argc, char **argv)
{
    Application app(argc, argv);
    tst_errorboundary test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorboundary.moc"
