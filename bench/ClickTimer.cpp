// Click to pattern: opens one test from its button again and again and reports, per run, the time from
// the input that opens it to the pattern being fully on screen, and how much of it the program slept
// (the drawn patterns' deliberate wait, logged by the preloaded sleeplog library). The input is Enter
// in the pre-test message ("enter"), the button's release with the message off ("click"), or Return
// on the button, focused by the untimed first run's click ("key", the message off).
//
// With a reference program after "--", each run is followed by a cold launch of it, in the same server:
// from exec to its picture whole on screen. Its peak memory at its first picture is printed too.
//
// "Fully on screen" is the whole screen equal, pixel for pixel, to the picture a first, untimed run
// settled on. The screen's middle row is read with shared-memory grabs in a loop, and when it matches,
// the whole screen; the time taken is that of the row that matched, when the whole screen read right
// after it confirms the picture. So it is late by at most one row grab and a pause, and early by at
// most one whole-screen grab (both printed), and the loop does not keep the X server busy copying
// the whole screen while the program starts.
//
// Usage: clicktimer BUTTON_X BUTTON_Y RUNS enter|click|key SLEEP_LOG [-- PROGRAM [ARGS...]]
// Prints one line per timed run: "total_ms slept_ms [reference_ms]"; then "# grab_ms ROW SCREEN" and,
// with a reference, "# reference_peak_kib KIB".
#include "PeakRss.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto Settle = std::chrono::milliseconds(300);
constexpr auto Timeout = std::chrono::seconds(20);
constexpr auto Pause = std::chrono::microseconds(500);

long long ns(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "clicktimer: %s\n", what);
    std::exit(1);
}

// Rows of the screen, read through shared memory, and compared with the same rows of a whole picture.
class ScreenGrab
{
public:
    ScreenGrab(Display *display, int top, int rows)
        : m_display(display)
        , m_root(DefaultRootWindow(display))
        , m_top(top)
    {
        const int screen = DefaultScreen(display);
        m_image = XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
            ZPixmap, nullptr, &m_shm, DisplayWidth(display, screen), rows);
        if (!m_image)
            fail("no shared-memory image");
        m_shm.shmid = shmget(IPC_PRIVATE, bytes(), IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char *>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        if (!XShmAttach(display, &m_shm))
            fail("cannot attach shared memory");
        XSync(display, False);
        shmctl(m_shm.shmid, IPC_RMID, nullptr); // gone once both sides detach
    }

    // Time the grab took, ms.
    double grab()
    {
        const auto start = Clock::now();
        XShmGetImage(m_display, m_root, m_image, 0, m_top, AllPlanes);
        return ms(Clock::now() - start);
    }
    size_t bytes() const { return size_t(m_image->bytes_per_line) * m_image->height; }
    std::vector<char> copy() const { return std::vector<char>(m_image->data, m_image->data + bytes()); }
    bool equals(const std::vector<char> &picture) const
    {
        const size_t offset = size_t(m_image->bytes_per_line) * m_top;
        return picture.size() >= offset + bytes()
            && std::memcmp(picture.data() + offset, m_image->data, bytes()) == 0;
    }

private:
    Display *m_display;
    Window m_root;
    int m_top;
    XImage *m_image = nullptr;
    XShmSegmentInfo m_shm {};
};

class ScreenWatch
{
public:
    explicit ScreenWatch(Display *display)
        : m_row(display, DisplayHeight(display, DefaultScreen(display)) / 2, 1)
        , m_whole(display, 0, DisplayHeight(display, DefaultScreen(display)))
    { }

    std::vector<char> now()
    {
        m_whole.grab();
        return m_whole.copy();
    }

    // The picture the screen settles on once it has left `before`: two grabs a pause apart agree.
    std::vector<char> settled(const std::vector<char> &before)
    {
        std::vector<char> previous;
        const auto end = Clock::now() + Timeout;
        for (;;) {
            std::this_thread::sleep_for(Settle);
            m_whole.grab();
            if (!m_whole.equals(before) && m_whole.equals(previous))
                return previous;
            previous = m_whole.copy();
            if (Clock::now() > end)
                fail("the picture did not settle");
        }
    }

    // Time from `since` until the screen shows `picture` whole, ms.
    double timeTo(const std::vector<char> &picture, Clock::time_point since)
    {
        for (;;) {
            m_rowMs += m_row.grab();
            ++m_rowGrabs;
            const auto seen = Clock::now();
            if (m_row.equals(picture)) {
                m_wholeMs += m_whole.grab();
                ++m_wholeGrabs;
                if (m_whole.equals(picture))
                    return ms(seen - since);
            }
            if (seen - since > Timeout)
                fail("the picture never appeared whole");
            std::this_thread::sleep_for(Pause);
        }
    }

    void printGrabTimes() const
    {
        std::printf("# grab_ms %.2f %.1f\n", m_rowGrabs ? m_rowMs / m_rowGrabs : 0.0,
            m_wholeGrabs ? m_wholeMs / m_wholeGrabs : 0.0);
    }

private:
    ScreenGrab m_row;
    ScreenGrab m_whole;
    double m_rowMs = 0;
    double m_wholeMs = 0;
    int m_rowGrabs = 0;
    int m_wholeGrabs = 0;
};

// Waits for a top-level window to be mapped (or unmapped); false on timeout.
bool waitFor(Display *display, int type)
{
    const auto end = Clock::now() + Timeout;
    while (Clock::now() < end) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == type)
                return true;
        }
        pollfd p { ConnectionNumber(display), POLLIN, 0 };
        poll(&p, 1, 50);
    }
    return false;
}

