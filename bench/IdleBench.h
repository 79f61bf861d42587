#pragma once

#include <juce_core/juce_core.h>

/**
    Idle cost on the show screen connected to a playing host simulator: CPU of the program and
    its web view's processes (utime + stime from /proc) and their resident memory (VmRSS summed,
    sampled every half second, with its peak), over a period (QUENTARO_BENCH_IDLE_SECONDS,
    60 by default). Beside one core and a bare web view showing an empty page. Message thread.
*/
struct IdleBench
{
    static void run (const juce::String& simulatorPath, const juce::String& selfPath);

    /** The reference: a window holding only a web view on an empty page, until terminated. */
    static int runBareWebView();
};
