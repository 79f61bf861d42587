#include "HostRecords.h"
#include "BuiltInShows.h"

#include <gtest/gtest.h>

namespace
{
juce::String text (const juce::ValueTree& record, const char* name)
{
    return MessageRecord::text (record, name);
}

std::vector<int> kinds (const std::vector<juce::ValueTree>& records)
{
    std::vector<int> result;

    for (auto& record : records)
        result.push_back (MessageRecord::integer (record, MessageRecord::rcType));

    return result;
}

int loopingMarkers (const juce::var& document)
{
    int count = 0;

    for (auto& song : *document.getArray())
        for (auto& marker : *song["markers"].getArray())
            count += (bool) marker["loopActive"] ? 1 : 0;

    return count;
}
} // namespace

TEST (HostRecords, WithoutAShowOnlyTheShowInformationGoesOut)
{
    PlayerState player;
    auto records = HostRecords::announcement ("Stage", player);
    ASSERT_EQ (kinds (records), std::vector<int> { 100 });

    auto& info = records[0];
    EXPECT_EQ (text (info, "HostName"), "Stage");
    EXPECT_EQ (text (info, "ShowID"), "-1");
    EXPECT_EQ (text (info, "ShowName"), "");
    EXPECT_EQ (text (info, "Size"), "0");
    EXPECT_EQ (info.getNumChildren(), 0);
}

TEST (HostRecords, TheShowGoesOutRowByRowWithTheRest)
{
    PlayerState player;
    player.loadShow (BuiltInShows::secondShow(), 12);
    auto* show = player.getShow();

    // The second show arms no loop, so there is no loop to tell about yet.
    auto records = HostRecords::announcement ("Stage", player);
    EXPECT_EQ (kinds (records), (std::vector<int> { 100, 103, 101, 102, 105 }));

    auto& info = records[0];
    EXPECT_EQ (text (info, "ShowID"), "12");
    EXPECT_EQ (text (info, "ShowName"), show->name);
    ASSERT_EQ (text (info, "Size"), juce::String (show->size()));
    ASSERT_EQ (info.getNumChildren(), show->size());

    for (int i = 0; i < show->size(); ++i)
    {
        auto row = info.getChild (i);
        EXPECT_EQ (row.getType().toString(), "S" + juce::String (i));
        EXPECT_EQ (text (row, "SID"), juce::String (show->songs[(size_t) i].id));
        EXPECT_EQ (text (row, "SN"), show->songs[(size_t) i].name);
    }

    auto& hotCues = records[4];
    ASSERT_EQ (hotCues.getNumChildren(), (int) show->hotCues.size());
    EXPECT_EQ (hotCues.getChild (1).getType().toString(), "C1");
    EXPECT_EQ (text (hotCues.getChild (1), "cueName"), show->hotCues[1].cueName);
    EXPECT_EQ (text (hotCues.getChild (1), "colourCode"), show->hotCues[1].colourCode);

    player.setMarkerLoop (2, 1, false);
    player.setMarkerLoop (2, 1, true);
    EXPECT_EQ (kinds (HostRecords::announcement ("Stage", player)).back(), 104);
}

TEST (HostRecords, TheTableMarksOnlyTheMarkerThatLoops)
{
    PlayerState player;
    player.loadShow (BuiltInShows::mainShow(), 1);
    player.fireCue (4);

    auto table = HostRecords::cueTable (player);
    EXPECT_EQ (text (table, "currentcue"), "4");
    EXPECT_EQ (text (table, "nextcue"), "5");
    auto document = juce::JSON::parse (text (table, "json"));
    EXPECT_EQ (loopingMarkers (document), 1);
    EXPECT_TRUE ((bool) document[0]["markers"][2]["loopActive"]);

    player.setMarkerLoop (3, 1, true);
    document = juce::JSON::parse (text (HostRecords::cueTable (player), "json"));
    EXPECT_EQ (loopingMarkers (document), 1);
    EXPECT_TRUE ((bool) document[3]["markers"][1]["loopActive"]);

    player.setMarkerLoop (3, 1, false);
    EXPECT_EQ (loopingMarkers (juce::JSON::parse (text (HostRecords::cueTable (player), "json"))), 0);

    auto loop = HostRecords::markerLoopState (player);
    EXPECT_EQ (text (loop, "songCue"), "3");
    EXPECT_EQ (text (loop, "markerNum"), "1");
    EXPECT_EQ (text (loop, "enabled"), "0");
}

TEST (HostRecords, TheTransportIsInMillisecondsOfTheSong)
{
    PlayerState player;
    player.loadShow (BuiltInShows::mainShow(), 1);
    player.fireCue (5);
    player.setPosition (123456.4);

    auto transport = HostRecords::transportState (player);
    EXPECT_EQ (text (transport, "maxpos"), juce::String (BuiltInShows::mainShow().songs[5].lengthMs));
    EXPECT_EQ (text (transport, "pos"), "123456");
    EXPECT_EQ (text (transport, "time"), "00:02:03:13");

    auto cues = HostRecords::cueState (player);
    EXPECT_EQ (text (cues, "currentcue"), "5");
    EXPECT_EQ (text (cues, "nextcue"), "6");
}
