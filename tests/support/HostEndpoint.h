#pragma once

#include "protocol/MessageRecord.h"

#include <juce_core/juce_core.h>
#include <optional>

/** A bare UDP socket on the host's command port that reads what the remote sends and takes
    the "/quentaro" envelope apart by hand, so the wire format itself is checked. */
class HostEndpoint
{
public:
    explicit HostEndpoint (int port = 9212) { bound = socket.bindToPort (port); }

    bool isBound() const noexcept { return bound; }

    /** The next datagram's blob, when it is a well-formed "/quentaro" envelope. */
    std::optional<juce::MemoryBlock> receiveBlob (int timeoutMs = 5000)
    {
        if (socket.waitUntilReady (true, timeoutMs) != 1)
            return std::nullopt;

        char buffer[65536];
        auto size = socket.read (buffer, (int) sizeof (buffer), false);

        static const char header[] = "/quentaro\0\0\0,b\0\0";

        if (size < 20 || std::memcmp (buffer, header, 16) != 0)
            return juce::MemoryBlock();

        auto count = (size_t) juce::ByteOrder::bigEndianInt (buffer + 16);

        if ((size_t) size != 20 + ((count + 3) & ~(size_t) 3))
            return juce::MemoryBlock();

        return juce::MemoryBlock (buffer + 20, count);
    }

    /** The next record, or an invalid tree on a time-out or anything malformed. */
    juce::ValueTree receiveRecord (int timeoutMs = 5000)
    {
        auto blob = receiveBlob (timeoutMs);
        return blob ? MessageRecord::fromBytes (blob->getData(), blob->getSize()) : juce::ValueTree();
    }

    /** True when nothing arrives within the period. */
    bool staysQuiet (int periodMs) { return socket.waitUntilReady (true, periodMs) == 0; }

private:
    juce::DatagramSocket socket { false };
    bool bound = false;
};
