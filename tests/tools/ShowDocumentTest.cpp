#include "BuiltInShows.h"
#include "HostSimulator.h"

#include <gtest/gtest.h>
#include <regex>

namespace
{
juce::StringArray keysOf (const juce::var& object)
{
    juce::StringArray keys;

    if (auto* dynamic = object.getDynamicObject())
        for (auto& property : dynamic->getProperties())
            keys.add (property.name.toString());

    return keys;
}

bool isAscii (const juce::String& text)
{
    for (auto c : text)
        if (c >= 128)
            return false;

    return true;
}
} // namespace

TEST (ShowDocument, BuiltInMainShowIsWorthRehearsingWith)
{
    auto show = BuiltInShows::mainShow();
    ASSERT_GE (show.size(), 12);
    EXPECT_TRUE (show.name.isNotEmpty());

    int missing = 0;

    for (auto& song : show.songs)
    {
        SCOPED_TRACE (song.name);
        missing += song.fileMissing ? 1 : 0;
        EXPECT_FALSE (song.markers.empty());
        EXPECT_FALSE (song.tempos.empty());
        EXPECT_FALSE (song.timeSignatures.empty());

        for (auto& marker : song.markers)
            EXPECT_LT (marker.position, (double) song.lengthMs) << marker.name;
    }

    EXPECT_EQ (missing, 1);

    const std::regex colour ("#?([0-9a-fA-F]{6}|[0-9a-fA-F]{8})");
    ASSERT_GE (show.hotCues.size(), 8u);

    for (auto& hotCue : show.hotCues)
    {
        SCOPED_TRACE (hotCue.cueName);
        EXPECT_TRUE (std::regex_match (hotCue.colourCode.toStdString(), colour));

        // A hot cue that starts a song must find one that can play.
        if (hotCue.targetCue >= 0)
        {
            auto* song = show.findSong (hotCue.targetCue);
            ASSERT_NE (song, nullptr);
            EXPECT_FALSE (song->fileMissing);
            EXPECT_TRUE (hotCue.targetMarker < 0 || song->findMarker (hotCue.targetMarker) != nullptr);
        }
    }
}

TEST (ShowDocument, WritesTheDocumentThePageReads)
{
    auto show = BuiltInShows::mainShow();
    auto json = show.toJson (0, 2);

    // The text goes into a script statement: valid JSON, so a valid literal, in ASCII only.
    EXPECT_TRUE (isAscii (json));
    EXPECT_FALSE (json.containsChar ('\n'));
    auto document = juce::JSON::parse (json);
    ASSERT_TRUE (document.isArray());
    ASSERT_EQ (document.size(), show.size());

    int loops = 0;

    for (int cue = 0; cue < show.size(); ++cue)
    {
        SCOPED_TRACE (cue);
        auto& song = document[cue];
        EXPECT_EQ (keysOf (song).joinIntoString (","), "cue,songname,tracks,markers,tempos,timesignature,file_missing");
        EXPECT_EQ ((int) song["cue"], cue);
        EXPECT_EQ (song["songname"].toString(), show.songs[(size_t) cue].name);
        EXPECT_TRUE (song["file_missing"].isBool());

        for (auto& marker : *song["markers"].getArray())
        {
            EXPECT_EQ (keysOf (marker).joinIntoString (","), "index,position,name,songCue,loopActive");
            EXPECT_EQ ((int) marker["songCue"], cue);
            loops += (bool) marker["loopActive"] ? 1 : 0;
        }

        for (auto& tempo : *song["tempos"].getArray())
            EXPECT_EQ (keysOf (tempo).joinIntoString (","), "bpm,position,songCue");

        for (auto& signature : *song["timesignature"].getArray())
            EXPECT_EQ (keysOf (signature).joinIntoString (","), "numerator,denominator,position,songCue");
    }

    EXPECT_EQ (loops, 1);
    EXPECT_TRUE ((bool) document[0]["markers"][2]["loopActive"]);
    EXPECT_FALSE (show.toJson().contains ("\"loopActive\":true"));
}

