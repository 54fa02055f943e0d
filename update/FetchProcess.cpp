#include "update/FetchProcess.h"

#include <QEventLoop>

FetchProcess::FetchProcess(const QString &program, const QStringList &arguments, int timeoutMs)
{
    m_deadline.setSingleShot(true);
    // A coarse timer may fire 5 % early: a check would give up at 28.5 s.
    m_deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_deadline, &QTimer::timeout, [this] { fail(); });
    QObject::connect(&m_process, &QProcess::finished, [this](int code, QProcess::ExitStatus status) {
        m_answered = !m_ended && status == QProcess::NormalExit && code == 0;
    });
    // Its complaints are no business of the user's.
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(program, arguments, QIODevice::ReadOnly);
    m_deadline.start(timeoutMs);
}

int FetchProcess::read(char *buffer, int length)
{
    while (!m_ended && m_process.bytesAvailable() == 0) {
        if (m_process.state() == QProcess::NotRunning)
            m_ended = true; // finished, or never started
        else
            wait();
    }
    if (m_ended && m_process.bytesAvailable() == 0)
        return 0;
    const qint64 count = m_process.read(buffer, length);
    m_taken += count;
    if (count < 0 || m_taken > OutputLimit) {
        fail();
        return 0;
    }
    return int(count);
}

// No more bytes will come, and none that came count.
void FetchProcess::fail()
{
    m_ended = true;
    m_answered = false;
    m_deadline.stop();
    m_process.kill();
    m_process.waitForFinished(); // at once after a kill: reaped here, not left to warn in the destructor
    m_process.readAll();
}

// Runs the event loop until output, the helper's end or the deadline. The handlers above were connected
// first, so the state is up to date whenever the loop wakes.
void FetchProcess::wait()
{
    QEventLoop loop;
    bool woken = false;
    const auto wake = [&] {
        woken = true;
        loop.quit();
    };
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &loop, wake);
    QObject::connect(&m_process, &QProcess::finished, &loop, wake);
    QObject::connect(&m_process, &QProcess::errorOccurred, &loop, wake);
    QObject::connect(&m_deadline, &QTimer::timeout, &loop, wake);
    loop.exec();
    // Left without a wake-up: the application is quitting, so stop waiting for good.
    if (!woken) {
        m_interrupted = true;
        fail();
    }
}
