#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** The message kinds, as carried in a record's "RCType". */
enum class RCType : int
{
    Hello = 0,
    ConnectRequest = 1,
    Play = 2,
    Pause = 4,
    Stop = 5,
    PlayNext = 6,
    PlayPrev = 7,
    SetPosition = 8,
    SetNextCue = 9,
    FireMarker = 10,
    SetMarkerLoop = 11,
    FireCue = 12,
    FireHotCue = 13,
    Ping = 14,
    SubmitPin = 15,

    ShowInfo = 100,
    CueState = 101,
    TransportState = 102,
    CueTable = 103,
    MarkerLoopState = 104,
    HotCueList = 105,
    Pong = 106,
    PinRequired = 107,
    PinRejected = 108,
    HostDisconnect = 109
};

/**
    One message record: a value tree of type "QUENTARO" whose integer property "RCType"
    names the message and whose other properties are texts, serialised in the framework's
    binary value-tree format. Everything here is plain logic, callable from any thread.
*/
struct MessageRecord
{
    static const juce::Identifier recordType; // "QUENTARO"
    static const juce::Identifier rcType;     // "RCType"
    static const juce::Identifier ip;         // "IP"

    using Property = std::pair<juce::Identifier, juce::String>;

    /** A record of the given kind: "RCType" first, as an integer, then the properties in order, as texts. */
    static juce::ValueTree build (RCType type, std::initializer_list<Property> properties = {});

    /** Serialises a tree into a memory block (the stream starts with 256 bytes of capacity). */
    static juce::MemoryBlock toBytes (const juce::ValueTree& tree);

    /** Reads bytes back as a tree. Bytes that are not a well-formed serialised tree give an
        invalid tree, without handing them to the framework's reader (see isWellFormed). */
    static juce::ValueTree fromBytes (const void* data, size_t size);

    /** True when the bytes hold a serialised value tree that the framework's reader can take
        safely. The framework trusts every count it reads: a crafted datagram could make it
        allocate gigabytes, loop billions of times or recurse without bound. This walks the
        format first, checking every count against the bytes that remain, the nesting depth
        against maxDepth and every text for valid UTF-8. */
    static bool isWellFormed (const void* data, size_t size);

    static constexpr int maxDepth = 16;

    /** The bytes to send for a record: when they read back as a valid tree and localAddress is
        not empty, "IP" is set to localAddress (keeping its position when the record has it,
        otherwise last) and the tree is written again; bytes that do not read back go out as given. */
    static juce::MemoryBlock stampAddress (const void* data, size_t size, const juce::String& localAddress);

    /** A property's text form, whatever its type on the wire; a missing property gives empty text. */
    static juce::String text (const juce::ValueTree& tree, const juce::Identifier& name);

    /** A property read as text and then by the leading-decimal parse. */
    static int integer (const juce::ValueTree& tree, const juce::Identifier& name);
    static juce::int64 integer64 (const juce::ValueTree& tree, const juce::Identifier& name);

    /** The children named prefix followed by 0, 1, ... count - 1 in decimal, in that order; a
        missing child is an invalid tree (which reads as empty). Where several children share
        a name the first counts. One pass over the children, whatever count is. */
    static std::vector<juce::ValueTree> numberedChildren (const juce::ValueTree& tree, const juce::String& prefix,
        int count);

    /** The leading-decimal parse: optional leading white space and sign, then the digits up to
        the first non-digit; text without leading digits gives 0. Values beyond the type's range
        saturate at its ends rather than wrap. */
    static int parseLeadingInt (const juce::String& text);
    static juce::int64 parseLeadingInt64 (const juce::String& text);

private:
    class StreamCheck;
};
