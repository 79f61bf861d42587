#pragma once

#include "BenchHost.h"

#include "app/MainComponent.h"
#include "app/QUENTARORemoteApplication.h"
#include "tools/host-sim/PlayerState.h"

#include <optional>

/**
    The program's real window (with its web view) on the show screen, connected to a bench
    host on loopback that has announced a show of the given number of songs; the page shows
    its rows. The client's timers are stopped afterwards, so nothing but the benchmark's own
    traffic crosses the link. Message thread only.
*/
class ConnectedScreen
{
public:
    ConnectedScreen();

    /** Waits for the page, connects, announces a show of this many songs and waits for the
        show screen and the page's rows. Prints the reason and returns false on failure. */
    bool connect (int songs);

    /** The window with the page loaded (bridge registered), without any connection. */
    bool waitForPage();

    MainComponent& main() noexcept { return *mainComponent; }
    WebUI& page() noexcept { return *mainComponent->show.webView; }

    /** Evaluates an expression in the page and waits for its result. */
    std::optional<juce::var> evaluate (const juce::String& expression);

    /** Waits until an expression in the page has the expected value. */
    bool pageSays (const juce::String& expression, const juce::var& expected,
        std::chrono::milliseconds deadline = std::chrono::seconds (30));

    /** A show shaped like the page benchmark's: demo names, 5 markers per song, song 0's
        third marker looping. */
    static ShowDocument benchShow (int songs);

    /** The host end, bound by connect() (the other benchmarks leave the port to the simulator). */
    std::unique_ptr<BenchHost> host;
    PlayerState player;

private:
    QUENTARORemoteApplication::MainWindow window { "QUENTARO Remote" };
    MainComponent* mainComponent = nullptr;
};
