#include "HostRecords.h"

juce::ValueTree HostRecords::showInfo (const juce::String& hostName, const PlayerState& player)
{
    auto* show = player.getShow();

    auto record = MessageRecord::build (RCType::ShowInfo,
        { { "HostName", hostName }, { "ShowID", juce::String (player.getShowId()) },
            { "ShowName", show != nullptr ? show->name : juce::String() },
            { "Size", juce::String (show != nullptr ? show->size() : 0) } });

    if (show != nullptr)
    {
        for (int i = 0; i < show->size(); ++i)
        {
            juce::ValueTree row ("S" + juce::String (i));
            row.setProperty ("SID", juce::String (show->songs[(size_t) i].id), nullptr);
            row.setProperty ("SN", show->songs[(size_t) i].name, nullptr);
            record.appendChild (row, nullptr);
        }
    }

    return record;
}

juce::ValueTree HostRecords::cueTable (const PlayerState& player)
{
    auto* show = player.getShow();
    auto& loop = player.getLoop();
    auto json = show != nullptr ? show->toJson (loop.enabled ? loop.songCue : -1, loop.markerNum) : juce::String ("[]");

    return MessageRecord::build (RCType::CueTable,
        { { "json", json }, { "currentcue", juce::String (player.getCurrentCue()) },
            { "nextcue", juce::String (player.getNextCue()) } });
}

juce::ValueTree HostRecords::cueState (const PlayerState& player)
{
    return MessageRecord::build (RCType::CueState,
        { { "currentcue", juce::String (player.getCurrentCue()) }, { "nextcue", juce::String (player.getNextCue()) } });
}

juce::ValueTree HostRecords::transportState (const PlayerState& player)
{
    return MessageRecord::build (RCType::TransportState,
        { { "maxpos", juce::String (player.getMaxPositionMs()) }, { "pos", juce::String (player.getPositionMs()) },
            { "time", PlayerState::formatTime (player.getPositionMs()) } });
}

juce::ValueTree HostRecords::markerLoopState (const PlayerState& player)
{
    auto& loop = player.getLoop();

    return MessageRecord::build (RCType::MarkerLoopState,
        { { "songCue", juce::String (loop.songCue) }, { "markerNum", juce::String (loop.markerNum) },
            { "enabled", loop.enabled ? "1" : "0" } });
}

juce::ValueTree HostRecords::hotCueList (const PlayerState& player)
{
    auto* show = player.getShow();
    auto count = show != nullptr ? (int) show->hotCues.size() : 0;
    auto record = MessageRecord::build (RCType::HotCueList, { { "Size", juce::String (count) } });

    for (int i = 0; i < count; ++i)
    {
        juce::ValueTree row ("C" + juce::String (i));
        row.setProperty ("cueName", show->hotCues[(size_t) i].cueName, nullptr);
        row.setProperty ("colourCode", show->hotCues[(size_t) i].colourCode, nullptr);
        record.appendChild (row, nullptr);
    }

    return record;
}

std::vector<juce::ValueTree> HostRecords::announcement (const juce::String& hostName, const PlayerState& player)
{
    std::vector<juce::ValueTree> records { showInfo (hostName, player) };

    if (! player.hasShow())
        return records;

    records.push_back (cueTable (player));
    records.push_back (cueState (player));
    records.push_back (transportState (player));
    records.push_back (hotCueList (player));

    if (player.getLoop().songCue >= 0)
        records.push_back (markerLoopState (player));

    return records;
}
