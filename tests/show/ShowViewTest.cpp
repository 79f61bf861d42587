#include "support/ClientFixture.h"

namespace
{
using R = juce::Rectangle<int>;

} // namespace

TEST (StatusCardMetrics, RoomyFromFiftyEightPixelsCompactBelow)
{
    auto compact = RemoteUI::StatusCard::metricsFor (200, 57);
    EXPECT_EQ (compact.padding, 8);
    EXPECT_EQ (compact.innerHeight, 47);
    EXPECT_EQ (compact.titleHeight, 12);
    EXPECT_EQ (compact.value, R (16, 18, 176, 34));
    EXPECT_EQ (compact.valueFontHeight, 12.0f);

    auto roomy = RemoteUI::StatusCard::metricsFor (200, 58);
    EXPECT_EQ (roomy.padding, 12);
    EXPECT_EQ (roomy.innerHeight, 38);
    EXPECT_EQ (roomy.titleHeight, 16);
    EXPECT_EQ (roomy.value, R (20, 28, 168, 20));
    EXPECT_EQ (roomy.valueFontHeight, 14.0f);

    EXPECT_EQ (RemoteUI::StatusCard::metricsFor (20, 44).value.getWidth(), 0); // narrower than 2p + 8
    EXPECT_EQ (RemoteUI::StatusCard::metricsFor (100, 4).innerHeight, 0);
}

TEST (ShowLayout, StandardAndNarrowViews)
{
    auto view = Show::computeLayout (600, 700, 0, 0);
    EXPECT_EQ (view.header.getWidth(), 436);
    EXPECT_EQ (view.disconnect, R (514, 10, 76, 24));
    EXPECT_EQ (view.latency, R (452, 10, 56, 24));
    EXPECT_EQ (view.showCard.getWidth(), 188);
    EXPECT_EQ (view.nowPlayingCard.getWidth(), 188);
    EXPECT_EQ (view.nextCueCard.getWidth(), 188);
    EXPECT_EQ (view.slider.getWidth(), 460);
    EXPECT_EQ (view.time.getWidth(), 108);
    EXPECT_EQ (view.showTab.getWidth(), 288);
    EXPECT_EQ (view.midiTab.getWidth(), 288);
    EXPECT_EQ (view.contentHeight, 546);
    EXPECT_EQ (view.controlPanel, R (10, 558, 580, 80));
    EXPECT_EQ (view.webView, R (10, 92, 580, 422));
    EXPECT_TRUE (view.hotCuePanel.isEmpty());

    auto narrow = Show::computeLayout (300, 700, 0, 0);
    EXPECT_EQ (narrow.slider.getWidth(), 240);
    EXPECT_EQ (narrow.time.getWidth(), 28);

    // The hot-cue panel's slot pushes the transport row and the page up; the slide moves the
    // panel alone.
    auto open = Show::computeLayout (600, 700, 120, 26);
    EXPECT_EQ (open.hotCuePanel, R (10, 432 + 26, 580, 120));
    EXPECT_EQ (open.slider.getY(), 394);
    EXPECT_EQ (open.webView.getBottom(), 388);

    auto tiny = Show::computeLayout (10, 10, 0, 0);
    for (auto r : { tiny.webView, tiny.slider, tiny.controlPanel, tiny.header })
        EXPECT_TRUE (r.getWidth() >= 0 && r.getHeight() >= 0);
}

TEST (ShowAnimation, OpensAndClosesInShrinkingStepsThenStops)
{
    int height = 0, offset = 120;
    std::vector<int> heights, offsets;

    while (Show::animationStep (height, 120, offset, true))
    {
        heights.push_back (height);
        offsets.push_back (offset);
        ASSERT_LT (heights.size(), 100u);
    }

    ASSERT_GE (heights.size(), 3u);
    EXPECT_EQ ((std::vector<int> { heights[0], heights[1], heights[2] }), (std::vector<int> { 26, 46, 62 }));
    EXPECT_EQ ((std::vector<int> { offsets[0], offsets[1], offsets[2] }), (std::vector<int> { 94, 74, 58 }));
    EXPECT_EQ (height, 120);
    EXPECT_EQ (offset, 0);

    int closing = 120, noOffset = 0;
    while (Show::animationStep (closing, 0, noOffset, false))
        ASSERT_GT (closing, 0);
    EXPECT_EQ (closing, 0);

    EXPECT_EQ (Show::midiPanelTarget (400), 120);
    EXPECT_EQ (Show::midiPanelTarget (700), 228);
}

