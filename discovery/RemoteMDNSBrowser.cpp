#include "RemoteMDNSBrowser.h"

#include "DnsSdAddressLookup.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <dns_sd.h>
#include <poll.h>
#include <utility>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr const char* serviceType = "_quentaroremote._udp";

/** How long one wait on a reference's socket lasts before shouldStop is looked at again: the
    longest that stop waits for the browser thread. */
constexpr auto waitSlice = std::chrono::milliseconds (50);

/** How long a service's resolve, and then its address lookup, may take before the service is
    given up; until then the thread handles no other service. */
constexpr auto answerTimeLimit = std::chrono::seconds (5);

/** After a host's first address, how long a further one may take to count as part of the same
    answer: a host with several IPv4 addresses is listed once for each. */
constexpr auto moreAddressesWindow = std::chrono::milliseconds (150);
} // namespace

//==============================================================================
struct RemoteMDNSBrowser::BrowseContext
{
    explicit BrowseContext (RemoteMDNSBrowser& browser) : owner (&browser) {}

    RemoteMDNSBrowser* owner;
    juce::String serviceName; // from the latest browse reply
    juce::uint16 port = 0;    // from the latest resolve reply, host byte order

    // Counted by the replies (errors too), so that a lookup's processing knows when its
    // answer has come.
    bool resolveAnswered = false;
    int addressReplies = 0;

    /** Waits until the reference has a reply to process, the deadline passes or the browser
        stops; true when there is something to process. (Browser thread.) */
    bool waitForReply (DNSServiceRef ref, Clock::time_point deadline) const
    {
        const auto socket = DNSServiceRefSockFD (ref);

        if (socket < 0)
            return false;

        while (! owner->shouldStop)
        {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds> (deadline - Clock::now());

            if (left.count() <= 0)
                return false;

            pollfd request { socket, POLLIN, 0 };
            const auto ready = poll (&request, 1, (int) std::min (left, waitSlice).count());

            // A hung-up or failed socket also counts: processing it then reports the error.
            if (ready > 0)
                return true;

            if (ready < 0 && errno != EINTR)
                return false;
        }

        return false;
    }

    /** Processes the reference's replies until the condition holds, the deadline passes, the
        browser stops or the reference fails. (Browser thread.) */
    template <typename Condition>
    void processUntil (DNSServiceRef ref, Clock::time_point deadline, Condition isAnswered)
    {
        while (! isAnswered() && waitForReply (ref, deadline))
            if (DNSServiceProcessResult (ref) != kDNSServiceErr_NoError)
                return;
    }

    //==============================================================================
    // The replies run on the browser thread, inside DNSServiceProcessResult, one at a time.

    static void DNSSD_API onBrowseReply (DNSServiceRef, DNSServiceFlags flags, uint32_t interfaceIndex,
        DNSServiceErrorType error, const char* name, const char* type, const char* domain, void* contextPointer)
    {
        auto* context = static_cast<BrowseContext*> (contextPointer);

        if (error != kDNSServiceErr_NoError || name == nullptr || context == nullptr)
            return;

        // The browse reply carries the plain UTF-8 name; the resolve reply's full name is
        // escaped, so this one is kept for the list.
        context->serviceName = juce::String::fromUTF8 (name);

        if ((flags & kDNSServiceFlagsAdd) == 0)
        {
            context->owner->removeHostsNamed (context->serviceName);
            return;
        }

        DNSServiceRef resolveRef = nullptr;

        if (DNSServiceResolve (&resolveRef, 0, interfaceIndex, name, type, domain, onResolveReply, context)
            != kDNSServiceErr_NoError)
            return;

        context->resolveAnswered = false;
        context->processUntil (resolveRef, Clock::now() + answerTimeLimit,
            [context] { return context->resolveAnswered; });
        DNSServiceRefDeallocate (resolveRef);
    }

