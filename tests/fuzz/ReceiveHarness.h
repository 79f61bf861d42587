#pragma once

#include "app/MainComponent.h"

#include <memory>
#include <optional>

/**
    What a datagram meets when it arrives in the middle of a show: a main component on the
    show screen of a loaded show with hot cues and the MIDI tab open, and a client that takes
    datagrams without a socket. Page statements are recorded, never evaluated (there is no web
    view).

    Every datagram starts from the same state (a fresh client, the session reset and the same
    show loaded again), so that an input the fuzzer keeps replays on its own.

    Message thread only, with the message manager running.
*/
class ReceiveHarness
{
public:
    ReceiveHarness();
    ~ReceiveHarness();

    /** How far a datagram got. */
    enum class Outcome
    {
        dropped,     // the receiver drops it: not a well-formed message (a bundle, say)
        notAccepted, // the client's acceptance check turns the message away
        delivered    // the blob reached the client's parse and dispatch
    };

    /** One datagram's bytes, from the receiver's decoding to the handlers, then everything
        the handlers posted to the message loop. */
    Outcome receive (const void* data, size_t size);

    MainComponent& component() noexcept { return *main; }
    const juce::StringArray& statements() const noexcept { return recorded; }

    /** The show every datagram meets: its name, and the number of songs and hot cues. */
    static const juce::String loadedShowName;
    static constexpr int loadedSongs = 3;
    static constexpr int loadedHotCues = 2;

    /** The harness the fuzzing entry function uses, made on first use. A fuzzer never
        releases it (it leaves by exit with the components standing); a test does. */
    static ReceiveHarness& shared();
    static void releaseShared();

private:
    void startSession();
    Outcome deliver (const void* data, size_t size);
    void checkDecoding (const void* data, size_t size, const std::optional<juce::OSCMessage>& received);
    void drainMessageLoop();

    std::unique_ptr<MainComponent> main;
    juce::StringArray recorded;
    juce::MemoryBlock showInfoBytes, hotCueListBytes;
};
