#include "app/MainComponent.h"
#include "app/QUENTARORemoteApplication.h"

#include "support/HostEndpoint.h"
#include "support/MessageLoop.h"
#include "support/TestNetwork.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour statusGrey { 0xff808080 };

juce::Colour statusColour (const MainComponent& main)
{
    return main.statusLabel.findColour (juce::Label::textColourId);
}

/** Gives the main component a client aimed at the host endpoint on loopback, as the
    connection start does, without the rest of the start's steps. */
RCClient& attachClient (MainComponent& main)
{
    main.remote = std::make_unique<RemoteConnection>();
    main.remote->owner = &main;
    main.remote->client = std::make_shared<RCClient> (main);
    main.remote->client->localAddress = "127.0.0.1";
    EXPECT_TRUE (main.remote->client->openSender ("127.0.0.1"));
    return *main.remote->client;
}
} // namespace

TEST (MainComponent, StartsOnTheConnectScreen)
{
    MainComponent main;

    EXPECT_EQ (main.getWidth(), 1200);
    EXPECT_EQ (main.getHeight(), 800);
    EXPECT_TRUE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_TRUE (main.statusLabel.isVisible());
    EXPECT_EQ (main.statusLabel.getText(), "Status : No Connection");
    EXPECT_EQ (statusColour (main), statusGrey);
    EXPECT_EQ (main.connectPanel.getBounds(), juce::Rectangle<int> (190, 140, 820, 520));
    EXPECT_EQ (main.remote, nullptr);
    EXPECT_FALSE (main.awaitingPin);
}

TEST (MainComponent, LayoutKeepsThePanelWholeAndTheStatusStripAtTheBottom)
{
    struct Case
    {
        int w, h;
        juce::Rectangle<int> panel, status, show;
    };

    const Case cases[] = {
        { 1200, 800, { 190, 140, 820, 520 }, { 0, 760, 1200, 40 }, { 0, 0, 1200, 760 } },
        { 821, 521, { 0, 0, 820, 520 }, { 0, 481, 821, 40 }, { 0, 0, 821, 481 } },
        { 600, 400, { -110, -60, 820, 520 }, { 0, 360, 600, 40 }, { 0, 0, 600, 360 } },
        { 500, 30, { -160, -245, 820, 520 }, { 0, 0, 500, 30 }, { 0, 0, 500, 0 } },
        { 0, 0, { -410, -260, 820, 520 }, { 0, 0, 0, 0 }, { 0, 0, 0, 0 } },
    };

    MainComponent main;

    for (auto& c : cases)
    {
        main.setSize (c.w, c.h);
        EXPECT_EQ (main.connectPanel.getBounds(), c.panel) << c.w << " x " << c.h;
        EXPECT_EQ (main.statusLabel.getBounds(), c.status) << c.w << " x " << c.h;
        EXPECT_EQ (main.show.getBounds(), c.show) << c.w << " x " << c.h;
        EXPECT_EQ (main.pinOverlay.getBounds(), juce::Rectangle<int> (0, 0, c.w, c.h)) << c.w << " x " << c.h;
    }
}

TEST (MainComponent, KeysAreConsumedUnlessThePinOverlayIsShown)
{
    MainComponent main;
    const juce::KeyPress space (juce::KeyPress::spaceKey);

    EXPECT_TRUE (main.keyPressed (space, &main));
    main.pinOverlay.setVisible (true);
    EXPECT_FALSE (main.keyPressed (space, &main));
}

TEST (MainComponent, StatusGoesToTheLineAndTheShowHeader)
{
    MainComponent main;
    main.setRemoteStatus ("Connected", juce::Colour (0xff22c55e));

    EXPECT_EQ (main.statusLabel.getText(), "Status : Connected");
    EXPECT_EQ (statusColour (main), juce::Colour (0xff22c55e));
    EXPECT_EQ (main.show.statusText, "Connected");
    EXPECT_EQ (main.show.statusColour, juce::Colour (0xff22c55e));
}

TEST (MainComponentPin, WrongLengthsAreRefusedLocally)
{
    REQUIRE_PRIVATE_NETWORK();
    HostEndpoint host;
    ASSERT_TRUE (host.isBound());

    MainComponent main;
    attachClient (main);

    for (auto* pin : { "123", "12345", "", "1" })
    {
        main.pinOverlay.errorLabel.setText ({}, juce::dontSendNotification);
        main.submitRemotePin (pin);
        EXPECT_EQ (main.pinOverlay.errorLabel.getText(), "Enter a 4-digit PIN.") << pin;
    }

    EXPECT_EQ (main.statusLabel.getText(), "Status : No Connection");
    EXPECT_TRUE (host.staysQuiet (250));
}

TEST (MainComponentPin, FourCharactersWithoutAConnectionDoNothing)
{
    MainComponent main;
    main.submitRemotePin ("1234");

    EXPECT_EQ (main.statusLabel.getText(), "Status : No Connection");
    EXPECT_EQ (main.pinOverlay.errorLabel.getText(), "");
}

