#include "RemoteMDNSBrowser.h"

// Placeholder until the DNS-SD browse is in: the list API works, start finds nothing.

class RemoteMDNSBrowser::Impl
{};

RemoteMDNSBrowser::RemoteMDNSBrowser() = default;

RemoteMDNSBrowser::~RemoteMDNSBrowser()
{
    stop();
}

void RemoteMDNSBrowser::start()
{
    stop();
}

void RemoteMDNSBrowser::stop()
{
    const juce::ScopedLock sl (hostLock);
    hosts.clearQuick();
}

juce::Array<DiscoveredHost> RemoteMDNSBrowser::getHosts() const
{
    const juce::ScopedLock sl (hostLock);
    return hosts;
}

void RemoteMDNSBrowser::addHost (const DiscoveredHost& host)
{
    const juce::ScopedLock sl (hostLock);

    if (! hosts.contains (host))
        hosts.add (host);

    sendChangeMessage();
}

void RemoteMDNSBrowser::removeHostsNamed (const juce::String& serviceName)
{
    const juce::ScopedLock sl (hostLock);

    for (int i = hosts.size(); --i >= 0;)
        if (hosts.getReference (i).serviceName == serviceName)
            hosts.remove (i);

    sendChangeMessage();
}

bool RemoteMDNSBrowser::isBrowsing() const
{
    return false;
}
