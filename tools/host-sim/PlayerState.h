#pragma once

#include "ShowDocument.h"

#include <optional>

/**
    The simulated host's player: the loaded show, what plays, where, what plays next, and the
    marker loop. It carries out the remote's commands the way a playback host would and moves
    the position on when told how much time has passed.

    Positions are milliseconds from the start of the song in the transport (the current cue, or
    the next cue while nothing has played yet). Cue numbers are 0-based rows of the show; the
    current cue is -1 before anything has played, and the next cue runs from 0 to the number
    of songs, where the number of songs means "no next cue" (after the last song).

    Playing a song whose media is missing is refused: the command changes nothing.

    Plain logic without locks: the simulator calls it under its own lock.
*/
class PlayerState
{
public:
    enum class Transport
    {
        stopped,
        playing,
        paused
    };

    struct Loop
    {
        int songCue = -1; // -1: no loop has been set
        int markerNum = -1;
        bool enabled = false;

        bool operator== (const Loop& other) const
        {
            return songCue == other.songCue && markerNum == other.markerNum && enabled == other.enabled;
        }
    };

    /** What passing time did. */
    struct Advance
    {
        bool wrapped = false; // the marker loop sent the position back
        bool ended = false;   // the song played to its end and the transport stopped
    };

    //==============================================================================
    /** Loads a show with its identifier (positive); everything starts afresh: stopped, no
        current cue, next cue 0, and the loop armed on the first marker marked loopActive. */
    void loadShow (ShowDocument show, int showId);
    void unloadShow();

    bool hasShow() const noexcept { return show.has_value(); }
    const ShowDocument* getShow() const noexcept { return show ? &*show : nullptr; }
    int getShowId() const noexcept { return show ? showId : -1; }

    //==============================================================================
    // The remote's commands. Each returns true when the state changed.

    /** Resumes a paused song; starts the current song when stopped; with no current song it
        plays the next cue from the transport position. */
    bool play();
    bool pause();

    /** Stops and returns to the start of the current song. */
    bool stop();

    /** Plays the next cue from its start; the next cue moves on to the one after it. */
    bool playNext();

    /** Plays the song before the current one (the first song starts again from its start). */
    bool playPrevious();

    /** Moves the position within the current song, clamped to the song. */
    bool setPosition (double positionMs);

    /** Chooses the next cue; numbers that are not songs of the show are refused. */
    bool setNextCue (int cue);

    bool fireCue (int cue);

    /** Plays the marker's song from the marker. */
    bool fireMarker (int songCue, int markerNum);

    /** Arms or disarms the loop on a marker; only one marker loops at a time. */
    bool setMarkerLoop (int songCue, int markerNum, bool enabled);

    /** Fires a hot cue by name; one that targets a song or a marker fires it. Returns false
        for an unknown name. */
    bool fireHotCue (const juce::String& cueName);

    //==============================================================================
    /** Lets time pass: a playing song moves on, wraps at the end of its loop region and stops
        at its end. */
    Advance advance (juce::int64 elapsedMs);

    Transport getTransport() const noexcept { return transport; }
    int getCurrentCue() const noexcept { return currentCue; }
    int getNextCue() const noexcept { return nextCue; }
    juce::int64 getPositionMs() const noexcept { return positionMs; }
    const Loop& getLoop() const noexcept { return loop; }

    /** The length of the song in the transport, 0 when there is none. */
    juce::int64 getMaxPositionMs() const;

    /** The position as the host shows it: hours, minutes, seconds and frames at 30 frames per
        second, "HH:MM:SS:FF" (hours grow past two digits, they do not wrap). */
    static juce::String formatTime (juce::int64 positionMs);

    static juce::String transportName (Transport transport);

    /** The song that the last refused start wanted to play because its media is missing, then
        -1 until the next such refusal. */
    int takeMissingMediaRefusal();

private:
    const ShowDocument::Song* transportSong() const;
    bool start (int cue, juce::int64 fromMs);

    std::optional<ShowDocument> show;
    int showId = -1;
    Transport transport = Transport::stopped;
    int currentCue = -1;
    int nextCue = 0;
    juce::int64 positionMs = 0;
    Loop loop;
    int missingMediaRefusal = -1;
};
