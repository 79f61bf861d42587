#include "MessageRecord.h"

const juce::Identifier MessageRecord::recordType { "QUENTARO" };
const juce::Identifier MessageRecord::rcType { "RCType" };
const juce::Identifier MessageRecord::ip { "IP" };

//==============================================================================
/** Walks a serialised value tree exactly as the framework's reader consumes it, without
    building anything, and fails on anything that reader would mishandle. */
class MessageRecord::StreamCheck
{
public:
    StreamCheck (const void* data, size_t size) : next (static_cast<const juce::uint8*> (data)), remaining (size) {}

    bool tree (int depth)
    {
        size_t typeLength = 0;

        if (depth > maxDepth || ! string (typeLength) || typeLength == 0)
            return false;

        int numProperties = 0;

        if (! compressedInt (numProperties) || numProperties < 0)
            return false;

        // Each property needs at least a one-letter name, its terminator and a size byte.
        if ((size_t) numProperties > remaining / 3)
            return false;

        for (int i = 0; i < numProperties; ++i)
        {
            size_t nameLength = 0;

            if (! string (nameLength) || nameLength == 0 || ! value (depth))
                return false;
        }

        int numChildren = 0;

        if (! compressedInt (numChildren) || numChildren < 0)
            return false;

        // The smallest child is a one-letter type, its terminator and two zero counts.
        if ((size_t) numChildren > remaining / 4)
            return false;

        for (int i = 0; i < numChildren; ++i)
            if (! tree (depth + 1))
                return false;

        return true;
    }

private:
    enum Marker
    {
        intMarker = 1,
        boolTrueMarker = 2,
        boolFalseMarker = 3,
        doubleMarker = 4,
        stringMarker = 5,
        int64Marker = 6,
        arrayMarker = 7,
        binaryMarker = 8
    };

    /** Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF); the framework's
        own check lets malformed continuation bytes through. */
    static bool isValidUtf8 (const juce::uint8* text, size_t length)
    {
        for (size_t i = 0; i < length;)
        {
            auto lead = text[i];

            if (lead < 0x80)
            {
                ++i;
                continue;
            }

            size_t extra = 0;
            juce::uint32 codePoint = 0, lowest = 0;

            if ((lead & 0xe0) == 0xc0)
            {
                extra = 1;
                codePoint = lead & 0x1fu;
                lowest = 0x80;
            }
            else if ((lead & 0xf0) == 0xe0)
            {
                extra = 2;
                codePoint = lead & 0x0fu;
                lowest = 0x800;
            }
            else if ((lead & 0xf8) == 0xf0)
            {
                extra = 3;
                codePoint = lead & 0x07u;
                lowest = 0x10000;
            }
            else
                return false;

            if (i + extra >= length)
                return false;

            for (size_t k = 1; k <= extra; ++k)
            {
                auto continuation = text[i + k];

                if ((continuation & 0xc0) != 0x80)
                    return false;

                codePoint = (codePoint << 6) | (continuation & 0x3fu);
            }

            if (codePoint < lowest || codePoint > 0x10ffff || (codePoint >= 0xd800 && codePoint <= 0xdfff))
                return false;

            i += extra + 1;
        }

        return true;
    }

    bool skip (size_t count)
    {
        if (count > remaining)
            return false;

        next += count;
        remaining -= count;
        return true;
    }

    bool byte (juce::uint8& result)
    {
        if (remaining == 0)
            return false;

        result = *next;
        return skip (1);
    }

    bool string (size_t& length)
    {
        auto* end = static_cast<const juce::uint8*> (std::memchr (next, 0, remaining));

        if (end == nullptr)
            return false;

        length = (size_t) (end - next);

        if (! isValidUtf8 (next, length))
            return false;

        return skip (length + 1);
    }

    bool compressedInt (int& result)
    {
        juce::uint8 sizeByte = 0;

        if (! byte (sizeByte))
            return false;

        result = 0;
        auto numBytes = (size_t) (sizeByte & 0x7f);

        if (sizeByte == 0)
            return true;

        if (numBytes > 4 || numBytes > remaining)
            return false;

        juce::uint32 magnitude = 0;

        for (size_t i = 0; i < numBytes; ++i)
            magnitude |= (juce::uint32) next[i] << (8 * i);

        skip (numBytes);

        if (magnitude > (juce::uint32) std::numeric_limits<int>::max())
            return false;

        result = (sizeByte & 0x80) != 0 ? -(int) magnitude : (int) magnitude;
        return true;
    }

