// The framework's OSC module, compiled here rather than from its own source file: its decoder
// (OSCInputStream) and encoder (OSCOutputStream) live in an unnamed namespace of that source,
// and only code in the same translation unit can reach them. The module's source must come
// first, before any other header.
#include <juce_osc/juce_osc.cpp>

#include "OscPacket.h"

#include <bitset>
#include <string>
#include <vector>

//==============================================================================
/** Walks an OSC message as the framework's decoder reads one, without building anything. */
class OscPacket::MessageCheck
{
public:
    MessageCheck (const void* data, size_t numBytes) : bytes (static_cast<const juce::uint8*> (data)), size (numBytes)
    {}

    bool message()
    {
        if (bytes == nullptr || size == 0 || bytes[0] != '/')
            return false;

        // Printable ASCII but space and '#' (the slashes separate the symbols).
        if (! string ([] (juce::uint8 c) { return c > ' ' && c < 0x7f && c != '#'; }))
            return false;

        if (position >= size || bytes[position] != ',')
            return false;

        const auto tags = ++position;

        if (! string ([] (juce::uint8 c) { return c == 'i' || c == 'f' || c == 's' || c == 'b' || c == 'r'; }))
            return false;

        for (auto tag = tags; bytes[tag] != 0; ++tag)
            if (! argument (bytes[tag]))
                return false;

        return position == size;
    }

private:
    /** Zeros from end up to the next multiple of four, and the position moved past them. */
    bool padding (size_t end)
    {
        const auto paddedEnd = (end + 3) & ~(size_t) 3;

        if (end > size || paddedEnd > size)
            return false;

        for (auto i = end; i < paddedEnd; ++i)
            if (bytes[i] != 0)
                return false;

        position = paddedEnd;
        return true;
    }

    /** A NUL-terminated string of allowed characters, then its padding. */
    template <typename IsAllowed>
    bool string (IsAllowed isAllowed)
    {
        for (auto i = position; i < size; ++i)
        {
            if (bytes[i] == 0)
                return padding (i + 1);

            if (! isAllowed (bytes[i]))
                return false;
        }

        return false;
    }

    bool argument (juce::uint8 type)
    {
        switch (type)
        {
            case 'i':
            case 'f':
            case 'r': return padding (position + 4);

            case 's': return string ([] (juce::uint8 c) { return c < 0x80; });

            case 'b':
            {
                if (size - position < 4)
                    return false;

                const auto blobSize = (juce::int32) juce::ByteOrder::bigEndianInt (bytes + position);

                if (blobSize < 0 || (size_t) blobSize > size - position - 4)
                    return false;

                // The framework's decoder also wants (size + 3) % 4 bytes after the size, which
                // only an empty blob at the very end lacks.
                if (size - position - 4 < (size_t) ((blobSize + 3) % 4))
                    return false;

                return padding (position + 4 + (size_t) blobSize);
            }

            default: return false;
        }
    }

    const juce::uint8* bytes;
    size_t size;
    size_t position = 0;
};

//==============================================================================
/** One symbol of an address pattern (the text between two slashes) against one symbol of an
    address, as the framework's OSCPatternMatcherImpl decides it, quirks included: a '*' matches nothing
    at the end of the address only when it ends the pattern; inside [...] a '-' needs a
    character of the address left, and a range runs from the set's last character; a set
    that is never closed fails.

    Instead of the framework's backtracking, one pass over the pattern's tokens keeps, for each
    token, the positions in the address where it can start. Both texts are printable ASCII (the
    framework's address classes refuse anything else). */
class OscPacket::SymbolMatch
{
public:
    SymbolMatch (const juce::String& patternText, const juce::String& targetText)
        : pattern (patternText.toStdString()), target (targetText.toStdString()), patternLength (pattern.size()),
          targetLength (target.size()), reachable ((patternLength + 1) * (targetLength + 1), false)
    {}

    bool matches()
    {
        reach (0, 0);

        for (size_t p = 0; p < patternLength; ++p)
        {
            if (! isReachableAnywhere (p))
                continue;

            switch (pattern[p])
            {
                case '?':
                    for (size_t t = 0; t < targetLength; ++t)
                        if (isReachable (p, t))
                            reach (p + 1, t + 1);
                    break;

                case '*':
                    if (p + 1 == patternLength)
                        return true; // the rest of the address, from wherever it stands

                    for (size_t t = 0; t < targetLength; ++t)
                        if (isReachable (p, t))
                            for (auto u = t; u < targetLength; ++u)
                                reach (p + 1, u);
                    break;

                case '{': stringSet (p); break;
                case '[': charSet (p); break;

                default:
                    for (size_t t = 0; t < targetLength; ++t)
                        if (isReachable (p, t) && target[t] == pattern[p])
                            reach (p + 1, t + 1);
                    break;
            }
        }

        return isReachable (patternLength, targetLength);
    }

private:
    bool isReachable (size_t p, size_t t) const { return reachable[p * (targetLength + 1) + t]; }
    void reach (size_t p, size_t t) { reachable[p * (targetLength + 1) + t] = true; }

