#pragma once

#include <juce_core/juce_core.h>

/** The address the remote announces in "IP", chosen from the machine's IPv4 interface
    addresses (dotted text, in the framework's order). Plain logic, any thread. */
struct LocalAddress
{
    /** Prefers an interface on the host's /24 network, then any interface that is not
        loopback, then the framework's local address; never empty. */
    static juce::String choose (const juce::String& hostAddress, const juce::StringArray& interfaceAddresses);

    /** The framework's local address for the same list: the first that is not 127.0.0.1,
        or 127.0.0.1 when there is none. */
    static juce::String frameworkLocal (const juce::StringArray& interfaceAddresses);

    /** This machine's IPv4 interface addresses. */
    static juce::StringArray interfaces();
};
