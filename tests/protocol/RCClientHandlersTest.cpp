#include "support/ClientFixture.h"

namespace
{
using Handlers = ClientFixture;

juce::ValueTree withRows (juce::ValueTree record, const juce::String& prefix, std::initializer_list<int> indexes,
    const juce::Identifier& nameKey)
{
    for (auto i : indexes)
    {
        juce::ValueTree row (prefix + juce::String (i));
        row.setProperty (nameKey, "row " + juce::String (i), nullptr);
        row.setProperty ("SID", i + 40, nullptr);
        row.setProperty ("colourCode", "ff00ff00", nullptr);
        record.appendChild (row, nullptr);
    }

    return record;
}
} // namespace

TEST_F (Handlers, ShowInfoLoadsANewShowOnceAndReadsMissingRowsAsEmpty)
{
    auto record =
        withRows (MessageRecord::build (RCType::ShowInfo,
                      { { "HostName", "Stage Mac" }, { "ShowID", "12" }, { "ShowName", "Gala" }, { "Size", "3" } }),
            "S", { 0, 2 }, "SN");
    receive (record);

    EXPECT_EQ (client()->connectionState, 2);
    EXPECT_EQ (main.statusLabel.getText(), "Status : Connected");
    EXPECT_EQ (main.show.showId, 12);
    EXPECT_EQ (main.show.showName, "Gala");
    EXPECT_EQ (main.show.showCard.getValue(), "Gala");
    EXPECT_EQ (main.show.hostName, "Stage Mac");
    ASSERT_EQ (main.show.songCount(), 3);
    EXPECT_EQ (main.show.songs[0].id, 40);
    EXPECT_EQ (main.show.songs[1].id, 0);
    EXPECT_EQ (main.show.songs[1].name, "");
    EXPECT_EQ (main.show.songs[2].name, "row 2");
    EXPECT_EQ (statements, juce::StringArray ({ "window_onload();" }));

    // The same show again: only a non-empty host name counts.
    statements.clear();
    receive (MessageRecord::build (RCType::ShowInfo,
        { { "HostName", "" }, { "ShowID", "12" }, { "ShowName", "Other" }, { "Size", "0" } }));
    EXPECT_EQ (main.show.songCount(), 3);
    EXPECT_EQ (main.show.showName, "Gala");
    EXPECT_EQ (main.show.hostName, "Stage Mac");
    EXPECT_TRUE (statements.isEmpty());

    // No show loaded on the host.
    receive (RCType::ShowInfo, { { "ShowID", "-1" } });
    EXPECT_EQ (client()->connectionState, 1);
    EXPECT_EQ (main.show.showName, "");
    EXPECT_EQ (main.statusLabel.getText(), "Status : Waiting for Show Session Load");
}

TEST_F (Handlers, AHugeRowCountIsCappedAndStaysQuick)
{
    for (auto type : { RCType::ShowInfo, RCType::HotCueList })
    {
        auto record = withRows (MessageRecord::build (type, { { "ShowID", "3" }, { "Size", "2147483647" } }),
            type == RCType::ShowInfo ? "S" : "C", { 0, 1 }, type == RCType::ShowInfo ? "SN" : "cueName");
        receive (record);
    }

    EXPECT_EQ (main.show.songCount(), RCClient::maxRows);
    EXPECT_EQ (main.show.songs[1].name, "row 1");
    EXPECT_EQ ((int) main.show.hotCuePanel.getHotCues().size(), RCClient::maxRows);
    EXPECT_EQ (main.show.hotCuePanel.getHotCues()[1].cueName, "row 1");
}

