// The connect screen end to end: a host announced by DNS-SD on a private network is listed,
// a real click on its Connect pill connects, the PIN overlay pairs, the show comes up and the
// address is remembered. Runs inside scripts/with-avahi.sh, on the test display.

#include "app/MainComponent.h"
#include "app/QUENTARORemoteApplication.h"
#include "discovery/RecentHosts.h"
#include "lookandfeel/AppData.h"

#include "discovery/AvahiPublisher.h"
#include "support/MessageLoop.h"
#include "support/Subprocess.h"

#include <csignal>
#include <gtest/gtest.h>

namespace
{
/** A real pointer click through the X server, as an operator's would arrive. */
bool clickAt (juce::Point<int> screenPosition)
{
    juce::ChildProcess xdotool;
    return xdotool.start (juce::StringArray { "xdotool", "mousemove", juce::String (screenPosition.x),
               juce::String (screenPosition.y), "click", "1" })
        && xdotool.waitForProcessToFinish (5000) && xdotool.getExitCode() == 0;
}

/** Keeps the message loop running while the click goes through the X server. */
bool clickAndWait (juce::Point<int> screenPosition, const std::function<bool()>& condition)
{
    // The program must dispatch while the X server delivers the click.
    std::atomic<bool> clicked { false }, ok { false };
    std::thread click (
        [&]
        {
            ok = clickAt (screenPosition);
            clicked = true;
        });
    auto result = MessageLoop::runUntil ([&] { return clicked.load() && condition(); }, std::chrono::seconds (4));
    click.join();
    return ok && result;
}
} // namespace

TEST (ConnectFlow, DiscoveredHostPinAndRecentAddress)
{
    if (! AvahiPublisher::isDaemonAvailable())
        GTEST_SKIP() << "needs the private DNS-SD daemon of scripts/with-avahi.sh";

    AppData::dataFolder().deleteRecursively();
    const auto hostAddress = AvahiPublisher::daemonAddress();
    const auto serviceName = juce::String (juce::CharPointer_UTF8 ("B\xc3\xbchne ไทย Sim"));

    Subprocess simulator (
        { QUENTARO_HOST_SIM_PATH, "--pin", "2468", "--service-name", serviceName, "--refresh-ms", "0" });
    ASSERT_TRUE (simulator.waitForLineContaining ("\"announced\"", std::chrono::seconds (10)));

    QUENTARORemoteApplication::MainWindow window ("QUENTARO Remote");
    auto& main = *dynamic_cast<MainComponent*> (window.getContentComponent());
    auto& panel = main.connectPanel;

    ASSERT_TRUE (MessageLoop::runUntil ([&] { return panel.hostModel.getNumRows() > 0 && panel.hostList.isShowing(); },
        std::chrono::seconds (10)));
    auto host = panel.hostModel.hosts[0];
    EXPECT_EQ (host.serviceName, serviceName);
    EXPECT_EQ (host.ipAddress, hostAddress);
    EXPECT_EQ (host.port, 9212);

    // The pill sits at the right end of the first row. A click that reaches the X server before
    // the freshly mapped window takes pointer events is lost, so it is given a few tries.
    auto list = panel.hostList.getScreenBounds();
    bool overlayShown = false;

    for (int attempt = 0; attempt < 3 && ! overlayShown; ++attempt)
        overlayShown =
            clickAndWait ({ list.getRight() - 50, list.getY() + 26 }, [&] { return main.pinOverlay.isVisible(); });

    ASSERT_TRUE (overlayShown);
    EXPECT_EQ (main.show.connectName, serviceName);
    EXPECT_EQ (main.hostAddress, hostAddress);
    EXPECT_EQ (main.statusLabel.getText(), "Status : PIN required");

    auto connect = main.pinOverlay.connectButton.getScreenBounds().getCentre();

    main.pinOverlay.pinEditor.setText ("1357", false);
    ASSERT_TRUE (
        clickAndWait (connect, [&] { return main.pinOverlay.errorLabel.getText() == "Incorrect PIN. Try again."; }));
    EXPECT_TRUE (main.pinOverlay.isVisible());

    main.pinOverlay.pinEditor.setText ("2468", false);
    ASSERT_TRUE (clickAndWait (connect, [&] { return main.show.isVisible(); }));
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_FALSE (main.connectPanel.isVisible());
    EXPECT_EQ (main.show.hostName, "QUENTARO Sim");

    juce::MemoryBlock bytes;
    ASSERT_TRUE (RecentHosts::getRecentIpsFile (AppData::dataFolder()).loadFileAsData (bytes));
    EXPECT_EQ (bytes.toString(), hostAddress);

    main.disconnectRemote();
    EXPECT_EQ (simulator.terminate (SIGTERM), 0);
}
