#include "SeedCorpus.h"

#include "protocol/MessageRecord.h"
#include "protocol/OscPacket.h"
#include "show/Show.h"

namespace
{
juce::OSCMessage envelope (const juce::ValueTree& record, const char* address = "/quentaro")
{
    juce::OSCMessage message { juce::OSCAddressPattern (address) };
    message.addBlob (MessageRecord::toBytes (record));
    return message;
}

SeedCorpus::Seed datagram (const juce::String& name, const juce::ValueTree& record)
{
    return { name, OscPacket::encode (envelope (record)) };
}

SeedCorpus::Seed text (const juce::String& name, const juce::String& content)
{
    return { name, juce::MemoryBlock (content.toRawUTF8(), content.getNumBytesAsUTF8()) };
}

juce::ValueTree withRows (juce::ValueTree record, const juce::String& prefix,
    const std::vector<std::vector<std::pair<juce::Identifier, juce::String>>>& rows)
{
    for (size_t i = 0; i < rows.size(); ++i)
    {
        juce::ValueTree row (prefix + juce::String ((int) i));

        for (auto& [name, value] : rows[i])
            row.setProperty (name, value, nullptr);

        record.appendChild (row, nullptr);
    }

    return record;
}
} // namespace

std::vector<SeedCorpus::Seed> SeedCorpus::receiveSeeds()
{
    const char* const songs[] = { "Midnight Serenade", "Whispers in the Wind", "Electric Dreams", "Lost in the Stars" };
    std::vector<std::vector<std::pair<juce::Identifier, juce::String>>> songRows;

    for (int i = 0; i < (int) std::size (songs); ++i)
        songRows.push_back ({ { "SID", juce::String (201 + i) }, { "SN", songs[i] } });

    const std::pair<const char*, const char*> hotCues[] = { { "Strobe", "ffff3333" }, { "Smoke", "#888888" },
        { "Laser Blue", "ff3366ff" }, { "Pyro", "ffff6600" }, { "Blackout", "ff333333" }, { "UV", "9933ff" },
        { "Haze", "" } };
    std::vector<std::vector<std::pair<juce::Identifier, juce::String>>> hotCueRows;

    for (auto& [name, colour] : hotCues)
        hotCueRows.push_back ({ { "cueName", name }, { "colourCode", colour } });

    auto showInfo =
        withRows (MessageRecord::build (RCType::ShowInfo,
                      { { "HostName", "FOH MacBook Pro" }, { "ShowID", "12" }, { "ShowName", "Summer Night Concert" },
                          { "Size", juce::String ((int) std::size (songs)) } }),
            "S", songRows);

    auto hotCueList =
        withRows (MessageRecord::build (RCType::HotCueList, { { "Size", juce::String ((int) std::size (hotCues)) } }),
            "C", hotCueRows);

    juce::OSCBundle bundle;
    bundle.addElement (
        envelope (MessageRecord::build (RCType::CueState, { { "currentcue", "1" }, { "nextcue", "2" } })));

    return {
        datagram ("show-info", showInfo),
        datagram ("show-info-no-show",
            MessageRecord::build (RCType::ShowInfo, { { "HostName", "FOH MacBook Pro" }, { "ShowID", "-1" } })),
        datagram ("cue-table",
            MessageRecord::build (RCType::CueTable,
                { { "json", Show::demoShowDocument() }, { "currentcue", "1" }, { "nextcue", "2" } })),
        datagram ("cue-state", MessageRecord::build (RCType::CueState, { { "currentcue", "2" }, { "nextcue", "0" } })),
        datagram ("transport-state",
            MessageRecord::build (RCType::TransportState,
                { { "maxpos", "240000" }, { "pos", "112345" }, { "time", "00:01:52:08" } })),
        datagram ("marker-loop-state",
            MessageRecord::build (RCType::MarkerLoopState,
                { { "songCue", "0" }, { "markerNum", "2" }, { "enabled", "1" } })),
        datagram ("hot-cue-list", hotCueList),
        datagram ("pong", MessageRecord::build (RCType::Pong, { { "t", "123456" } })),
        datagram ("pin-required", MessageRecord::build (RCType::PinRequired)),
        datagram ("pin-rejected", MessageRecord::build (RCType::PinRejected)),
        datagram ("host-disconnect", MessageRecord::build (RCType::HostDisconnect)),
        { "bundle", OscPacket::encode (bundle) },
        { "cue-state-to-a-pattern",
            OscPacket::encode (
                envelope (MessageRecord::build (RCType::CueState, { { "currentcue", "1" }, { "nextcue", "2" } }),
                    "/q*{x,ue}nt[!x-z]r?")) },
    };
}

