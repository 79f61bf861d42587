#include "support/ClientFixture.h"

namespace
{
const juce::Colour red { 0xffef4444 };
const juce::Colour amber { 0xfffbbf24 };
const juce::Colour green { 0xff22c55e };

using Lifecycle = ClientFixture;

void ticks (RCClient& client, int count)
{
    for (int i = 0; i < count; ++i)
        client.timerCallback();
}
} // namespace

TEST_F (Lifecycle, ConnectionStartSendsHelloThenRequestAndShowsConnecting)
{
    // A second start replaces the client; its first two datagrams are the hello and the request.
    std::weak_ptr<RCClient> first = main.remote->client;
    ConnectionStart::run (main, "127.0.0.1", "Stage");
    EXPECT_TRUE (first.expired());

    auto records = drain();
    ASSERT_GE (records.size(), 2u);
    EXPECT_EQ (typesOf (records)[0], 0);
    EXPECT_EQ (typesOf (records)[1], 1);
    EXPECT_EQ (records[0].getPropertyName (1).toString(), "IP");
    EXPECT_EQ (records[0].getPropertyName (2).toString(), "DeviceName");
    EXPECT_EQ (MessageRecord::text (records[1], "IP"), "127.0.0.1");

    EXPECT_EQ (main.statusLabel.getText(), "Status : Connecting...");
    EXPECT_EQ (main.show.latencyLabel.getText(), "-- ms");
    EXPECT_EQ (main.hostAddress, "127.0.0.1");
    EXPECT_EQ (main.show.connectAddress, "127.0.0.1");
    EXPECT_EQ (main.show.connectName, "Stage");
    EXPECT_TRUE (main.isTimerRunning (MainComponent::statusPollTimer));
    EXPECT_TRUE (client()->isTimerRunning());
    EXPECT_TRUE (main.connectPanel.isVisible());
}

TEST_F (Lifecycle, ASilentHostGetsThreeDatagramsATickAndAPingASecond)
{
    // Deadline 0: the very first tick is already "failed".
    client()->timerCallback();
    EXPECT_EQ (typesOf (drain()), (std::vector<int> { 1, 0, 1 }));
    EXPECT_EQ (main.statusLabel.getText(), "Status : Connection failed - retrying...");
    EXPECT_EQ (main.statusLabel.findColour (juce::Label::textColourId), red);

    ticks (*client(), 9);
    auto records = drain();
    ASSERT_EQ (records.size(), 28u); // 9 ticks of three, and the tenth tick's ping after its request
    auto& ping = records[25];
    EXPECT_EQ (MessageRecord::integer (ping, "RCType"), 14);
    EXPECT_EQ (MessageRecord::text (ping, "t"), juce::String (client()->lastPingTime));
    EXPECT_EQ (ping.getPropertyName (2).toString(), "IP");
}

TEST_F (Lifecycle, StatesDecideHowOftenConnectionRequestsGoOut)
{
    receive (RCType::Pong, { { "t", "0" } }); // alive for three seconds
    drain();

    struct Case
    {
        int state;
        int requestsIn40Ticks;
    };

    for (auto c : { Case { 0, 40 }, Case { 1, 2 }, Case { 2, 0 } })
    {
        client()->connectionState = c.state;
        client()->registerTicks = 0;
        ticks (*client(), 40);

        auto types = typesOf (drain());
        EXPECT_EQ (std::count (types.begin(), types.end(), 1), c.requestsIn40Ticks) << "state " << c.state;
        EXPECT_EQ (std::count (types.begin(), types.end(), 14), 4) << "state " << c.state;
    }
}

TEST_F (Lifecycle, SilenceOnTheShowScreenReconnectsWithoutLeavingIt)
{
    loadShow ({ "A", "B" });
    receive (RCType::Pong, { { "t", "0" } });
    EXPECT_EQ (main.show.statusText, "Connected");
    drain();

    struct Case
    {
        int silentSeconds;
        const char* status;
        juce::Colour colour;
    };

    const auto lastHeard = now;

    for (auto c : { Case { 3, "Connected", green }, Case { 4, "Reconnecting...", amber },
             Case { 13, "Reconnecting...", amber }, Case { 14, "Connection failed - retrying...", red } })
    {
        now = lastHeard + c.silentSeconds;
        client()->timerCallback();
        EXPECT_EQ (main.show.statusText, c.status) << c.silentSeconds << " s";
        EXPECT_EQ (main.show.statusColour, c.colour) << c.silentSeconds << " s";
    }

    EXPECT_EQ (client()->connectionState, 2);
    EXPECT_TRUE (main.show.isVisible());
    EXPECT_EQ (main.show.latencyLabel.getText(), "-- ms");
    // A hello and a connection request on each silent tick, so that a host that restarted
    // announces its show again.
    EXPECT_EQ (typesOf (drain()), (std::vector<int> { 0, 1, 0, 1, 0, 1 }));

    receive (RCType::CueState);
    EXPECT_EQ (main.show.statusText, "Connected");
}