TEST_F (Handlers, CueStateUpdatesCardsAndThePageOnlyOnTheShowScreen)
{
    loadShow ({ "Intro", "Verse" });
    main.show.setVisible (false);
    receive (RCType::CueState, { { "currentcue", "1" }, { "nextcue", "0" } });
    EXPECT_EQ (main.show.currentCue, -1);
    EXPECT_TRUE (statements.isEmpty());

    main.show.setVisible (true);

    struct Case
    {
        const char* current;
        const char* next;
        const char* nowPlaying;
        const char* nextCard;
        juce::StringArray page;
    };

    const auto scroll = [] (int cue) { return WebBridge::scrollToCueRowStatement (cue); };

    const Case cases[] = {
        { "0", "1", "0 - Intro", "1 - Verse", { "setCurrentCue(0, -1);", scroll (0), "setNextCue(1);", scroll (1) } },
        { "0", "1", "0 - Intro", "1 - Verse", {} },
        { "1", "1", "1 - Verse", "1 - Verse", { "setCurrentCue(1, 0);", scroll (1) } },
        { "2", "2", "-", "-", { "setCurrentCue(2, 1);", scroll (2), "setNextCue(2);", scroll (2) } },
        { "-1", "0", "-", "0 - Intro", { "setCurrentCue(-1, 2);", "setNextCue(0);", scroll (0) } },
        { "", "", "0 - Intro", "0 - Intro", { "setCurrentCue(0, -1);", scroll (0) } },
    };

    for (auto& c : cases)
    {
        statements.clear();
        receive (MessageRecord::build (RCType::CueState, { { "currentcue", c.current }, { "nextcue", c.next } }));
        EXPECT_EQ (main.show.nowPlayingCard.getValue(), c.nowPlaying) << c.current << "/" << c.next;
        EXPECT_EQ (main.show.nextCueCard.getValue(), c.nextCard) << c.current << "/" << c.next;
        EXPECT_EQ (statements, c.page) << c.current << "/" << c.next;
    }

    EXPECT_EQ (main.show.currentCueName, "Intro");
}

TEST_F (Handlers, TransportStateMovesTheSliderUnlessTheOperatorDragsIt)
{
    loadShow ({ "A" });
    receive (RCType::TransportState, { { "maxpos", "90000" }, { "pos", "1500" }, { "time", "00:00:01:15" } });
    EXPECT_EQ (main.show.positionSlider.getMaximum(), 90000.0);
    EXPECT_EQ (main.show.positionSlider.getValue(), 1500.0);
    EXPECT_EQ (main.show.timeLabel.getText(), "00:00:01:15");
    EXPECT_EQ (statements, juce::StringArray ({ "setTransportPosition(1500);" }));

    // A zero or reversed range keeps the last usable one.
    receive (RCType::TransportState, { { "maxpos", "0" }, { "pos", "2000" }, { "time", "x" } });
    receive (RCType::TransportState, { { "maxpos", "-5" }, { "pos", "2500" }, { "time", "y" } });
    EXPECT_EQ (main.show.positionSlider.getMaximum(), 90000.0);
    EXPECT_EQ (main.show.positionSlider.getValue(), 2500.0);

    client()->positionDragging = true;
    statements.clear();
    receive (RCType::TransportState, { { "maxpos", "50000" }, { "pos", "7000" }, { "time", "00:00:07:00" } });
    EXPECT_EQ (main.show.positionSlider.getMaximum(), 90000.0);
    EXPECT_EQ (main.show.positionSlider.getValue(), 2500.0);
    EXPECT_EQ (main.show.timeLabel.getText(), "00:00:07:00");
    EXPECT_EQ (statements, juce::StringArray ({ "setTransportPosition(7000);" }));
}

TEST_F (Handlers, TableAndLoopValuesPassThroughOnlyAsLiterals)
{
    const juce::String document =
        R"([{"cue":0,"songname":"Intro \"live\"","tracks":2,"markers":[],"tempos":[],"timesignature":[],"file_missing":false}])";

    struct Case
    {
        RCType type;
        juce::StringArray values;
        juce::String statement; // empty: nothing may reach the page
    };

    const Case cases[] = {
        { RCType::CueTable, { document, "3", "4" }, "native_setTableData(" + document + ", 3, 4);" },
        { RCType::CueTable, { "{}", "-1", "0" }, "native_setTableData({}, -1, 0);" },
        { RCType::CueTable, { "[]);alert(1);//", "3", "4" }, {} },
        { RCType::CueTable, { "[1]", "3);alert(1", "4" }, {} },
        { RCType::CueTable, { "[1]", "3", "4);fetch('//x')" }, {} },
        { RCType::CueTable, { "alert(1)", "3", "4" }, {} },
        { RCType::CueTable, { "[\"a\"].map(eval)", "3", "4" }, {} },
        { RCType::CueTable, { "[\"</script>\"]", "0", "0" }, "native_setTableData([\"</script>\"], 0, 0);" },
        { RCType::MarkerLoopState, { "2", "1", "true" }, "setCurrentMarkerLoop(2, 1, true);" },
        { RCType::MarkerLoopState, { "2", "1", "0" }, "setCurrentMarkerLoop(2, 1, 0);" },
        { RCType::MarkerLoopState, { "2", "1", "1);alert(document.cookie" }, {} },
        { RCType::MarkerLoopState, { "window", "1", "1" }, {} },
        { RCType::MarkerLoopState, { "2", "", "1" }, {} },
    };

    for (auto& c : cases)
    {
        statements.clear();
        auto keys = c.type == RCType::CueTable ? juce::StringArray { "json", "currentcue", "nextcue" }
                                               : juce::StringArray { "songCue", "markerNum", "enabled" };
        auto record = MessageRecord::build (c.type);

        for (int i = 0; i < 3; ++i)
            record.setProperty (keys[i], c.values[i], nullptr);

        receive (record);

        if (c.statement.isEmpty())
            EXPECT_TRUE (statements.isEmpty()) << c.values.joinIntoString (" | ");
        else
            EXPECT_EQ (statements, juce::StringArray (c.statement)) << c.values.joinIntoString (" | ");
    }

    // A boolean sent as a boolean value reads as 1; numbers sent as integers pass too.
    statements.clear();
    auto loop = MessageRecord::build (RCType::MarkerLoopState);
    loop.setProperty ("songCue", 4, nullptr);
    loop.setProperty ("markerNum", 0, nullptr);
    loop.setProperty ("enabled", true, nullptr);
    receive (loop);
    EXPECT_EQ (statements, juce::StringArray ("setCurrentMarkerLoop(4, 0, 1);"));

    // The table is passed whether or not the show screen is up, and changes no native cue.
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_EQ (main.show.currentCue, -1);
}