    bool isReachableAnywhere (size_t p) const
    {
        for (size_t t = 0; t <= targetLength; ++t)
            if (isReachable (p, t))
                return true;

        return false;
    }

    /** {a,b,...}: any one of the texts, which may be empty. */
    void stringSet (size_t open)
    {
        std::vector<std::string> alternatives;
        std::string current;
        auto close = open + 1;

        for (;; ++close)
        {
            if (close == patternLength)
                return; // never closed

            if (pattern[close] == '}' || pattern[close] == ',')
            {
                alternatives.push_back (current);
                current.clear();

                if (pattern[close] == '}')
                    break;
            }
            else
            {
                current += pattern[close];
            }
        }

        for (size_t t = 0; t <= targetLength; ++t)
            if (isReachable (open, t))
                for (auto& alternative : alternatives)
                    if (target.compare (t, alternative.size(), alternative) == 0)
                        reach (close + 1, t + alternative.size());
    }

    /** [abc], [a-z], [!abc]: one character of the set (or of anything else), or nothing at all
        for an empty set. */
    void charSet (size_t open)
    {
        std::bitset<128> set;
        bool hasAny = false, negated = false;
        int last = 0;
        auto next = open + 1;

        auto add = [&] (int c)
        {
            set.set ((size_t) (c & 0x7f));
            hasAny = true;
            last = c;
        };

        for (;;)
        {
            if (next == patternLength)
                return; // never closed

            const auto c = (int) (unsigned char) pattern[next++];

            if (c == ']')
                break;

            if (c == '-')
            {
                // The range's end is read but not consumed: it is taken once more as a character.
                // (At the end of the address a range fails the match; so does a non-empty set.)
                const auto end = next < patternLength ? (int) (unsigned char) pattern[next] : 0;

                if (end == ']')
                {
                    add ('-');
                    continue;
                }

                if (end == ',' || end == '{' || end == '}' || ! hasAny)
                    return;

                for (auto from = last; end > from;)
                    add (++from);
            }
            else if (c == '!' && ! hasAny && ! negated)
            {
                negated = true;
            }
            else
            {
                add (c);
            }
        }

        for (size_t t = 0; t <= targetLength; ++t)
        {
            if (! isReachable (open, t))
                continue;

            if (! hasAny)
                reach (next, t);
            else if (t < targetLength && set.test ((size_t) ((unsigned char) target[t] & 0x7f)) != negated)
                reach (next, t + 1);
        }
    }

    const std::string pattern, target;
    const size_t patternLength, targetLength;
    std::vector<bool> reachable;
};

//==============================================================================
bool OscPacket::isWellFormedMessage (const void* data, size_t size)
{
    return MessageCheck (data, size).message();
}

std::optional<juce::OSCMessage> OscPacket::readMessage (const void* data, size_t size)
{
    size = juce::jmin (size, receiveBufferSize);

    if (! isWellFormedMessage (data, size))
        return std::nullopt;

    juce::OSCInputStream stream (data, size);

    try
    {
        auto element = stream.readElementWithKnownSize (size);

        if (element.isMessage())
            return element.getMessage();
    }
    catch (const juce::OSCFormatError&)
    {}

    return std::nullopt;
}

bool OscPacket::addressMatches (const juce::OSCAddressPattern& pattern, const juce::OSCAddress& address)
{
    if (! pattern.containsWildcards())
        return pattern.toString() == address.toString();

    auto symbols = [] (const juce::String& text)
    {
        juce::StringArray result;
        result.addTokens (text, "/", {});
        result.removeEmptyStrings (false);
        return result;
    };

    const auto patternSymbols = symbols (pattern.toString());
    const auto addressSymbols = symbols (address.toString());

    if (patternSymbols.size() != addressSymbols.size())
        return false;

    for (int i = 0; i < patternSymbols.size(); ++i)
        if (! SymbolMatch (patternSymbols[i], addressSymbols[i]).matches())
            return false;

    return true;
}

juce::MemoryBlock OscPacket::encode (const juce::OSCMessage& message)
{
    juce::OSCOutputStream stream;

    if (! stream.writeMessage (message))
        return {};

    return { stream.getData(), stream.getDataSize() };
}

juce::MemoryBlock OscPacket::encode (const juce::OSCBundle& bundle)
{
    juce::OSCOutputStream stream;

    if (! stream.writeBundle (bundle))
        return {};

    return { stream.getData(), stream.getDataSize() };
}
