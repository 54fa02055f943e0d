// The network half of HttpClient, in a module of its own: the network libraries load with it on the
// first update check, not when the program starts.
#include "update/HttpBackendApi.h"
#include "update/HttpClient.h"

#include <QEventLoop>
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <cstring>
#include <memory>

namespace {

using Handle = HttpClient::Handle;
constexpr qint64 BodyLimit = HttpClient::BodyLimit;
void httpClose(Handle handle);

int s_timeoutMs = HttpClient::DefaultTransferTimeoutMs;
HttpClient::Handle s_lastHandle = 0;

// The system's proxy settings only; an application-wide proxy set elsewhere is not consulted.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

struct Session
{
    QString agent;
    QPointer<QNetworkAccessManager> manager;
};

struct Transfer
{
    HttpClient::Handle session = 0;
    QPointer<QNetworkReply> reply;
    QTimer deadline;
    QByteArray body; // everything kept so far, at most BodyLimit bytes
    qsizetype readPos = 0;
    bool answered = false; // a status line or body bytes came back
    bool ended = false; // no more bytes will come
    bool failed = false; // ended by a failure, not by the end of the body
    QObject guard; // context of the reply's connections: they die with the transfer
};

QHash<HttpClient::Handle, std::shared_ptr<Session>> s_sessions;
QHash<HttpClient::Handle, std::shared_ptr<Transfer>> s_transfers;

HttpClient::Handle newHandle()
{
    do {
        ++s_lastHandle;
    } while (s_lastHandle == 0 || s_sessions.contains(s_lastHandle) || s_transfers.contains(s_lastHandle));
    return s_lastHandle;
}

// HTTP statuses arrive as errors too; a response with a status is still a response.
bool endedByFailure(QNetworkReply::NetworkError error)
{
    if (error == QNetworkReply::NoError)
        return false;
    const bool fromStatus
        = (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError)
        || error == QNetworkReply::ProtocolInvalidOperationError
        || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    return !fromStatus;
}

// Moves what the reply holds into the transfer, and stops the download at the limit.
void take(Transfer &t)
{
    if (!t.reply)
        return;
    const qint64 room = HttpClient::BodyLimit - t.body.size();
    if (room > 0 && t.reply->bytesAvailable() > 0) {
        t.body.append(t.reply->read(room));
        t.answered = true;
    }
    if (t.body.size() >= HttpClient::BodyLimit && !t.ended) {
        t.ended = true;
        t.deadline.stop();
        t.reply->abort();
    }
}

// Ends the transfer as failed; what already arrived is kept.
void fail(Transfer &t)
{
    if (t.ended)
        return;
    take(t);
    if (t.ended)
        return;
    t.ended = true;
    t.failed = true;
    t.deadline.stop();
    if (t.reply && t.reply->isRunning())
        t.reply->abort();
}

void wire(Transfer &t)
{
    QNetworkReply *reply = t.reply;
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &t.guard, [&t] {
        if (t.reply && t.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            t.answered = true;
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &t.guard, [&t] { take(t); });
    QObject::connect(reply, &QNetworkReply::finished, &t.guard, [&t] {
        if (t.ended)
            return;
        take(t);
        if (t.ended)
            return;
        t.ended = true;
        t.failed = endedByFailure(t.reply->error());
        if (t.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            t.answered = true;
        t.deadline.stop();
    });
    t.deadline.setSingleShot(true);
    QObject::connect(&t.deadline, &QTimer::timeout, &t.guard, [&t] { fail(t); });
}

// Runs the event loop until done() holds or the transfer has ended. The handlers above are connected
// first, so the transfer's state is up to date whenever the loop wakes.
template <class Done> void waitUntil(const std::shared_ptr<Transfer> &t, Done done)
{
    while (!done() && !t->ended) {
        if (!t->reply) {
            fail(*t);
            break;
        }
        QEventLoop loop;
        bool woken = false;
        const auto wake = [&] {
            woken = true;
            loop.quit();
        };
        QObject::connect(t->reply, &QNetworkReply::metaDataChanged, &loop, wake);
        QObject::connect(t->reply, &QNetworkReply::readyRead, &loop, wake);
        QObject::connect(t->reply, &QNetworkReply::finished, &loop, wake);
        QObject::connect(&t->deadline, &QTimer::timeout, &loop, wake);
        loop.exec();
        // Left without a wake-up: the application is quitting, so stop waiting for good.
        if (!woken)
            fail(*t);
    }
}

void release(Transfer &t)
{
    t.ended = true;
    t.deadline.stop();
    if (t.reply) {
        if (t.reply->isRunning())
            t.reply->abort();
        t.reply->deleteLater();
    }
}

HttpClient::Handle httpOpen(const QString &agent)
{
    auto session = std::make_shared<Session>();
    session->agent = agent;
    session->manager = new QNetworkAccessManager;
    session->manager->setProxyFactory(new SystemProxyFactory);
    const Handle handle = newHandle();
    s_sessions.insert(handle, session);
    return handle;
}

HttpClient::Handle httpOpenUrl(Handle internet, const QString &address)
{
    const std::shared_ptr<Session> session = s_sessions.value(internet);
    if (!session || !session->manager)
        return 0;
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return 0;

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, session->agent);
    // Always from the server: no local cache, and proxies are asked not to answer from theirs.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // The body as the server stores it: a few bytes need no compression, and nothing gets unpacked here.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);

    auto transfer = std::make_shared<Transfer>();
    transfer->session = internet;
    transfer->reply = session->manager->get(request);
    transfer->reply->setReadBufferSize(BodyLimit);
    wire(*transfer);
    transfer->deadline.start(s_timeoutMs);
    const Handle handle = newHandle();
    s_transfers.insert(handle, transfer);

    waitUntil(transfer, [&] { return transfer->answered; });
    if (!s_transfers.contains(handle))
        return 0; // closed meanwhile with its internet handle
    if (!transfer->answered) {
        httpClose(handle);
        return 0;
    }
    return handle;
}

bool httpRead(Handle file, char *buffer, int length, int *bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    const std::shared_ptr<Transfer> t = s_transfers.value(file);
    if (!t || !buffer || !bytesRead || length <= 0)
        return false;
    waitUntil(t, [&] { return t->readPos < t->body.size(); });
    const qsizetype count = qMin<qsizetype>(length, t->body.size() - t->readPos);
    if (count > 0) {
        std::memcpy(buffer, t->body.constData() + t->readPos, size_t(count));
        t->readPos += count;
        *bytesRead = int(count);
        return true;
    }
    return !t->failed;
}

void httpClose(Handle handle)
{
    if (const std::shared_ptr<Transfer> t = s_transfers.take(handle)) {
        release(*t);
        return;
    }
    const std::shared_ptr<Session> session = s_sessions.take(handle);
    if (!session)
        return;
    for (auto it = s_transfers.begin(); it != s_transfers.end();) {
        if (it.value()->session == handle) {
            release(*it.value());
            it = s_transfers.erase(it);
        } else {
            ++it;
        }
    }
    if (session->manager)
        session->manager->deleteLater();
}

void httpSetTransferTimeout(int milliseconds)
{
    s_timeoutMs = milliseconds;
}

int httpTransferTimeout()
{
    return s_timeoutMs;
}

int httpOpenHandleCount()
{
    return int(s_sessions.size() + s_transfers.size());
}

} // namespace

extern "C" Q_DECL_EXPORT const HttpBackendApi *quorbelHttpBackend()
{
    static const HttpBackendApi api { &httpOpen, &httpOpenUrl, &httpRead, &httpClose, &httpSetTransferTimeout,
        &httpTransferTimeout, &httpOpenHandleCount };
    return &api;
}
