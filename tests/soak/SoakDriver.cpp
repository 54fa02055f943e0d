// Drives the real program through every window many times, as a user would: clicks and keys through
// XTest, each step waiting for the window it expects (map, unmap, size and focus events, no polling
// of the screen). Prints the program's resident memory after the first round and at the end.
//
// Usage: soakdriver ROUNDS DIALOG_EVERY BODY_FILE SIZES PROGRAM [ARGS...]
//   each round opens and closes the thirteen tests and toggles the pre-test option; every
//   DIALOG_EVERY-th round (the first included) also opens help, about and the update check; the
//   update server's answer (BODY_FILE) cycles through newer, the same and empty; SIZES
//   ("1024x768,800x600") are the screen sizes set with xrandr in turn while a pattern is open.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int StepTimeoutMs = 15000;
constexpr int TwipsPerPixel = 15;
constexpr int ClientWidth = 522; // the main window's client area, under its menu bar, at factor 1
constexpr int ClientHeight = 361;

using Clock = std::chrono::steady_clock;

struct Button
{
    const char *name;
    int left, top; // twips, in the main window's client area
};

// The thirteen test buttons, 1215 x 495 twips each.
const Button Tests[] = {
    { "Boxes", 360, 480 },
    { "Circles", 1920, 480 },
    { "Colors", 3480, 480 },
    { "Crosshairs", 360, 1200 },
    { "Vertical Lines", 1920, 1200 },
    { "Diagonal Lines", 3480, 1200 },
    { "Red", 360, 2520 },
    { "Green", 1920, 2520 },
    { "Blue", 3480, 2520 },
    { "Black", 360, 3840 },
    { "White", 1920, 3840 },
    { "50% Grey", 3480, 3840 },
    { "Greys", 360, 4560 },
};

struct TopLevel
{
    bool mapped = false;
    bool overrideRedirect = false;
    std::string name;
    int x = 0, y = 0, width = 0, height = 0;
};

struct Failure : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0; // windows come and go; a request about one already gone is no fault
}

class Driver
{
public:
    Driver(Display *display, pid_t program)
        : m_display(display)
        , m_root(DefaultRootWindow(display))
        , m_program(program)
    {
        XWindowAttributes root;
        XGetWindowAttributes(display, m_root, &root);
        m_screenWidth = root.width;
        m_screenHeight = root.height;
    }

    void waitForMainWindow()
    {
        waitUntil("the main window", [&] {
            for (const auto &[id, w] : m_windows)
                if (w.mapped && !w.overrideRedirect && w.name == "Quorbel!") {
                    m_main = id;
                    return true;
                }
            return false;
        });
    }

    // One test from its button to Esc; with the pre-test message on, Enter answers it first.
    void runTest(const Button &button, bool preTestMessage, const std::string &resizeTo)
    {
        const TopLevel main = m_windows[m_main];
        // The client area grows with the desktop's font by one factor, seen in the window's width.
        const auto px = [&](int twips) { return twips * main.width / (ClientWidth * TwipsPerPixel); };
        const int x = main.x + px(button.left + 1215 / 2);
        const int y = main.y + main.height - px(ClientHeight * TwipsPerPixel) + px(button.top + 495 / 2);
        click(x, y);
        if (preTestMessage) {
            const Window dialog = waitForWindow(std::string("the pre-test message before ") + button.name,
                [&](const TopLevel &w) { return w.name == "Quorbel!" && !isFullScreen(w); });
            waitForFocus(dialog);
            key(XK_Return);
            waitGone(dialog, "the pre-test message");
        }
        const Window pattern = waitForWindow(std::string("the pattern of ") + button.name,
            [&](const TopLevel &w) { return w.name == "Quorbel!" && isFullScreen(w); });
        if (!resizeTo.empty()) {
            const std::string command = "xrandr -s " + resizeTo + " 2>/dev/null";
            if (std::system(command.c_str()) != 0)
                throw Failure("xrandr -s " + resizeTo + " failed");
            int width = 0, height = 0;
            std::sscanf(resizeTo.c_str(), "%dx%d", &width, &height);
            waitUntil(
                std::string("the pattern of ") + button.name + " to take the new size " + resizeTo, [&] {
                    const TopLevel &w = m_windows[pattern];
                    return screenWidth() == width && screenHeight() == height && w.width == width
                        && w.height == height && w.x == 0 && w.y == 0;
                });
            ++m_resizes;
        }
        waitForFocus(pattern);
        key(XK_Escape);
        waitGone(pattern, std::string("the pattern of ") + button.name);
        ++m_tests;
    }

