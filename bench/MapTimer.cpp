// Starts a program and reports how long it took until its first top-level window was mapped, the
// processor time it had used by then (all threads; what a busy machine does not inflate), and its
// peak resident memory. An X client waiting for the map event, so the measurement costs nothing
// while the program starts (no polling).
// Output: WALL_MS PEAK_RSS_KIB CPU_MS
#include "PeakRss.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <csignal>
#include <dirent.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Time on the processor so far, summed over the program's threads (the scheduler's own count, in ns).
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR *dir = opendir(tasks.c_str())) {
        while (dirent *entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            double onCpu = 0;
            if (schedstat >> onCpu)
                ns += onCpu;
        }
        closedir(dir);
    }
    return ns / 1e6;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "maptimer: no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                const auto mapped = std::chrono::steady_clock::now();
                const double ms = std::chrono::duration<double, std::milli>(mapped - start).count();
                const double cpu = cpuMs(child);
                // Let the first paint settle before reading the peak.
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                std::printf("%.1f %ld %.1f\n", ms, peakRssKib(child), cpu);
                kill(child, SIGTERM);
                waitpid(child, nullptr, 0);
                XCloseDisplay(display);
                return 0;
            }
        }
        pollfd p { fd, POLLIN, 0 };
        if (poll(&p, 1, 30000) <= 0) {
            std::fprintf(stderr, "maptimer: no window mapped within 30 s\n");
            kill(child, SIGKILL);
            return 1;
        }
    }
}
