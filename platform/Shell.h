#pragma once

class QString;

// Hands a web address or a "mailto:" target to the desktop's default handler. The result is not
// reported: a failure leaves the caller as it was.
namespace Shell {
void open(const QString &target);
} // namespace Shell
