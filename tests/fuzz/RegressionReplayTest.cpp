#include "fuzz/FuzzTargets.h"
#include "fuzz/ReceiveHarness.h"
#include "fuzz/SeedCorpus.h"

#include <gtest/gtest.h>

#include <iostream>

namespace
{
using Entry = void (*) (const uint8_t*, size_t);

struct Harness
{
    const char* name;
    Entry entry;
    std::vector<SeedCorpus::Seed> seeds;
};

std::vector<Harness> harnesses()
{
    return { { "fuzz_receive", quentaroFuzzReceive, SeedCorpus::receiveSeeds() },
        { "fuzz_recent_hosts", quentaroFuzzRecentHosts, SeedCorpus::recentHostsSeeds() },
        { "fuzz_formats", quentaroFuzzFormats, SeedCorpus::formatSeeds() } };
}

void run (const Harness& harness, const juce::String& name, const juce::MemoryBlock& bytes)
{
    // A failing input stops the process (a sanitizer or a harness check): say which it was first.
    std::cout << "replaying " << harness.name << "/" << name << std::endl;
    harness.entry (static_cast<const uint8_t*> (bytes.getData()), bytes.getSize());
}

class FuzzReplay : public testing::Test
{
protected:
    void TearDown() override { ReceiveHarness::releaseShared(); }
};
} // namespace

// Every input a fuzzer once failed on, kept in tests/fuzz/regressions/<harness>/ after its fix,
// through the same entry function the fuzzer calls.
TEST_F (FuzzReplay, KeptRegressionInputsRunCleanly)
{
    const juce::File folder (QUENTARO_FUZZ_REGRESSIONS_DIR);
    ASSERT_TRUE (folder.isDirectory()) << folder.getFullPathName();

    int replayed = 0;

    for (auto& harness : harnesses())
    {
        auto files = folder.getChildFile (harness.name).findChildFiles (juce::File::findFiles, false);
        files.sort();

        for (auto& file : files)
        {
            juce::MemoryBlock bytes;
            ASSERT_TRUE (file.loadFileAsData (bytes)) << file.getFullPathName();
            run (harness, file.getFileName(), bytes);
            ++replayed;
        }
    }

    EXPECT_GT (replayed, 0);
}

// The seeds the fuzzers start from, through the same entry functions: the replay path runs
// valid inputs of every kind, whatever regression inputs there are.
TEST_F (FuzzReplay, EverySeedRunsCleanly)
{
    for (auto& harness : harnesses())
    {
        EXPECT_FALSE (harness.seeds.empty()) << harness.name;

        for (auto& seed : harness.seeds)
            run (harness, seed.name, seed.bytes);
    }
}
