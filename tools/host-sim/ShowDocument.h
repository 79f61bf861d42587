#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <vector>

/**
    A show as the simulated host holds it: the ordered songs with their markers, tempo and
    time-signature changes, and the show's MIDI hot cues.

    Positions (markers, tempos, time signatures, song lengths) are in milliseconds of the song,
    the host's position unit: the same unit as "pos" and "maxpos" of the transport state.

    The JSON form is the show document the remote hands to its page: an array of song objects
    with the keys cue, songname, tracks, markers, tempos, timesignature and file_missing, in
    that order. A song object read from a file may also carry "length" (milliseconds) and "id"
    (the song identifier sent in the show information); neither is written back.

    Plain data and parsing, no threads of its own.
*/
class ShowDocument
{
public:
    struct Marker
    {
        int index = 0;
        double position = 0.0;
        juce::String name;
        bool loopActive = false;
    };

    struct Tempo
    {
        double bpm = 120.0;
        double position = 0.0;
    };

    struct TimeSignature
    {
        int numerator = 4;
        int denominator = 4;
        double position = 0.0;
    };

    struct Song
    {
        int id = 0;
        juce::String name;
        int tracks = 0;
        juce::int64 lengthMs = 0;
        bool fileMissing = false;
        std::vector<Marker> markers;
        std::vector<Tempo> tempos;
        std::vector<TimeSignature> timeSignatures;

        /** The marker with this marker number, or nullptr. */
        const Marker* findMarker (int index) const;

        /** Where a loop on this marker turns back: the next marker's position after it on the
            timeline, or the song's end when it is the last one. */
        juce::int64 loopEndMs (const Marker& marker) const;
    };

    /** A MIDI hot cue. A hot cue may also start a song, or jump to one of its markers, when
        fired; the rest only send their MIDI on the host and leave the transport alone. */
    struct HotCue
    {
        juce::String cueName;
        juce::String colourCode; // hexadecimal ARGB or RGB text, as the host lists it
        int targetCue = -1;
        int targetMarker = -1;
    };

    juce::String name;
    std::vector<Song> songs;
    std::vector<HotCue> hotCues;

    int size() const noexcept { return (int) songs.size(); }
    const Song* findSong (int cue) const;

    /** The show document as compact ASCII JSON, usable as a script literal. A marker's
        "loopActive" is true exactly for the marker named by loopSongCue and loopMarkerNum. */
    juce::String toJson (int loopSongCue = -1, int loopMarkerNum = -1) const;

    /** Reads a show document. On failure returns nothing and sets error to the reason. */
    static std::optional<ShowDocument> fromJson (const juce::String& text, juce::String& error);

    /** Reads a show document file; the show is named after the file. */
    static std::optional<ShowDocument> fromFile (const juce::File& file, juce::String& error);

    /** When a song says nothing about its length: it plays on this long after its last marker,
        tempo or time-signature change. */
    static constexpr juce::int64 defaultTailMs = 30000;

private:
    static std::optional<Song> songFromVar (const juce::var& object, int cue, juce::String& error);
};
