#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "discovery/RecentHosts.h"
#include "panels/RemoteMidiHotCuePanel.h"
#include "protocol/LocalAddress.h"
#include "protocol/MessageFormat.h"
#include "protocol/MessageRecord.h"
#include "protocol/OscPacket.h"
#include "show/WebBridge.h"

#include <cstdlib>

namespace
{
/** The bytes as the text of a string value in a host's record, read the way the client reads
    one; nothing when the record's parse refuses them (a host text is always valid UTF-8). */
std::optional<juce::String> hostText (const uint8_t* data, size_t size)
{
    // A record of type "F" with one string property "t": its bytes as the framework writes them.
    juce::MemoryOutputStream stream;
    stream.writeString ("F");
    stream.writeCompressedInt (1);
    stream.writeString ("t");
    stream.writeCompressedInt ((int) size + 1);
    stream.writeByte (5); // the string marker
    stream.write (data, size);
    stream.writeCompressedInt (0);

    const auto record = MessageRecord::fromBytes (stream.getData(), stream.getDataSize());

    if (! record.isValid())
        return std::nullopt;

    return MessageRecord::text (record, "t");
}

/** Printable ASCII and the six C white-space characters, where strtoll reads as our parse does. */
bool isPlainAscii (const juce::String& text)
{
    for (auto p = text.getCharPointer(); ! p.isEmpty(); ++p)
        if (! ((*p >= 0x20 && *p < 0x7f) || (*p >= 9 && *p <= 13)))
            return false;

    return true;
}

void checkLeadingDecimal (const juce::String& text)
{
    const auto value = MessageRecord::parseLeadingInt64 (text);
    const auto narrow = juce::jlimit ((juce::int64) std::numeric_limits<int>::min(),
        (juce::int64) std::numeric_limits<int>::max(), value);

    FUZZ_CHECK (MessageRecord::parseLeadingInt (text) == (int) narrow);

    // strtoll reads the same leading decimal and saturates the same way.
    if (isPlainAscii (text))
        FUZZ_CHECK (value == std::strtoll (text.toRawUTF8(), nullptr, 10));
}

void checkColourCode (const juce::String& text)
{
    const auto colour = RemoteMidiHotCuePanel::parseColourCode (text);

    // Never invisible: transparent or unreadable codes give the accent green.
    FUZZ_CHECK (colour.getAlpha() > 0);

    const auto digits = text.startsWithChar ('#') ? text.substring (1) : text;

    if (digits.length() == 6 && digits.containsOnly ("0123456789abcdefABCDEF"))
        FUZZ_CHECK (colour.getARGB() == (0xff000000u | (juce::uint32) digits.getHexValue32()));
}

void checkPageLiterals (const juce::String& text)
{
    FUZZ_CHECK (! WebBridge::isNumberLiteral (text) || WebBridge::isNumberOrBooleanLiteral (text));

    // A document goes into a page statement unquoted: the check must take it whole or not at
    // all, whatever surrounds it.
    if (WebBridge::isDocumentLiteral (text))
    {
        FUZZ_CHECK (WebBridge::isDocumentLiteral (" " + text + "\n"));
        FUZZ_CHECK (! WebBridge::isDocumentLiteral (text + ","));
        FUZZ_CHECK (! WebBridge::isDocumentLiteral (text + "]);alert(1"));
    }
}

/** An address pattern against an address, both from the text (pattern, then a line break and
    the address; "/quentaro" without one), matched by OscPacket as by the framework. */
void checkAddressPattern (const juce::String& text)
{
    const auto lineBreak = text.indexOfChar ('\n');
    const auto patternText = lineBreak < 0 ? text : text.substring (0, lineBreak);
    const auto addressText = lineBreak < 0 ? juce::String ("/quentaro") : text.substring (lineBreak + 1);

    // The framework's backtracking takes exponential time in the number of wildcards: only
    // short patterns are compared with it.
    if (patternText.length() > 12 || addressText.length() > 12)
        return;

    try
    {
        const juce::OSCAddressPattern pattern { patternText };
        const juce::OSCAddress address { addressText };
        FUZZ_CHECK (OscPacket::addressMatches (pattern, address) == pattern.matches (address));
    }
    catch (const juce::OSCFormatError&)
    {
        // Not an address pattern, or not an address: the decoder never makes one of such text.
    }
}

void checkAddresses (const juce::String& text)
{
    const juce::StringArray interfaces { "127.0.0.1", "192.168.1.12", "10.0.0.3" };

    FUZZ_CHECK (LocalAddress::choose (text, interfaces).isNotEmpty());
    FUZZ_CHECK (! RecentHosts::isLikelyIPv4 (text) || text.length() <= 15);
}
} // namespace

void quentaroFuzzFormats (const uint8_t* data, size_t size)
{
    // The host name as gethostname leaves it: bytes, not text.
    const auto device = MessageFormat::deviceName (reinterpret_cast<const char*> (data), size);
    FUZZ_CHECK (! device.containsIgnoreCase (".local"));

    const auto text = hostText (data, size);

    if (! text.has_value())
        return;

    checkLeadingDecimal (*text);
    checkColourCode (*text);
    checkPageLiterals (*text);
    checkAddresses (*text);
    checkAddressPattern (*text);
}
