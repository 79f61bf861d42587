#include "ScreenUpdateBench.h"

#include "BenchFigures.h"
#include "BenchLoop.h"
#include "ConnectedScreen.h"

#include "tools/host-sim/HostRecords.h"

#include <iostream>

namespace
{
using Steady = std::chrono::steady_clock;
using Wall = std::chrono::system_clock;

// Watches the table's row classes: each time another row becomes the current one, records the
// wall-clock time then (the DOM shows it) and at the next animation frame (the frame that
// paints it). Runs on the page's script thread; the bench reads the list back afterwards.
const char* const probeScript = R"js(
(function () {
  var updates = (window.__quentaroBenchUpdates = []);
  var last = null;
  var now = function () { return performance.timeOrigin + performance.now(); };
  var body = document.querySelector('tbody');
  new MutationObserver(function () {
    var row = document.querySelector('tr.current-cue-cell');
    var cue = row ? Number(row.getAttribute('data-cue-row')) : -1;
    if (cue === last) return;
    last = cue;
    var entry = { cue: cue, dom: now(), frame: 0 };
    updates.push(entry);
    requestAnimationFrame(function () { entry.frame = now(); });
  }).observe(body, { subtree: true, attributes: true, attributeFilter: ['class'], childList: true });
  return body != null;
})()
)js";

double wallMillis (Wall::time_point t)
{
    return std::chrono::duration<double, std::milli> (t.time_since_epoch()).count();
}

/** The smallest step of the page's clock, as the page's own timer precision limits it. */
const char* const clockStepScript = R"js(
(function () {
  var step = Infinity, a = performance.now();
  for (var i = 0; i < 200000 && step === Infinity; ++i) { var b = performance.now(); if (b > a) step = b - a; }
  var t0 = performance.now();
  for (var j = 0; j < 50; ) { var c = performance.now(); if (c > t0) { step = Math.min(step, c - t0); t0 = c; ++j; } }
  return step;
})()
)js";
} // namespace

void ScreenUpdateBench::run()
{
    const int count = BenchFigures::environmentCount ("QUENTARO_BENCH_UPDATES", 200);
    constexpr int songs = 16;
    std::cout << "Host update to screen (" << count << " CueState datagrams from the bench acting as the host, "
              << songs << " songs, real WebKitGTK web view):" << std::endl;

    ConnectedScreen screen;

    if (! screen.connect (songs))
        return;

    auto& main = screen.main();
    auto& show = main.show;

    // The card's text is set just before the page is told (Show::applyCueState), so the card
    // has changed when the statement passes here. Message thread.
    Steady::time_point statementAt {};
    int statementCue = -2;
    show.getBridge().setEvaluator (
        [&] (const juce::String& statement)
        {
            if (statement.startsWith ("setCurrentCue("))
            {
                statementAt = Steady::now();
                statementCue = statement.fromFirstOccurrenceOf ("(", false, false).getIntValue();
            }

            if (show.webView != nullptr)
                show.webView->evaluateJavascript (statement);
        });

    if (auto installed = screen.evaluate (probeScript); ! installed.has_value() || ! (bool) *installed)
    {
        std::cout << "  (the probe could not be installed)" << std::endl;
        return;
    }

    const auto step = screen.evaluate (clockStepScript);

    std::vector<double> card, dom, frame;
    int read = 0;
    int missed = 0;

    for (int i = 0; i < count; ++i)
    {
        const auto cue = 1 + i % (songs - 2);
        const auto sentWall = Wall::now();
        const auto sentSteady = Steady::now();
        screen.host->send (MessageRecord::build (RCType::CueState,
            { { "currentcue", juce::String (cue) }, { "nextcue", juce::String (cue + 1) } }));

        if (! BenchLoop::runUntil ([&] { return statementCue == cue; }, std::chrono::seconds (2))
            || show.nowPlayingCard.getValue() != show.cueText (cue))
        {
            ++missed;
            continue;
        }

        card.push_back (std::chrono::duration<double, std::milli> (statementAt - sentSteady).count());

        // The page's own record of this update, with its frame.
        const auto expression = "JSON.stringify(window.__quentaroBenchUpdates.slice(" + juce::String (read) + "))";
        juce::var entry;
        screen.pageSays ("(function(){var u=window.__quentaroBenchUpdates;var e=u[u.length-1];return !!e&&e.cue==="
                + juce::String (cue) + "&&e.frame>0;})()",
            true, std::chrono::seconds (2));

        if (auto text = screen.evaluate (expression); text.has_value())
        {
            auto list = juce::JSON::parse (text->toString());

            if (auto* entries = list.getArray())
            {
                read += entries->size();

                for (auto& e : *entries)
                    if ((int) e["cue"] == cue)
                        entry = e;
            }
        }

        if (entry.isObject())
        {
            dom.push_back ((double) entry["dom"] - wallMillis (sentWall));

            if ((double) entry["frame"] > 0)
                frame.push_back ((double) entry["frame"] - wallMillis (sentWall));
        }

        // The next update starts from a quiet page, between two of its 100 ms refreshes or not.
        BenchLoop::runFor (std::chrono::milliseconds (7 + i % 23));
    }

    BenchFigures::Summary oneFrame;
    oneFrame.count = 1;
    oneFrame.median = oneFrame.p99 = oneFrame.mean = 1000.0 / 60.0;

    std::cout << "  (page clock step " << (step.has_value() ? (double) *step : -1.0)
              << " ms: the page's times are rounded to it; " << missed << " updates not seen)" << std::endl;

    for (auto& [name, samples] :
        { std::pair<const char*, std::vector<double>&> { "CueState -> Now Playing card text changed", card },
            { "CueState -> page DOM shows the current row", dom },
            { "CueState -> next animation frame after the DOM change", frame } })
    {
        const auto figures = BenchFigures::summarise (samples);
        BenchFigures::printLine (name, figures, "ms", "one frame at 60 Hz", oneFrame, "p99 < 16.7 ms",
            figures.p99 < 1000.0 / 60.0);
    }
}
