#pragma once

#include <juce_core/juce_core.h>

/**
    Discovery: a host simulator started and announced through the private avahi-daemon of
    scripts/with-avahi.sh -> its row in the connect screen's host list. Repeated
    QUENTARO_BENCH_DISCOVERIES times (10), each with a service name of its own, beside
    avahi-browse resolving the same announcement. Message thread.
*/
struct DiscoveryBench
{
    static void run (const juce::String& simulatorPath);
};
