#pragma once

#include <juce_core/juce_core.h>

/** One host found by discovery: a service instance name and one of its IPv4 addresses. */
struct DiscoveredHost
{
    juce::String serviceName;
    juce::String ipAddress;
    juce::uint16 port = 0;

    bool operator== (const DiscoveredHost& other) const
    {
        return serviceName == other.serviceName && ipAddress == other.ipAddress && port == other.port;
    }
};
