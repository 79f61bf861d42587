#pragma once

#include <juce_core/juce_core.h>

/** Formatting rules of individual message values; plain functions, any thread. */
struct MessageFormat
{
    /** The "DeviceName" of a hello: the bytes of the host name, each taken as one character,
        cut before the first ".local" in any letter case. */
    static juce::String deviceName (const char* hostNameBytes, size_t maxBytes);

    /** The computer's host name as gethostname gives it, through deviceName; empty on failure. */
    static juce::String localDeviceName();

    /** A position as printf's %g with precision 6 writes it. */
    static juce::String position (double value);

    /** Round trip in milliseconds from the ping's echoed counter value: 32-bit wrapping
        difference to the counter now; results below 1 give 0. */
    static int latency (juce::uint32 counterNow, juce::int64 echoedStamp);
};
