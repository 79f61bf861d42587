// Runs the real program under the test display and checks its window from outside, through X.

#include "support/Subprocess.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <thread>

namespace
{
juce::String windowName (Display* display, Window window)
{
    juce::String name;
    auto utf8 = XInternAtom (display, "UTF8_STRING", False);
    auto netName = XInternAtom (display, "_NET_WM_NAME", False);

    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;

    // The framework writes the title as UTF-8 into WM_NAME; other toolkits use _NET_WM_NAME.
    for (auto property : { netName, (Atom) XA_WM_NAME })
    {
        if (XGetWindowProperty (display, window, property, 0, 1024, False, utf8, &type, &format, &count, &after, &data)
                == Success
            && data != nullptr)
        {
            name = juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) count);
            XFree (data);
        }

        if (name.isNotEmpty())
            break;
    }

    return name;
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

/** The mapped top-level windows of a process with the given title (the web view's own
    process has windows of its own, under the same title). */
std::vector<Window> findWindows (Display* display, const juce::String& title, long pid)
{
    std::vector<Window> found;
    Window root = DefaultRootWindow (display), parent = 0, *children = nullptr;
    unsigned int count = 0;

    if (XQueryTree (display, root, &root, &parent, &children, &count) == 0)
        return found;

    for (unsigned int i = 0; i < count; ++i)
    {
        XWindowAttributes attributes;

        if (XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable
            && windowName (display, children[i]) == title && windowPid (display, children[i]) == pid)
            found.push_back (children[i]);
    }

    if (children != nullptr)
        XFree (children);

    return found;
}

void askToClose (Display* display, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long) XInternAtom (display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent (display, window, False, NoEventMask, &event);
    XSync (display, False);
}
} // namespace

TEST (Startup, OneFixedSizeWindowThatQuitsWhenClosed)
{
    // Windows come and go while the program starts (the web engine's among them): a query about
    // one that has just gone must not end the test the way Xlib's default handler would.
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });

    auto* display = XOpenDisplay (nullptr);
    ASSERT_NE (display, nullptr) << "the test command provides a display";

    // On a desktop the window manager has created the window-protocol atoms before any
    // program starts; the framework only uses them when they already exist.
    for (auto* name : { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "_MOTIF_WM_HINTS" })
        XInternAtom (display, name, False);
    XSync (display, False);

    Subprocess program ({ QUENTARO_PROGRAM_PATH });
    ASSERT_TRUE (program.isRunning());

    std::vector<Window> windows;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (20);

    while (windows.empty() && program.isRunning() && std::chrono::steady_clock::now() < deadline)
    {
        windows = findWindows (display, "QUENTARO Remote", (long) program.getPid());

        if (windows.empty())
            std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }

    ASSERT_EQ (windows.size(), 1u);

    // The window is mapped as soon as it exists; its final size follows while the program
    // finishes building its content.
    XWindowAttributes attributes {};
    const auto sized = [&]
    {
        return XGetWindowAttributes (display, windows.front(), &attributes) != 0 && attributes.width == 1200
            && attributes.height == 800;
    };

    while (! sized() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for (std::chrono::milliseconds (20));

    EXPECT_EQ (attributes.width, 1200);
    EXPECT_EQ (attributes.height, 800);

    // A request that arrives while the program is still starting can be discarded with the
    // rest of its early X events, so the close is asked again, as a person would click again.
    int exitCode = -1;

    for (int attempt = 0; attempt < 10 && exitCode < 0; ++attempt)
    {
        askToClose (display, windows.front());
        exitCode = program.waitForExit (std::chrono::seconds (1));
    }

    EXPECT_EQ (exitCode, 0);

    XCloseDisplay (display);
}
