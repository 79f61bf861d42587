#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/**
    Makes the simulated host findable on the local network, as the real host is: a DNS-SD
    service of type "_quentaroremote._udp" on the command port, named after the host.

    This is the hook for it; the announcer made here announces nothing yet, so remotes reach
    the simulator by its address.

    Threads: the main thread announces at start and withdraws on quitting.
*/
class ServiceAnnouncer
{
public:
    virtual ~ServiceAnnouncer() = default;

    virtual void announce (const juce::String& serviceName, int port) = 0;
    virtual void withdraw() = 0;

    static constexpr const char* serviceType = "_quentaroremote._udp";

    /** The announcer of this build. */
    static std::unique_ptr<ServiceAnnouncer> create();

private:
    class Silent;
};
