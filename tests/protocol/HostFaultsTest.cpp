// What a host can do wrong, end to end against the simulator or a bare socket acting as the
// host: vanish, come back changed, restart in the middle of pairing, answer from another port,
// send its records in any order.

#include "ClientSimulatorFixture.h"

#include "support/HostEndpoint.h"

#include <csignal>

namespace
{
juce::File writeShowFile (const juce::File& folder, const juce::StringArray& names)
{
    juce::Array<juce::var> songs;

    for (auto& name : names)
    {
        auto* song = new juce::DynamicObject();
        song->setProperty ("songname", name);
        song->setProperty ("tracks", 2);
        song->setProperty ("length", 60000);
        songs.add (juce::var (song));
    }

    auto file = folder.getChildFile ("Encore.json");
    file.replaceWithText (juce::JSON::toString (songs));
    return file;
}

/** Sends "/quentaro" datagrams to the remote's port from a port of the system's choosing. */
class StrayHost
{
public:
    StrayHost() { socket.bindToPort (0); }

    int getPort() const { return socket.getBoundPort(); }

    void send (const juce::ValueTree& record)
    {
        auto bytes = MessageRecord::toBytes (record);
        juce::OSCMessage message ("/quentaro", juce::OSCArgument (bytes));

        // The framework's own encoding, as a real host's OSC library produces it.
        juce::OSCSender sender;
        ASSERT_TRUE (sender.connectToSocket (socket, "127.0.0.1", RCClient::receivePort));
        ASSERT_TRUE (sender.send (message));
    }

private:
    juce::DatagramSocket socket { false };
};
} // namespace

TEST_F (ClientSimulator, AHostThatVanishesAndReturnsWithAnotherShowIsFollowedOnTheShowScreen)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--refresh-ms", "0" });
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
    const auto firstShow = main.show.showName;

    // No goodbye: the process is simply gone.
    simulator->terminate (SIGKILL);

    clockOffset = 4;
    ASSERT_TRUE (waitFor ([this] { return main.show.statusText == "Reconnecting..."; }));
    clockOffset = 14;
    ASSERT_TRUE (waitFor ([this] { return main.show.statusText == "Connection failed - retrying..."; }));
    EXPECT_TRUE (main.show.isVisible());
    EXPECT_EQ (main.getClient()->connectionState, 2);
    EXPECT_EQ (main.show.showName, firstShow);

    // A new host process on the same address, with another show and no memory of this remote.
    juce::TemporaryFile folder;
    ASSERT_TRUE (folder.getFile().createDirectory());
    launchSimulator ({ "--show", writeShowFile (folder.getFile(), { "Intro", "Ballad", "Finale" }).getFullPathName(),
        "--refresh-ms", "0" });

    ASSERT_TRUE (waitFor ([this] { return main.show.songCount() == 3; }, std::chrono::seconds (8)));
    EXPECT_EQ (main.show.songs[1].name, "Ballad");
    EXPECT_NE (main.show.showName, firstShow);
    EXPECT_TRUE (waitFor ([this] { return main.show.statusText == "Connected"; }));
    EXPECT_TRUE (main.show.isVisible());

    // The new host takes the remote's commands.
    main.getClient()->sendNextCue (2);
    ASSERT_TRUE (waitFor ([this] { return main.show.nextCue == 2; }));
    EXPECT_EQ (main.show.nextCueCard.getValue(), "2 - Finale");
    folder.getFile().deleteRecursively();
}

TEST_F (ClientSimulator, AHostRestartingWhileItWaitsForThePinPairsWithTheNewProcess)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--pin", "2468", "--refresh-ms", "0" });
    ASSERT_TRUE (waitFor ([this] { return main.pinOverlay.isVisible(); }));

    // The operator is still typing when the host process dies and comes back.
    simulator->terminate (SIGKILL);
    launchSimulator ({ "--pin", "2468", "--refresh-ms", "0" });

    // The client waits for the PIN without end: no liveness check, nothing sent, no new status.
    clockOffset = 30;
    MessageLoop::runFor (std::chrono::milliseconds (300));
    EXPECT_TRUE (main.pinOverlay.isVisible());
    EXPECT_EQ (main.show.statusText, "PIN required");

    // The PIN and the connection request after it reach the new process, which has never
    // asked this remote for anything: it asks again, and the PIN typed then pairs.
    main.submitRemotePin ("2468");
    ASSERT_TRUE (simulator->waitForLineContaining ("pin-", std::chrono::seconds (5)));
    ASSERT_TRUE (waitFor (
        [this]
        {
            if (main.show.isVisible())
                return true;

            // Whatever the new process made of the first PIN, a second one settles it.
            if (main.pinOverlay.isVisible() && main.show.statusText == "PIN required")
                main.submitRemotePin ("2468");

            return false;
        },
        std::chrono::seconds (8)));
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_FALSE (main.awaitingPin);
    EXPECT_EQ (main.show.statusText, "Connected");
}

