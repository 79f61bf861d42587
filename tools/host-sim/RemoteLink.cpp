#include "RemoteLink.h"

RemoteLink::RemoteLink (juce::String pinToUse, juce::String fixedAddressToUse)
    : pin (std::move (pinToUse)), fixedAddress (std::move (fixedAddressToUse)), address (fixedAddress)
{}

void RemoteLink::heard (const juce::String& announcedAddress)
{
    // A fixed address stays the target whatever the remote announces; after a goodbye, the
    // next record brings it back.
    if (fixedAddress.isNotEmpty())
        address = fixedAddress;
    else if (announcedAddress.isNotEmpty())
        address = announcedAddress;
}

void RemoteLink::forget()
{
    pairedAddresses.erase (address);
    address.clear();
}

bool RemoteLink::isPaired() const
{
    return ! requiresPin() || (knowsRemote() && pairedAddresses.count (address) > 0);
}

RemoteLink::PinResult RemoteLink::submitPin (const juce::String& submitted)
{
    if (! requiresPin())
        return PinResult::accepted;

    if (! knowsRemote() || submitted.trim() != pin)
        return PinResult::rejected;

    pairedAddresses.insert (address);
    return PinResult::accepted;
}

void RemoteLink::silenceUntil (Clock::time_point end)
{
    silentUntil = end;
    silenceReported = false;
}

bool RemoteLink::silenceHasEnded (Clock::time_point now)
{
    if (silenceReported || isSilent (now))
        return false;

    silenceReported = true;
    return true;
}

bool RemoteLink::mayPong (Clock::time_point now) const
{
    return knowsRemote() && ! isSilent (now);
}

bool RemoteLink::mayReport (Clock::time_point now) const
{
    return mayAnswerPairing (now) && isPaired();
}

bool RemoteLink::mayAnswerPairing (Clock::time_point now) const
{
    return knowsRemote() && ! isSilent (now) && ! pongsOnly;
}
