#include "StartupBench.h"

#include "BenchFigures.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <fcntl.h>
#include <iostream>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
using Clock = std::chrono::steady_clock;

/** A started program with its standard error on a pipe. */
struct Started
{
    pid_t pid = -1;
    int errorFd = -1;
};

Started start (const juce::String& path, const char* argument)
{
    int fromChild[2];

    if (pipe2 (fromChild, O_CLOEXEC) != 0)
        return {};

    const auto parent = getpid();
    const auto file = path.toStdString();
    const auto pid = fork();

    if (pid == 0)
    {
        prctl (PR_SET_PDEATHSIG, SIGKILL);

        if (getppid() != parent)
            _exit (127);

        dup2 (fromChild[1], 2);
        setenv ("QUENTARO_STARTUP_TRACE", "1", 1);
        char* argv[] = { const_cast<char*> (file.c_str()), const_cast<char*> (argument), nullptr };

        if (argument == nullptr)
            argv[1] = nullptr;

        execve (argv[0], argv, environ);
        _exit (127);
    }

    close (fromChild[1]);
    return { pid, fromChild[0] };
}

void stop (Started& program)
{
    if (program.pid > 0)
    {
        kill (program.pid, SIGTERM);

        for (int i = 0; i < 400; ++i)
        {
            if (waitpid (program.pid, nullptr, WNOHANG) == program.pid)
            {
                program.pid = -1;
                break;
            }

            usleep (5000);
        }

        if (program.pid > 0)
        {
            kill (program.pid, SIGKILL);
            waitpid (program.pid, nullptr, 0);
        }
    }

    if (program.errorFd >= 0)
        close (program.errorFd);

    program = {};
}

long windowPid (Display* display, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;

    if (XGetWindowProperty (display, window, XInternAtom (display, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
            &type, &format, &count, &after, &data)
            == Success
        && data != nullptr)
    {
        if (count == 1)
            pid = (long) *reinterpret_cast<unsigned long*> (data);

        XFree (data);
    }

    return pid;
}

/** Waits for a top-level window of the process to be mapped; returns when it was seen. */
std::optional<Clock::time_point> waitForMap (Display* display, pid_t pid, Clock::time_point deadline)
{
    const auto fd = ConnectionNumber (display);

    while (Clock::now() < deadline)
    {
        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);

            if (event.type == MapNotify && windowPid (display, event.xmap.window) == (long) pid)
                return Clock::now();
        }

        pollfd p { fd, POLLIN, 0 };
        poll (&p, 1, 20);
    }

    return std::nullopt;
}

/** Reads the program's standard error until the page-ready line; returns its monotonic time. */
std::optional<Clock::time_point> waitForPageReady (int fd, Clock::time_point deadline)
{
    std::string text;

    while (Clock::now() < deadline)
    {
        pollfd p { fd, POLLIN, 0 };

        if (poll (&p, 1, 20) > 0)
        {
            char buffer[4096];
            const auto n = read (fd, buffer, sizeof (buffer));

            if (n <= 0)
                return std::nullopt;

            text.append (buffer, (size_t) n);
        }

        const auto at = text.find ("quentaro-startup page-ready ");

        if (at != std::string::npos && text.find ('\n', at) != std::string::npos)
        {
            const auto ns = std::stoll (text.substr (at + 28));
            return Clock::time_point (std::chrono::nanoseconds (ns));
        }
    }

    return std::nullopt;
}

double millis (Clock::duration d)
{
    return std::chrono::duration<double, std::milli> (d).count();
}
} // namespace

void StartupBench::run (const juce::String& programPath, const juce::String& selfPath)
{
    const int count = BenchFigures::environmentCount ("QUENTARO_BENCH_STARTS", 10);
    std::cout << "Start-up of the program (" << count << " starts; window mapped seen on the X server, page ready "
              << "printed by the program):" << std::endl;

    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::cout << "  (no X display)" << std::endl;
        return;
    }

    // As on a desktop, where the window manager has made them before any program starts.
    for (auto* name : { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "_MOTIF_WM_HINTS" })
        XInternAtom (display, name, False);

    XSelectInput (display, DefaultRootWindow (display), SubstructureNotifyMask);
    XSync (display, True);

    std::vector<double> windowTimes, pageTimes, bareTimes;

    for (int i = 0; i < count; ++i)
    {
        // The reference first: a plain window from a process that does nothing else.
        {
            XSync (display, True);
            const auto t0 = Clock::now();
            auto bare = start (selfPath, "--bare-window");

            if (auto mapped = waitForMap (display, bare.pid, t0 + std::chrono::seconds (10)))
                bareTimes.push_back (millis (*mapped - t0));

            stop (bare);
        }

        XSync (display, True);
        const auto t0 = Clock::now();
        auto program = start (programPath, nullptr);
        const auto deadline = t0 + std::chrono::seconds (30);

        if (auto mapped = waitForMap (display, program.pid, deadline))
            windowTimes.push_back (millis (*mapped - t0));

        if (auto ready = waitForPageReady (program.errorFd, deadline))
            pageTimes.push_back (millis (*ready - t0));

        stop (program);
    }

    XCloseDisplay (display);

    const auto bare = BenchFigures::summarise (bareTimes);
    BenchFigures::printLine ("start -> window mapped", BenchFigures::summarise (windowTimes), "ms", "bare Xlib window",
        bare, "p99 < 500 ms", BenchFigures::summarise (windowTimes).p99 < 500.0);
    BenchFigures::printLine ("start -> page ready (bridge registered)", BenchFigures::summarise (pageTimes), "ms",
        "bare Xlib window", bare, "p99 < 1500 ms", BenchFigures::summarise (pageTimes).p99 < 1500.0);
}

int StartupBench::runBareWindow()
{
    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
        return 1;

    const auto screen = DefaultScreen (display);
    const auto window = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, 1200, 800, 0,
        BlackPixel (display, screen), BlackPixel (display, screen));
    const unsigned long pid = (unsigned long) getpid();
    XChangeProperty (display, window, XInternAtom (display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*> (&pid), 1);
    XStoreName (display, window, "Bare window");
    XMapWindow (display, window);
    XFlush (display);
    pause();
    return 0;
}
