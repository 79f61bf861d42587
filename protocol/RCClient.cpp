#include "RCClient.h"

const juce::String RCClient::address { "/quentaro" };

//==============================================================================
struct RCClient::PostedRecord
{
    PostedRecord (std::shared_ptr<RCClient> c, juce::MemoryBlock b) : client (std::move (c)), bytes (std::move (b)) {}

    PostedRecord (const PostedRecord&) = default;
    PostedRecord (PostedRecord&&) = default;
    PostedRecord& operator= (const PostedRecord&) = default;
    PostedRecord& operator= (PostedRecord&&) = default;

    ~PostedRecord()
    {
        // Only reached off the message thread when the post itself failed (the message loop
        // is gone): the release must still not run the tear-down on the receiver thread.
        if (client != nullptr && ! juce::MessageManager::existsAndIsCurrentThread())
            releaseOnMessageThread (std::move (client));
    }

    void operator()()
    {
        // Message thread.
        if (! client->stopped.load())
            client->handleIncoming (bytes);
    }

    std::shared_ptr<RCClient> client;
    juce::MemoryBlock bytes;
};

void RCClient::releaseOnMessageThread (std::shared_ptr<RCClient> client)
{
    auto* holder = new std::shared_ptr<RCClient> (std::move (client));

    // When even this post fails the program is shutting down; the client is then left
    // alive rather than torn down from a thread that cannot stop itself.
    juce::MessageManager::callAsync ([holder] { delete holder; });
}

//==============================================================================
RCClient::RCClient (Owner& ownerToUse) : owner (ownerToUse) {}

RCClient::~RCClient()
{
    // Message thread (the receiver thread never holds the last reference, see PostedRecord).
    // Setting stopped first makes a datagram arriving from now on be dropped on the receiver thread.
    stopped.exchange (true);
    disconnect();
    removeListener (this);
    closeSender();
}

bool RCClient::connectReceiver()
{
    addListener (this, juce::OSCAddress (address));
    auto bound = connect (receivePort);
    receiverConnected = true;
    return bound;
}

bool RCClient::openSender (const juce::String& hostAddress)
{
    closeSender();
    senderOpen = sender.connect (hostAddress, hostPort);
    return senderOpen;
}

void RCClient::closeSender()
{
    sender.disconnect();
    senderOpen = false;
}

void RCClient::sendRaw (const void* data, size_t size)
{
    if (! senderOpen)
        return;

    auto bytes = MessageRecord::stampAddress (data, size, localAddress);

    juce::OSCMessage message { juce::OSCAddressPattern (address) };
    message.addBlob (std::move (bytes));
    sender.send (message);
}

void RCClient::sendRecord (const juce::ValueTree& record)
{
    auto bytes = MessageRecord::toBytes (record);
    sendRaw (bytes.getData(), bytes.getSize());
}

void RCClient::sendConnectRequest()
{
    sendRecord (MessageRecord::build (RCType::ConnectRequest, { { MessageRecord::ip, localAddress } }));
}

void RCClient::oscMessageReceived (const juce::OSCMessage& message)
{
    // Receiver thread: no parsing here, only a copy and a hand-over.
    if (stopped.load() || message.size() != 1 || ! message[0].isBlob())
        return;

    auto& blob = message[0].getBlob();

    if (blob.getSize() == 0)
        return;

    auto self = weak_from_this().lock();

    if (self == nullptr)
        return;

    juce::MessageManager::callAsync (PostedRecord (std::move (self), blob));
}

void RCClient::handleIncoming (const juce::MemoryBlock& bytes)
{
    if (stopped.load())
        return;

    auto record = MessageRecord::fromBytes (bytes.getData(), bytes.getSize());

    if (! record.isValid())
        return;

    owner.remoteRecordReceived (*this, MessageRecord::integer (record, MessageRecord::rcType), record);
}
