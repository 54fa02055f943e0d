// quorbel-fetch ADDRESS AGENT TIMEOUT_MS: fetches the version file for the update check and writes the body
// to standard output. Exit status 0 when the body is an answer, 1 when there is none. Runs as a process of
// its own under a memory cap, since Qt's HTTP stack keeps whatever headers a server sends.
#include "update/fetch/HttpFetch.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace {
// Room for Qt, the TLS library and the network thread's stack, and for a 64 KiB body many times over; a
// header flood ends here, at about 22 MB resident (16 MB is too little to start the network thread).
constexpr rlim_t DataLimit = 32 * 1024 * 1024;

void limitResources()
{
#ifndef __SANITIZE_ADDRESS__ // its shadow memory alone is far beyond any such cap
    const rlimit data { DataLimit, DataLimit };
    setrlimit(RLIMIT_DATA, &data);
#endif
    // Running out of memory ends the helper quietly: no answer, and no core file.
    const rlimit core { 0, 0 };
    setrlimit(RLIMIT_CORE, &core);
    std::set_terminate([] { std::_Exit(1); });
    // Nobody is left to read the answer once the program has gone.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}
} // namespace

int main(int argc, char *argv[])
{
    limitResources();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const std::optional<QByteArray> body = HttpFetch::get(args[1], args[2], args[3].toInt());
    if (!body)
        return 1;
    return std::fwrite(body->constData(), 1, size_t(body->size()), stdout) == size_t(body->size()) ? 0 : 1;
}
