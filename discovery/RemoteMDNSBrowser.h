#pragma once

#include "DiscoveredHost.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <thread>

/**
    Finds QUENTARO hosts on the local network by DNS-SD ("_quentaroremote._udp"), resolving
    each service to its IPv4 addresses on port 9212, and keeps the list of hosts found.

    Threads: start, stop, getHosts and the destructor run on the message thread; all DNS-SD
    replies run on the browser's own thread. The list is guarded by hostLock; listeners hear
    of changes on the message thread through the change broadcaster.
*/
class RemoteMDNSBrowser : public juce::ChangeBroadcaster
{
public:
    static constexpr juce::uint16 hostPort = 9212;

    RemoteMDNSBrowser();
    ~RemoteMDNSBrowser() override;

    /** Begins browsing (stopping any earlier browse first); without a working DNS-SD
        service nothing starts and the list stays empty. */
    void start();

    /** Ends browsing, waits for the browser thread and empties the list. Safe to call when
        never started, and more than once. Never from the browser thread. */
    void stop();

    /** A copy of the hosts found, in the order their addresses arrived. */
    juce::Array<DiscoveredHost> getHosts() const;

    /** Appends a host unless one with the same name and address is listed; sends a change
        message either way. (The address reply's last step; any thread.) */
    void addHost (const DiscoveredHost& host);

    /** Removes every host with this service name and sends a change message. (A browse
        reply for a service that went away; any thread.) */
    void removeHostsNamed (const juce::String& serviceName);

    /** True from a start that reached the DNS-SD service until stop, even when the browser
        thread has since ended after an error (the list then no longer changes). */
    bool isBrowsing() const;

private:
    /** What every DNS-SD call of one browse is handed as its context, and the replies that
        use it; defined with the DNS-SD code. */
    struct BrowseContext;

    /** Runs on browseThread: handles browse replies (and, nested in them, each service's
        resolve and address lookup) until stop. */
    void threadLoop();

    // Written only by start and stop on the message thread, while browseThread is not running;
    // read by browseThread. (dns_sd.h's DNSServiceRef is a pointer to this opaque type; the
    // platform header stays out of this one, which the connect panel includes.)
    struct _DNSServiceRef_t* browseRef = nullptr;
    std::thread browseThread;
    std::atomic<bool> shouldStop { false };

    juce::CriticalSection hostLock;
    juce::Array<DiscoveredHost> hosts; // guarded by hostLock

    std::unique_ptr<BrowseContext> context; // from a successful start until stop

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteMDNSBrowser)
};