TEST (ShowDocument, ReadsBackWhatItWrites)
{
    for (auto& show : { BuiltInShows::mainShow(), BuiltInShows::secondShow() })
    {
        SCOPED_TRACE (show.name);
        juce::String error;
        auto back = ShowDocument::fromJson (show.toJson(), error);
        ASSERT_TRUE (back.has_value()) << error;
        EXPECT_EQ (back->toJson(), show.toJson());
    }

    EXPECT_NE (BuiltInShows::secondShow().name, BuiltInShows::mainShow().name);
    EXPECT_NE (BuiltInShows::secondShow().songs[0].name, BuiltInShows::mainShow().songs[0].name);
}

TEST (ShowDocument, FillsInWhatASongLeavesOut)
{
    juce::String error;
    auto show = ShowDocument::fromJson (R"([{"songname": "Bare"},)"
                                        R"({"songname": "Full", "id": 77, "length": 90000,)"
                                        R"( "markers": [{"index": 3, "position": 1000.5, "name": "Late"}],)"
                                        R"( "tempos": [{"bpm": 96.5, "position": 40000}]}])",
        error);
    ASSERT_TRUE (show.has_value()) << error;
    ASSERT_EQ (show->size(), 2);

    auto& bare = show->songs[0];
    EXPECT_EQ (bare.id, 1);
    EXPECT_EQ (bare.lengthMs, ShowDocument::defaultTailMs);
    EXPECT_TRUE (bare.markers.empty());

    auto& full = show->songs[1];
    EXPECT_EQ (full.id, 77);
    EXPECT_EQ (full.lengthMs, 90000);
    ASSERT_NE (full.findMarker (3), nullptr);
    EXPECT_EQ (full.findMarker (3)->position, 1000.5);
    EXPECT_EQ (full.findMarker (0), nullptr);

    auto empty = ShowDocument::fromJson ("[]", error);
    ASSERT_TRUE (empty.has_value());
    EXPECT_EQ (empty->size(), 0);
}

TEST (ShowDocument, RefusesDocumentsItCannotPlay)
{
    const std::pair<const char*, const char*> cases[] = {
        { "not json", "not JSON" },
        { "{}", "array of songs" },
        { "[1]", "song 0: must be an object" },
        { R"([{"songname": "A"}, {"cue": 0}])", "song 1: cue must be 1" },
        { R"([{"songname": 5}])", "songname must be a string" },
        { R"([{"tracks": 2.5}])", "tracks must be a whole number" },
        { R"([{"file_missing": "yes"}])", "file_missing must be true or false" },
        { R"([{"markers": {}}])", "markers must be an array" },
        { R"([{"markers": [3]}])", "markers must hold objects only" },
        { R"([{"markers": [{"index": 0}, {"index": 0}]}])", "marker 1: marker number 0 is used twice" },
        { R"([{"markers": [{"position": -1}]}])", "marker 0: position must be" },
        { R"([{"markers": [{"songCue": 4}]}])", "songCue must be 0" },
        { R"([{"tempos": [{"bpm": 0}]}])", "tempo 0: bpm must be" },
        { R"([{"timesignature": [{"denominator": 0}]}])", "time signature 0: denominator must be" },
        { R"([{"length": 1000, "markers": [{"position": 5000}]}])", "length must lie after" },
    };

    for (auto& [text, reason] : cases)
    {
        juce::String error;
        EXPECT_FALSE (ShowDocument::fromJson (text, error).has_value()) << text;
        EXPECT_TRUE (error.contains (reason)) << text << " gave: " << error;
    }
}

TEST (ShowDocument, AFileShowIsNamedAfterItsFileAndGetsHotCues)
{
    juce::TemporaryFile file (".json");
    ASSERT_TRUE (file.getFile().replaceWithText (R"([{"songname": "One"}, {"songname": "Two"}])"));

    juce::String error;
    auto show = HostSimulator::readShowFile (file.getFile().getFullPathName(), error);
    ASSERT_TRUE (show.has_value()) << error;
    EXPECT_EQ (show->name, file.getFile().getFileNameWithoutExtension());
    EXPECT_EQ (show->size(), 2);

    // The file knows nothing of hot cues; the ones it gets must not start songs it lacks.
    EXPECT_FALSE (show->hotCues.empty());

    for (auto& hotCue : show->hotCues)
        EXPECT_LT (hotCue.targetCue, 0) << hotCue.cueName;

    EXPECT_FALSE (HostSimulator::readShowFile ("/no/such/show.json", error).has_value());
    EXPECT_TRUE (error.contains ("/no/such/show.json"));
}