    bool value (int depth)
    {
        int numBytes = 0;

        if (! compressedInt (numBytes))
            return false;

        if (numBytes <= 0)
            return true;

        juce::uint8 marker = 0;

        if (! byte (marker))
            return false;

        auto payload = (size_t) numBytes - 1;

        switch (marker)
        {
            case intMarker: return skip (4);
            case int64Marker: return skip (8);
            case doubleMarker: return skip (8);
            case boolTrueMarker:
            case boolFalseMarker: return true;

            case stringMarker:
            {
                if (payload > remaining)
                    return false;

                // The framework reads exactly the counted bytes and stops at an embedded terminator.
                auto* end = static_cast<const juce::uint8*> (std::memchr (next, 0, payload));
                auto textLength = end != nullptr ? (size_t) (end - next) : payload;

                if (! isValidUtf8 (next, textLength))
                    return false;

                return skip (payload);
            }

            case arrayMarker:
            {
                int numElements = 0;

                if (depth >= maxDepth || ! compressedInt (numElements) || numElements < 0
                    || (size_t) numElements > remaining)
                    return false;

                for (int i = 0; i < numElements; ++i)
                    if (! value (depth + 1))
                        return false;

                return true;
            }

            case binaryMarker:
            default: return skip (payload);
        }
    }

    const juce::uint8* next;
    size_t remaining;
};

//==============================================================================
juce::ValueTree MessageRecord::build (RCType type, std::initializer_list<Property> properties)
{
    juce::ValueTree tree (recordType);
    tree.setProperty (rcType, static_cast<int> (type), nullptr);

    for (auto& [name, value] : properties)
        tree.setProperty (name, value, nullptr);

    return tree;
}

juce::MemoryBlock MessageRecord::toBytes (const juce::ValueTree& tree)
{
    juce::MemoryOutputStream stream (256);
    tree.writeToStream (stream);
    return stream.getMemoryBlock();
}

bool MessageRecord::isWellFormed (const void* data, size_t size)
{
    if (data == nullptr || size == 0)
        return false;

    StreamCheck check (data, size);
    return check.tree (0);
}

juce::ValueTree MessageRecord::fromBytes (const void* data, size_t size)
{
    if (! isWellFormed (data, size))
        return {};

    return juce::ValueTree::readFromData (data, size);
}

juce::MemoryBlock MessageRecord::stampAddress (const void* data, size_t size, const juce::String& localAddress)
{
    auto tree = fromBytes (data, size);

    if (! tree.isValid())
        return { data, size };

    if (localAddress.isNotEmpty())
        tree.setProperty (ip, localAddress, nullptr);

    return toBytes (tree);
}

std::vector<juce::ValueTree> MessageRecord::numberedChildren (const juce::ValueTree& tree, const juce::String& prefix,
    int count)
{
    std::vector<juce::ValueTree> result ((size_t) juce::jmax (0, count));

    for (const auto& child : tree)
    {
        auto name = child.getType().toString();

        if (! name.startsWith (prefix))
            continue;

        auto number = name.substring (prefix.length());

        // Only the canonical decimal form names a slot: "S7", not "S07" or "S+7".
        if (number.isEmpty() || ! number.containsOnly ("0123456789") || (number.length() > 1 && number[0] == '0')
            || number.length() > 9)
            continue;

        auto index = number.getIntValue();

        if (index < count && ! result[(size_t) index].isValid())
            result[(size_t) index] = child;
    }

    return result;
}

juce::String MessageRecord::text (const juce::ValueTree& tree, const juce::Identifier& name)
{
    return tree.getProperty (name).toString();
}

int MessageRecord::integer (const juce::ValueTree& tree, const juce::Identifier& name)
{
    return parseLeadingInt (text (tree, name));
}

juce::int64 MessageRecord::integer64 (const juce::ValueTree& tree, const juce::Identifier& name)
{
    return parseLeadingInt64 (text (tree, name));
}

juce::int64 MessageRecord::parseLeadingInt64 (const juce::String& text)
{
    auto p = text.getCharPointer();

    while (juce::CharacterFunctions::isWhitespace (*p))
        ++p;

    bool negative = false;

    if (*p == '-' || *p == '+')
    {
        negative = *p == '-';
        ++p;
    }

    // Accumulate as a negative number so that the most negative value is reachable.
    constexpr auto lowest = std::numeric_limits<juce::int64>::min();
    juce::int64 value = 0;
    bool saturated = false;

    for (; *p >= '0' && *p <= '9'; ++p)
    {
        auto digit = (juce::int64) (*p - '0');

        if (value < (lowest + digit) / 10)
            saturated = true;
        else if (! saturated)
            value = value * 10 - digit;
    }

    if (saturated)
        return negative ? lowest : std::numeric_limits<juce::int64>::max();

    if (negative)
        return value;

    return value == lowest ? std::numeric_limits<juce::int64>::max() : -value;
}

int MessageRecord::parseLeadingInt (const juce::String& text)
{
    auto value = parseLeadingInt64 (text);
    return (int) juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
        (juce::int64) std::numeric_limits<int>::max(), value);
}