TEST_F (Lifecycle, SilenceInStateOneOnTheConnectScreenFallsBackToStateZero)
{
    receive (RCType::ShowInfo, { { "ShowID", "-1" } });
    EXPECT_EQ (client()->connectionState, 1);
    EXPECT_EQ (main.statusLabel.getText(), "Status : Waiting for Show Session Load");

    now += 4;
    client()->timerCallback();
    EXPECT_EQ (client()->connectionState, 0);
    EXPECT_EQ (typesOf (drain()), (std::vector<int> { 0 }));

    client()->timerCallback();
    EXPECT_EQ (typesOf (drain()), (std::vector<int> { 1, 0, 1 }));
}

TEST_F (Lifecycle, PinRequiredPausesEverythingUntilTheHostAcceptsTheRemote)
{
    receive (RCType::PinRequired);
    EXPECT_TRUE (client()->pinPending);
    EXPECT_TRUE (main.awaitingPin);
    EXPECT_TRUE (main.pinOverlay.isVisible());
    EXPECT_EQ (main.statusLabel.getText(), "Status : PIN required");

    // Nothing goes out while the host waits for a PIN, however long it stays silent.
    now += 100;
    ticks (*client(), 25);
    EXPECT_TRUE (drain().empty());

    receive (RCType::PinRejected);
    EXPECT_EQ (main.pinOverlay.errorLabel.getText(), "Incorrect PIN. Try again.");
    EXPECT_TRUE (client()->pinPending);
    ticks (*client(), 25);
    EXPECT_TRUE (drain().empty());

    receive (RCType::ShowInfo, { { "ShowID", "4" }, { "Size", "0" } });
    EXPECT_FALSE (client()->pinPending);
    EXPECT_FALSE (main.awaitingPin);
    EXPECT_FALSE (main.pinOverlay.isVisible());

    ticks (*client(), 10);
    EXPECT_EQ (typesOf (drain()), (std::vector<int> { 14 }));
}

TEST_F (Lifecycle, HostDisconnectReturnsToTheConnectScreenFromAnywhere)
{
    loadShow ({ "A", "B" });
    receive (RCType::PinRequired);
    std::weak_ptr<RCClient> watch = main.remote->client;

    receive (RCType::HostDisconnect);

    EXPECT_EQ (main.remote, nullptr);
    EXPECT_TRUE (watch.expired());
    EXPECT_FALSE (main.awaitingPin);
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_TRUE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_TRUE (main.statusLabel.isVisible());
    EXPECT_FALSE (main.isTimerRunning (MainComponent::statusPollTimer));
    EXPECT_EQ (main.statusLabel.getText(), "Status : Disconnected by host");
    EXPECT_EQ (main.statusLabel.findColour (juce::Label::textColourId), red);

    EXPECT_EQ (main.show.showId, -1);
    EXPECT_EQ (main.show.songCount(), 0);
    EXPECT_EQ (main.show.currentCue, -1);
    EXPECT_EQ (main.show.nextCue, 0);
    EXPECT_EQ (main.show.showCard.getValue(), "-");
    EXPECT_EQ (main.show.timeLabel.getText(), "00:00:00:00");
    EXPECT_TRUE (main.show.hostName.isEmpty() && main.show.connectAddress.isEmpty());

    // Nothing is said to the host, and the pings stop.
    EXPECT_TRUE (host.staysQuiet (300));
}

TEST_F (Lifecycle, OperatorDisconnectSendsNothing)
{
    loadShow ({ "A" });
    std::weak_ptr<RCClient> watch = main.remote->client;
    main.disconnectRemote();

    EXPECT_TRUE (watch.expired());
    EXPECT_TRUE (host.staysQuiet (300));
}