TEST (ShowHeader, StatusHostAddressAndShowAndTheLatencyColours)
{
    MainComponent main;
    auto& show = main.show;
    show.statusText = "Connected";

    struct Case
    {
        const char* hostName;
        const char* connectName;
        const char* address;
        const char* showName;
        const char* header;
    };

    const Case cases[] = {
        { "Stage Mac", "Stage", "10.0.0.2", "Gala", "Connected - Stage Mac (10.0.0.2) - Show: Gala" },
        { "", "Stage", "", "", "Connected - Stage" },
        { "", "", "10.0.0.2", "", "Connected - 10.0.0.2" },
        { "", "", "", "Gala", "Connected - Show: Gala" },
        { "", "", "", "", "Connected" },
    };

    for (auto& c : cases)
    {
        show.hostName = c.hostName;
        show.connectName = c.connectName;
        show.connectAddress = c.address;
        show.showName = c.showName;
        show.updateHeaderText();
        EXPECT_EQ (show.headerLabel.getText(), c.header);
    }

    show.demoMode = true;
    show.updateHeaderText();
    EXPECT_EQ (show.headerLabel.getText(), "Connected");
    show.demoMode = false;

    struct Latency
    {
        int ms;
        const char* text;
        juce::uint32 colour;
    };

    for (auto c : { Latency { -1, "-- ms", 0xffa1a1aa }, Latency { 0, "0 ms", 0xff22c55e },
             Latency { 29, "29 ms", 0xff22c55e }, Latency { 30, "30 ms", 0xfffbbf24 },
             Latency { 99, "99 ms", 0xfffbbf24 }, Latency { 100, "100 ms", 0xffef4444 } })
    {
        show.setLatency (c.ms);
        EXPECT_EQ (show.latencyLabel.getText(), c.text);
        EXPECT_EQ (show.latencyLabel.findColour (juce::Label::textColourId), juce::Colour (c.colour)) << c.ms;
    }
}

TEST (ShowTabs, TheMidiTabOpensOnceAndAnimatesToItsTarget)
{
    MainComponent main;
    auto& show = main.show;
    main.show.setVisible (true);

    show.showTabButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0x12345678));
    show.showShowTab(); // already on the Show tab: nothing, not even the colours
    EXPECT_EQ (show.showTabButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0x12345678));

    show.midiTabButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return show.midiPanelShown; }));
    const auto target = show.panelTargetHeight;
    show.midiTabButton.triggerClick();
    MessageLoop::runUntil ([&] { return ! show.isAnimating(); });

    EXPECT_EQ (target, Show::midiPanelTarget (show.contentHeight));
    EXPECT_EQ (show.panelHeight, target);
    EXPECT_EQ (show.panelSlideOffset, 0);
    EXPECT_TRUE (show.hotCuePanel.isVisible());
    EXPECT_EQ (show.hotCuePanel.getHeight(), target);
    EXPECT_EQ (show.midiTabButton.findColour (juce::TextButton::buttonColourId), juce::Colour (0xff27272a));
    EXPECT_EQ (show.showTabButton.findColour (juce::TextButton::textColourOffId), juce::Colour (0xffa1a1aa));

    show.showTabButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return ! show.midiPanelShown && ! show.isAnimating(); }));
    EXPECT_EQ (show.panelHeight, 0);
    EXPECT_FALSE (show.hotCuePanel.isVisible());
    EXPECT_EQ (show.positionSlider.getBottom(), show.controlPanel.getY() - 6); // no gap left for the panel
}

TEST (DemoShow, TheDocumentHasSixteenSongsOfFiveMarkersAndOneLoop)
{
    auto document = juce::JSON::parse (Show::demoShowDocument());
    ASSERT_TRUE (document.isArray());
    ASSERT_EQ (document.size(), 16);

    int loops = 0;

    for (int cue = 0; cue < 16; ++cue)
    {
        auto song = document[cue];
        EXPECT_EQ ((int) song["cue"], cue);
        ASSERT_EQ (song["markers"].size(), 5);
        EXPECT_EQ (song["tempos"].size(), 1);
        EXPECT_EQ (song["timesignature"][0]["numerator"].toString(), "4");
        EXPECT_FALSE ((bool) song["file_missing"]);

        for (int index = 0; index < 5; ++index)
            if ((bool) song["markers"][index]["loopActive"])
            {
                ++loops;
                EXPECT_EQ (cue * 10 + index, 2) << "only song 0's Chorus loops";
            }
    }

    EXPECT_EQ (loops, 1);
    EXPECT_EQ (document[0]["songname"].toString(), "Midnight Serenade");
    EXPECT_EQ ((double) document[15]["tempos"][0]["bpm"], 135.0);
    EXPECT_EQ (document[1]["markers"][2]["position"].toString(), "96000");
}
