#include "DiscoveryBench.h"

#include "BenchFigures.h"
#include "BenchLoop.h"
#include "ConnectedScreen.h"

#include "support/Subprocess.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <map>
#include <mutex>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

double millis (Clock::duration d)
{
    return std::chrono::duration<double, std::milli> (d).count();
}

/** Lines of a child process stamped on arrival, read on a thread of their own. */
class StampedLines
{
public:
    explicit StampedLines (Subprocess& p) : process (p), reader ([this] { read(); }) {}

    ~StampedLines()
    {
        stopping = true;
        reader.join();
    }

    /** When a line containing all of the texts first arrived. */
    std::optional<Clock::time_point> find (const juce::StringArray& texts)
    {
        std::lock_guard<std::mutex> lock (mutex);

        for (auto& [line, at] : lines)
        {
            bool all = true;

            for (auto& t : texts)
                all = all && line.contains (t);

            if (all)
                return at;
        }

        return std::nullopt;
    }

private:
    void read()
    {
        while (! stopping)
            if (auto line = process.readLine (std::chrono::milliseconds (50)))
            {
                std::lock_guard<std::mutex> lock (mutex);
                lines.emplace_back (*line, Clock::now());
            }
    }

    Subprocess& process;
    std::mutex mutex;
    std::vector<std::pair<juce::String, Clock::time_point>> lines;
    std::atomic<bool> stopping { false };
    std::thread reader;
};
} // namespace

void DiscoveryBench::run (const juce::String& simulatorPath)
{
    const int count = BenchFigures::environmentCount ("QUENTARO_BENCH_DISCOVERIES", 10);
    std::cout << "Discovery through a private avahi-daemon (" << count << " announcements):" << std::endl;

    const auto browsePath = juce::SystemStats::getEnvironmentVariable ("QUENTARO_AVAHI_BROWSE", {});

    if (browsePath.isEmpty())
    {
        std::cout << "  (not measured: needs scripts/with-avahi.sh)" << std::endl;
        return;
    }

    // The reference: avahi's own browser on the same daemon, resolving every announcement.
    Subprocess browse ({ browsePath, "--parsable", "--resolve", "--no-db-lookup", "_quentaroremote._udp" });
    StampedLines browsed (browse);

    ConnectedScreen screen;
    auto& panel = screen.main().connectPanel;
    BenchLoop::runUntil ([&] { return panel.hostList.isShowing(); });

    const auto rowShown = [&] (const juce::String& name)
    {
        for (auto& host : panel.hostModel.hosts)
            if (host.serviceName == name)
                return panel.hostList.isShowing() && panel.hostModel.getNumRows() > 0;

        return false;
    };

    std::vector<double> fromStart, fromAnnounced, reference, referenceFromAnnounced, announced;

    for (int i = 0; i < count; ++i)
    {
        const auto name =
            "BenchSim-" + juce::String (i) + "-" + juce::String (juce::Random::getSystemRandom().nextInt (100000));
        const auto t0 = Clock::now();
        Subprocess simulator ({ simulatorPath, "--service-name", name, "--refresh-ms", "0" });
        StampedLines events (simulator);

        if (BenchLoop::runUntil ([&] { return rowShown (name); }, std::chrono::seconds (10)))
        {
            const auto shown = Clock::now();
            fromStart.push_back (millis (shown - t0));

            if (auto at = events.find ({ "\"announced\"" }))
            {
                fromAnnounced.push_back (millis (shown - *at));
                announced.push_back (millis (*at - t0));
            }
        }

        // avahi-browse's resolved line ("=;...") for the same service, within a second more.
        const auto end = Clock::now() + std::chrono::seconds (2);

        while (Clock::now() < end && ! browsed.find ({ "=;", name }))
            BenchLoop::runFor (std::chrono::milliseconds (10));

        if (auto at = browsed.find ({ "=;", name }))
        {
            reference.push_back (millis (*at - t0));

            if (auto callback = events.find ({ "\"announced\"" }))
                referenceFromAnnounced.push_back (millis (*at - *callback));
        }

        simulator.terminate (SIGTERM);
        BenchLoop::runUntil ([&] { return ! rowShown (name); }, std::chrono::seconds (10));
    }

    browse.terminate (SIGKILL); // a read-only client: nothing to withdraw

    const auto startFigures = BenchFigures::summarise (fromStart);
    const auto announcedFigures = BenchFigures::summarise (fromAnnounced);
    std::cout << "  (simulator start -> its register callback, \"announced\": median "
              << BenchFigures::summarise (announced).median << " ms)" << std::endl;
    BenchFigures::printLine ("simulator start -> row in the connect list", startFigures, "ms",
        "avahi-browse resolved it", BenchFigures::summarise (reference), "p99 < 1000 ms", startFigures.p99 < 1000.0);
    BenchFigures::printLine ("simulator announced (register callback) -> row", announcedFigures, "ms",
        "avahi-browse resolved it", BenchFigures::summarise (referenceFromAnnounced), "p99 < 1000 ms",
        announcedFigures.p99 < 1000.0);
}
