#pragma once

#include "BuiltInShows.h"
#include "ControlLine.h"
#include "PlayerState.h"
#include "RemoteLink.h"
#include "protocol/MessageRecord.h"

#include <juce_data_structures/juce_data_structures.h>
#include <juce_osc/juce_osc.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

/**
    A stand-in for the QUENTARO host on the far end of the wire. It receives "/quentaro"
    records on the host's command port, reports each one as a JSON line, and behaves as the
    host does: it pairs the remote (with a PIN when it has one), answers pings, announces its
    show, carries out the transport commands on its player and reports the player's state,
    with the position advancing in real time while a song plays. It sends to the remote's port
    at the last "IP" it heard (or at a fixed address). Faults can be injected for tests.

    Threads: records arrive on the OSC receiver thread; a clock thread moves the player on and
    repeats the state; control lines and sends may come from any other thread. One lock guards
    the player and the link, and is held while sending so that records leave in the order of
    the changes they describe. Output lines go to the sink one at a time.
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
        juce::String hostName = "QUENTARO Sim";
        juce::String pin; // empty: remotes need no PIN

        /** The show loaded at start; nothing starts the host without one. */
        std::optional<ShowDocument> show = BuiltInShows::mainShow();

        bool pongsOnly = false;
        double silentForSeconds = 0.0;

        /** How often the cue state (and, when not playing, the transport) is repeated to a
            paired remote, which may have missed them while its show screen came up; 0: never. */
        int refreshMs = 1000;

        /** How often the transport is reported while a song plays. */
        int transportIntervalMs = 100;
    };

    /** Each output line (JSON), in the order things happened. */
    using LineSink = std::function<void (const juce::String&)>;

    HostSimulator (Options options, LineSink sink);
    ~HostSimulator() override;

    /** Binds the listening port, prints the "listening" line and starts the clock; false when
        the port is taken. */
    bool start();

    /** Sends a record to the remote as it is, whatever the faults; false when no remote
        address is known yet. */
    bool send (const juce::ValueTree& record);

    /** Sends raw bytes as the blob of a "/quentaro" message (for malformed-input tests). */
    bool sendBlob (const juce::MemoryBlock& bytes);

    /** Runs one line of the simulator's input language (see ControlLine); false for a line it
        cannot use. */
    bool handleCommandLine (const juce::String& line);

    /** Tells the known remote that the host stops serving it (on quitting). */
    void sayGoodbye();

    juce::String getRemoteAddress() const;

    /** A show document file with the hot cues that file shows get. */
    static std::optional<ShowDocument> readShowFile (const juce::String& path, juce::String& error);

private:
    using Clock = RemoteLink::Clock;

    void oscMessageReceived (const juce::OSCMessage& message) override;
    void oscBundleReceived (const juce::OSCBundle& bundle) override;

    // All of these run with the lock held.
    void handleRecord (const juce::ValueTree& record);
    void carryOut (RCType type, const juce::ValueTree& record, Clock::time_point now);
    void runCommand (const ControlLine& line);
    void silence (double seconds, Clock::time_point now);
    void loadShow (ShowDocument show, bool isSecondShow);
    void announce (Clock::time_point now);
    void goodbye (Clock::time_point now, bool forget);
    void tick();
    bool sendLocked (const juce::ValueTree& record);
    bool sendBytesLocked (const juce::MemoryBlock& bytes);
    void emitState();

    void runClock();
    void emit (const juce::String& line);
    void emitEvent (const juce::String& name, std::initializer_list<std::pair<const char*, juce::var>> values = {});

    Options options;
    LineSink sink;
    juce::OSCSender sender;

    mutable std::mutex lock;
    PlayerState player;
    RemoteLink link;
    // Each process numbers its shows from its own random start, so that a host restarted with
    // another show never announces an identifier the remote still holds for the old one.
    int lastShowId = 1000 * juce::Random::getSystemRandom().nextInt (1 << 20);
    bool secondShowLoaded = false;
    Clock::time_point lastTick, lastRefresh;
    juce::int64 carriedMicroseconds = 0;

    std::mutex outputLock; // keeps lines whole and in order

    std::thread clock;
    std::mutex clockLock;
    std::condition_variable clockWake;
    bool clockStopping = false;
};
