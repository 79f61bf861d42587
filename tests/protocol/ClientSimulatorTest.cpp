// The real client against the host simulator over UDP, inside the test namespace.

#include "ClientSimulatorFixture.h"

TEST_F (ClientSimulator, ConnectsLoadsTheShowAndFollowsTheHost)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--refresh-ms", "0" });

    // The first two datagrams of the connection: hello, then the connection request.
    juce::StringArray lines;
    auto second = simulator->waitForLineContaining ("\"RCType\": 1", std::chrono::seconds (5), &lines);
    ASSERT_TRUE (second);
    lines.add (*second);
    std::vector<juce::ValueTree> firstRecords;

    for (auto& line : lines)
        if (auto record = RecordJson::fromJson (line); record.isValid())
            firstRecords.push_back (record);

    ASSERT_EQ (firstRecords.size(), 2u) << lines.joinIntoString ("\n");
    EXPECT_EQ (MessageRecord::integer (firstRecords[0], "RCType"), 0);
    EXPECT_EQ (MessageRecord::text (firstRecords[0], "IP"), "127.0.0.1");
    EXPECT_EQ (MessageRecord::integer (firstRecords[1], "RCType"), 1);

    // Show information brings up the show screen at the next poll.
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
    EXPECT_FALSE (main.connectPanel.isVisible());
    EXPECT_EQ (main.show.statusText, "Connected");
    EXPECT_GE (main.show.songCount(), 12);
    EXPECT_FALSE (main.show.showName.isEmpty());
    EXPECT_EQ (main.show.showCard.getValue(), main.show.showName);
    EXPECT_EQ (main.show.hostName, "QUENTARO Sim");
    EXPECT_TRUE (statements.contains ("window_onload();"));

    auto table = statements.indexOf ("window_onload();") + 1;
    ASSERT_LT (table, statements.size());
    EXPECT_TRUE (statements[table].startsWith ("native_setTableData([{\"cue\":0,")) << statements[table];
    EXPECT_TRUE (statements[table].endsWith (");"));

    // A command goes to the host, which answers with its cue state.
    statements.clear();
    main.getClient()->sendNextCue (3);
    ASSERT_TRUE (waitFor ([this] { return main.show.nextCue == 3; }));
    EXPECT_EQ (main.show.nextCueCard.getValue(), "3 - " + main.show.songs[3].name);
    EXPECT_TRUE (statements.contains ("setNextCue(3);"));
    EXPECT_TRUE (statements.contains (WebBridge::scrollToCueRowStatement (3)));

    main.getClient()->sendPlay();
    ASSERT_TRUE (waitFor ([this] { return main.show.currentCue == 3; }));
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), "3 - " + main.show.songs[3].name);
    EXPECT_TRUE (statements.contains ("setCurrentCue(3, -1);"));
    ASSERT_TRUE (waitFor ([this] { return main.show.positionSlider.getValue() > 0.0; }));
    EXPECT_TRUE (main.show.timeLabel.getText().matchesWildcard ("00:0?:??:??", false)) << main.show.timeLabel.getText();

    // Pongs give a latency.
    ASSERT_TRUE (waitFor ([this] { return main.show.latencyLabel.getText() != "-- ms"; }, std::chrono::seconds (3)));
    EXPECT_TRUE (main.show.latencyLabel.getText().endsWith (" ms"));

    // The host says goodbye: back to the connect screen.
    simulator->writeLine ("{\"cmd\": \"disconnect\"}");
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Disconnected by host"); }));
    EXPECT_TRUE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_EQ (main.remote, nullptr);
}

TEST_F (ClientSimulator, StatusFollowsTheHostsSilenceAndItsShow)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--no-show", "--refresh-ms", "0" });

    ASSERT_TRUE (waitFor ([this] { return statusIs ("Waiting for Show Session Load"); }));
    EXPECT_EQ (main.getClient()->connectionState, 1);

    // The host goes quiet; the client's clock is moved on instead of waiting for real seconds.
    simulator->writeLine ("{\"cmd\": \"silence\", \"seconds\": 3}");
    ASSERT_TRUE (simulator->waitForLineContaining ("fault-started", std::chrono::seconds (5)));

    clockOffset = 4;
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Reconnecting..."); }));
    EXPECT_EQ (main.getClient()->connectionState, 0);

    clockOffset = 14;
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Connection failed - retrying..."); }));
    EXPECT_EQ (main.statusLabel.findColour (juce::Label::textColourId), juce::Colour (0xffef4444));

    // The status poll tells the same story in its own words (its ticks and the client's can
    // fall into one timer callback, so the poll is run directly here).
    main.timerCallback (MainComponent::statusPollTimer);
    EXPECT_TRUE (statusIs ("Host not found - retrying"));

    // While silent in state 0, every tick sends a request, a hello and a request.
    auto types = receivedTypes (std::chrono::milliseconds (500));
    EXPECT_GE (count (types, 1), 6);
    EXPECT_GE (count (types, 0), 3);

    // The host answers again: still no show.
    clockOffset = 0;
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Waiting for Show Session Load"); }, std::chrono::seconds (8)));

    // It loads a show: connected, and the show screen comes up.
    simulator->writeLine ("{\"cmd\": \"load-show\"}");
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
    EXPECT_EQ (main.show.statusText, "Connected");
    EXPECT_EQ (main.getClient()->connectionState, 2);
}

TEST_F (ClientSimulator, AHostAnsweringOnlyPongsNeverConnects)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--pongs-only" });

    ASSERT_TRUE (waitFor ([this] { return main.show.latencyLabel.getText() != "-- ms"; }, std::chrono::seconds (3)));
    ASSERT_TRUE (waitFor ([this] { return statusIs ("Host not found - retrying"); }, std::chrono::seconds (2)));
    EXPECT_EQ (main.getClient()->connectionState, 0);
    EXPECT_FALSE (main.show.isVisible());
}

TEST_F (ClientSimulator, PinPausesTheClientUntilTheRightPin)
{
    REQUIRE_PRIVATE_NETWORK();
    start ({ "--pin", "4321", "--refresh-ms", "0" });

    ASSERT_TRUE (waitFor ([this] { return main.pinOverlay.isVisible(); }));
    EXPECT_TRUE (main.awaitingPin);
    EXPECT_EQ (main.show.statusText, "PIN required");

    // Neither pings nor connection requests go out while the host waits for the PIN.
    receivedTypes (std::chrono::milliseconds (200));
    auto quiet = receivedTypes (std::chrono::milliseconds (1300));
    EXPECT_EQ (count (quiet, 14) + count (quiet, 1), 0);

    main.submitRemotePin ("1111");
    ASSERT_TRUE (waitFor ([this] { return main.pinOverlay.errorLabel.getText() == "Incorrect PIN. Try again."; }));
    EXPECT_TRUE (main.pinOverlay.isVisible());
    EXPECT_TRUE (main.getClient()->pinPending);

    main.submitRemotePin ("4321");
    ASSERT_TRUE (waitFor ([this] { return main.show.isVisible(); }));
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_FALSE (main.awaitingPin);

    auto resumed = receivedTypes (std::chrono::milliseconds (1300));
    EXPECT_GE (count (resumed, 14), 1);
}
