#pragma once

#include <QString>

#include <exception>

// Where an event enters our code: an error raised in a handler ends the handler, not the program.
// The work done before the error stays; one line goes to stderr.
namespace ErrorBoundary {
void report(const char *where, const char *what);
int reportCount();
QString lastReport();

template <typename F> void run(const char *where, F &&handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        report(where, e.what());
    } catch (...) {
        report(where, "unknown error");
    }
}
} // namespace ErrorBoundary
