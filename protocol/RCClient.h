#pragma once

#include "MessageRecord.h"

#include <juce_osc/juce_osc.h>

#include <atomic>
#include <memory>

/**
    The protocol client: one per connection, always held through a std::shared_ptr.

    Threads: the framework's OSC receiver thread calls oscMessageReceived, which only copies
    the blob and posts it to the message thread together with a strong reference to the client.
    Everything else (sending, handling, construction and tear-down) runs on the message thread.
*/
class RCClient : public juce::OSCReceiver,
                 public juce::OSCReceiver::ListenerWithOSCAddress<juce::OSCReceiver::RealtimeCallback>,
                 public std::enable_shared_from_this<RCClient>
{
public:
    /** What the client hands its records to: the main component. Message thread only. */
    struct Owner
    {
        virtual ~Owner() = default;

        /** A valid record has arrived from the host; rcType is its parsed "RCType". */
        virtual void remoteRecordReceived (RCClient& client, int rcType, const juce::ValueTree& record) = 0;
    };

    static constexpr int receivePort = 9211;
    static constexpr int hostPort = 9212;
    static const juce::String address; // "/quentaro"

    explicit RCClient (Owner& owner);
    ~RCClient() override;

    /** The only way a message leaves the program (message thread). Stamps "IP", wraps the
        bytes in a "/quentaro" blob and sends one datagram to the host; failures are silent. */
    void sendRaw (const void* data, size_t size);
    void sendRecord (const juce::ValueTree& record);

    /** ConnectRequest, carrying localAddress as "IP" even when it is empty. */
    void sendConnectRequest();

    /** Receiver thread: copies the blob and posts it to the message thread. */
    void oscMessageReceived (const juce::OSCMessage& message) override;

    /** Message thread: parses one record and dispatches it by "RCType". */
    void handleIncoming (const juce::MemoryBlock& bytes);

    /** Registers for "/quentaro" and binds the receiving socket to port 9211 on all local
        IPv4 addresses, starting the receiver thread only when the binding succeeds.
        Returns whether it did; receiverConnected is set either way. */
    bool connectReceiver();

    /** Opens a fresh sending socket with broadcast permission aimed at hostAddress:9212,
        bound to a port the system chooses. Returns false (and keeps no socket) on failure. */
    bool openSender (const juce::String& hostAddress);
    void closeSender();
    bool hasSender() const noexcept { return senderOpen; }

    juce::OSCSender sender;
    std::atomic<bool> stopped { false };
    bool receiverConnected = false;
    juce::String localAddress;

    /** 0 no answer yet, 1 connected without a loaded show, 2 connected with a show. */
    int connectionState = 0;

private:
    /** Owns what the receiver thread posts; makes sure the client's last strong reference is
        released on the message thread, never on the receiver thread it would have to stop. */
    struct PostedRecord;

    static void releaseOnMessageThread (std::shared_ptr<RCClient> client);

    Owner& owner;
    bool senderOpen = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RCClient)
};
