#pragma once

#include <QProcess>
#include <QTimer>

// The quorbel-fetch helper as a source of bytes: started, read in chunks, killed at the deadline. However
// the server misbehaves, this process only ever holds OutputLimit bytes of it.
//
// A read "waits" by running the event loop: the program stays responsive, and other handlers (even a
// second check) may run before it returns.
class FetchProcess
{
public:
    static constexpr qint64 OutputLimit = 64 * 1024;

    FetchProcess(const QString &program, const QStringList &arguments, int timeoutMs);

    // Copies up to length bytes of the helper's output into buffer, waiting for them when none are there
    // yet. Returns 0 at the end of the output, at the deadline and after a failure.
    int read(char *buffer, int length);
    // The helper ended by itself, said it had an answer, and all of it was read.
    bool succeeded() const { return m_ended && m_answered; }
    // The application began to quit while this waited.
    bool interrupted() const { return m_interrupted; }

private:
    void fail();
    void wait();

    QProcess m_process;
    QTimer m_deadline;
    qint64 m_taken = 0;
    bool m_ended = false;
    bool m_answered = false;
    bool m_interrupted = false;
};
