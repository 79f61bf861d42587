// The show screen end to end on the test display, against the host simulator: the real
// window with its real web view, keys and buttons reaching the host, and screenshots of the
// demo and of a connected show for a person to look at (written under the build folder).

#include "app/MainComponent.h"
#include "app/QUENTARORemoteApplication.h"
#include "protocol/ConnectionStart.h"
#include "tools/host-sim/RecordJson.h"

#include "support/MessageLoop.h"
#include "support/Subprocess.h"
#include "support/TestNetwork.h"

#include <csignal>
#include <gtest/gtest.h>

namespace
{
/** Captures the window's area of the screen as the X server shows it, web view included. */
void screenshot (juce::Component& window, const juce::String& name)
{
    auto folder = juce::File (QUENTARO_SCREENSHOT_DIR);
    folder.createDirectory();
    auto handle = juce::String::toHexString ((juce::pointer_sized_int) window.getWindowHandle());

    juce::ChildProcess import;
    ASSERT_TRUE (import.start (
        juce::StringArray { "import", "-window", "0x" + handle, folder.getChildFile (name).getFullPathName() }));
    MessageLoop::runUntil ([&] { return ! import.isRunning(); }, std::chrono::seconds (20));
    EXPECT_TRUE (folder.getChildFile (name).existsAsFile()) << name;
}

/** Waits until the page shows the given number of song rows. */
bool pageShowsRows (WebUI& view, int rows)
{
    std::atomic<bool> shown { false };
    return MessageLoop::runUntil (
        [&]
        {
            view.evaluateJavascript ("document.querySelectorAll('[data-cue-row]').length",
                [&] (juce::WebBrowserComponent::EvaluationResult r)
                {
                    if (auto* value = r.getResult(); value != nullptr && (int) *value == rows)
                        shown = true;
                });
            MessageLoop::runFor (std::chrono::milliseconds (50));
            return shown.load();
        },
        std::chrono::seconds (30));
}

/** Waits for the simulator to report receiving a record of this kind; returns it. */
juce::ValueTree simulatorReceives (Subprocess& simulator, int rcType)
{
    juce::ValueTree found;
    MessageLoop::runUntil (
        [&]
        {
            while (auto line = simulator.readLine (std::chrono::milliseconds (0)))
            {
                auto record = RecordJson::fromJson (*line);

                if (record.isValid() && MessageRecord::integer (record, "RCType") == rcType)
                {
                    found = record;
                    return true;
                }
            }

            return false;
        },
        std::chrono::seconds (5));
    return found;
}

/** True when no ping reaches the simulator for well over a second. */
bool pingsStop (Subprocess& simulator)
{
    while (simulator.readLine (std::chrono::milliseconds (0)))
    {}
    return ! simulatorReceives (simulator, 14).isValid();
}
} // namespace

TEST (ShowScreen, DemoThenAConnectedShowDrivenFromKeysAndButtons)
{
    REQUIRE_PRIVATE_NETWORK();

    QUENTARORemoteApplication::MainWindow window ("QUENTARO Remote");
    auto& main = *dynamic_cast<MainComponent*> (window.getContentComponent());

    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.connectPanel.isShowing(); }));
    MessageLoop::runFor (std::chrono::milliseconds (500));
    screenshot (window, "connect-screen.png");

    main.pinOverlay.setBounds (main.getLocalBounds());
    main.pinOverlay.showForHost();
    main.pinOverlay.errorLabel.setText ("Incorrect PIN. Try again.", juce::dontSendNotification);
    MessageLoop::runFor (std::chrono::milliseconds (300));
    screenshot (window, "pin-overlay.png");
    main.pinOverlay.setVisible (false);

    // The demo, for a look at the whole screen with the page.
    main.connectPanel.demoButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.demoMode && main.show.isShowing(); }));
    EXPECT_TRUE (pageShowsRows (*main.show.webView, 16));   // the delayed push reached the page
    MessageLoop::runFor (std::chrono::milliseconds (2500)); // and it has painted
    screenshot (window, "show-screen-demo.png");
    main.show.disconnectButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.connectPanel.isShowing(); }));
    EXPECT_FALSE (main.show.webView->isVisible()); // the page's native window goes with the view

    Subprocess simulator ({ QUENTARO_HOST_SIM_PATH, "--no-announce", "--refresh-ms", "500" });
    ASSERT_TRUE (simulator.waitForLineContaining ("\"listening\"", std::chrono::seconds (10)));

    main.connectPanel.connectToHost ("127.0.0.1", {});
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.isVisible(); }, std::chrono::seconds (5)));

    // The cards follow the host: the next cue chosen here comes back in the host's cue state.
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.nextCueCard.getValue() != "-"; }));
    const auto next = main.show.nextCue + 1;
    main.keyPressed (juce::KeyPress (juce::KeyPress::downKey), &main);
    auto chosen = simulatorReceives (simulator, 9);
    ASSERT_TRUE (chosen.isValid());
    EXPECT_EQ (MessageRecord::integer (chosen, "ID"), next);
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.nextCueCard.getValue() == main.show.cueText (next); }));

    struct Key
    {
        juce::KeyPress press;
        int rcType;
    };

    const Key keys[] = {
        { juce::KeyPress::createFromDescription (","), 2 },
        { juce::KeyPress::createFromDescription ("."), 4 },
        { juce::KeyPress (juce::KeyPress::spaceKey), 5 },
        { juce::KeyPress (juce::KeyPress::rightKey), 6 },
        { juce::KeyPress (juce::KeyPress::leftKey), 7 },
        { juce::KeyPress (juce::KeyPress::upKey), 9 },
    };

    for (auto& k : keys)
    {
        EXPECT_TRUE (main.keyPressed (k.press, &main));
        EXPECT_TRUE (simulatorReceives (simulator, k.rcType).isValid()) << k.press.getTextDescription();
    }

    // The host plays: Now Playing follows.
    main.keyPressed (juce::KeyPress::createFromDescription (","), &main);
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.currentCue >= 0; }));
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), main.show.cueText (main.show.currentCue));

    // A hot cue, pressed on the MIDI tab, reaches the host by name.
    main.show.midiTabButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil (
        [&] { return ! main.show.hotCuePanel.getHotCues().empty() && ! main.show.isAnimating(); }));
    auto firstCue = main.show.hotCuePanel.getHotCues().front().cueName;
    auto& panel = main.show.hotCuePanel;
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! panel.cueButtons.isEmpty(); }));
    auto* cueButton = panel.cueButtons.getFirst();
    ASSERT_EQ (cueButton->getButtonText(), firstCue);
    cueButton->triggerClick();
    auto fired = simulatorReceives (simulator, 13);
    ASSERT_TRUE (fired.isValid());
    EXPECT_EQ (MessageRecord::text (fired, "cueName"), firstCue);

    main.show.showTabButton.triggerClick();
    MessageLoop::runUntil ([&] { return ! main.show.isAnimating(); });
    MessageLoop::runFor (std::chrono::milliseconds (1000));
    screenshot (window, "show-screen-connected.png");

    // Disconnect: the connect screen, and the host sees the pings stop.
    main.show.disconnectButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.connectPanel.isVisible() && main.remote == nullptr; }));
    EXPECT_TRUE (pingsStop (simulator));

    EXPECT_EQ (simulator.terminate (SIGTERM), 0);
}
