// Click to pattern: opens one test from its button again and again and reports, per run, the time from
// the input that confirms the test (Enter in the pre-test message, or the button's release when the
// message is off) to the pattern being fully on screen, and how much of it the program slept (the drawn
// patterns' deliberate wait, logged by the preloaded sleeplog library).
//
// "Fully on screen" is the whole screen equal, pixel for pixel, to the picture a first, untimed run
// settled on. The screen is read with shared-memory grabs in a loop; the time taken is that of the
// first grab that matches, so it is late by at most one grab (printed as the resolution).
//
// Usage: clicktimer BUTTON_X BUTTON_Y RUNS enter|click SLEEP_LOG
// Prints one line per timed run: "total_ms slept_ms"; and "# grab_ms" once.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto Settle = std::chrono::milliseconds(300);
constexpr auto Timeout = std::chrono::seconds(20);

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

class ScreenGrab
{
public:
    explicit ScreenGrab(Display *display)
        : m_display(display)
        , m_root(DefaultRootWindow(display))
    {
        const int screen = DefaultScreen(display);
        m_image = XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
            ZPixmap, nullptr, &m_shm, DisplayWidth(display, screen), DisplayHeight(display, screen));
        if (!m_image)
            fail("no shared-memory image");
        m_shm.shmid
            = shmget(IPC_PRIVATE, size_t(m_image->bytes_per_line) * m_image->height, IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char *>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        if (!XShmAttach(display, &m_shm))
            fail("cannot attach shared memory");
        XSync(display, False);
        shmctl(m_shm.shmid, IPC_RMID, nullptr); // gone once both sides detach
    }

    void grab() { XShmGetImage(m_display, m_root, m_image, 0, 0, AllPlanes); }
    size_t bytes() const { return size_t(m_image->bytes_per_line) * m_image->height; }
    std::vector<char> copy() const { return std::vector<char>(m_image->data, m_image->data + bytes()); }
    bool equals(const std::vector<char> &picture) const
    {
        return picture.size() == bytes() && std::memcmp(picture.data(), m_image->data, bytes()) == 0;
    }

private:
    Display *m_display;
    Window m_root;
    XImage *m_image = nullptr;
    XShmSegmentInfo m_shm {};
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

} // namespace

int main(int argc, char **argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s BUTTON_X BUTTON_Y RUNS enter|click SLEEP_LOG\n", argv[0]);
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int runs = std::atoi(argv[3]);
    const bool enter = std::strcmp(argv[4], "enter") == 0;
    const std::string log = argv[5];

    Display *display = XOpenDisplay(nullptr);
    if (!display)
        fail("no X display");
    int ignore = 0;
    if (!XTestQueryExtension(display, &ignore, &ignore, &ignore, &ignore) || !XShmQueryExtension(display))
        fail("the X server lacks XTEST or MIT-SHM");
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    ScreenGrab screen(display);

    std::vector<char> before;
    std::vector<char> pattern;
    double grabMs = 0;
    int grabs = 0;
    for (int run = 0; run <= runs; ++run) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XSync(display, False);
        drainEvents(display);
        if (run == 0) {
            screen.grab();
            before = screen.copy();
        }

        Clock::time_point confirmed;
        if (enter) {
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
            if (!waitFor(display, MapNotify))
                fail("the pre-test message did not appear");
            std::this_thread::sleep_for(Settle);
            drainEvents(display);
            confirmed = Clock::now();
            key(display, XK_Return);
        } else {
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            confirmed = Clock::now();
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
        }

        if (run == 0) {
            // Untimed: the picture the pattern settles on, once two grabs apart agree.
            std::vector<char> previous;
            const auto end = Clock::now() + Timeout;
            for (;;) {
                std::this_thread::sleep_for(Settle);
                screen.grab();
                if (!screen.equals(before) && screen.equals(previous))
                    break;
                previous = screen.copy();
                if (Clock::now() > end)
                    fail("the pattern did not settle");
            }
            pattern = screen.copy();
        } else {
            Clock::time_point shown;
            for (;;) {
                const auto start = Clock::now();
                screen.grab();
                shown = Clock::now();
                grabMs += ms(shown - start);
                ++grabs;
                if (screen.equals(pattern))
                    break;
                if (shown - confirmed > Timeout)
                    fail("the pattern never appeared whole");
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
            std::printf("%.1f %.1f\n", ms(shown - confirmed), sleptWithin(log, ns(confirmed), ns(shown)));
            std::fflush(stdout);
        }

        drainEvents(display);
        key(display, XK_Escape);
        if (!waitFor(display, UnmapNotify))
            fail("Esc did not close the pattern");
        std::this_thread::sleep_for(Settle);
    }
    std::printf("# grab_ms %.1f\n", grabs ? grabMs / grabs : 0.0);
    return 0; // the server frees the shared memory and the connection when the process ends
}
