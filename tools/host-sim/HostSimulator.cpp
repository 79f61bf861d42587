#include "HostSimulator.h"

#include "RecordJson.h"
#include "protocol/MessageRecord.h"

HostSimulator::HostSimulator (Options optionsToUse, LineSink sinkToUse)
    : options (std::move (optionsToUse)), sink (std::move (sinkToUse))
{
    remoteAddress = options.fixedRemoteAddress;
}

HostSimulator::~HostSimulator()
{
    disconnect();
    removeListener (this);
    sender.disconnect();
}

bool HostSimulator::start()
{
    addListener (this);

    if (! sender.connect (options.fixedRemoteAddress.isNotEmpty() ? options.fixedRemoteAddress : "127.0.0.1",
            options.remotePort))
        return false;

    if (! connect (options.listenPort))
        return false;

    emit ("{\"event\": \"listening\", \"port\": " + juce::String (options.listenPort) + "}");
    return true;
}

juce::String HostSimulator::getRemoteAddress() const
{
    std::lock_guard<std::mutex> guard (lock);
    return remoteAddress;
}

bool HostSimulator::sendBlob (const juce::MemoryBlock& bytes)
{
    auto target = getRemoteAddress();

    if (target.isEmpty())
        return false;

    juce::OSCMessage message { juce::OSCAddressPattern ("/quentaro") };
    message.addBlob (bytes);
    return sender.sendToIPAddress (target, options.remotePort, message);
}

bool HostSimulator::send (const juce::ValueTree& record)
{
    return sendBlob (MessageRecord::toBytes (record));
}

bool HostSimulator::handleCommandLine (const juce::String& line)
{
    auto trimmed = line.trim();

    if (trimmed.isEmpty())
        return true;

    auto parsed = juce::JSON::parse (trimmed);

    if (parsed.hasProperty ("rawHex"))
    {
        juce::MemoryBlock bytes;
        bytes.loadFromHexString (parsed["rawHex"].toString());
        return sendBlob (bytes);
    }

    auto record = RecordJson::fromJson (trimmed);

    if (! record.isValid())
    {
        emit ("{\"event\": \"bad-input\"}");
        return false;
    }

    if (! send (record))
    {
        emit ("{\"event\": \"no-remote\"}");
        return false;
    }

    return true;
}

void HostSimulator::oscMessageReceived (const juce::OSCMessage& message)
{
    // Receiver thread.
    if (message.getAddressPattern().toString() != "/quentaro" || message.size() != 1 || ! message[0].isBlob())
    {
        emit ("{\"event\": \"ignored\"}");
        return;
    }

    auto& blob = message[0].getBlob();
    auto record = MessageRecord::fromBytes (blob.getData(), blob.getSize());

    if (! record.isValid())
    {
        emit ("{\"event\": \"not-a-record\", \"bytes\": " + juce::String ((int) blob.getSize()) + "}");
        return;
    }

    if (options.fixedRemoteAddress.isEmpty())
    {
        auto announced = MessageRecord::text (record, MessageRecord::ip);

        if (announced.isNotEmpty())
        {
            std::lock_guard<std::mutex> guard (lock);
            remoteAddress = announced;
        }
    }

    emit (RecordJson::toJson (record));
}

void HostSimulator::oscBundleReceived (const juce::OSCBundle&)
{
    emit ("{\"event\": \"ignored\"}");
}

void HostSimulator::emit (const juce::String& line)
{
    std::lock_guard<std::mutex> guard (lock);

    if (sink)
        sink (line);
}
