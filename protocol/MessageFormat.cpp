#include "MessageFormat.h"

#include <unistd.h>

juce::String MessageFormat::deviceName (const char* bytes, size_t maxBytes)
{
    juce::String name;

    for (size_t i = 0; i < maxBytes && bytes[i] != 0; ++i)
        name += juce::String::charToString ((juce::juce_wchar) (unsigned char) bytes[i]);

    auto cut = name.indexOfIgnoreCase (".local");
    return cut >= 0 ? name.substring (0, cut) : name;
}

juce::String MessageFormat::localDeviceName()
{
    char buffer[256] = {};

    if (gethostname (buffer, sizeof (buffer) - 1) != 0)
        return {};

    return deviceName (buffer, sizeof (buffer) - 1);
}

juce::String MessageFormat::position (double value)
{
    char text[64] = {};
    std::snprintf (text, sizeof (text), "%g", value);
    return text;
}

int MessageFormat::latency (juce::uint32 counterNow, juce::int64 echoedStamp)
{
    auto difference = (juce::int32) (counterNow - (juce::uint32) echoedStamp);
    return difference < 1 ? 0 : difference;
}
