#pragma once

#include <QString>

// A small blocking HTTP GET client with four operations: open an internet handle, open a URL through
// it, read the body in chunks, close a handle. Handles are non-zero; 0 means none.
//
// The work is done by the network module (quorbel-http), loaded with the network libraries on the
// first open(): a program that never checks for updates never loads them. Without the module every
// open gives 0, as for an unreachable server, and stderr says why.
//
// "Blocking" here means the caller waits while the event loop runs: the program stays responsive and
// other handlers (even another download) may run before a call returns.
//
// Where the program is at the mercy of the server, the client draws limits of its own:
// - the whole transfer, from opening the URL to the end of the body, ends after transferTimeout();
// - at most BodyLimit bytes of a body are kept; bytes past it are not read;
// - redirects are followed only when they are no less safe (never from https to http);
// - the body is asked for uncompressed and never taken from a cache;
// - the HTTP status is not examined: an error page's body is read like any other;
// - the system's proxy configuration is used, nothing else.
class HttpClient
{
public:
    using Handle = quint32;

    static constexpr int DefaultTransferTimeoutMs = 30000;
    static constexpr qint64 BodyLimit = 64 * 1024;

    // An internet handle sending agent as the User-Agent; the network stack is set up only now.
    static Handle open(const QString &agent);
    // Sends the GET, bypassing every cache, and waits for the response to begin. Returns 0 when no
    // response came: unknown handle, bad or non-HTTP address, unknown host, refused, time-out.
    static Handle openUrl(Handle internet, const QString &url);
    // Copies up to length bytes of the body into buffer, waiting for them when none are there yet.
    // *bytesRead is 0 at the end of the body and on failure; the result is false on failure.
    static bool read(Handle file, char *buffer, int length, int *bytesRead);
    // Closing an internet handle also closes the files opened through it.
    static void close(Handle handle);

    static void setTransferTimeout(int milliseconds);
    static int transferTimeout();
    // Handles not yet closed.
    static int openHandleCount();
    // Where to load the module from, instead of the usual places; before the first open().
    static void setModulePath(const QString &path);
};
