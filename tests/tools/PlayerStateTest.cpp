#include "PlayerState.h"

#include <functional>
#include <gtest/gtest.h>

namespace
{
using Transport = PlayerState::Transport;
using Loop = PlayerState::Loop;

ShowDocument::Song song (const char* name, juce::int64 lengthMs, std::initializer_list<double> markerPositions)
{
    ShowDocument::Song result;
    result.name = name;
    result.lengthMs = lengthMs;

    for (auto position : markerPositions)
        result.markers.push_back (
            { (int) result.markers.size(), position, "M" + juce::String (result.markers.size()) });

    return result;
}

/** Four songs: A (100 s, markers at 0, 20, 50, 80 s), B (60 s, markers at 0 and 30 s), C with
    its media missing, D (50 s, its last marker at 45 s); hot cues without and with targets. */
ShowDocument smallShow()
{
    ShowDocument show;
    show.name = "Small";
    show.songs = { song ("A", 100000, { 0, 20000, 50000, 80000 }), song ("B", 60000, { 0, 30000 }),
        song ("C", 40000, { 0 }), song ("D", 50000, { 0, 45000 }) };
    show.songs[2].fileMissing = true;
    show.hotCues = { { "Lights", "ffff3333" }, { "Go B", "ff3366ff", 1, -1 }, { "B Verse", "ff33cc66", 1, 1 } };
    return show;
}

struct Expected
{
    Transport transport;
    int current;
    int next;
    juce::int64 position;
};

struct Case
{
    const char* name;
    std::function<PlayerState::Advance (PlayerState&)> steps; // the last advance's result
    Expected expected;
    PlayerState::Advance advance = {};
};

const PlayerState::Advance none {};
} // namespace

