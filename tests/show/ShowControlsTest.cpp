#include "support/ClientFixture.h"

namespace
{
using ShowControls = ClientFixture;

juce::KeyPress key (int code, juce::ModifierKeys modifiers = {})
{
    return juce::KeyPress (code, modifiers, 0);
}
} // namespace

TEST_F (ShowControls, KeysDriveTheHostOnTheShowScreenOnly)
{
    // On the connect screen every key is consumed and nothing is sent.
    EXPECT_TRUE (main.keyPressed (key (','), &main));
    EXPECT_TRUE (drain().empty());

    loadShow ({ "A", "B", "C", "D" });
    main.show.applyCueState (1, 2);
    statements.clear();

    struct Case
    {
        juce::KeyPress press;
        std::vector<int> sent;
        int nextCueAfter;
    };

    const auto comma = juce::KeyPress::createFromDescription (",").getKeyCode();
    const auto stop = juce::KeyPress::createFromDescription (".").getKeyCode();

    const Case cases[] = {
        { key (comma), { 2 }, 2 },
        { key (stop, juce::ModifierKeys::shiftModifier), { 4 }, 2 },
        { key (juce::KeyPress::spaceKey), { 5 }, 2 },
        { key (juce::KeyPress::rightKey), { 6 }, 2 },
        { key (juce::KeyPress::leftKey, juce::ModifierKeys::commandModifier), { 7 }, 2 },
        { key (juce::KeyPress::upKey), { 9 }, 1 },
        { key (juce::KeyPress::upKey), { 9 }, 0 },
        { key (juce::KeyPress::upKey), {}, 0 },
        { key (juce::KeyPress::downKey), { 9 }, 1 },
        { key ('x'), {}, 1 },
    };

    for (auto& c : cases)
    {
        EXPECT_TRUE (main.keyPressed (c.press, &main)) << c.press.getTextDescription();
        auto records = drain();
        EXPECT_EQ (typesOf (records), c.sent) << c.press.getTextDescription();
        EXPECT_EQ (main.show.nextCue, c.nextCueAfter) << c.press.getTextDescription();

        if (! records.empty() && MessageRecord::integer (records[0], "RCType") == 9)
        {
            EXPECT_EQ (MessageRecord::integer (records[0], "ID"), c.nextCueAfter);
        }
    }

    // The arrows scroll the page to the rows they act on.
    main.show.applyCueState (2, 3);
    statements.clear();
    main.keyPressed (key (juce::KeyPress::rightKey), &main);
    main.keyPressed (key (juce::KeyPress::leftKey), &main);
    EXPECT_EQ (statements,
        (juce::StringArray { WebBridge::scrollToCueRowStatement (3), WebBridge::scrollToCueRowStatement (1) }));

    // Down at the last song, right with no valid next cue: nothing, and a send without a scroll.
    main.show.setNextCue (3);
    drain();
    statements.clear();
    main.keyPressed (key (juce::KeyPress::downKey), &main);
    EXPECT_TRUE (drain().empty());
    main.show.nextCue = 9;
    main.keyPressed (key (juce::KeyPress::rightKey), &main);
    EXPECT_EQ (typesOf (drain()), std::vector<int> { 6 });
    EXPECT_TRUE (statements.isEmpty());

    // With the PIN overlay up the keys are not consumed and send nothing.
    main.pinOverlay.setVisible (true);
    EXPECT_FALSE (main.keyPressed (key (juce::KeyPress::spaceKey), &main));
    EXPECT_TRUE (drain().empty());
}

TEST_F (ShowControls, TheSliderSendsOnlyBehindTheGateAndNeverForCodeChanges)
{
    loadShow ({ "A" });
    main.show.positionSlider.setRange (0.0, 1000.0);
    main.show.positionSlider.setValue (500.0, juce::sendNotificationSync);
    EXPECT_TRUE (drain().empty()); // no mouse held: a change made by code

    main.show.positionSlider.onDragStart();
    EXPECT_TRUE (client()->positionDragging);
    main.show.positionSlider.onDragEnd();
    EXPECT_FALSE (client()->positionDragging);

    main.show.showId = -1;
    main.show.positionSlider.onDragStart();
    EXPECT_FALSE (client()->positionDragging);
}

