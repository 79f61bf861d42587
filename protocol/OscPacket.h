#pragma once

#include <juce_osc/juce_osc.h>

#include <optional>

/**
    Datagrams in and out with the framework's own OSC code, and the checks that keep hostile
    bytes away from the pieces of it that cannot take them.

    The framework's decoder (the one its OSCReceiver runs on every datagram) builds text from
    any bytes, and on invalid UTF-8 it builds strings without their terminator: a single
    datagram with a non-ASCII byte in its address can crash the program. It also trusts a
    blob's size in arithmetic that overflows and reads nested bundles recursively without
    limit; and its address-pattern matching backtracks exponentially on patterns with many
    wildcards (some thirty stars in a datagram of under a hundred bytes hold its thread for
    seconds). So the remote reads datagrams itself (RCClient), checks each one here first and
    lets the decoder read only well-formed messages; addresses are matched here too.

    The decoder and encoder are private to the framework's OSC module, so OscPacket.cpp
    compiles that module and adds these entry points beside it: the program and the fuzzing
    harnesses share the receiver's real decoder. Plain logic, any thread.
*/
struct OscPacket
{
    /** The remote reads at most this many bytes of a datagram, as the framework's receiver does. */
    static constexpr size_t receiveBufferSize = 65535;

    /** The message the framework's decoder reads from a datagram's bytes, or nothing when the
        bytes are not a well-formed message (see isWellFormedMessage): the decoder never sees
        those. Bytes past receiveBufferSize are cut off first, as a read into the buffer does. */
    static std::optional<juce::OSCMessage> readMessage (const void* data, size_t size);

    /** True for exactly one OSC message that fills the bytes: an address that the framework
        takes as a pattern (a slash first, then printable ASCII other than space and '#'), a
        type-tag string of the types it reads (i, f, s, b, r), and those arguments, every
        string NUL-terminated and ASCII, every blob's size within the bytes, everything padded
        with zeros to a multiple of four bytes. Bundles are not messages. */
    static bool isWellFormedMessage (const void* data, size_t size);

    /** OSCAddressPattern::matches, decided in time proportional to the pattern's length times
        the address's instead of by backtracking. */
    static bool addressMatches (const juce::OSCAddressPattern& pattern, const juce::OSCAddress& address);

    /** The datagram OSCSender sends for a message or a bundle (empty when it would send nothing). */
    static juce::MemoryBlock encode (const juce::OSCMessage& message);
    static juce::MemoryBlock encode (const juce::OSCBundle& bundle);

private:
    class MessageCheck;
    class SymbolMatch;
};
