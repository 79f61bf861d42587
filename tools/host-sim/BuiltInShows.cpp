#include "BuiltInShows.h"

namespace
{
using Song = ShowDocument::Song;

struct MarkerAt
{
    const char* name;
    double seconds;
};

struct TempoAt
{
    double bpm;
    double seconds;
};

struct SignatureAt
{
    int numerator, denominator;
    double seconds;
};

double ms (double seconds)
{
    return seconds * 1000.0;
}

Song song (int id, const char* name, int tracks, double lengthSeconds, std::initializer_list<MarkerAt> markers,
    std::initializer_list<TempoAt> tempos, std::initializer_list<SignatureAt> signatures = { { 4, 4, 0.0 } })
{
    Song result;
    result.id = id;
    result.name = juce::String (juce::CharPointer_UTF8 (name));
    result.tracks = tracks;
    result.lengthMs = (juce::int64) ms (lengthSeconds);

    for (auto& marker : markers)
        result.markers.push_back ({ (int) result.markers.size(), ms (marker.seconds), marker.name, false });

    for (auto& tempo : tempos)
        result.tempos.push_back ({ tempo.bpm, ms (tempo.seconds) });

    for (auto& signature : signatures)
        result.timeSignatures.push_back ({ signature.numerator, signature.denominator, ms (signature.seconds) });

    return result;
}
} // namespace

ShowDocument BuiltInShows::mainShow()
{
    ShowDocument show;
    show.name = "Night Tour Rehearsal";

    show.songs = {
        song (1001, "Opening Lights", 12, 215,
            { { "Intro", 0 }, { "Verse", 24 }, { "Chorus", 62.5 }, { "Bridge", 131 }, { "Outro", 182 } },
            { { 128, 0 } }),
        song (1002, "Midnight Drive", 16, 248,
            { { "Intro", 0 }, { "Verse 1", 18 }, { "Chorus", 55 }, { "Verse 2", 92 }, { "Solo", 150 },
                { "Outro", 210 } },
            { { 96, 0 }, { 104, 150 } }),
        song (1003, "Paper Hearts", 8, 192, { { "Intro", 0 }, { "Verse", 12 }, { "Chorus", 48 }, { "Outro", 160 } },
            { { 72.5, 0 } }),
        song (1004, "Static Bloom", 24, 301,
            { { "Count-in", 0 }, { "Intro", 4 }, { "Verse", 35 }, { "Breakdown", 140 }, { "Drop", 172 },
                { "End", 270 } },
            { { 140, 0 }, { 70, 140 }, { 140, 172 } }),
        song (1005, "Harbour Song", 6, 236, { { "Intro", 0 }, { "Verse", 20 }, { "Chorus", 70 }, { "Outro", 200 } },
            { { 84, 0 } }, { { 6, 8, 0 } }),
        song (1006, "Drum Feature", 10, 330,
            { { "Groove", 0 }, { "Build", 60 }, { "Solo", 120 }, { "Call & Response", 210 }, { "Hit", 300 } },
            { { 118, 0 }, { 124, 120 } }, { { 4, 4, 0 }, { 7, 8, 120 }, { 4, 4, 210 } }),
        song (1007, "Glass Rivers", 14, 264, { { "Intro", 0 }, { "Verse", 30 }, { "Chorus", 90 }, { "Coda", 230 } },
            { { 110, 0 } }),
        song (1008, "Waltz for Nobody", 8, 188,
            { { "Intro", 0 }, { "A", 16 }, { "B", 64 }, { "A'", 112 }, { "Tag", 170 } }, { { 150, 0 } },
            { { 3, 4, 0 } }),
        song (1009, "Northern Signal", 18, 275,
            { { "Intro", 0 }, { "Verse", 22 }, { "Pre-Chorus", 58 }, { "Chorus", 74 }, { "Outro", 240 } },
            { { 122, 0 } }),
        song (1010, "Lost Tapes", 20, 222, { { "Intro", 0 }, { "Verse", 26 }, { "Chorus", 80 } }, { { 100, 0 } }),
        song (1011, "Slow Burn", 8, 318,
            { { "Intro", 0 }, { "Verse", 40 }, { "Chorus", 96 }, { "Half-time", 190 }, { "Outro", 280 } },
            { { 68, 0 }, { 34, 190 }, { 68, 250 } }, { { 12, 8, 0 } }),
        song (1012, "Encore: Home", 12, 256,
            { { "Intro", 0 }, { "Verse", 28 }, { "Chorus", 76 }, { "Singalong", 180 }, { "Final Hit", 248 } },
            { { 132, 0 } }),
        song (1013, "Crowd Walk-Out", 2, 180, { { "Start", 0 }, { "Fade", 150 } }, { { 90, 0 } }),
        song (1014, "Caf\xc3\xa9 \"Lumi\xc3\xa8re\"", 4, 200,
            { { "Intro", 0 }, { "Th\xc3\xa8me", 32 }, { "Fin", 170 } }, { { 108, 0 } }),
    };

    // Its media is missing on the host: the page shows the row in red and it cannot play.
    show.songs[9].fileMissing = true;

    // The rehearsal starts with the first song's chorus armed as a loop.
    show.songs[0].markers[2].loopActive = true;

    show.hotCues = {
        { "Strobe", "ffff3333" },
        { "Smoke", "ff888888" },
        { "Laser Blue", "ff3366ff" },
        { "Pyro", "ffff6600" },
        { "Blackout", "ff000000" },
        { "Haze", "99aabb" },
        { "UV", "#9933ff" },
        { "Walk-In", "ff22c55e", 0, -1 },
        { "Drum Solo", "ffffcc00", 5, 2 },
        { "Encore", "ffff6699", 11, -1 },
    };

    return show;
}

ShowDocument BuiltInShows::secondShow()
{
    ShowDocument show;
    show.name = "Acoustic Set";

    show.songs = {
        song (2001, "Morning Porch", 4, 176, { { "Intro", 0 }, { "Verse", 14 }, { "Chorus", 50 } }, { { 92, 0 } }),
        song (2002, "Two Guitars", 6, 205, { { "Intro", 0 }, { "Verse", 20 }, { "Solo", 110 }, { "Outro", 180 } },
            { { 104, 0 } }),
        song (2003, "Lullaby", 3, 150, { { "Start", 0 }, { "Hum", 120 } }, { { 60, 0 } }, { { 3, 4, 0 } }),
        song (2004, "River Stones", 5, 233, { { "Intro", 0 }, { "Verse", 25 }, { "Chorus", 70 } }, { { 98, 0 } }),
        song (2005, "Late Train", 4, 198, { { "Intro", 0 }, { "Verse", 18 }, { "Outro", 170 } }, { { 116, 0 } }),
        song (2006, "Goodnight", 2, 160, { { "Start", 0 }, { "Last Chord", 150 } }, { { 70, 0 } }),
    };

    show.hotCues = {
        { "Candles", "ffffcc66" },
        { "Warm Wash", "ffcc6633" },
        { "Blackout", "ff000000" },
        { "Start Set", "ff22c55e", 0, -1 },
    };

    return show;
}

std::vector<ShowDocument::HotCue> BuiltInShows::fileShowHotCues()
{
    std::vector<ShowDocument::HotCue> cues;

    for (auto& cue : mainShow().hotCues)
        if (cue.targetCue < 0)
            cues.push_back (cue);

    return cues;
}
