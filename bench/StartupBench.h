#pragma once

#include <juce_core/juce_core.h>

/**
    Start-up: the program started -> its window mapped on the X server (seen as a MapNotify on
    the root window) -> its page ready (the bridge registered; the program prints the moment
    when QUENTARO_STARTUP_TRACE is set). Repeated QUENTARO_BENCH_STARTS times (10), beside a bare
    Xlib window started and observed the same way. Needs no message loop.
*/
struct StartupBench
{
    static void run (const juce::String& programPath, const juce::String& selfPath);

    /** The reference: maps one plain X window and waits to be terminated. */
    static int runBareWindow();
};
