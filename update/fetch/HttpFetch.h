#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QNetworkReply;

// One HTTP GET of the version file, run by the quorbel-fetch helper. The program itself never speaks HTTP:
// a misbehaving server (endless headers, a huge line) can only exhaust the helper, whose memory is capped.
//
// An answer counts only when it is whole and plausibly the file itself:
// - a success status (2xx, after redirects, never from https to http), no transfer error at the end;
// - every byte the length or the chunked framing promised, within the deadline;
// - not an HTML page (a captive portal's login, an error page) and not content-encoded;
// - at most BodyLimit bytes.
// The request bypasses every cache, asks for the body uncompressed and uses the desktop's proxy settings.
namespace HttpFetch {
constexpr qint64 BodyLimit = 64 * 1024;

// Runs the event loop until the answer is complete or refused; the body when it counts, else nothing.
std::optional<QByteArray> get(const QString &address, const QString &agent, int timeoutMs);
// Whether a finished reply's headers and outcome make its body an answer.
bool acceptable(const QNetworkReply &reply);
} // namespace HttpFetch
