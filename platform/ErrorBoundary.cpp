#include "platform/ErrorBoundary.h"

#include <cstdio>

namespace {
int s_count = 0;
QString s_last;
} // namespace

void ErrorBoundary::report(const char *where, const char *what)
{
    ++s_count;
    s_last = QString::fromUtf8(where) + QStringLiteral(": ") + QString::fromUtf8(what);
    std::fprintf(stderr, "quorbel: error in %s: %s\n", where, what);
    std::fflush(stderr);
}

int ErrorBoundary::reportCount()
{
    return s_count;
}

QString ErrorBoundary::lastReport()
{
    return s_last;
}
