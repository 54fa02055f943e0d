#include "update/HttpClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <cstring>

namespace {
int s_timeoutMs = HttpClient::DefaultTransferTimeoutMs;

// The desktop's proxy settings only; an application-wide proxy set elsewhere is not consulted.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        return systemProxyForQuery(query);
    }
};
} // namespace

HttpClient::HttpClient(const QString &agent)
    : m_agent(agent)
{
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, [this] {
        take();
        end();
    });
}

HttpClient::~HttpClient()
{
    close();
}

bool HttpClient::open(const QString &address)
{
    close();
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;
    if (!m_manager) {
        m_manager = std::make_unique<QNetworkAccessManager>();
        m_manager->setProxyFactory(new SystemProxyFactory);
    }

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_agent);
    // Always from the server: no local cache, and proxies are asked not to answer from theirs.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // The body as the server stores it: a few bytes need no compression, and nothing gets unpacked here.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);

    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(BodyLimit);
    m_ended = false;
    QObject::connect(m_reply, &QNetworkReply::readyRead, [this] { take(); });
    QObject::connect(m_reply, &QNetworkReply::finished, [this] {
        take();
        end();
    });
    m_deadline.start(s_timeoutMs);

    const auto status = [this] {
        return m_reply ? m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute) : QVariant();
    };
    // A redirect's status comes first when it is followed: wait for the one that ends the chain.
    waitUntil([&] { return status().isValid() && status().toInt() / 100 != 3; });
    // An error page, a proxy's complaint or a captive portal's login is no version file.
    if (status().toInt() / 100 == 2)
        return true;
    close();
    return false;
}

int HttpClient::read(char *buffer, int length)
{
    waitUntil([&] { return m_readPos < m_body.size(); });
    const qsizetype count = qMin(m_body.size() - m_readPos, qsizetype(length));
    std::memcpy(buffer, m_body.constData() + m_readPos, size_t(count));
    m_readPos += count;
    return int(count);
}

void HttpClient::close()
{
    end();
    delete m_reply;
    m_body.clear();
    m_readPos = 0;
}

int HttpClient::transferTimeout()
{
    return s_timeoutMs;
}

void HttpClient::setTransferTimeout(int milliseconds)
{
    s_timeoutMs = milliseconds;
}

// Moves what the reply holds into the body, and stops the download at the limit.
void HttpClient::take()
{
    if (m_ended || !m_reply)
        return;
    m_body += m_reply->read(BodyLimit - m_body.size());
    if (m_body.size() >= BodyLimit)
        end();
}

// No more bytes will come; what already arrived is kept.
void HttpClient::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_deadline.stop();
    if (m_reply && m_reply->isRunning())
        m_reply->abort();
}

// Runs the event loop until done() holds or the transfer has ended. The handlers above were connected
// first, so the transfer's state is up to date whenever the loop wakes.
void HttpClient::waitUntil(const std::function<bool()> &done)
{
    while (!done() && !m_ended) {
        QEventLoop loop;
        bool woken = false;
        const auto wake = [&] {
            woken = true;
            loop.quit();
        };
        QObject::connect(m_reply, &QNetworkReply::metaDataChanged, &loop, wake);
        QObject::connect(m_reply, &QNetworkReply::readyRead, &loop, wake);
        QObject::connect(m_reply, &QNetworkReply::finished, &loop, wake);
        QObject::connect(&m_deadline, &QTimer::timeout, &loop, wake);
        loop.exec();
        // Left without a wake-up: the application is quitting, so stop waiting for good.
        if (!woken)
            end();
    }
}
