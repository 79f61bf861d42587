#include "PlayerState.h"

#include <cmath>
#include <utility>

void PlayerState::loadShow (ShowDocument showToLoad, int newShowId)
{
    show = std::move (showToLoad);
    showId = newShowId;
    transport = Transport::stopped;
    currentCue = -1;
    nextCue = 0;
    positionMs = 0;
    loop = {};

    for (int cue = 0; cue < show->size() && loop.songCue < 0; ++cue)
        for (auto& marker : show->songs[(size_t) cue].markers)
            if (marker.loopActive && loop.songCue < 0)
                loop = { cue, marker.index, true };
}

void PlayerState::unloadShow()
{
    show.reset();
    showId = -1;
    transport = Transport::stopped;
    currentCue = -1;
    nextCue = 0;
    positionMs = 0;
    loop = {};
}

const ShowDocument::Song* PlayerState::transportSong() const
{
    if (! show)
        return nullptr;

    return currentCue >= 0 ? show->findSong (currentCue) : show->findSong (nextCue);
}

juce::int64 PlayerState::getMaxPositionMs() const
{
    auto* song = transportSong();
    return song != nullptr ? song->lengthMs : 0;
}

bool PlayerState::start (int cue, juce::int64 fromMs)
{
    auto* song = show ? show->findSong (cue) : nullptr;

    if (song != nullptr && song->fileMissing)
        missingMediaRefusal = cue;

    if (song == nullptr || song->fileMissing)
        return false;

    currentCue = cue;
    nextCue = cue + 1;
    positionMs = juce::jlimit ((juce::int64) 0, song->lengthMs, fromMs);
    transport = Transport::playing;
    return true;
}

bool PlayerState::play()
{
    if (transport == Transport::playing)
        return false;

    if (transport == Transport::paused)
    {
        transport = Transport::playing;
        return true;
    }

    // Nothing has played yet: the next cue starts where the operator put the transport.
    if (currentCue < 0)
        return start (nextCue, positionMs);

    auto* song = show ? show->findSong (currentCue) : nullptr;

    if (song == nullptr || song->fileMissing)
        return false;

    // Starting the current song again keeps the next cue the operator chose meanwhile.
    transport = Transport::playing;
    return true;
}

bool PlayerState::pause()
{
    if (transport != Transport::playing)
        return false;

    transport = Transport::paused;
    return true;
}

bool PlayerState::stop()
{
    if (transport == Transport::stopped && positionMs == 0)
        return false;

    transport = Transport::stopped;
    positionMs = 0;
    return true;
}

bool PlayerState::playNext()
{
    return start (nextCue, 0);
}

bool PlayerState::playPrevious()
{
    if (currentCue < 0)
        return false;

    return start (std::max (0, currentCue - 1), 0);
}

bool PlayerState::setPosition (double requestedMs)
{
    auto* song = transportSong();

    if (song == nullptr || ! std::isfinite (requestedMs))
        return false;

    auto clamped =
        juce::jlimit ((juce::int64) 0, song->lengthMs, (juce::int64) std::llround (std::max (0.0, requestedMs)));

    if (clamped == positionMs)
        return false;

    positionMs = clamped;
    return true;
}

bool PlayerState::setNextCue (int cue)
{
    if (! show || show->findSong (cue) == nullptr || cue == nextCue)
        return false;

    nextCue = cue;

    // Before anything plays, the transport shows the song that will play.
    if (currentCue < 0)
        positionMs = 0;

    return true;
}

bool PlayerState::fireCue (int cue)
{
    return start (cue, 0);
}

bool PlayerState::fireMarker (int songCue, int markerNum)
{
    auto* song = show ? show->findSong (songCue) : nullptr;
    auto* marker = song != nullptr ? song->findMarker (markerNum) : nullptr;

    if (marker == nullptr)
        return false;

    if (songCue == currentCue && ! song->fileMissing)
    {
        // Jumping within the song that plays keeps the next cue as it is.
        positionMs = juce::jlimit ((juce::int64) 0, song->lengthMs, (juce::int64) std::llround (marker->position));
        transport = Transport::playing;
        return true;
    }

    return start (songCue, (juce::int64) std::llround (marker->position));
}

bool PlayerState::setMarkerLoop (int songCue, int markerNum, bool enabled)
{
    auto* song = show ? show->findSong (songCue) : nullptr;

    if (song == nullptr || song->findMarker (markerNum) == nullptr)
        return false;

    Loop wanted { songCue, markerNum, enabled };

    // Disarming a marker that is not the one looping leaves the loop alone.
    if (! enabled && ! (loop.songCue == songCue && loop.markerNum == markerNum))
        return false;

    if (loop == wanted)
        return false;

    loop = wanted;
    return true;
}

bool PlayerState::fireHotCue (const juce::String& cueName)
{
    if (! show)
        return false;

    for (auto& hotCue : show->hotCues)
    {
        if (hotCue.cueName != cueName)
            continue;

        if (hotCue.targetCue >= 0 && hotCue.targetMarker >= 0)
            fireMarker (hotCue.targetCue, hotCue.targetMarker);
        else if (hotCue.targetCue >= 0)
            fireCue (hotCue.targetCue);

        return true;
    }

    return false;
}

PlayerState::Advance PlayerState::advance (juce::int64 elapsedMs)
{
    Advance result;
    auto* song = show ? show->findSong (currentCue) : nullptr;

    if (transport != Transport::playing || song == nullptr || elapsedMs <= 0)
        return result;

    auto before = positionMs;
    auto after = before + elapsedMs;

    if (loop.enabled && loop.songCue == currentCue)
    {
        if (auto* marker = song->findMarker (loop.markerNum))
        {
            auto start = (juce::int64) std::llround (marker->position);
            auto end = song->loopEndMs (*marker);

            // The loop catches a position that reaches its end from before it; one that was
            // moved past the end plays on.
            if (end > start && before < end && after >= end)
            {
                after = start + (after - end) % (end - start);
                result.wrapped = true;
            }
        }
    }

    if (after >= song->lengthMs)
    {
        transport = Transport::stopped;
        positionMs = 0;
        result.ended = true;
        return result;
    }

    positionMs = after;
    return result;
}

juce::String PlayerState::formatTime (juce::int64 positionMs)
{
    auto ms = std::max ((juce::int64) 0, positionMs);
    auto hours = ms / 3600000;
    auto minutes = (ms / 60000) % 60;
    auto seconds = (ms / 1000) % 60;
    auto frames = (ms % 1000) * 30 / 1000;

    return juce::String (hours).paddedLeft ('0', 2) + ":" + juce::String (minutes).paddedLeft ('0', 2) + ":"
        + juce::String (seconds).paddedLeft ('0', 2) + ":" + juce::String (frames).paddedLeft ('0', 2);
}

int PlayerState::takeMissingMediaRefusal()
{
    return std::exchange (missingMediaRefusal, -1);
}

juce::String PlayerState::transportName (Transport value)
{
    switch (value)
    {
        case Transport::playing: return "playing";
        case Transport::paused: return "paused";
        case Transport::stopped: break;
    }

    return "stopped";
}
