#pragma once

#include "PlayerState.h"
#include "protocol/MessageRecord.h"

#include <vector>

/**
    The records the simulated host sends, built from the player's state. Every value is a
    decimal or plain text; the values that the remote passes into its page unchanged (the cue
    table's and the marker loop's) are JavaScript literals.

    Plain functions; the caller holds whatever lock guards the player.
*/
struct HostRecords
{
    /** ShowInfo: host name, show identifier ("-1" without a show), show name, and one "S" row
        per song with its identifier and name. */
    static juce::ValueTree showInfo (const juce::String& hostName, const PlayerState& player);

    /** CueTable: the show document (loop flags as the player has them) and the cue indexes. */
    static juce::ValueTree cueTable (const PlayerState& player);

    static juce::ValueTree cueState (const PlayerState& player);

    /** TransportState: "maxpos" and "pos" in milliseconds, "time" as HH:MM:SS:FF. */
    static juce::ValueTree transportState (const PlayerState& player);

    static juce::ValueTree markerLoopState (const PlayerState& player);

    /** HotCueList: one "C" row per hot cue with its name and colour code. */
    static juce::ValueTree hotCueList (const PlayerState& player);

    /** What a remote hears when the host takes it on: the show information, and with a show
        the cue table, the cue state, the transport, the hot cues and the marker loop (once
        one has been set). */
    static std::vector<juce::ValueTree> announcement (const juce::String& hostName, const PlayerState& player);
};
