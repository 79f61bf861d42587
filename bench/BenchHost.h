#pragma once

#include "protocol/MessageRecord.h"

#include <juce_core/juce_core.h>

#include <vector>

/**
    The host's end of the loopback link for benchmarks: bound to the host port 9212, it sends
    records to the program's port 9211 as "/quentaro" datagrams and reads what the program
    sends. Used from one thread at a time.
*/
class BenchHost
{
public:
    BenchHost();

    bool isBound() const noexcept { return bound; }

    /** Sends a record to 127.0.0.1:9211. */
    void send (const juce::ValueTree& record);

    /** Reads datagrams until one carries a record of this type; returns the datagram's size,
        or 0 when none arrives within the time-out. */
    size_t waitForRecord (RCType type, int timeoutMs);

    /** Reads and drops whatever is waiting. */
    void drain();

    /** True when a datagram is waiting (without reading it). */
    bool hasDatagram();

    /** The datagram carrying a record, as the host writes it. */
    static juce::MemoryBlock datagramOf (const juce::ValueTree& record);

    /** The record in a "/quentaro" datagram, or an invalid tree. */
    static juce::ValueTree recordOf (const char* data, size_t size);

    /** Send-and-receive times in microseconds of raw datagrams of a size between two loopback
        sockets (port 9300): the physical floor of any path through the network stack. */
    static std::vector<double> rawUdpTrips (size_t size, int count);

private:
    juce::DatagramSocket socket { false };
    std::vector<char> buffer = std::vector<char> (65536);
    bool bound = false;
};
