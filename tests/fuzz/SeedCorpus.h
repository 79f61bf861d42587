#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/**
    Starting inputs for the three fuzzing harnesses: valid inputs of every kind each one takes,
    for the fuzzers to start from and for the replay test to run.
*/
struct SeedCorpus
{
    struct Seed
    {
        juce::String name;
        juce::MemoryBlock bytes;
    };

    /** One datagram, as the host's OSC sender sends it, for each record kind the client
        handles, with realistic properties (and a few variants: no show loaded, a bundle, an
        address pattern). */
    static std::vector<Seed> receiveSeeds();

    /** Recent-hosts files: the current format, line-ending variants, duplicates, too many
        entries, junk lines, an over-long line, the older single-address file. */
    static std::vector<Seed> recentHostsSeeds();

    /** Host texts: colour codes, leading decimals, page literals, host names, addresses,
        address patterns. */
    static std::vector<Seed> formatSeeds();

    /** Writes each harness's seeds as files into folder/fuzz_receive, folder/fuzz_recent_hosts
        and folder/fuzz_formats; returns false when a file cannot be written. */
    static bool writeAll (const juce::File& folder);
};
