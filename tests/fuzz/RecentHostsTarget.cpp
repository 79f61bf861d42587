#include "FuzzCheck.h"
#include "FuzzTargets.h"

#include "discovery/RecentHosts.h"

namespace
{
/** A data folder of this process's own, under TMPDIR, removed when the process ends normally. */
struct ScratchFolder
{
    ScratchFolder()
    {
        const juce::File temp (juce::SystemStats::getEnvironmentVariable ("TMPDIR", "/tmp"));
        folder = temp.getNonexistentChildFile ("quentaro-fuzz-recent-hosts", {}, false);
        folder.createDirectory();
    }

    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::File folder;
};
} // namespace

void quentaroFuzzRecentHosts (const uint8_t* data, size_t size)
{
    static const ScratchFolder scratch;
    const auto& folder = scratch.folder;

    // The same bytes in both files: the older one is read only when the current one gives
    // no address at all.
    RecentHosts::getRecentIpsFile (folder).replaceWithData (data, size);
    RecentHosts::getOlderAddressFile (folder).replaceWithData (data, size);

    const auto list = RecentHosts::load (folder);

    FUZZ_CHECK (list.size() <= RecentHosts::maxEntries);

    for (int i = 0; i < list.size(); ++i)
    {
        FUZZ_CHECK (RecentHosts::isLikelyIPv4 (list[i]));
        FUZZ_CHECK (list.indexOf (list[i]) == i);
    }

    // What the connect panel writes back reads back the same.
    FUZZ_CHECK (RecentHosts::save (folder, list));
    FUZZ_CHECK (RecentHosts::load (folder) == list);
}
