#include "RefreshBench.h"

#include "BenchFigures.h"
#include "BenchLoop.h"
#include "ConnectedScreen.h"
#include "ProcessUsage.h"

#include <atomic>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace
{
constexpr int expandedSongs = 10;
constexpr int markersPerSong = 5;
constexpr int refreshMs = 100;

} // namespace

void RefreshBench::run()
{
    const int seconds = BenchFigures::environmentCount ("QUENTARO_BENCH_REFRESH_SECONDS", 12);
    const int windows = seconds * 1000 / refreshMs;
    std::cout << "Page refresh cost, real WebKitGTK web view (" << expandedSongs << " songs expanded, "
              << markersPerSong << " markers per song, " << windows << " windows of 100 ms per show):" << std::endl;

    ConnectedScreen screen;

    if (! screen.waitForPage())
        return;

    auto& show = screen.main().show;
    screen.main().connectPanel.setVisible (false);
    show.setVisible (true);
    auto& bridge = show.getBridge();

    const auto webProcesses = ProcessUsage::descendants (getpid());
    const std::vector<pid_t> programProcess { getpid() };
    BenchFigures::Summary period;
    period.count = 1;
    period.median = period.p99 = period.mean = refreshMs;

    for (const int songs : { 16, 200, 1000 })
    {
        bridge.setTableData (ConnectedScreen::benchShow (songs).toJson (0, 2), "0", "1");
        bridge.setCurrentMarkerLoop ("0", "2", "1");
        bridge.setTransportPosition (100000);

        if (! screen.pageSays ("document.querySelectorAll('[data-cue-row]').length", songs))
        {
            std::cout << "  (the page did not show " << songs << " rows)" << std::endl;
            continue;
        }

        // A fresh set of expanded songs: the page remembers the ones of the previous show.
        screen.evaluate ("document.querySelectorAll('[data-expand-toggle][aria-expanded=\"true\"]')"
                         ".forEach(function(t){t.dispatchEvent(new MouseEvent('click',{bubbles:true}));});");
        screen.pageSays ("document.querySelectorAll('.marker-detail-row').length", 0);

        juce::StringArray cues;

        for (int i = 0; i < expandedSongs; ++i)
            cues.add (juce::String (i * songs / expandedSongs));

        screen.evaluate ("[" + cues.joinIntoString (",")
            + "].forEach(function(c){var t=document.querySelector('tr[data-cue-row=\"'+c+'\"] "
              "[data-expand-toggle]');if(t)t.dispatchEvent(new MouseEvent('click',{bubbles:true}));});");

        if (! screen.pageSays ("document.querySelectorAll('.marker-detail-row').length",
                expandedSongs * markersPerSong))
        {
            std::cout << "  (the page did not expand " << expandedSongs << " songs)" << std::endl;
            continue;
        }

        // From here on only the refresh renders: the program's loop blocks as it does in use.
        BenchLoop::runFor (std::chrono::milliseconds (500));
        screen.evaluate ("window.__quentaroRenderProbe = []");

        // One sampler thread, left out of the program's figure; the program's window is read
        // right after the web processes' one.
        std::vector<double> web, program;
        std::atomic<bool> done { false };
        std::thread sampler (
            [&]
            {
                const std::vector<pid_t> self { (pid_t) gettid() };
                auto lastWeb = ProcessUsage::cpuNanoseconds (webProcesses);
                auto lastProgram = ProcessUsage::cpuNanoseconds (programProcess, self);
                auto next = std::chrono::steady_clock::now();

                for (int i = 0; i < windows; ++i)
                {
                    next += std::chrono::milliseconds (refreshMs);
                    std::this_thread::sleep_until (next);
                    const auto nowWeb = ProcessUsage::cpuNanoseconds (webProcesses);
                    const auto nowProgram = ProcessUsage::cpuNanoseconds (programProcess, self);
                    web.push_back ((nowWeb - lastWeb) / 1.0e6);
                    program.push_back ((nowProgram - lastProgram) / 1.0e6);
                    lastWeb = nowWeb;
                    lastProgram = nowProgram;
                }

                done = true;
                BenchLoop::wake();
            });
        BenchLoop::runUntil ([&] { return done.load(); }, std::chrono::seconds (seconds + 30));
        sampler.join();

        std::vector<double> renders;

        if (auto list = screen.evaluate ("JSON.stringify(window.__quentaroRenderProbe || [])"); list.has_value())
        {
            const auto parsed = juce::JSON::parse (list->toString());

            if (auto* values = parsed.getArray())
                for (auto& v : *values)
                    renders.push_back ((double) v);
        }

        const auto rows = screen.evaluate ("document.querySelectorAll('tr').length");
        std::cout << "  " << songs << " songs (" << (rows.has_value() ? (int) *rows : -1) << " table rows, "
                  << renders.size() << " renders in " << seconds << " s):" << std::endl;

        const auto webFigures = BenchFigures::summarise (web);
        BenchFigures::printLine ("  web view processes, CPU per 100 ms window", webFigures, "ms",
            "the 100 ms refresh period", period, "p99 < 4 ms per refresh (set for 1,000 songs)", webFigures.p99 < 4.0);
        BenchFigures::printLine ("  program process, CPU per 100 ms window", BenchFigures::summarise (program), "ms",
            "the 100 ms refresh period", period, "(program side: none)", true);
        const auto renderFigures = BenchFigures::summarise (renders);
        BenchFigures::printLine ("  render() time inside the page", renderFigures, "ms", "the 100 ms refresh period",
            period, "p99 < 4 ms per refresh (set for 1,000 songs)", renderFigures.p99 < 4.0);
        std::cout << "    mean web CPU per refresh: "
                  << webFigures.mean * (double) windows / (double) std::max<size_t> (1, renders.size()) << " ms"
                  << std::endl;
    }
}
