#pragma once

#include <exception>

// Where an event enters our code: an error raised in a handler ends the handler, not the program.
// The work done before the error stays; one line goes to stderr.
namespace ErrorBoundary {
void report(const char *where, const char *what);

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

// A member function as a slot behind the boundary, named for the line it reports.
template <class T> auto handler(const char *where, T *object, void (T::*method)())
{
    return [where, object, method] { run(where, [&] { (object->*method)(); }); };
}
} // namespace ErrorBoundary
