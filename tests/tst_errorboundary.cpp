// An error raised in a handler ends that handler, not the program, and says so in one line on stderr.
#include "platform/Application.h"
#include "platform/Convert.h"
#include "platform/ErrorBoundary.h"
#include "platform/Form.h"

#include <QtTest>

#include <QProcess>
#include <QPushButton>

namespace {
// A form whose button does some work, then meets the overflow error.
class ThrowingForm : public Form
{
public:
    ThrowingForm()
    {
        cmdGo = new QPushButton(QStringLiteral("Go"), this);
        connect(cmdGo, &QPushButton::clicked, this, handler("cmdGo_Click", &ThrowingForm::cmdGo_Click));
    }
    QPushButton *cmdGo;
    int stepsDone = 0;

private:
    void cmdGo_Click()
    {
        ++stepsDone;
        Convert::toInt16(40000.0);
        ++stepsDone;
    }
};
} // namespace

class tst_errorboundary : public QObject
{
    Q_OBJECT
private slots:
    void oneLineAndTheProgramGoesOn()
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QRBL_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("child") });
        QVERIFY(child.waitForFinished(30000));
        const QByteArray out = child.readAllStandardOutput();
        QVERIFY2(child.exitCode() == 0 && out.contains("PASS   : tst_errorboundary::child()"), out.constData());
        QList<QByteArray> ours;
        for (const QByteArray &line : child.readAllStandardError().split('\n'))
            if (line.startsWith("quorbel:"))
                ours << line;
        QCOMPARE(ours, QList<QByteArray> { "quorbel: error in cmdGo_Click: Overflow" });
    }

    void child()
    {
        if (qEnvironmentVariableIsEmpty("QRBL_CHILD"))
            QSKIP("runs as the child of oneLineAndTheProgramGoesOn");
        ThrowingForm &f = form<ThrowingForm>();
        f.Show();
        f.cmdGo->click();
        // The work before the error stays, the rest of the handler is skipped, the window stays up.
        QCOMPARE(f.stepsDone, 1);
        QVERIFY(isLoaded<ThrowingForm>() && f.isVisible());
        QCOMPARE(ErrorBoundary::reportCount(), 1);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    tst_errorboundary test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorboundary.moc"
