#pragma once

#include "protocol/MessageRecord.h"

#include <juce_osc/juce_osc.h>

#include <chrono>
#include <functional>
#include <vector>

/** The remote's end of the wire, bare: it sends records to the host's port through the
    framework's OSC sender and reads the host's datagrams on the remote's port with a plain
    socket, taking the "/quentaro" envelope apart by hand. Used from the test's own thread;
    nothing here needs the message loop. */
class FakeRemote
{
public:
    static constexpr int receivePort = 9211;
    static constexpr int hostPort = 9212;
    static constexpr auto address = "127.0.0.1";

    FakeRemote();

    bool isReady() const noexcept { return ready; }

    /** Sends a record of this kind with the properties in order, then "IP" (the remote's
        address) unless the properties name it. */
    bool send (RCType type, const std::vector<MessageRecord::Property>& properties = {});

    /** The next record, or an invalid tree when none arrives in time or the datagram is not a
        well-formed "/quentaro" record. */
    juce::ValueTree receive (std::chrono::milliseconds timeout);

    /** Waits for a record that matches, keeping the records passed on the way. */
    juce::ValueTree waitFor (const std::function<bool (const juce::ValueTree&)>& matches,
        std::chrono::milliseconds timeout = std::chrono::seconds (5), std::vector<juce::ValueTree>* passed = nullptr);

    /** Waits for a record of this kind. */
    juce::ValueTree waitFor (RCType type, std::chrono::milliseconds timeout = std::chrono::seconds (5),
        std::vector<juce::ValueTree>* passed = nullptr);

    /** Sends a ping with this "t" and waits for the pong that echoes it, collecting every
        record that arrived before it: the host handles records in order, so whatever it sent
        in answer to earlier records is among them. */
    juce::ValueTree pingThrough (const juce::String& t, std::vector<juce::ValueTree>& before);

    static int kind (const juce::ValueTree& record) { return MessageRecord::integer (record, MessageRecord::rcType); }

private:
    juce::DatagramSocket socket { false };
    juce::OSCSender sender;
    bool ready = false;
};
