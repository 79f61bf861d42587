#include "ServiceAnnouncer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <dns_sd.h>
#include <poll.h>
#include <utility>

/** The registration's reply: whether the service is on the network, and under which name. */
struct ServiceAnnouncer::Replies
{
    // Announcer's thread, inside DNSServiceProcessResult.
    static void DNSSD_API onRegistered (DNSServiceRef, DNSServiceFlags, DNSServiceErrorType error, const char* name,
        const char*, const char*, void* context)
    {
        auto* announcer = static_cast<ServiceAnnouncer*> (context);

        if (error == kDNSServiceErr_NoError && name != nullptr)
            announcer->report ("announced", juce::String::fromUTF8 (name));
        else
            announcer->report ("announce-failed");
    }
};

ServiceAnnouncer::ServiceAnnouncer (LineSink sinkToUse) : sink (std::move (sinkToUse)) {}

ServiceAnnouncer::~ServiceAnnouncer()
{
    withdraw();
}

void ServiceAnnouncer::announce (const juce::String& serviceName, int port)
{
    withdraw();

    DNSServiceRef ref = nullptr;
    const auto result = DNSServiceRegister (&ref, 0, 0, serviceName.toRawUTF8(), serviceType, nullptr, nullptr,
        htons ((uint16_t) port), 0, nullptr, Replies::onRegistered, this);

    // Without a DNS-SD daemon the registration fails at once.
    if (result != kDNSServiceErr_NoError)
    {
        report ("announce-failed");
        return;
    }

    registration = ref;
    stopping = false;
    reported = false;
    replyThread = std::thread ([this] { processReplies(); });
}

void ServiceAnnouncer::withdraw()
{
    stopping = true;

    // The reference is released only once the thread that processes it has ended.
    if (replyThread.joinable())
        replyThread.join();

    if (auto* ref = std::exchange (registration, nullptr))
        DNSServiceRefDeallocate (ref);
}

void ServiceAnnouncer::processReplies()
{
    const auto socket = DNSServiceRefSockFD (registration);

    while (socket >= 0 && ! stopping)
    {
        pollfd request { socket, POLLIN, 0 };
        const auto ready = poll (&request, 1, 100);

        if (ready < 0 && errno != EINTR)
            break;

        if (ready > 0 && DNSServiceProcessResult (registration) != kDNSServiceErr_NoError)
            break;
    }

    // The daemon went away (or never answered) before the service was on the network.
    if (! reported && ! stopping)
        report ("announce-failed");
}

void ServiceAnnouncer::report (const juce::String& event, const juce::String& name)
{
    reported = true;

    auto* object = new juce::DynamicObject();
    object->setProperty ("event", event);

    if (name.isNotEmpty())
        object->setProperty ("name", name);

    if (sink)
        sink (juce::JSON::toString (juce::var (object),
            juce::JSON::FormatOptions {}.withSpacing (juce::JSON::Spacing::singleLine)));
}
