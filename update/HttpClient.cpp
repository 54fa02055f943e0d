#include "update/HttpClient.h"

#include "update/HttpBackendApi.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>

namespace {

QString s_modulePath;
int s_timeoutMs = HttpClient::DefaultTransferTimeoutMs;

// The module next to the program (a build folder), where an installation puts it relative to the
// program, then where this build made it (the tests, which run from other folders).
QStringList modulePlaces()
{
    if (!s_modulePath.isEmpty())
        return { s_modulePath };
    const QString dir = QCoreApplication::applicationDirPath();
    const QString name = QStringLiteral(QRBL_HTTP_MODULE_NAME);
    return { dir + QLatin1Char('/') + name,
        QDir::cleanPath(dir + QStringLiteral("/" QRBL_HTTP_MODULE_FROM_BIN "/")) + QLatin1Char('/') + name,
        QStringLiteral(QRBL_HTTP_MODULE_BUILT) };
}

const HttpBackendApi *s_loaded = nullptr;

// Loaded once, on first use; never unloaded (its objects live as long as the program).
const HttpBackendApi *backend()
{
    static const HttpBackendApi *api = []() -> const HttpBackendApi * {
        QStringList tried;
        for (const QString &path : modulePlaces()) {
            if (!QFileInfo::exists(path)) {
                tried << path;
                continue;
            }
            QLibrary library(path);
            if (const auto entry
                = reinterpret_cast<HttpBackendEntry>(library.resolve(HttpBackendEntryName))) {
                s_loaded = entry();
                return s_loaded;
            }
            tried << library.errorString();
        }
        std::fprintf(stderr, "quorbel: no network module for the update check (%s)\n",
            qPrintable(tried.join(QStringLiteral("; "))));
        return nullptr;
    }();
    return api;
}

} // namespace

HttpClient::Handle HttpClient::open(const QString &agent)
{
    const HttpBackendApi *api = backend();
    if (!api)
        return 0;
    api->setTransferTimeout(s_timeoutMs);
    return api->open(agent);
}

HttpClient::Handle HttpClient::openUrl(Handle internet, const QString &url)
{
    const HttpBackendApi *api = backend();
    return api ? api->openUrl(internet, url) : 0;
}

bool HttpClient::read(Handle file, char *buffer, int length, int *bytesRead)
{
    const HttpBackendApi *api = backend();
    if (api)
        return api->read(file, buffer, length, bytesRead);
    if (bytesRead)
        *bytesRead = 0;
    return false;
}

void HttpClient::close(Handle handle)
{
    if (const HttpBackendApi *api = backend())
        api->close(handle);
}

void HttpClient::setTransferTimeout(int milliseconds)
{
    // Kept here as well, so that setting it does not load the module.
    s_timeoutMs = milliseconds;
    if (s_loaded)
        s_loaded->setTransferTimeout(milliseconds);
}

int HttpClient::transferTimeout()
{
    return s_timeoutMs;
}

int HttpClient::openHandleCount()
{
    return s_loaded ? s_loaded->openHandleCount() : 0;
}

void HttpClient::setModulePath(const QString &path)
{
    s_modulePath = path;
}
