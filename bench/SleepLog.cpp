// Preloaded into the program by clicktopattern.sh: logs every sleep of the main thread as
// "start end" (CLOCK_MONOTONIC nanoseconds) to the file QRBL_SLEEP_LOG names, so that the deliberate
// wait of the drawn patterns can be told apart from the time the program works.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

long long nowNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

bool onMainThread()
{
    return syscall(SYS_gettid) == getpid();
}

void logSleep(long long start, long long end)
{
    static const int fd = [] {
        const char *path = std::getenv("QRBL_SLEEP_LOG");
        return path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
    }();
    if (fd < 0)
        return;
    char line[64];
    const int n = std::snprintf(line, sizeof line, "%lld %lld\n", start, end);
    if (n > 0)
        (void)!write(fd, line, size_t(n));
}

template <class F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int nanosleep(const timespec *request, timespec *remaining)
{
    static const auto next = real<int (*)(const timespec *, timespec *)>("nanosleep");
    if (!onMainThread())
        return next(request, remaining);
    const long long start = nowNs();
    const int result = next(request, remaining);
    logSleep(start, nowNs());
    return result;
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec *request, timespec *remaining)
{
    static const auto next = real<int (*)(clockid_t, int, const timespec *, timespec *)>("clock_nanosleep");
    if (!onMainThread())
        return next(clock, flags, request, remaining);
    const long long start = nowNs();
    const int result = next(clock, flags, request, remaining);
    logSleep(start, nowNs());
    return result;
}