    // Opens the File menu with a click on its title (no window manager gives the main window the
    // focus back after a dialog, so its Alt keys cannot be relied on), or the Help menu from there
    // with Right; the keys then pick an item. A click opens a menu with no item current, Right with
    // its first item current.
    Window openMenu(bool help)
    {
        const TopLevel &main = m_windows[m_main];
        click(main.x + 20, main.y + 9);
        Window popup = waitForWindow("the File menu", [](const TopLevel &w) { return w.overrideRedirect; });
        if (help) {
            key(XK_Right);
            waitGone(popup, "the File menu");
            popup = waitForWindow("the Help menu", [](const TopLevel &w) { return w.overrideRedirect; });
        }
        return popup;
    }

    void menu(bool help, const std::vector<KeySym> &keys)
    {
        const Window popup = openMenu(help);
        for (KeySym k : keys)
            key(k);
        waitGone(popup, help ? "the Help menu" : "the File menu");
    }

    void togglePreTestMessage() { menu(false, { XK_Down, XK_Down, XK_Return }); }

    void showAndClose(const char *what, const char *title, bool help, const std::vector<KeySym> &keys)
    {
        menu(help, keys);
        const Window dialog = waitForWindow(what, [&](const TopLevel &w) { return w.name == title; });
        waitForFocus(dialog);
        key(XK_Return);
        waitGone(dialog, what);
        ++m_dialogs;
    }

    // The menu goes with the program: no waiting for it to close.
    void exitProgram()
    {
        openMenu(false);
        key(XK_x);
    }

    long residentKib() const { return statusKib("VmRSS:"); }
    long peakKib() const { return statusKib("VmHWM:"); }
    int tests() const { return m_tests; }
    int dialogs() const { return m_dialogs; }
    int resizes() const { return m_resizes; }

    // Lets the program finish what the last step started before memory is read.
    void settle() { pump(300); }

private:
    bool isFullScreen(const TopLevel &w) const
    {
        return w.x == 0 && w.y == 0 && w.width == screenWidth() && w.height == screenHeight();
    }
    // The root window's size as its configure events tell (Xlib's own figures stay at the start size).
    int screenWidth() const { return m_screenWidth; }
    int screenHeight() const { return m_screenHeight; }

    long statusKib(const char *field) const
    {
        std::ifstream status("/proc/" + std::to_string(m_program) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(field, 0) == 0)
                return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
        return -1;
    }

    void click(int x, int y)
    {
        XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XFlush(m_display);
    }

    void key(KeySym sym)
    {
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XFlush(m_display);
    }

    void chord(KeySym modifier, KeySym sym)
    {
        const KeyCode mod = XKeysymToKeycode(m_display, modifier);
        const KeyCode code = XKeysymToKeycode(m_display, sym);
        XTestFakeKeyEvent(m_display, mod, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XTestFakeKeyEvent(m_display, mod, False, CurrentTime);
        XFlush(m_display);
    }

    // Keys go where the focus is. Without a window manager the program sets the focus itself when it
    // activates a window, and only then does it take the menus' Alt keys: wait for exactly that.
    void waitForFocus(Window target)
    {
        waitUntil("the keyboard focus", [&] {
            Window focus = None;
            int revert = 0;
            XGetInputFocus(m_display, &focus, &revert);
            return focus == target;
        });
    }

    template <class Pred> Window waitForWindow(const std::string &what, Pred pred)
    {
        Window found = None;
        waitUntil(what, [&] {
            for (const auto &[id, w] : m_windows)
                if (id != m_main && w.mapped && pred(w)) {
                    found = id;
                    return true;
                }
            return false;
        });
        return found;
    }

    void waitGone(Window window, const std::string &what)
    {
        waitUntil(what + " to close", [&] {
            const auto it = m_windows.find(window);
            return it == m_windows.end() || !it->second.mapped;
        });
    }

    template <class Pred> void waitUntil(const std::string &what, Pred done)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(StepTimeoutMs);
        for (;;) {
            drain();
            if (done())
                return;
            int status = 0;
            if (waitpid(m_program, &status, WNOHANG) == m_program)
                throw Failure("the program ended while waiting for " + what);
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                throw Failure("timed out waiting for " + what);
            pollfd p { ConnectionNumber(m_display), POLLIN, 0 };
            poll(&p, 1, int(std::min<long>(left.count(), 5)));
        }
    }

