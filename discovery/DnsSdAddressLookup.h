#pragma once

#include <juce_core/juce_core.h>

#include <dns_sd.h>
#include <netinet/in.h>
#include <string>

/**
    DNSServiceGetAddrInfo as the host browser uses it: flags 0, an interface index, the IPv4
    protocol and a host name, with replies that carry a socket address.

    Where the platform's DNS-SD client offers the call (the build then defines
    QUENTARO_HAVE_DNSSERVICEGETADDRINFO), it is used as it is. Avahi's compatibility library
    lacks it; there the lookup asks for the host's A records with DNSServiceQueryRecord, which
    answers with every IPv4 address of the host, and hands each answer on as an IPv4 socket
    address through the same reply function.

    Threads: replies run inside DNSServiceProcessResult (getRef()) on whichever thread calls it.
    The lookup is started, processed and destroyed on that one thread.
*/
class DnsSdAddressLookup
{
public:
    /** kDNSServiceProtocol_IPv4, which Avahi's header does not declare. */
    static constexpr uint32_t protocolIPv4 = 1;

    /** The reply of DNSServiceGetAddrInfo (DNSServiceGetAddrInfoReply). */
    using Reply = void (DNSSD_API*) (DNSServiceRef, DNSServiceFlags, uint32_t interfaceIndex, DNSServiceErrorType,
        const char* hostName, const sockaddr* address, uint32_t ttl, void* context);

    DnsSdAddressLookup() = default;

    /** Ends the lookup: no reply comes after this. */
    ~DnsSdAddressLookup();

    /** Starts looking up the host's addresses; kDNSServiceErr_NoError on success, when
        getRef() is the reference to wait on and to process. Called once per lookup. */
    DNSServiceErrorType start (DNSServiceFlags flags, uint32_t interfaceIndex, uint32_t protocol, const char* hostName,
        Reply reply, void* context);

    /** The running lookup's reference; null before a successful start. */
    DNSServiceRef getRef() const noexcept { return ref; }

    /** The IPv4 socket address held by an A record's data (four bytes in network order);
        false when the data is not an IPv4 address. */
    static bool addressFromRecord (const void* data, uint16_t length, sockaddr_in& address);

    /** The dotted-decimal text of an IPv4 socket address (inet_ntop); empty for a missing
        address or one of another family. */
    static juce::String formatIPv4 (const sockaddr* address);

private:
    static void DNSSD_API onRecordReply (DNSServiceRef, DNSServiceFlags, uint32_t interfaceIndex, DNSServiceErrorType,
        const char* fullName, uint16_t recordType, uint16_t recordClass, uint16_t dataLength, const void* data,
        uint32_t ttl, void* context);

    DNSServiceRef ref = nullptr;
    Reply reply = nullptr;
    void* replyContext = nullptr;
    std::string hostName;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DnsSdAddressLookup)
};
