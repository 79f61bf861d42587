#include "DnsSdAddressLookup.h"

#include <arpa/inet.h>
#include <cstring>

DnsSdAddressLookup::~DnsSdAddressLookup()
{
    if (ref != nullptr)
        DNSServiceRefDeallocate (ref);
}

DNSServiceErrorType DnsSdAddressLookup::start (DNSServiceFlags flags, uint32_t interfaceIndex, uint32_t protocol,
    const char* hostNameToFind, Reply replyToCall, void* context)
{
    if (ref != nullptr || hostNameToFind == nullptr || replyToCall == nullptr)
        return kDNSServiceErr_BadParam;

#if QUENTARO_HAVE_DNSSERVICEGETADDRINFO
    return DNSServiceGetAddrInfo (&ref, flags, interfaceIndex, protocol, hostNameToFind, replyToCall, context);
#else
    // A records answer IPv4 only; a lookup that wants no IPv4 cannot be served this way.
    if ((protocol & protocolIPv4) == 0)
        return kDNSServiceErr_Unsupported;

    reply = replyToCall;
    replyContext = context;
    hostName = hostNameToFind;

    auto result = DNSServiceQueryRecord (&ref, flags, interfaceIndex, hostName.c_str(), kDNSServiceType_A,
        kDNSServiceClass_IN, onRecordReply, this);

    if (result != kDNSServiceErr_NoError)
        ref = nullptr;

    return result;
#endif
}

void DNSSD_API DnsSdAddressLookup::onRecordReply (DNSServiceRef sdRef, DNSServiceFlags flags, uint32_t interfaceIndex,
    DNSServiceErrorType error, const char*, uint16_t recordType, uint16_t recordClass, uint16_t dataLength,
    const void* data, uint32_t ttl, void* context)
{
    auto* lookup = static_cast<DnsSdAddressLookup*> (context);

    if (lookup == nullptr || lookup->reply == nullptr)
        return;

    if (error != kDNSServiceErr_NoError)
    {
        lookup->reply (sdRef, flags, interfaceIndex, error, lookup->hostName.c_str(), nullptr, 0, lookup->replyContext);
        return;
    }

    sockaddr_in address;

    if (recordType != kDNSServiceType_A || recordClass != kDNSServiceClass_IN
        || ! addressFromRecord (data, dataLength, address))
        return;

    lookup->reply (sdRef, flags, interfaceIndex, error, lookup->hostName.c_str(),
        reinterpret_cast<const sockaddr*> (&address), ttl, lookup->replyContext);
}

bool DnsSdAddressLookup::addressFromRecord (const void* data, uint16_t length, sockaddr_in& address)
{
    if (data == nullptr || length != sizeof (in_addr))
        return false;

    std::memset (&address, 0, sizeof (address));
    address.sin_family = AF_INET;
    std::memcpy (&address.sin_addr, data, sizeof (in_addr));
    return true;
}

juce::String DnsSdAddressLookup::formatIPv4 (const sockaddr* address)
{
    if (address == nullptr || address->sa_family != AF_INET)
        return {};

    // Copied rather than cast: the reply hands a plain sockaddr.
    sockaddr_in ipv4;
    std::memcpy (&ipv4, address, sizeof (ipv4));

    char text[INET_ADDRSTRLEN] = {};

    if (inet_ntop (AF_INET, &ipv4.sin_addr, text, sizeof (text)) == nullptr)
        return {};

    return juce::String (text);
}
