#include "LocalAddress.h"

juce::String LocalAddress::choose (const juce::String& hostAddress, const juce::StringArray& interfaceAddresses)
{
    auto lastDot = hostAddress.lastIndexOfChar ('.');

    if (lastDot > 0)
    {
        auto prefix = hostAddress.substring (0, lastDot) + ".";

        for (auto& address : interfaceAddresses)
            if (! address.startsWith ("127.") && address != "0.0.0.0" && address.startsWith (prefix))
                return address;
    }

    for (auto& address : interfaceAddresses)
        if (address.isNotEmpty() && ! address.startsWith ("127."))
            return address;

    return frameworkLocal (interfaceAddresses);
}

juce::String LocalAddress::frameworkLocal (const juce::StringArray& interfaceAddresses)
{
    for (auto& address : interfaceAddresses)
        if (address != "127.0.0.1")
            return address;

    return "127.0.0.1";
}

juce::StringArray LocalAddress::interfaces()
{
    juce::StringArray result;

    for (auto& address : juce::IPAddress::getAllAddresses (false))
        result.add (address.toString());

    return result;
}