    static void DNSSD_API onResolveReply (DNSServiceRef, DNSServiceFlags, uint32_t interfaceIndex,
        DNSServiceErrorType error, const char*, const char* hostTarget, uint16_t networkPort, uint16_t,
        const unsigned char*, void* contextPointer)
    {
        auto* context = static_cast<BrowseContext*> (contextPointer);

        if (context == nullptr)
            return;

        context->resolveAnswered = true;

        if (error != kDNSServiceErr_NoError)
            return;

        context->port = ntohs (networkPort);

        // The protocol client sends only to the host port; a service elsewhere is not a host.
        if (context->port != hostPort || hostTarget == nullptr)
            return;

        DnsSdAddressLookup lookup;

        if (lookup.start (0, interfaceIndex, DnsSdAddressLookup::protocolIPv4, hostTarget, onAddressReply, context)
            != kDNSServiceErr_NoError)
            return;

        context->addressReplies = 0;
        context->processUntil (lookup.getRef(), Clock::now() + answerTimeLimit,
            [context] { return context->addressReplies > 0; });

        // Further addresses of the same host tend to follow at once.
        for (auto seen = 0; context->addressReplies > seen;)
        {
            seen = context->addressReplies;
            context->processUntil (lookup.getRef(), Clock::now() + moreAddressesWindow,
                [context, seen] { return context->addressReplies > seen; });
        }
    }

    static void DNSSD_API onAddressReply (DNSServiceRef, DNSServiceFlags flags, uint32_t, DNSServiceErrorType error,
        const char*, const sockaddr* address, uint32_t, void* contextPointer)
    {
        auto* context = static_cast<BrowseContext*> (contextPointer);

        if (context == nullptr)
            return;

        ++context->addressReplies;

        if (error != kDNSServiceErr_NoError || address == nullptr || context->owner == nullptr
            || address->sa_family != AF_INET)
            return;

        // An address that went away adds nothing (the list follows services, not addresses).
        if ((flags & kDNSServiceFlagsAdd) == 0)
            return;

        const auto text = DnsSdAddressLookup::formatIPv4 (address);

        if (text.isEmpty())
            return;

        context->owner->addHost ({ context->serviceName, text, context->port });
    }
};

//==============================================================================
RemoteMDNSBrowser::RemoteMDNSBrowser() = default;

RemoteMDNSBrowser::~RemoteMDNSBrowser()
{
    stop();
}

void RemoteMDNSBrowser::start()
{
    stop();
    shouldStop = false;

    auto newContext = std::make_unique<BrowseContext> (*this);
    DNSServiceRef ref = nullptr;

    // Without a DNS-SD daemon this fails at once: no thread, and the list stays empty.
    if (DNSServiceBrowse (&ref, 0, 0, serviceType, nullptr, BrowseContext::onBrowseReply, newContext.get())
        != kDNSServiceErr_NoError)
        return;

    browseRef = ref;
    context = std::move (newContext);
    browseThread = std::thread ([this] { threadLoop(); });
}

void RemoteMDNSBrowser::threadLoop()
{
    while (! shouldStop)
    {
        if (browseRef != nullptr)
        {
            // A reference without a socket is as unusable as one whose processing fails.
            if (DNSServiceRefSockFD (browseRef) < 0)
                return;

            const auto ready = context->waitForReply (browseRef, Clock::time_point::max());

            if (ready && ! shouldStop && DNSServiceProcessResult (browseRef) != kDNSServiceErr_NoError)
                return;
        }

        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }
}

void RemoteMDNSBrowser::stop()
{
    shouldStop = true;

    // Every wait of the thread ends within one slice once shouldStop is set; the browse
    // reference is released only after that, never while the thread may be using it.
    if (browseThread.joinable())
        browseThread.join();

    if (auto* ref = std::exchange (browseRef, nullptr))
        DNSServiceRefDeallocate (ref);

    {
        const juce::ScopedLock sl (hostLock);
        hosts.clear();
    }

    context.reset();
}

juce::Array<DiscoveredHost> RemoteMDNSBrowser::getHosts() const
{
    const juce::ScopedLock sl (hostLock);
    return hosts;
}

void RemoteMDNSBrowser::addHost (const DiscoveredHost& host)
{
    const juce::ScopedLock sl (hostLock);

    const auto isListed = std::any_of (hosts.begin(), hosts.end(),
        [&host] (const DiscoveredHost& listed)
        { return listed.serviceName == host.serviceName && listed.ipAddress == host.ipAddress; });

    if (! isListed)
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
    return browseThread.joinable();
}
