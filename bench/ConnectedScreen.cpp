#include "ConnectedScreen.h"

#include "BenchLoop.h"

#include "protocol/ConnectionStart.h"
#include "tools/host-sim/HostRecords.h"

#include <iostream>

ConnectedScreen::ConnectedScreen()
{
    mainComponent = dynamic_cast<MainComponent*> (window.getContentComponent());
}

std::optional<juce::var> ConnectedScreen::evaluate (const juce::String& expression)
{
    std::optional<juce::var> result;
    bool done = false;

    page().evaluateJavascript (expression,
        [&] (juce::WebBrowserComponent::EvaluationResult r)
        {
            if (auto* value = r.getResult())
                result = *value;

            done = true;
        });

    if (! BenchLoop::runUntil ([&] { return done; }, std::chrono::seconds (10)))
        return std::nullopt;

    return result;
}

bool ConnectedScreen::pageSays (const juce::String& expression, const juce::var& expected,
    std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;

    while (std::chrono::steady_clock::now() < end)
    {
        if (auto value = evaluate (expression); value.has_value() && *value == expected)
            return true;

        BenchLoop::runFor (std::chrono::milliseconds (20));
    }

    return false;
}

bool ConnectedScreen::waitForPage()
{
    if (mainComponent == nullptr || mainComponent->show.webView == nullptr)
    {
        std::cout << "  (no web view)" << std::endl;
        return false;
    }

    if (! pageSays ("window.__quentaroBridgeHandlers != null", true))
    {
        std::cout << "  (the page did not register its bridge)" << std::endl;
        return false;
    }

    return true;
}

bool ConnectedScreen::connect (int songs)
{
    host = std::make_unique<BenchHost>();

    if (! host->isBound())
    {
        std::cout << "  (the host port 9212 is taken)" << std::endl;
        return false;
    }

    if (! waitForPage())
        return false;

    auto& m = main();
    player.loadShow (benchShow (songs), 1);
    ConnectionStart::run (m, "127.0.0.1", "bench");

    for (auto& record : HostRecords::announcement ("Bench Host", player))
        host->send (record);

    if (! BenchLoop::runUntil ([&] { return m.show.isVisible(); }, std::chrono::seconds (5)))
    {
        std::cout << "  (the show screen did not come up)" << std::endl;
        return false;
    }

    // Only the benchmark's records from here on: no pings, no liveness check, no status poll.
    m.getClient()->stopTimer();
    m.stopTimer (MainComponent::statusPollTimer);
    host->send (HostRecords::cueState (player));

    if (! pageSays ("document.querySelectorAll('[data-cue-row]').length", songs))
    {
        std::cout << "  (the page did not show the rows)" << std::endl;
        return false;
    }

    BenchLoop::runFor (std::chrono::milliseconds (300));
    host->drain();
    return true;
}

ShowDocument ConnectedScreen::benchShow (int songs)
{
    static const char* const names[] = { "Midnight Serenade", "Whispers in the Wind", "Electric Dreams",
        "Lost in the Stars", "Dancing in the Moonlight", "Fire and Ice", "Soulful Redemption", "Northern Lights" };
    static const char* const markerNames[] = { "Intro", "Verse", "Chorus", "Bridge", "Outro" };

    ShowDocument show;
    show.name = "Bench Show";

    for (int cue = 0; cue < songs; ++cue)
    {
        ShowDocument::Song song;
        song.id = cue + 1;
        song.name = juce::String (names[cue % 8]) + " " + juce::String (cue / 8 + 1);
        song.tracks = 8;
        song.lengthMs = 240000;

        for (int index = 0; index < 5; ++index)
            song.markers.push_back ({ index, 48000.0 * index, markerNames[index], cue == 0 && index == 2 });

        song.tempos.push_back ({ 120.0, 0.0 });
        song.timeSignatures.push_back ({ 4, 4, 0.0 });
        show.songs.push_back (std::move (song));
    }

    return show;
}
