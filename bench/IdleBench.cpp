#include "IdleBench.h"

#include "BenchFigures.h"
#include "BenchLoop.h"
#include "ConnectedScreen.h"
#include "ProcessUsage.h"

#include "support/Subprocess.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace
{
struct Usage
{
    double cpuPercent = 0.0, rssMB = 0.0, peakSumMB = 0.0, hwmMB = 0.0, pssMB = 0.0;
    int processes = 0;
    std::string breakdown;
};

/** Samples a process tree (less one process, the simulator) for a period from another thread
    while the message loop runs. */
Usage measure (pid_t root, int seconds, bool runLoop, pid_t left = -1)
{
    Usage usage;
    std::atomic<bool> done { false };
    std::thread sampler (
        [&]
        {
            auto tree = ProcessUsage::withDescendants (root);
            tree.erase (std::remove (tree.begin(), tree.end(), left), tree.end());
            const auto start = ProcessUsage::totals (tree);
            const auto startEach = ProcessUsage::perProcess (tree);
            const auto t0 = std::chrono::steady_clock::now();
            std::vector<double> rss;

            for (int i = 0; i < seconds * 2; ++i)
            {
                std::this_thread::sleep_until (t0 + std::chrono::milliseconds (500 * (i + 1)));
                const auto now = ProcessUsage::totals (tree);
                rss.push_back (now.rssMB);
                usage.peakSumMB = std::max (usage.peakSumMB, now.rssMB);
            }

            const auto end = ProcessUsage::totals (tree);
            const auto elapsed = std::chrono::duration<double> (std::chrono::steady_clock::now() - t0).count();
            usage.cpuPercent = 100.0 * (end.cpuSeconds - start.cpuSeconds) / elapsed;
            usage.rssMB = BenchFigures::summarise (rss).median;
            usage.hwmMB = end.peakMB;
            usage.processes = end.processes;
            usage.pssMB = ProcessUsage::totals (tree, true).pssMB;

            const auto endEach = ProcessUsage::perProcess (tree);

            for (size_t i = 0; i < endEach.size() && i < startEach.size(); ++i)
                usage.breakdown += " " + endEach[i].name + " "
                    + juce::String (100.0 * (endEach[i].cpuSeconds - startEach[i].cpuSeconds) / elapsed, 2)
                          .toStdString()
                    + " %;";
            done = true;
            BenchLoop::wake();
        });

    if (runLoop)
        BenchLoop::runUntil ([&] { return done.load(); }, std::chrono::seconds (seconds + 30));

    sampler.join();
    return usage;
}
} // namespace

void IdleBench::run (const juce::String& simulatorPath, const juce::String& selfPath)
{
    const int seconds = BenchFigures::environmentCount ("QUENTARO_BENCH_IDLE_SECONDS", 60);
    std::cout << "Idle cost on the show screen connected to a playing host simulator (" << seconds
              << " s; program plus its web view's processes):" << std::endl;

    Subprocess simulator ({ simulatorPath, "--no-announce" });

    if (! simulator.waitForLineContaining ("\"listening\"", std::chrono::seconds (10)))
    {
        std::cout << "  (the simulator did not start)" << std::endl;
        return;
    }

    // The simulator prints every record it receives: read on, so its pipe never fills.
    std::atomic<bool> stopReading { false };
    std::atomic<int> songsPlayed { 0 };
    std::thread reader (
        [&]
        {
            while (! stopReading)
                if (auto line = simulator.readLine (std::chrono::milliseconds (200));
                    line && line->contains ("song-ended"))
                    ++songsPlayed;
        });

    {
        ConnectedScreen screen;
        auto& main = screen.main();

        if (screen.waitForPage())
        {
            main.connectPanel.connectToHost ("127.0.0.1", {});

            if (BenchLoop::runUntil ([&] { return main.show.isVisible() && main.show.songCount() > 0; },
                    std::chrono::seconds (10))
                && screen.pageSays ("document.querySelectorAll('[data-cue-row]').length", main.show.songCount()))
            {
                main.getClient()->sendPlay();
                const auto startTime = main.show.timeLabel.getText();
                BenchLoop::runUntil ([&] { return main.show.timeLabel.getText() != startTime; },
                    std::chrono::seconds (5));
                BenchLoop::runFor (std::chrono::seconds (2));

                const auto playing = main.show.timeLabel.getText();
                const auto usage = measure (getpid(), seconds, true, simulator.getPid());
                std::cout << "  (" << usage.processes << " processes; transport " << playing << " -> "
                          << main.show.timeLabel.getText() << ", songs ended meanwhile: " << songsPlayed.load() << ")"
                          << std::endl;

                Subprocess bare ({ selfPath, "--bare-web-view" });
                std::this_thread::sleep_for (std::chrono::seconds (5));
                const auto reference = measure (bare.getPid(), 5, false);
                bare.terminate (SIGTERM);

                BenchFigures::printValue ("CPU, share of one core", usage.cpuPercent, "%", "one core", 100.0,
                    "< 2 % of one core", usage.cpuPercent < 2.0);
                BenchFigures::printValue ("resident memory, VmRSS summed (median of samples)", usage.rssMB, "MB",
                    "bare web view on an empty page", reference.rssMB, "< 250 MB", usage.rssMB < 250.0);
                BenchFigures::printValue ("resident memory, peak of the summed samples", usage.peakSumMB, "MB",
                    "bare web view on an empty page", reference.peakSumMB, "< 250 MB", usage.peakSumMB < 250.0);
                BenchFigures::printValue ("resident memory, VmHWM summed", usage.hwmMB, "MB",
                    "bare web view on an empty page", reference.hwmMB, "< 250 MB", usage.hwmMB < 250.0);
                std::cout << "  (per process:" << usage.breakdown << " Pss summed " << usage.pssMB
                          << " MB, shared pages counted once; bare web view: CPU " << reference.cpuPercent
                          << " % of one core, Pss " << reference.pssMB << " MB)" << std::endl;
            }
            else
            {
                std::cout << "  (the show screen did not come up)" << std::endl;
            }

            main.disconnectRemote();
        }
    }

    stopReading = true;
    reader.join();
    simulator.terminate (SIGTERM);
}

int IdleBench::runBareWebView()
{
    juce::DocumentWindow window ("Bare web view", juce::Colours::black, juce::DocumentWindow::allButtons);
    juce::WebBrowserComponent view;
    view.setSize (1180, 560);
    window.setUsingNativeTitleBar (true);
    window.setContentNonOwned (&view, true);
    window.centreWithSize (1200, 800);
    window.setVisible (true);
    view.goToURL ("about:blank");
    juce::MessageManager::getInstance()->runDispatchLoop();
    return 0;
}
