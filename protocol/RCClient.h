#pragma once

#include "MessageRecord.h"

#include <juce_osc/juce_osc.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <memory>

class MainComponent;
class WebBridge;

/**
    The protocol client: the remote's half of one connection to one host, always held through
    a std::shared_ptr (the receive path needs the weak self-reference).

    Threads: the client's receiver thread (Receiver) reads each datagram, has OscPacket check
    it and the framework's decoder read it, and calls oscMessageReceived, which only copies the
    blob and posts it to the message thread together with a strong reference to the client.
    Everything else (timer, sends, handlers, construction and tear-down) runs on the message
    thread, and the last strong reference is always released there.
*/
class RCClient : public juce::Timer,
                 public std::enable_shared_from_this<RCClient>
{
public:
    static constexpr int receivePort = 9211;
    static constexpr int hostPort = 9212;
    static constexpr int tickInterval = 100;
    static const juce::String address; // "/quentaro"

    /** Records no real datagram can carry this many rows (a datagram holds at most 65,507
        bytes); a larger "Size" is read as this many. */
    static constexpr int maxRows = 65536;

    /** Records waiting for the message thread beyond this many are dropped on arrival: a flood
        of datagrams can neither grow memory without bound nor block the receiver thread, and
        the host's steady traffic (a handful of records a second) never comes near it. */
    static constexpr int maxPendingRecords = 256;

    explicit RCClient (MainComponent& owner);
    ~RCClient() override;

    /** Receiver thread: copies the blob of an accepted message and posts it to the message thread. */
    void oscMessageReceived (const juce::OSCMessage& message);

    /** Whether a message is one the client takes: addressed to "/quentaro" (matched as the
        framework matches a listener's address, OscPacket::addressMatches) and carrying exactly
        one argument, a non-empty blob. Plain logic, any thread; oscMessageReceived and the
        fuzzing harness both use it. */
    static bool accepts (const juce::OSCMessage& message);

    /** Every 100 ms: connection requests, pings and the liveness check. */
    void timerCallback() override;

    //==============================================================================
    // Sending (message thread). sendRaw is the only way a message leaves the program: it
    // stamps "IP", wraps the bytes in a "/quentaro" blob and sends one datagram to the host;
    // failures are silent.
    void sendRaw (const void* data, size_t size);
    void sendRecord (const juce::ValueTree& record);

    void sendHello();
    void sendConnectRequest();
    void sendPlay();
    void sendPause();
    void sendStop();
    void sendPlayNext();
    void sendPlayPrev();
    void sendPosition (double position);
    void sendNextCue (int index);
    void sendPing();

    //==============================================================================
    /** Message thread: parses one record and dispatches it by "RCType". */
    void handleIncoming (const juce::MemoryBlock& bytes);

    /** Binds the receiving socket to port 9211 on all local IPv4 addresses, starting the
        receiver thread only when the binding succeeds. Returns whether it did;
        receiverConnected is set either way. */
    bool connectReceiver();

    /** Opens a fresh sending socket with broadcast permission aimed at hostAddress:9212,
        bound to a port the system chooses. Returns false (and keeps no socket) on failure. */
    bool openSender (const juce::String& hostAddress);
    void closeSender();
    bool hasSender() const noexcept { return senderOpen; }

    /** Now, in whole seconds since 1970 (replaceable so tests need not wait for real seconds). */
    std::function<juce::int32()> clock = [] { return (juce::int32) std::time (nullptr); };

    //==============================================================================
    WebBridge* webBrowser = nullptr;
    bool positionDragging = false;
    juce::OSCSender sender;
    int connectionState = 0;
    juce::int32 livenessDeadline = 0;
    std::atomic<bool> stopped { false };
    bool receiverConnected = false;
    int pingTicks = 0;
    int registerTicks = 0;
    juce::uint32 lastPingTime = 0;
    juce::String localAddress;
    bool pinPending = false;

private:
    struct PostedRecord;
    class Receiver;

    static void releaseOnMessageThread (std::shared_ptr<RCClient> client);

    /** Whether the main component still holds this client as its connection (message thread). */
    bool isOwnersClient() const;

    void send (RCType type, std::initializer_list<MessageRecord::Property> properties = {});
    void refreshLiveness();

    void handlePinRequired();
    void handlePinRejected();
    void handleHostDisconnect();

    void handleShowInfo (const juce::ValueTree& record);
    void handleCueState (const juce::ValueTree& record);
    void handleTransportState (const juce::ValueTree& record);
    void handleCueTable (const juce::ValueTree& record);
    void handleMarkerLoopState (const juce::ValueTree& record);
    void handleHotCueList (const juce::ValueTree& record);
    void handlePong (const juce::ValueTree& record);

    MainComponent& owner;
    std::atomic<int> pendingRecords { 0 };
    bool senderOpen = false;

    // Last, so that it goes first: its thread stops before anything it reaches goes.
    std::unique_ptr<Receiver> receiver;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RCClient)
};
