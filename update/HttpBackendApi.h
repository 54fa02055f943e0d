#pragma once

#include <QtGlobal>

class QString;

// What the network module (quorbel-http, loaded on the first update check) offers the program: the
// four operations of HttpClient and its settings, as plain functions.
struct HttpBackendApi
{
    quint32 (*open)(const QString &agent);
    quint32 (*openUrl)(quint32 internet, const QString &url);
    bool (*read)(quint32 file, char *buffer, int length, int *bytesRead);
    void (*close)(quint32 handle);
    void (*setTransferTimeout)(int milliseconds);
    int (*transferTimeout)();
    int (*openHandleCount)();
};

// The module's one exported symbol.
using HttpBackendEntry = const HttpBackendApi *(*)();
constexpr const char HttpBackendEntryName[] = "quorbelHttpBackend";
