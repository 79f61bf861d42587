#include "protocol/RCClient.h"

#include "support/ClientFixture.h"

#include <thread>

namespace
{
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

juce::MemoryBlock hotCueSentinel()
{
    auto record = MessageRecord::build (RCType::HotCueList, { { "Size", "1" } });
    juce::ValueTree cue ("C0");
    cue.setProperty ("cueName", "sentinel", nullptr);
    record.appendChild (cue, nullptr);
    return MessageRecord::toBytes (record);
}

/** Counts the client's clock reads: each handled record (but not a dropped one) reads it once
    to move the liveness deadline. */
class RCClientReceive : public ClientFixture
{
protected:
    void SetUp() override
    {
        ClientFixture::SetUp();
        client()->clock = [this]
        {
            ++clockReads;
            return now;
        };
    }

    bool sentinelArrived()
    {
        auto& cues = main.show.hotCuePanel.getHotCues();
        return cues.size() == 1 && cues[0].cueName == "sentinel";
    }

    int clockReads = 0;
    juce::OSCSender toRemote;
};
} // namespace

TEST_F (RCClientReceive, ADatagramFromTheHostReachesTheHandlersOnTheMessageThread)
{
    ASSERT_TRUE (toRemote.connect ("127.0.0.1", RCClient::receivePort));

    main.show.setVisible (true);
    loadShow ({ "Intro", "Verse", "Outro" });
    clockReads = 0;

    toRemote.send (envelope (recordBytes (RCType::CueState, { { "currentcue", "1" }, { "nextcue", "2" } })));
    toRemote.send (envelope (hotCueSentinel()));

    ASSERT_TRUE (MessageLoop::runUntil ([this] { return sentinelArrived(); }));
    EXPECT_EQ (main.show.currentCue, 1);
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), "1 - Verse");
    EXPECT_EQ (clockReads, 2);
    EXPECT_EQ (client()->livenessDeadline, now + 3);
}

TEST_F (RCClientReceive, EverythingButOneNonEmptyBlobToQuentaroIsDroppedBeforeTheMessageThread)
{
    ASSERT_TRUE (toRemote.connect ("127.0.0.1", RCClient::receivePort));
    auto valid = recordBytes (RCType::Pong, { { "t", "1" } });

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

    for (auto& message : { otherAddress, twoArguments, integerArgument, textArgument, noArgument, envelope ({}),
             envelope (juce::MemoryBlock (notATree, sizeof (notATree))) })
        toRemote.send (message);

    toRemote.send (envelope (hotCueSentinel()));

    // Loopback keeps the order: once the sentinel is in, every datagram before it was dropped.
    ASSERT_TRUE (MessageLoop::runUntil ([this] { return sentinelArrived(); }));
    EXPECT_EQ (clockReads, 1);
    EXPECT_EQ (main.show.latencyLabel.getText(), "-- ms");
}

TEST_F (RCClientReceive, TheKindIsReadByTheLeadingDecimalParse)
{
    main.show.setVisible (true);
    loadShow ({ "A", "B", "C", "D" });

    struct Case
    {
        juce::var rcType;
        bool handledAsCueState;
    };

    const Case cases[] = { { 101, true }, { "101", true }, { "101abc", true }, { " 101", true }, { "abc", false },
        { "1010", false }, {} };

    int cue = 0;

    for (auto& c : cases)
    {
        juce::ValueTree record ("QUENTARO");

        if (! c.rcType.isVoid())
            record.setProperty ("RCType", c.rcType, nullptr);

        record.setProperty ("currentcue", ++cue, nullptr);
        clockReads = 0;
        receive (record);

        EXPECT_EQ (main.show.currentCue == cue, c.handledAsCueState) << c.rcType.toString();
        EXPECT_EQ (clockReads, 1) << "every kind refreshes liveness: " << c.rcType.toString();
    }
}

TEST_F (RCClientReceive, NothingIsHandledOnceTheTearDownHasBegun)
{
    client()->stopped = true;

    // Neither on the receiver thread ...
    client()->oscMessageReceived (envelope (hotCueSentinel()));
    // ... nor on the message thread.
    client()->handleIncoming (hotCueSentinel());

    MessageLoop::runFor (std::chrono::milliseconds (50));
    EXPECT_FALSE (sentinelArrived());
    EXPECT_EQ (clockReads, 0);
}

TEST (RCClientLifetime, QueuedRecordsKeepAReleasedClientAliveButAreNotHandled)
{
    MainComponent main;
    main.remote = std::make_unique<RemoteConnection>();
    main.remote->client = std::make_shared<RCClient> (main);
    std::weak_ptr<RCClient> watch = main.remote->client;
    main.show.setVisible (true);

    // While the main component holds the client, what arrives is handled.
    std::thread first (
        [&] {
            main.getClient()->oscMessageReceived (envelope (recordBytes (RCType::CueState, { { "currentcue", "3" } })));
        });
    first.join();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.currentCue == 3; }));

    // Stand in for the receiver thread: post two records from another thread...
    std::thread receiver (
        [&]
        {
            auto client = watch.lock();
            client->oscMessageReceived (envelope (recordBytes (RCType::CueState, { { "currentcue", "7" } })));
            client->oscMessageReceived (envelope (hotCueSentinel()));
        });
    receiver.join();

    // ... and the owner lets go (a goodbye, a disconnect) while both calls are still queued.
    main.remote.reset();
    EXPECT_FALSE (watch.expired());

    // The connection is over: the calls keep the client alive until they have run, but what
    // they carry changes nothing, and the client dies on the message thread.
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return watch.expired(); }));
    EXPECT_EQ (main.show.currentCue, 3);
    EXPECT_TRUE (main.show.hotCuePanel.getHotCues().empty());
}

TEST (RCClientSend, OneDatagramToTheHostPortWithTheAddressStamped)
{
    REQUIRE_PRIVATE_NETWORK();

    HostEndpoint host;
    ASSERT_TRUE (host.isBound());

    MainComponent main;
    auto client = std::make_shared<RCClient> (main);
    client->localAddress = "127.0.0.1";

    // Nothing leaves before the sending socket is open.
    client->sendPlay();

    ASSERT_TRUE (client->openSender ("127.0.0.1"));
    client->sendNextCue (7);

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

TEST (RCClientFlood, RecordsBeyondThePendingLimitAreDroppedOnArrival)
{
    MainComponent main;
    main.remote = std::make_unique<RemoteConnection>();
    main.remote->client = std::make_shared<RCClient> (main);
    auto client = main.remote->client;
    int handled = 0;
    client->clock = [&handled]
    {
        ++handled;
        return (juce::int32) 1000;
    };

    // The receiver thread outruns a busy message thread by far.
    std::thread receiver (
        [&]
        {
            for (int i = 0; i < 5000; ++i)
                client->oscMessageReceived (envelope (recordBytes (RCType::Pong, { { "t", "1" } })));
        });
    receiver.join();

    ASSERT_TRUE (MessageLoop::runUntil ([&] { return handled >= RCClient::maxPendingRecords; }));
    MessageLoop::runFor (std::chrono::milliseconds (100));
    EXPECT_EQ (handled, RCClient::maxPendingRecords);

    // Once drained, records are taken again.
    std::thread later ([&] { client->oscMessageReceived (envelope (recordBytes (RCType::Pong, { { "t", "1" } }))); });
    later.join();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return handled == RCClient::maxPendingRecords + 1; }));
}