TEST (PlayerState, CarriesOutCommandsLikeAPlaybackHost)
{
    const Case cases[] = {
        { "a new show plays nothing", [] (PlayerState&) { return none; }, { Transport::stopped, -1, 0, 0 } },
        { "play with nothing played starts the next cue",
            [] (PlayerState& p)
            {
                p.play();
                return none;
            },
            { Transport::playing, 0, 1, 0 } },
        { "play starts the next cue where the transport was put",
            [] (PlayerState& p)
            {
                p.setNextCue (1);
                p.setPosition (12000);
                p.play();
                return none;
            },
            { Transport::playing, 1, 2, 12000 } },
        { "pause holds the position",
            [] (PlayerState& p)
            {
                p.play();
                p.advance (1500);
                p.pause();
                return p.advance (1000);
            },
            { Transport::paused, 0, 1, 1500 } },
        { "play resumes a paused song",
            [] (PlayerState& p)
            {
                p.play();
                p.advance (1500);
                p.pause();
                p.play();
                return p.advance (500);
            },
            { Transport::playing, 0, 1, 2000 } },
        { "stop returns to the start and keeps the song",
            [] (PlayerState& p)
            {
                p.play();
                p.advance (1500);
                p.stop();
                return none;
            },
            { Transport::stopped, 0, 1, 0 } },
        { "play after stop starts the current song again",
            [] (PlayerState& p)
            {
                p.fireCue (1);
                p.stop();
                p.play();
                return none;
            },
            { Transport::playing, 1, 2, 0 } },
        { "play next plays the next cue and moves next on",
            [] (PlayerState& p)
            {
                p.playNext();
                p.playNext();
                return none;
            },
            { Transport::playing, 1, 2, 0 } },
        { "play next plays the chosen next cue",
            [] (PlayerState& p)
            {
                p.playNext();
                p.setNextCue (3);
                p.playNext();
                return none;
            },
            { Transport::playing, 3, 4, 0 } },
        { "after the last song there is no next cue to play",
            [] (PlayerState& p)
            {
                p.fireCue (3);
                p.advance (1000);
                p.playNext();
                return none;
            },
            { Transport::playing, 3, 4, 1000 } },
        { "play previous plays the song before",
            [] (PlayerState& p)
            {
                p.fireCue (1);
                p.playPrevious();
                return none;
            },
            { Transport::playing, 0, 1, 0 } },
        { "play previous onto a song with its media missing does nothing",
            [] (PlayerState& p)
            {
                p.fireCue (3);
                p.advance (800);
                p.playPrevious();
                return none;
            },
            { Transport::playing, 3, 4, 800 } },
        { "play previous on the first song starts it again",
            [] (PlayerState& p)
            {
                p.fireCue (0);
                p.advance (5000);
                p.playPrevious();
                return none;
            },
            { Transport::playing, 0, 1, 0 } },
        { "play previous with nothing played does nothing",
            [] (PlayerState& p)
            {
                p.playPrevious();
                return none;
            },
            { Transport::stopped, -1, 0, 0 } },
        { "the next cue stays within the show at both ends",
            [] (PlayerState& p)
            {
                p.setNextCue (2);
                p.setNextCue (-1);
                p.setNextCue (4);
                return none;
            },
            { Transport::stopped, -1, 2, 0 } },
        { "a song with its media missing does not play",
            [] (PlayerState& p)
            {
                p.fireCue (1);
                p.fireCue (2);
                p.setNextCue (2);
                p.playNext();
                return none;
            },
            { Transport::playing, 1, 2, 0 } },
        { "firing a marker jumps within the playing song",
            [] (PlayerState& p)
            {
                p.fireCue (0);
                p.setNextCue (3);
                p.fireMarker (0, 2);
                return none;
            },
            { Transport::playing, 0, 3, 50000 } },
        { "firing a marker of another song plays that song from it",
            [] (PlayerState& p)
            {
                p.fireCue (0);
                p.fireMarker (1, 1);
                return none;
            },
            { Transport::playing, 1, 2, 30000 } },
        { "firing a marker that does not exist does nothing",
            [] (PlayerState& p)
            {
                p.fireMarker (1, 7);
                p.fireMarker (9, 0);
                return none;
            },
            { Transport::stopped, -1, 0, 0 } },
        { "a position beyond the song stops at its end",
            [] (PlayerState& p)
            {
                p.fireCue (1);
                p.setPosition (1.23457e+06);
                return none;
            },
            { Transport::playing, 1, 2, 60000 } },
        { "a negative position is the start",
            [] (PlayerState& p)
            {
                p.fireCue (1);
                p.advance (700);
                p.setPosition (-5);
                return none;
            },
            { Transport::playing, 1, 2, 0 } },
        { "a song that plays to its end stops there",
            [] (PlayerState& p)
            {
                p.fireCue (1);
                p.advance (59000);
                return p.advance (1500);
            },
            { Transport::stopped, 1, 2, 0 }, { false, true } },
        { "a loop turns back at the next marker",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (0, 2, true);
                p.fireMarker (0, 2);
                p.advance (29900);
                return p.advance (300);
            },
            { Transport::playing, 0, 1, 50200 }, { true, false } },
        { "a loop on the last marker turns back at the song's end",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (3, 1, true);
                p.fireCue (3);
                p.setPosition (49900);
                return p.advance (300);
            },
            { Transport::playing, 3, 4, 45200 }, { true, false } },
        { "a loop catches a song that plays into it",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (0, 1, true);
                p.fireCue (0);
                p.advance (19000);
                return p.advance (32000);
            },
            { Transport::playing, 0, 1, 21000 }, { true, false } },
        { "a position moved past the loop plays on",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (0, 2, true);
                p.fireCue (0);
                p.setPosition (85000);
                return p.advance (1000);
            },
            { Transport::playing, 0, 1, 86000 } },
        { "a disarmed loop plays through",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (0, 2, true);
                p.setMarkerLoop (0, 2, false);
                p.fireCue (0);
                p.setPosition (79900);
                return p.advance (300);
            },
            { Transport::playing, 0, 1, 80200 } },
        { "a loop holds only its own song",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (1, 0, true);
                p.fireCue (0);
                p.setPosition (19900);
                return p.advance (300);
            },
            { Transport::playing, 0, 1, 20200 } },
        { "a hot cue without a target leaves the transport alone",
            [] (PlayerState& p)
            {
                p.fireCue (3);
                p.fireHotCue ("Lights");
                return none;
            },
            { Transport::playing, 3, 4, 0 } },
        { "a hot cue fires its song",
            [] (PlayerState& p)
            {
                p.fireHotCue ("Go B");
                return none;
            },
            { Transport::playing, 1, 2, 0 } },
        { "a hot cue fires its marker",
            [] (PlayerState& p)
            {
                p.fireHotCue ("B Verse");
                return none;
            },
            { Transport::playing, 1, 2, 30000 } },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        PlayerState player;
        player.loadShow (smallShow(), 7);
        auto advanced = c.steps (player);

        EXPECT_EQ (PlayerState::transportName (player.getTransport()),
            PlayerState::transportName (c.expected.transport));
        EXPECT_EQ (player.getCurrentCue(), c.expected.current);
        EXPECT_EQ (player.getNextCue(), c.expected.next);
        EXPECT_EQ (player.getPositionMs(), c.expected.position);
        EXPECT_EQ (advanced.wrapped, c.advance.wrapped);
        EXPECT_EQ (advanced.ended, c.advance.ended);
    }
}

