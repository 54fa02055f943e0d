#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

// One HTTP GET in three steps: open the address, read the body in chunks, close. The network stack is
// set up by the first open, so a program that never checks for updates never starts it.
//
// A step "waits" by running the event loop: the program stays responsive, and other handlers (even a
// second check) may run before it returns.
//
// Where the program is at the mercy of the server, the client draws limits of its own:
// - a status other than success (2xx, after redirects) is no answer: open() fails;
// - the whole transfer, from open() to the end of the body, ends after transferTimeout();
// - at most BodyLimit bytes of a body are kept; bytes past it are not read;
// - redirects are followed only when they are no less safe (never from https to http);
// - the body is asked for uncompressed and never taken from a cache;
// - the desktop's proxy settings are used, nothing else.
class HttpClient
{
public:
    static constexpr int DefaultTransferTimeoutMs = 30000;
    static constexpr qint64 BodyLimit = 64 * 1024;

    explicit HttpClient(const QString &agent);
    ~HttpClient();

    // Sends the GET, bypassing every cache, and waits for the status. False when no successful answer
    // came: bad or non-HTTP address, unknown host, refused, time-out, an error status.
    bool open(const QString &address);
    // Copies up to length bytes of the body into buffer, waiting for them when none are there yet.
    // Returns 0 at the end of the body, after a failure, and when nothing is open.
    int read(char *buffer, int length);
    void close();

    static int transferTimeout();
    static void setTransferTimeout(int milliseconds);

private:
    void take();
    void end();
    void waitUntil(const std::function<bool()> &done);

    QString m_agent;
    std::unique_ptr<QNetworkAccessManager> m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QByteArray m_body; // everything kept so far, at most BodyLimit bytes
    qsizetype m_readPos = 0;
    bool m_ended = true; // no more bytes will come
};
