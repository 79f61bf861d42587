#pragma once

#include "ShowDocument.h"

/**
    The simulator's own shows, for rehearsing without a show file: a main show of fourteen
    songs (one of them with its media missing) and a shorter second show to switch to.
    Both carry MIDI hot cues; positions are in milliseconds.
*/
struct BuiltInShows
{
    /** "Night Tour Rehearsal": 14 songs, markers, tempo and time-signature changes, song 9's
        media missing, a marker loop armed on song 0, and 10 hot cues. */
    static ShowDocument mainShow();

    /** "Acoustic Set": 6 songs and 4 hot cues, different from the main show in every row. */
    static ShowDocument secondShow();

    /** The hot cues that shows read from a file get: MIDI only, none moves the transport. */
    static std::vector<ShowDocument::HotCue> fileShowHotCues();
};
