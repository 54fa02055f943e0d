#include "platform/ErrorBoundary.h"

#include <cstdio>

void ErrorBoundary::report(const char *where, const char *what)
{
    std::fprintf(stderr, "quorbel: error in %s: %s\n", where, what);
    std::fflush(stderr);
}