TEST_F (ShowControls, TheDemoFillsTheScreenSendsNothingAndPushesThePageLater)
{
    std::weak_ptr<RCClient> previous = main.remote->client;
    main.connectPanel.demoButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.show.demoMode; }));

    EXPECT_TRUE (previous.expired());
    EXPECT_EQ (main.remote, nullptr);
    EXPECT_FALSE (main.isTimerRunning (MainComponent::statusPollTimer));
    EXPECT_TRUE (main.show.isVisible());
    EXPECT_FALSE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.statusLabel.isVisible());
    EXPECT_EQ (main.show.headerLabel.getText(), "Demo - Preview only");
    EXPECT_EQ (main.show.showCard.getValue(), "Summer Night Concert");
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), "0 - Midnight Serenade");
    EXPECT_EQ (main.show.nextCueCard.getValue(), "1 - Whispers in the Wind");
    EXPECT_EQ (main.show.songCount(), 16);
    EXPECT_EQ (main.show.hotCuePanel.getHotCues().size(), 12u);
    EXPECT_EQ (main.show.positionSlider.getMaximum(), 240000.0);
    EXPECT_EQ (main.show.positionSlider.getValue(), 112345.0);
    EXPECT_FALSE (main.show.positionSlider.isEnabled());
    EXPECT_FALSE (main.show.controlPanel.isEnabled());
    EXPECT_EQ (main.show.timeLabel.getText(), "01:23:45:12");
    EXPECT_EQ (main.show.disconnectButton.getButtonText(), "Exit Demo");
    EXPECT_TRUE (statements.isEmpty());

    // 350 ms later the page gets the demo show, in this order.
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return statements.size() >= 5; }));
    ASSERT_EQ (statements.size(), 5);
    EXPECT_EQ (statements[0], "window_onload();");
    EXPECT_EQ (statements[1], "native_setTableData(" + Show::demoShowDocument() + ", 0, 1);");
    EXPECT_EQ (statements[2], "setCurrentCue(0, -1);");
    EXPECT_EQ (statements[3], "setNextCue(1);");
    EXPECT_EQ (statements[4], "setTransportPosition(112345);");

    // Keys do nothing without a client; nothing reached the host at any point.
    main.keyPressed (juce::KeyPress (juce::KeyPress::spaceKey), &main);
    EXPECT_TRUE (drain().empty());

    main.show.disconnectButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! main.show.demoMode; }));
    EXPECT_TRUE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_TRUE (main.statusLabel.isVisible());
    EXPECT_EQ (main.show.showId, -1);
    EXPECT_EQ (main.show.songCount(), 0);
    EXPECT_EQ (main.show.disconnectButton.getButtonText(), "Disconnect");
    EXPECT_TRUE (main.show.controlPanel.isEnabled());
    EXPECT_EQ (main.show.nowPlayingCard.getValue(), "-");
}

TEST_F (ShowControls, TheDisconnectButtonReturnsToTheConnectScreenAndDropsTheClient)
{
    loadShow ({ "A" });
    std::weak_ptr<RCClient> watch = main.remote->client;

    main.show.disconnectButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return watch.expired(); }));
    EXPECT_TRUE (main.connectPanel.isVisible());
    EXPECT_FALSE (main.show.isVisible());
    EXPECT_EQ (main.show.showId, -1);
    EXPECT_EQ (main.statusLabel.getText(), "Status : No Connection");
    EXPECT_TRUE (host.staysQuiet (300));
}

TEST (DemoShowLifetime, ClosingWithinTheDelayIsSafe)
{
    {
        MainComponent main;
        juce::StringArray made;
        main.show.getBridge().setEvaluator ([&made] (const juce::String& s) { made.add (s); });
        main.show.startDemo();
    }

    MessageLoop::runFor (std::chrono::milliseconds (500)); // the delayed push finds nothing to do
}