TEST (MainComponentPin, SendsThePinAtOnceAndAConnectionRequestLater)
{
    REQUIRE_PRIVATE_NETWORK();
    HostEndpoint host;
    ASSERT_TRUE (host.isBound());

    MainComponent main;
    attachClient (main);

    main.submitRemotePin (" 12 "); // four characters counted before trimming

    auto pin = host.receiveRecord();
    ASSERT_TRUE (pin.isValid());
    EXPECT_EQ (MessageRecord::integer (pin, "RCType"), 15);
    EXPECT_EQ (MessageRecord::text (pin, "IP"), "127.0.0.1");
    EXPECT_EQ (MessageRecord::text (pin, "Pin"), "12");
    EXPECT_EQ (pin.getPropertyName (1).toString(), "IP");
    EXPECT_EQ (pin.getPropertyName (2).toString(), "Pin");
    EXPECT_EQ (main.statusLabel.getText(), "Status : Verifying PIN...");
    EXPECT_EQ (statusColour (main), juce::Colour (0xffa1a1aa));

    // The request waits for the delayed call on the message thread. (The framework's timers
    // may fire a delayed call up to one timer-thread tick early, so its exact delay is not
    // asserted here.)
    EXPECT_TRUE (host.staysQuiet (50));

    juce::ValueTree request;
    ASSERT_TRUE (MessageLoop::runUntil (
        [&]
        {
            request = host.receiveRecord (0);
            return request.isValid();
        }));
    EXPECT_EQ (MessageRecord::integer (request, "RCType"), 1);
    EXPECT_EQ (MessageRecord::text (request, "IP"), "127.0.0.1");
}

TEST (MainComponentPin, ClosingWithinTheDelaySendsNoSecondMessage)
{
    REQUIRE_PRIVATE_NETWORK();
    HostEndpoint host;
    ASSERT_TRUE (host.isBound());

    {
        MainComponent main;
        attachClient (main);
        main.submitRemotePin ("1234");
    }

    ASSERT_TRUE (host.receiveRecord().isValid()); // the PIN itself
    MessageLoop::runFor (std::chrono::milliseconds (400));
    EXPECT_TRUE (host.staysQuiet (50));
}

TEST (MainComponentPoll, ReportsTheClientStateAndBringsUpTheShowScreen)
{
    MainComponent main;
    auto& client = attachClient (main);
    main.show.showId = 12;
    main.startTimer (MainComponent::statusPollTimer, MainComponent::statusPollInterval);

    client.connectionState = 1;
    ASSERT_TRUE (
        MessageLoop::runUntil ([&] { return main.statusLabel.getText() == "Status : Waiting for Show Session Load"; },
            std::chrono::milliseconds (1500)));
    EXPECT_EQ (statusColour (main), juce::Colour (0xff22c55e));
    EXPECT_EQ (main.show.showId, -1);

    client.connectionState = 0;
    ASSERT_TRUE (
        MessageLoop::runUntil ([&] { return main.statusLabel.getText() == "Status : Host not found - retrying"; },
            std::chrono::milliseconds (1500)));
    EXPECT_EQ (statusColour (main), juce::Colour (0xffff0000));

    client.connectionState = 2;
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.isVisible(); }, std::chrono::milliseconds (1500)));
    EXPECT_FALSE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.statusLabel.isVisible());
    EXPECT_TRUE (main.isTimerRunning (MainComponent::statusPollTimer));
}

TEST (MainComponentDisconnect, DropsTheConnectionAndResetsTheTextsButNotTheScreen)
{
    MainComponent main;
    attachClient (main);
    main.startTimer (MainComponent::statusPollTimer, MainComponent::statusPollInterval);
    main.connectPanel.setVisible (false);
    main.show.setVisible (true);
    main.pinOverlay.setVisible (true);
    main.show.connectAddress = "10.0.0.9";
    main.show.connectName = "Stage";
    main.show.hostName = "Stage Mac";
    main.show.showName = "Gala";
    main.show.setLatency (12);
    main.setRemoteStatus ("Connected", juce::Colour (0xff22c55e));

    main.disconnectRemote();

    EXPECT_EQ (main.remote, nullptr);
    EXPECT_FALSE (main.isTimerRunning (MainComponent::statusPollTimer));
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_TRUE (main.show.isVisible());
    EXPECT_FALSE (main.connectPanel.isVisible());
    EXPECT_TRUE (main.show.connectAddress.isEmpty() && main.show.connectName.isEmpty());
    EXPECT_TRUE (main.show.hostName.isEmpty() && main.show.showName.isEmpty());
    EXPECT_EQ (main.show.statusText, "No connection");
    EXPECT_EQ (main.show.statusColour, juce::Colour (0xffa1a1aa));
    EXPECT_EQ (main.show.latencyLabel.getText(), "-- ms");
    EXPECT_EQ (main.statusLabel.getText(), "Status : No Connection");
    EXPECT_EQ (statusColour (main), statusGrey);
}

TEST (MainWindow, FixedSizeCentredAndNotResizable)
{
    QUENTARORemoteApplication::MainWindow window ("QUENTARO Remote");

    EXPECT_EQ (window.getName(), "QUENTARO Remote");
    EXPECT_TRUE (window.isVisible());
    EXPECT_TRUE (window.isUsingNativeTitleBar());
    EXPECT_FALSE (window.isResizable());
    ASSERT_NE (window.getPeer(), nullptr);
    EXPECT_EQ (window.getPeer()->getStyleFlags() & juce::ComponentPeer::windowIsResizable, 0);
    EXPECT_EQ (window.getContentComponent()->getWidth(), 1200);
    EXPECT_EQ (window.getContentComponent()->getHeight(), 800);
    EXPECT_NE (dynamic_cast<MainComponent*> (window.getContentComponent()), nullptr);
    EXPECT_DOUBLE_EQ (window.getConstrainer()->getFixedAspectRatio(), 1.5);

    auto screen = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_EQ (window.getScreenBounds().getCentre(), screen.getCentre());
}