void drainEvents(Display *display)
{
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

void key(Display *display, KeySym sym)
{
    const KeyCode code = XKeysymToKeycode(display, sym);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

// Main-thread sleep, in ms, that the log holds within [from, to].
double sleptWithin(const std::string &log, long long from, long long to)
{
    std::ifstream in(log);
    long long start = 0;
    long long end = 0;
    double total = 0;
    while (in >> start >> end) {
        const long long a = std::max(start, from);
        const long long b = std::min(end, to);
        if (b > a)
            total += double(b - a) / 1e6;
    }
    return total;
}

enum class Input { Enter, Click, Key };

// Gives the input that opens the test; returns when it was given.
Clock::time_point openTest(Display *display, Input input)
{
    if (input == Input::Key) {
        const auto given = Clock::now();
        key(display, XK_Return);
        return given;
    }
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    if (input == Input::Enter) {
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        if (!waitFor(display, MapNotify))
            fail("the pre-test message did not appear");
        std::this_thread::sleep_for(Settle);
        drainEvents(display);
        const auto given = Clock::now();
        key(display, XK_Return);
        return given;
    }
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto given = Clock::now();
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    return given;
}

bool oneColour(const std::vector<char> &picture)
{
    constexpr size_t Pixel = 4; // 24-bit depth, 32 bits a pixel; the padding byte is zero in Xvfb
    for (size_t i = Pixel; i + Pixel <= picture.size(); i += Pixel)
        if (std::memcmp(picture.data(), picture.data() + i, Pixel) != 0)
            return false;
    return true;
}

class Reference
{
public:
    Reference(Display *display, char **argv)
        : m_display(display)
        , m_argv(argv)
    { }

    // Launches the program and waits for its picture; the first launch learns the picture.
    double launch(ScreenWatch &screen)
    {
        const std::vector<char> before = m_picture.empty() ? screen.now() : std::vector<char>();
        const auto started = Clock::now();
        pid_t child = 0;
        posix_spawn_file_actions_t quiet; // our standard output carries the figures
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawnp(&child, m_argv[0], &quiet, nullptr, m_argv, environ);
        posix_spawn_file_actions_destroy(&quiet);
        if (spawned != 0)
            fail("cannot start the reference program");
        double taken = 0;
        if (m_picture.empty()) {
            m_picture = screen.settled(before);
            m_peakKib = peakRssKib(child);
            if (!oneColour(m_picture))
                fail("the reference program did not cover the screen in one colour");
        } else {
            taken = screen.timeTo(m_picture, started);
        }
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        std::this_thread::sleep_for(Settle);
        // Its window had the keyboard; without a window manager nothing gives it back.
        Window root = 0;
        Window under = 0;
        int ignore = 0;
        unsigned mask = 0;
        XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &under, &ignore, &ignore, &ignore,
            &ignore, &mask);
        if (under)
            XSetInputFocus(m_display, under, RevertToParent, CurrentTime);
        XSync(m_display, False);
        drainEvents(m_display);
        return taken;
    }

    long peakKib() const { return m_peakKib; }

private:
    Display *m_display;
    char **m_argv;
    std::vector<char> m_picture;
    long m_peakKib = -1;
};

} // namespace

int main(int argc, char **argv)
{
    const bool withReference = argc > 7 && std::strcmp(argv[6], "--") == 0;
    if (argc != 6 && !withReference) {
        std::fprintf(
            stderr, "usage: %s BUTTON_X BUTTON_Y RUNS enter|click|key SLEEP_LOG [-- PROGRAM...]\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int runs = std::atoi(argv[3]);
    const Input input = std::strcmp(argv[4], "enter") == 0 ? Input::Enter
        : std::strcmp(argv[4], "key") == 0                 ? Input::Key
                                                           : Input::Click;
    const std::string log = argv[5];

    Display *display = XOpenDisplay(nullptr);
    if (!display)
        fail("no X display");
    int ignore = 0;
    if (!XTestQueryExtension(display, &ignore, &ignore, &ignore, &ignore) || !XShmQueryExtension(display))
        fail("the X server lacks XTEST or MIT-SHM");
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    ScreenWatch screen(display);
    Reference reference(display, withReference ? argv + 7 : nullptr);

    std::vector<char> pattern;
    for (int run = 0; run <= runs; ++run) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XSync(display, False);
        drainEvents(display);
        if (run == 0) {
            const std::vector<char> before = screen.now();
            openTest(display, input == Input::Key ? Input::Click : input);
            pattern = screen.settled(before);
        } else {
            const auto given = openTest(display, input);
            const double total = screen.timeTo(pattern, given);
            std::printf("%.1f %.1f", total,
                sleptWithin(log, ns(given), ns(given) + static_cast<long long>(total * 1e6)));
        }

        drainEvents(display);
        key(display, XK_Escape);
        if (!waitFor(display, UnmapNotify))
            fail("Esc did not close the pattern");
        std::this_thread::sleep_for(Settle);
        if (withReference) {
            const double taken = reference.launch(screen);
            if (run > 0)
                std::printf(" %.1f", taken);
        }
        if (run > 0)
            std::printf("\n");
        std::fflush(stdout);
    }
    screen.printGrabTimes();
    if (withReference)
        std::printf("# reference_peak_kib %ld\n", reference.peakKib());
    return 0; // the server frees the shared memory and the connection when the process ends
}