TEST (PlayerState, OneMarkerLoopsAtATime)
{
    const struct
    {
        const char* name;
        std::function<void (PlayerState&)> steps;
        Loop expected;
    } cases[] = {
        { "arming a marker", [] (PlayerState& p) { p.setMarkerLoop (1, 1, true); }, { 1, 1, true } },
        { "arming another marker moves the loop",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (1, 1, true);
                p.setMarkerLoop (0, 3, true);
            },
            { 0, 3, true } },
        { "disarming the looping marker",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (1, 1, true);
                p.setMarkerLoop (1, 1, false);
            },
            { 1, 1, false } },
        { "disarming another marker leaves the loop",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (1, 1, true);
                p.setMarkerLoop (0, 1, false);
            },
            { 1, 1, true } },
        { "a marker that does not exist",
            [] (PlayerState& p)
            {
                p.setMarkerLoop (1, 5, true);
                p.setMarkerLoop (-1, 0, true);
            },
            { -1, -1, false } },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        PlayerState player;
        player.loadShow (smallShow(), 1);
        c.steps (player);
        EXPECT_TRUE (player.getLoop() == c.expected)
            << player.getLoop().songCue << " " << player.getLoop().markerNum << " " << player.getLoop().enabled;
    }
}

TEST (PlayerState, LoadingAndUnloadingStartAfresh)
{
    auto show = smallShow();
    show.songs[1].markers[1].loopActive = true;

    PlayerState player;
    player.loadShow (show, 3);
    EXPECT_EQ (player.getShowId(), 3);
    EXPECT_TRUE (player.getLoop() == (Loop { 1, 1, true }));

    // Before anything plays the transport spans the next cue's song.
    EXPECT_EQ (player.getMaxPositionMs(), 100000);
    player.setNextCue (3);
    EXPECT_EQ (player.getMaxPositionMs(), 50000);
    player.fireCue (1);
    player.advance (2000);
    EXPECT_EQ (player.getMaxPositionMs(), 60000);

    player.loadShow (smallShow(), 4);
    EXPECT_EQ (player.getShowId(), 4);
    EXPECT_EQ (player.getCurrentCue(), -1);
    EXPECT_EQ (player.getNextCue(), 0);
    EXPECT_EQ (player.getPositionMs(), 0);
    EXPECT_TRUE (player.getLoop() == Loop {});

    player.unloadShow();
    EXPECT_EQ (player.getShowId(), -1);
    EXPECT_EQ (player.getMaxPositionMs(), 0);

    // Without a show every command is refused.
    EXPECT_FALSE (player.play());
    EXPECT_FALSE (player.fireCue (0));
    EXPECT_FALSE (player.setNextCue (0));
    EXPECT_FALSE (player.fireHotCue ("Lights"));
}

TEST (PlayerState, ReportsWhichMissingSongItRefused)
{
    PlayerState player;
    player.loadShow (smallShow(), 1);
    player.fireCue (2);
    EXPECT_EQ (player.takeMissingMediaRefusal(), 2);
    EXPECT_EQ (player.takeMissingMediaRefusal(), -1);

    player.fireCue (9);
    EXPECT_EQ (player.takeMissingMediaRefusal(), -1);
}

TEST (PlayerState, FormatsTimeAsFramesAtThirtyPerSecond)
{
    const std::pair<juce::int64, const char*> cases[] = {
        { 0, "00:00:00:00" },
        { 33, "00:00:00:00" },
        { 34, "00:00:00:01" },
        { 999, "00:00:00:29" },
        { 1000, "00:00:01:00" },
        { 59999, "00:00:59:29" },
        { 3723500, "01:02:03:15" },
        { 360000000, "100:00:00:00" },
        { -500, "00:00:00:00" },
    };

    for (auto& [ms, expected] : cases)
        EXPECT_EQ (PlayerState::formatTime (ms), expected) << ms;
}
