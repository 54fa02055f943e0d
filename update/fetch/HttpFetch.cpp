#include "update/fetch/HttpFetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {
// The desktop's proxy settings only; an application-wide proxy set elsewhere is not consulted.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};

// The header's value up to any parameters, lower case: "text/html; charset=utf-8" is "text/html".
QByteArray mediaValue(const QNetworkReply &reply, const char *header)
{
    return reply.rawHeader(header).split(';').value(0).trimmed().toLower();
}
} // namespace

bool HttpFetch::acceptable(const QNetworkReply &reply)
{
    const QByteArray encoding = mediaValue(reply, "Content-Encoding");
    return reply.error() == QNetworkReply::NoError
        && reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() / 100 == 2
        && mediaValue(reply, "Content-Type") != "text/html" && (encoding.isEmpty() || encoding == "identity");
}

std::optional<QByteArray> HttpFetch::get(const QString &address, const QString &agent, int timeoutMs)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    QNetworkAccessManager manager;
    manager.setProxyFactory(new SystemProxyFactory);

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, agent);
    // Always from the server: no local cache, and proxies are asked not to answer from theirs.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // The body as the server stores it: a few bytes need no compression, and nothing gets unpacked here.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(0);

    QNetworkReply *reply = manager.get(request);
    reply->setReadBufferSize(BodyLimit);
    QByteArray body;
    bool tooLong = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, [&] {
        body += reply->read(BodyLimit + 1 - body.size());
        if (body.size() > BodyLimit) {
            tooLong = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The deadline covers the whole transfer; abort() makes the reply finish with an error.
    QTimer::singleShot(timeoutMs, Qt::PreciseTimer, reply, &QNetworkReply::abort);
    if (reply->isRunning())
        loop.exec();
    if (reply->isOpen())
        body += reply->readAll();
    // Qt takes a connection closed early for the end of the body: the length the server promised decides.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (tooLong || body.size() > BodyLimit || (length.isValid() && length.toLongLong() != body.size())
        || !acceptable(*reply))
        return std::nullopt;
    return body;
}
