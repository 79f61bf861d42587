#pragma once

#include <juce_data_structures/juce_data_structures.h>
#include <juce_osc/juce_osc.h>

#include <functional>
#include <mutex>

/**
    A stand-in for the QUENTARO host on the far end of the wire. It receives "/quentaro"
    records on the host's command port and reports each one as a JSON line, and sends records
    to the remote's port at the last "IP" it heard (or at a fixed address).

    Threads: records arrive on the OSC receiver thread; send may be called from any thread.
*/
class HostSimulator : private juce::OSCReceiver,
                      private juce::OSCReceiver::Listener<juce::OSCReceiver::RealtimeCallback>
{
public:
    struct Options
    {
        int listenPort = 9212;
        int remotePort = 9211;
        juce::String fixedRemoteAddress; // empty: answer the last "IP" heard
    };

    /** Each output line (JSON), in the order things happened. */
    using LineSink = std::function<void (const juce::String&)>;

    HostSimulator (Options options, LineSink sink);
    ~HostSimulator() override;

    /** Binds the listening port; false when it is taken. */
    bool start();

    /** Sends a record to the remote; returns false when no remote address is known yet. */
    bool send (const juce::ValueTree& record);

    /** Sends raw bytes as the blob of a "/quentaro" message (for malformed-input tests). */
    bool sendBlob (const juce::MemoryBlock& bytes);

    /** Runs one line of the simulator's input language; returns false for a line it cannot use. */
    bool handleCommandLine (const juce::String& line);

    juce::String getRemoteAddress() const;

private:
    void oscMessageReceived (const juce::OSCMessage& message) override;
    void oscBundleReceived (const juce::OSCBundle& bundle) override;
    void emit (const juce::String& line);

    Options options;
    LineSink sink;
    juce::OSCSender sender;
    mutable std::mutex lock; // guards remoteAddress and the sink's order
    juce::String remoteAddress;
};
