#include "FakeRemote.h"

FakeRemote::FakeRemote()
{
    ready = socket.bindToPort (receivePort) && sender.connect (address, hostPort);
}

bool FakeRemote::send (RCType type, const std::vector<MessageRecord::Property>& properties)
{
    auto record = MessageRecord::build (type);

    for (auto& [name, value] : properties)
        record.setProperty (name, value, nullptr);

    if (! record.hasProperty (MessageRecord::ip))
        record.setProperty (MessageRecord::ip, address, nullptr);

    juce::OSCMessage message { juce::OSCAddressPattern ("/quentaro") };
    message.addBlob (MessageRecord::toBytes (record));
    return sender.send (message);
}

juce::ValueTree FakeRemote::receive (std::chrono::milliseconds timeout)
{
    if (socket.waitUntilReady (true, (int) timeout.count()) != 1)
        return {};

    char buffer[65536];
    auto size = socket.read (buffer, (int) sizeof (buffer), false);

    // "/quentaro" padded to 12 bytes, the type tags ",b" padded to 4, the blob's byte count.
    static const char header[] = "/quentaro\0\0\0,b\0\0";

    if (size < 20 || std::memcmp (buffer, header, 16) != 0)
        return {};

    auto count = (size_t) juce::ByteOrder::bigEndianInt (buffer + 16);

    if ((size_t) size != 20 + ((count + 3) & ~(size_t) 3))
        return {};

    return MessageRecord::fromBytes (buffer + 20, count);
}

juce::ValueTree FakeRemote::waitFor (const std::function<bool (const juce::ValueTree&)>& matches,
    std::chrono::milliseconds timeout, std::vector<juce::ValueTree>* passed)
{
    const auto end = std::chrono::steady_clock::now() + timeout;

    for (;;)
    {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds> (end - std::chrono::steady_clock::now());

        if (left.count() <= 0)
            return {};

        auto record = receive (left);

        if (record.isValid() && matches (record))
            return record;

        if (record.isValid() && passed != nullptr)
            passed->push_back (record);
    }
}

juce::ValueTree FakeRemote::waitFor (RCType type, std::chrono::milliseconds timeout,
    std::vector<juce::ValueTree>* passed)
{
    return waitFor ([type] (const juce::ValueTree& record) { return kind (record) == (int) type; }, timeout, passed);
}

juce::ValueTree FakeRemote::pingThrough (const juce::String& t, std::vector<juce::ValueTree>& before)
{
    send (RCType::Ping, { { "t", t } });

    return waitFor ([t] (const juce::ValueTree& record)
        { return kind (record) == (int) RCType::Pong && MessageRecord::text (record, "t") == t; },
        std::chrono::seconds (5), &before);
}