std::vector<SeedCorpus::Seed> SeedCorpus::recentHostsSeeds()
{
    return {
        text ("current", "192.168.1.20\r\n10.0.0.5\r\n172.16.0.9"),
        text ("line-feeds", "192.168.1.20\n10.0.0.5\n"),
        text ("lone-returns", "192.168.1.20\r10.0.0.5\r"),
        text ("duplicates-and-spaces", "  10.0.0.5 \r\n10.0.0.5\r\n\t192.168.0.7\r\n\r\n"),
        text ("more-than-eight",
            "10.0.0.1\r\n10.0.0.2\r\n10.0.0.3\r\n10.0.0.4\r\n10.0.0.5\r\n10.0.0.6\r\n10.0.0.7\r\n10.0.0.8\r\n10.0.0.9"),
        text ("junk-lines", "stage-mac.local\r\n1.2.3\r\n1.2.3.4.5\r\n999.999.999.999\r\n::1\r\n10.1.1.1"),
        text ("over-long-line", juce::String::repeatedString ("9", 5000) + "\r\n10.2.2.2"),
        text ("older-file", "192.168.178.40\n"),
    };
}

std::vector<SeedCorpus::Seed> SeedCorpus::formatSeeds()
{
    return {
        text ("colour-argb", "ffff3333"),
        text ("colour-rgb-hash", "#3366ff"),
        text ("colour-transparent", "00ff0000"),
        text ("decimal", "101"),
        text ("decimal-trailing", " -42abc"),
        text ("decimal-huge", "99999999999999999999999"),
        text ("number-fraction", "-12.5e+3"),
        text ("boolean", "true"),
        text ("document",
            "[{\"cue\":0,\"songname\":\"Intro \\u00e9\",\"markers\":[{\"index\":1,\"loopActive\":false}]}]"),
        text ("document-object", "{\"a\": [1, 2.0, null, \"x\\\"y\"]}"),
        text ("host-name", "Stage-Mac.local"),
        text ("address", "192.168.1.20"),
        text ("address-pattern", "/q*{x,ue}nt[!x-z]r?"),
        text ("address-pattern-and-address", "/*/[a-]?\n/stage/q"),
        text ("utf8",
            juce::String (juce::CharPointer_UTF8 ("Caf\xc3\xa9 \xe0\xb8\xaa\xe0\xb8\xa7\xe0\xb8\xb1\xe0\xb8\xaa"))),
    };
}

bool SeedCorpus::writeAll (const juce::File& folder)
{
    const std::pair<const char*, std::vector<Seed>> targets[] = { { "fuzz_receive", receiveSeeds() },
        { "fuzz_recent_hosts", recentHostsSeeds() }, { "fuzz_formats", formatSeeds() } };

    for (auto& [target, seeds] : targets)
    {
        auto targetFolder = folder.getChildFile (target);

        if (! targetFolder.createDirectory())
            return false;

        for (auto& seed : seeds)
            if (! targetFolder.getChildFile (seed.name).replaceWithData (seed.bytes.getData(), seed.bytes.getSize()))
                return false;
    }

    return true;
}