TEST_F (Handlers, HotCueListReplacesTheCues)
{
    receive (withRows (MessageRecord::build (RCType::HotCueList, { { "Size", "3" } }), "C", { 0, 1 }, "cueName"));
    ASSERT_EQ (main.show.hotCuePanel.getHotCues().size(), 3u);
    EXPECT_EQ (main.show.hotCuePanel.getHotCues()[0], (HotCue { "row 0", "ff00ff00" }));
    EXPECT_EQ (main.show.hotCuePanel.getHotCues()[2], HotCue {});

    for (auto* size : { "0", "-4", "" })
    {
        receive (withRows (MessageRecord::build (RCType::HotCueList, { { "Size", size } }), "C", { 0 }, "cueName"));
        EXPECT_TRUE (main.show.hotCuePanel.getHotCues().empty()) << size;
    }
}

TEST_F (Handlers, PongShowsTheRoundTripWithItsColour)
{
    const auto counter = juce::Time::getMillisecondCounter();

    receive (RCType::Pong, { { "t", juce::String (counter + 100000) } });
    EXPECT_EQ (main.show.latencyLabel.getText(), "0 ms");
    EXPECT_EQ (main.show.latencyLabel.findColour (juce::Label::textColourId), juce::Colour (0xff22c55e));

    receive (RCType::Pong, { { "t", juce::String (counter - 5000) } });
    EXPECT_TRUE (main.show.latencyLabel.getText().endsWith (" ms"));
    EXPECT_GE (main.show.latencyLabel.getText().getIntValue(), 5000);
    EXPECT_EQ (main.show.latencyLabel.findColour (juce::Label::textColourId), juce::Colour (0xffef4444));
}

TEST_F (Handlers, EveryCommandCarriesTheAddressLast)
{
    struct Case
    {
        std::function<void (RCClient&)> send;
        int type;
        juce::StringArray properties;
        juce::StringArray values;
    };

    const Case cases[] = {
        { [] (RCClient& c) { c.sendPlay(); }, 2, { "RCType", "IP" }, { "2", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendPause(); }, 4, { "RCType", "IP" }, { "4", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendStop(); }, 5, { "RCType", "IP" }, { "5", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendPlayNext(); }, 6, { "RCType", "IP" }, { "6", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendPlayPrev(); }, 7, { "RCType", "IP" }, { "7", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendPosition (1234567.0); }, 8, { "RCType", "SetPos", "IP" },
            { "8", "1.23457e+06", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendNextCue (-3); }, 9, { "RCType", "ID", "IP" }, { "9", "-3", "127.0.0.1" } },
        { [] (RCClient& c) { c.sendConnectRequest(); }, 1, { "RCType", "IP" }, { "1", "127.0.0.1" } },
    };

    for (auto& c : cases)
    {
        c.send (*client());
        auto record = host.receiveRecord();
        ASSERT_TRUE (record.isValid()) << c.type;

        juce::StringArray names, values;

        for (int i = 0; i < record.getNumProperties(); ++i)
        {
            names.add (record.getPropertyName (i).toString());
            values.add (record.getProperty (record.getPropertyName (i)).toString());
        }

        EXPECT_EQ (names, c.properties) << c.type;
        EXPECT_EQ (values, c.values) << c.type;
        EXPECT_TRUE (record.getProperty ("RCType").isInt()) << c.type;
    }
}
