#include "protocol/RCClient.h"

#include "support/HostEndpoint.h"
#include "support/MessageLoop.h"
#include "support/TestNetwork.h"

#include <gtest/gtest.h>
#include <thread>

namespace
{
struct Received
{
    int rcType;
    juce::ValueTree record;
};

struct RecordingOwner : RCClient::Owner
{
    void remoteRecordReceived (RCClient&, int rcType, const juce::ValueTree& record) override
    {
        EXPECT_TRUE (juce::MessageManager::existsAndIsCurrentThread());
        received.push_back ({ rcType, record });
    }

    std::vector<Received> received;
};

/** A client whose tear-down reports the thread it ran on. */
struct ObservedClient : RCClient
{
    ObservedClient (Owner& o, std::atomic<int>& destroyedOnMessageThreadFlag)
        : RCClient (o), destroyedOnMessageThread (destroyedOnMessageThreadFlag)
    {}

    ~ObservedClient() override { destroyedOnMessageThread = juce::MessageManager::existsAndIsCurrentThread() ? 1 : 0; }

    std::atomic<int>& destroyedOnMessageThread;
};

juce::MemoryBlock recordBytes (RCType type, std::initializer_list<MessageRecord::Property> props = {})
{
    return MessageRecord::toBytes (MessageRecord::build (type, props));
}

juce::OSCMessage envelope (const juce::MemoryBlock& bytes)
{
    juce::OSCMessage message { juce::OSCAddressPattern ("/quentaro") };
    message.addBlob (bytes);
    return message;
}

/** The host's end: sends to the remote's port on loopback. */
class FakeHost
{
public:
    FakeHost() { EXPECT_TRUE (sender.connect ("127.0.0.1", RCClient::receivePort)); }

    void send (const juce::OSCMessage& message) { EXPECT_TRUE (sender.send (message)); }
    void sendRecord (const juce::MemoryBlock& bytes) { send (envelope (bytes)); }

    /** A valid record sent after the others: once it has arrived, everything sent before it
        has been received or dropped (loopback keeps the order). */
    void sendSentinel() { sendRecord (recordBytes (RCType::Pong, { { "t", "sentinel" } })); }

private:
    juce::OSCSender sender;
};

bool isSentinel (const Received& r)
{
    return r.rcType == 106 && MessageRecord::text (r.record, "t") == "sentinel";
}

class RCClientTransport : public testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PRIVATE_NETWORK();
        client = std::make_shared<RCClient> (owner);
        ASSERT_TRUE (client->connectReceiver());
        ASSERT_TRUE (client->receiverConnected);
    }

    std::vector<Received> receiveUntilSentinel()
    {
        host.sendSentinel();
        EXPECT_TRUE (
            MessageLoop::runUntil ([this] { return ! owner.received.empty() && isSentinel (owner.received.back()); }));
        auto result = owner.received;
        if (! result.empty() && isSentinel (result.back()))
            result.pop_back();
        owner.received.clear();
        return result;
    }

    RecordingOwner owner;
    std::shared_ptr<RCClient> client;
    FakeHost host;
};
} // namespace

TEST_F (RCClientTransport, RecordsReachTheMessageThreadWithTheirParsedType)
{
    juce::ValueTree textType ("QUENTARO");
    textType.setProperty ("RCType", "101", nullptr);
    juce::ValueTree textWithLetters ("QUENTARO");
    textWithLetters.setProperty ("RCType", "101abc", nullptr);
    juce::ValueTree lettersOnly ("QUENTARO");
    lettersOnly.setProperty ("RCType", "abc", nullptr);
    juce::ValueTree noType ("QUENTARO");
    noType.setProperty ("currentcue", 3, nullptr);

    host.sendRecord (recordBytes (RCType::CueState, { { "currentcue", "2" }, { "nextcue", "3" } }));
    host.sendRecord (MessageRecord::toBytes (textType));
    host.sendRecord (MessageRecord::toBytes (textWithLetters));
    host.sendRecord (MessageRecord::toBytes (lettersOnly));
    host.sendRecord (MessageRecord::toBytes (noType));

    auto got = receiveUntilSentinel();
    ASSERT_EQ (got.size(), 5u);
    EXPECT_EQ (got[0].rcType, 101);
    EXPECT_EQ (MessageRecord::text (got[0].record, "nextcue"), "3");
    EXPECT_EQ (got[1].rcType, 101);
    EXPECT_EQ (got[2].rcType, 101);
    EXPECT_EQ (got[3].rcType, 0);
    EXPECT_EQ (got[4].rcType, 0);
}

