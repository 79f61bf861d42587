#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>
#include <thread>

/**
    Makes the simulated host findable on the local network, as the real host is: a DNS-SD
    service of type "_quentaroremote._udp" on the command port, under a name of its own.

    The outcome is reported as one JSON line: {"event": "announced", "name": ...} with the
    name the service got (the DNS-SD daemon may have renamed it to avoid a clash), or
    {"event": "announce-failed"} (no DNS-SD daemon, for instance), which is not fatal: remotes
    can still reach the simulator by its address.

    Threads: announce and withdraw are called on the main thread. The DNS-SD reference's
    replies are processed on the announcer's own thread, which also reports the outcome.
*/
class ServiceAnnouncer
{
public:
    using LineSink = std::function<void (const juce::String&)>;

    static constexpr const char* serviceType = "_quentaroremote._udp";

    explicit ServiceAnnouncer (LineSink sink);

    /** Withdraws the service. */
    ~ServiceAnnouncer();

    /** Registers the service (withdrawing an earlier one first). */
    void announce (const juce::String& serviceName, int port);

    /** Ends the registration, so the service is withdrawn from the network. */
    void withdraw();

private:
    struct Replies;

    void processReplies();
    void report (const juce::String& event, const juce::String& name = {});

    LineSink sink;
    struct _DNSServiceRef_t* registration = nullptr; // dns_sd.h's DNSServiceRef
    std::thread replyThread;
    std::atomic<bool> stopping { false };
    bool reported = false; // replyThread only, after announce

    JUCE_DECLARE_NON_COPYABLE (ServiceAnnouncer)
};