TEST_F (ClientSimulator, RecordsFromAnotherPortAndInAnyOrderNeverBreakTheClient)
{
    REQUIRE_PRIVATE_NETWORK();

    // No simulator: a bare socket plays the host, answering from a port that is not 9212.
    HostEndpoint commands;
    ASSERT_TRUE (commands.isBound());
    main.show.getBridge().setEvaluator ([this] (const juce::String& s) { statements.add (s); });
    ConnectionStart::run (main, "127.0.0.1", "Stray");
    main.getClient()->clock = [this] { return (juce::int32) std::time (nullptr) + clockOffset; };

    StrayHost host;
    ASSERT_NE (host.getPort(), RCClient::hostPort);

    auto showInfo = [] (const char* id, juce::StringArray names)
    {
        auto record = MessageRecord::build (RCType::ShowInfo,
            { { "HostName", "Stray Mac" }, { "ShowID", id }, { "ShowName", juce::String ("Show ") + id },
                { "Size", juce::String (names.size()) } });

        for (int i = 0; i < names.size(); ++i)
            record.appendChild (juce::ValueTree ("S" + juce::String (i), { { "SID", i + 1 }, { "SN", names[i] } }),
                nullptr);

        return record;
    };

    // Everything a show sends, before the show itself: nothing moves, nothing breaks.
    host.send (MessageRecord::build (RCType::CueState, { { "currentcue", "4" }, { "nextcue", "9" } }));
    host.send (MessageRecord::build (RCType::TransportState, { { "maxpos", "1000" }, { "pos", "900" } }));
    host.send (MessageRecord::build (RCType::MarkerLoopState,
        { { "songCue", "1" }, { "markerNum", "2" }, { "enabled", "1" } }));
    host.send (MessageRecord::build (RCType::PinRejected));
    host.send (MessageRecord::build (RCType::Pong, { { "t", "99999999999" } }));
    MessageLoop::runFor (std::chrono::milliseconds (200));
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_FALSE (main.pinOverlay.isVisible());

    // The show arrives; then a cue state for rows it does not have, and the show again.
    host.send (showInfo ("12", { "One", "Two" }));
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
    EXPECT_EQ (main.show.statusText, "Connected");
    EXPECT_EQ (main.show.currentCue, -1);

    host.send (MessageRecord::build (RCType::CueState, { { "currentcue", "7" }, { "nextcue", "-3" } }));
    host.send (showInfo ("12", { "One", "Two" }));
    host.send (MessageRecord::build (RCType::CueState, { { "currentcue", "1" }, { "nextcue", "0" } }));
    ASSERT_TRUE (waitFor ([this] { return main.show.currentCue == 1; }));
    EXPECT_EQ (main.show.songCount(), 2);
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), "1 - Two");
    EXPECT_EQ (main.show.nextCueCard.getValue(), "0 - One");

    // The show is unloaded and another one loaded, then a late record of the old one.
    host.send (showInfo ("-1", {}));
    host.send (showInfo ("13", { "Alpha", "Beta", "Gamma" }));
    host.send (MessageRecord::build (RCType::CueState, { { "currentcue", "2" }, { "nextcue", "1" } }));
    ASSERT_TRUE (waitFor ([this] { return main.show.currentCue == 2 && main.show.songCount() == 3; }));
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), "2 - Gamma");
    EXPECT_EQ (main.getClient()->connectionState, 2);

    // A goodbye, and records after it: the connect screen stays, nothing is handled.
    host.send (MessageRecord::build (RCType::HostDisconnect));
    host.send (showInfo ("14", { "Late" }));
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Disconnected by host"); })) << main.statusLabel.getText();
    MessageLoop::runFor (std::chrono::milliseconds (200));
    EXPECT_TRUE (statusIs ("Disconnected by host")) << main.statusLabel.getText();
    EXPECT_TRUE (main.connectPanel.isVisible());
    EXPECT_EQ (main.remote, nullptr);
    EXPECT_EQ (main.show.songCount(), 0);
}