TEST_F (RCClientTransport, EverythingButOneNonEmptyBlobToQuentaroIsDropped)
{
    auto valid = recordBytes (RCType::CueState, { { "currentcue", "1" } });

    juce::OSCMessage otherAddress { juce::OSCAddressPattern ("/other") };
    otherAddress.addBlob (valid);

    auto twoArguments = envelope (valid);
    twoArguments.addBlob (valid);

    juce::OSCMessage integerArgument { juce::OSCAddressPattern ("/quentaro") };
    integerArgument.addInt32 (101);

    juce::OSCMessage textArgument { juce::OSCAddressPattern ("/quentaro") };
    textArgument.addString ("101");

    juce::OSCMessage noArgument { juce::OSCAddressPattern ("/quentaro") };

    const char notATree[] = "\x05\x06\x07 definitely not a value tree";

    host.send (otherAddress);
    host.send (twoArguments);
    host.send (integerArgument);
    host.send (textArgument);
    host.send (noArgument);
    host.sendRecord ({});
    host.sendRecord (juce::MemoryBlock (notATree, sizeof (notATree)));

    EXPECT_TRUE (receiveUntilSentinel().empty());
}

TEST_F (RCClientTransport, NothingIsHandledOnceTheTearDownHasBegun)
{
    client->stopped = true;

    host.sendRecord (recordBytes (RCType::CueState));
    host.sendRecord (recordBytes (RCType::CueState));

    // Nothing arrives, sentinel included; the direct call on the message thread is ignored too.
    MessageLoop::runFor (std::chrono::milliseconds (300));
    client->handleIncoming (recordBytes (RCType::CueState));
    EXPECT_TRUE (owner.received.empty());
}

TEST (RCClientLifetime, QueuedRecordsKeepTheClientAliveAndItDiesOnTheMessageThread)
{
    RecordingOwner owner;
    std::atomic<int> destroyedOnMessageThread { -1 };
    auto client = std::make_shared<ObservedClient> (owner, destroyedOnMessageThread);
    std::weak_ptr<RCClient> watch = client;

    // Stand in for the receiver thread: post two records from another thread.
    std::thread receiver (
        [&]
        {
            client->oscMessageReceived (envelope (recordBytes (RCType::CueState)));
            client->oscMessageReceived (envelope (recordBytes (RCType::Pong)));
        });
    receiver.join();

    client.reset(); // the owner lets go while both calls are still queued
    EXPECT_FALSE (watch.expired());

    ASSERT_TRUE (MessageLoop::runUntil ([&] { return watch.expired(); }));
    ASSERT_EQ (owner.received.size(), 2u);
    EXPECT_EQ (owner.received[0].rcType, 101);
    EXPECT_EQ (owner.received[1].rcType, 106);
    EXPECT_EQ (destroyedOnMessageThread.load(), 1);
}

TEST (RCClientSend, OneDatagramToTheHostPortWithTheAddressStamped)
{
    REQUIRE_PRIVATE_NETWORK();

    HostEndpoint host;
    ASSERT_TRUE (host.isBound());

    RecordingOwner owner;
    auto client = std::make_shared<RCClient> (owner);
    client->localAddress = "127.0.0.1";

    // Nothing leaves before the sending socket is open.
    client->sendRecord (MessageRecord::build (RCType::Play));

    ASSERT_TRUE (client->openSender ("127.0.0.1"));
    client->sendRecord (MessageRecord::build (RCType::SetNextCue, { { "ID", "7" } }));

    auto record = host.receiveRecord();
    ASSERT_TRUE (record.isValid());
    EXPECT_EQ (MessageRecord::integer (record, "RCType"), 9);
    EXPECT_EQ (MessageRecord::text (record, "ID"), "7");
    EXPECT_EQ (record.getPropertyName (2).toString(), "IP");
    EXPECT_EQ (MessageRecord::text (record, "IP"), "127.0.0.1");

    // The Play sent before the socket was open never arrives.
    EXPECT_TRUE (host.staysQuiet (100));

    // Bytes that are not a record go out unchanged, and no bytes give an empty blob.
    const char raw[] = "raw bytes";
    client->sendRaw (raw, sizeof (raw));
    client->sendRaw (nullptr, 0);
    EXPECT_EQ (host.receiveBlob(), juce::MemoryBlock (raw, sizeof (raw)));
    EXPECT_EQ (host.receiveBlob(), juce::MemoryBlock());
}