    void pump(int ms)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end) {
            drain();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    void drain()
    {
        while (XPending(m_display)) {
            XEvent e;
            XNextEvent(m_display, &e);
            switch (e.type) {
            case CreateNotify: {
                TopLevel &w = m_windows[e.xcreatewindow.window];
                w.overrideRedirect = e.xcreatewindow.override_redirect;
                w.x = e.xcreatewindow.x;
                w.y = e.xcreatewindow.y;
                w.width = e.xcreatewindow.width;
                w.height = e.xcreatewindow.height;
                break;
            }
            case ConfigureNotify:
                if (e.xconfigure.window == m_root) {
                    m_screenWidth = e.xconfigure.width;
                    m_screenHeight = e.xconfigure.height;
                } else {
                    TopLevel &w = m_windows[e.xconfigure.window];
                    w.x = e.xconfigure.x;
                    w.y = e.xconfigure.y;
                    w.width = e.xconfigure.width;
                    w.height = e.xconfigure.height;
                    w.overrideRedirect = e.xconfigure.override_redirect;
                }
                break;
            case MapNotify: {
                TopLevel &w = m_windows[e.xmap.window];
                w.mapped = true;
                w.overrideRedirect = e.xmap.override_redirect;
                char *name = nullptr;
                if (XFetchName(m_display, e.xmap.window, &name) && name) {
                    w.name = name;
                    XFree(name);
                }
                break;
            }
            case UnmapNotify:
                m_windows[e.xunmap.window].mapped = false;
                break;
            case DestroyNotify:
                m_windows.erase(e.xdestroywindow.window);
                break;
            default:
                break;
            }
        }
    }

    Display *m_display;
    Window m_root;
    pid_t m_program;
    Window m_main = None;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    std::map<Window, TopLevel> m_windows;
    int m_tests = 0;
    int m_dialogs = 0;
    int m_resizes = 0;
};

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

void writeBody(const char *file, const char *body)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << body;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s ROUNDS DIALOG_EVERY BODY_FILE SIZES PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    const int dialogEvery = std::max(1, std::atoi(argv[2]));
    const char *bodyFile = argv[3];
    const std::vector<std::string> sizes = split(argv[4], ',');

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "soakdriver: no X display\n");
        return 2;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "soakdriver: the X server has no XTEST\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask | SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[5], argv + 5);
        _exit(127);
    }
    Driver driver(display, child);
    long afterFirstRound = -1;
    try {
        driver.waitForMainWindow();
        // The option starts on (nothing stored): every other round shows the pre-test message.
        bool preTestMessage = true;
        const char *bodies[] = { "4.0.1", "4.0.0", "" };
        int checks = 0;
        for (int round = 0; round < rounds; ++round) {
            for (size_t t = 0; t < std::size(Tests); ++t) {
                // One resize a round, each time in another pattern.
                const bool resize = !sizes.empty() && t == size_t(round) % std::size(Tests);
                driver.runTest(Tests[t], preTestMessage, resize ? sizes[size_t(round) % sizes.size()] : "");
            }
            if (round % dialogEvery == 0) {
                driver.showAndClose("the help window", "Quorbel! Help", true, { XK_Return });
                driver.showAndClose("the about box", "About Quorbel!", true, { XK_Up, XK_Return });
                writeBody(bodyFile, bodies[checks++ % 3]);
                driver.showAndClose(
                    "the update check's answer", "Update Check", false, { XK_Down, XK_Return });
            }
            driver.togglePreTestMessage();
            preTestMessage = !preTestMessage;
            if (round == 0) {
                driver.settle();
                afterFirstRound = driver.residentKib();
            }
            if ((round + 1) % 10 == 0)
                std::printf("round %d rss_kib %ld\n", round + 1, driver.residentKib());
        }
        driver.settle();
        const long atEnd = driver.residentKib();
        const long peak = driver.peakKib();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        driver.exitProgram();
        int status = 0;
        const auto deadline = Clock::now() + std::chrono::seconds(15);
        while (waitpid(child, &status, WNOHANG) != child) {
            if (Clock::now() > deadline)
                throw Failure("the program did not end after File, Exit");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::printf("rounds %d, tests %d, dialogs %d, resizes %d, %.1f s\n", rounds, driver.tests(),
            driver.dialogs(), driver.resizes(), seconds);
        std::printf("rss_after_first_round_kib %ld\nrss_at_end_kib %ld\npeak_rss_kib %ld\n", afterFirstRound,
            atEnd, peak);
        std::printf("exit_status %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    } catch (const Failure &failure) {
        std::fprintf(stderr, "soakdriver: %s (after %d tests, %d dialogs)\n", failure.what(), driver.tests(),
            driver.dialogs());
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}
