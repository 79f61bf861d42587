#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <set>

/**
    The host's side of its link with the remote: where the remote is, whether it has paired,
    and the faults injected for tests (silence, answering pongs only).

    The remote's address is the last "IP" it announced (or a fixed address given at start).
    With a PIN, a remote must send the right PIN once before the host answers anything but
    pings; addresses that have paired stay paired until the host forgets the remote.

    Plain logic without locks: the simulator calls it under its own lock. Times are the
    steady clock's, passed in so that tests can choose them.
*/
class RemoteLink
{
public:
    using Clock = std::chrono::steady_clock;

    RemoteLink (juce::String pin, juce::String fixedAddress);

    /** A record arrived announcing this address (empty when it carried no "IP"). */
    void heard (const juce::String& announcedAddress);

    /** The address records go to; empty when no remote is known. */
    juce::String getAddress() const { return address; }
    bool knowsRemote() const { return address.isNotEmpty(); }

    /** Drops the remote and its pairing, as after saying goodbye to it. */
    void forget();

    //==============================================================================
    bool requiresPin() const { return pin.isNotEmpty(); }
    bool isPaired() const;

    enum class PinResult
    {
        accepted,
        rejected
    };

    /** Checks a PIN from the known remote (blanks around it do not count); the right one pairs
        it. Without a PIN every submission is accepted. */
    PinResult submitPin (const juce::String& submitted);

    //==============================================================================
    /** Sends and answers nothing until the given time. */
    void silenceUntil (Clock::time_point end);
    bool isSilent (Clock::time_point now) const { return now < silentUntil; }

    /** True once, at the first call after a silence has run out. */
    bool silenceHasEnded (Clock::time_point now);

    void setPongsOnly (bool on) { pongsOnly = on; }
    bool isPongsOnly() const { return pongsOnly; }

    /** Whether a pong may go out now: a known remote and no silence. */
    bool mayPong (Clock::time_point now) const;

    /** Whether the host may tell the remote anything but pongs: a known, paired remote, no
        silence and no pongs-only fault. */
    bool mayReport (Clock::time_point now) const;

    /** Whether a PIN request or rejection may go out: like a report, but before pairing. */
    bool mayAnswerPairing (Clock::time_point now) const;

private:
    juce::String pin, fixedAddress, address;
    std::set<juce::String> pairedAddresses;
    Clock::time_point silentUntil {};
    bool silenceReported = true;
    bool pongsOnly = false;
};
