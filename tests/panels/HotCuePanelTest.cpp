// The hot-cue grid as a component, and what its presses send to a loopback host.

#include "panels/RemoteMidiHotCuePanel.h"

#include "support/ClientFixture.h"

namespace
{
std::vector<HotCue> numberedCues (int count)
{
    std::vector<HotCue> cues;

    for (int i = 0; i < count; ++i)
        cues.push_back ({ "Cue " + juce::String (i + 1), i % 2 == 0 ? "ff3333" : "" });

    return cues;
}

juce::Colour centreOf (juce::Button& button, juce::Button::ButtonState state)
{
    button.setState (state);
    auto image = button.createComponentSnapshot (button.getLocalBounds());
    return image.getPixelAt (image.getWidth() / 2, image.getHeight() / 2);
}

/** A panel 600 x 232, which leaves its viewport 584 x 200. */
class HotCueGrid : public testing::Test
{
protected:
    void SetUp() override { panel.setSize (600, 232); }

    MainComponent main;
    RemoteMidiHotCuePanel panel { main };
};

class HotCuePresses : public ClientFixture
{
protected:
    void SetUp() override
    {
        ClientFixture::SetUp();
        panel.setSize (600, 232);
        panel.setHotCues ({ { "Intro", "ff3333" }, { "Blackout", "" } });
        ASSERT_EQ (panel.cueButtons.size(), 2);
    }

    RemoteMidiHotCuePanel panel { main };
};
} // namespace

TEST_F (HotCueGrid, TheEmptyLabelStandsInForTheGridUntilCuesArrive)
{
    const juce::Rectangle<int> area { 8, 24, 584, 200 };

    EXPECT_TRUE (panel.emptyLabel.isVisible());
    EXPECT_FALSE (panel.viewport.isVisible());
    EXPECT_EQ (panel.emptyLabel.getText(), "No MIDI Hot Cues in this show");
    EXPECT_EQ (panel.emptyLabel.getBounds(), area);
    EXPECT_EQ (panel.viewport.getBounds(), area);

    panel.setHotCues (numberedCues (7));
    EXPECT_FALSE (panel.emptyLabel.isVisible());
    EXPECT_TRUE (panel.viewport.isVisible());
    EXPECT_EQ (panel.cueButtons.size(), 7);

    panel.setHotCues ({});
    EXPECT_TRUE (panel.emptyLabel.isVisible());
    EXPECT_FALSE (panel.viewport.isVisible());
    EXPECT_TRUE (panel.cueButtons.isEmpty());
    EXPECT_EQ (panel.gridContent.getNumChildComponents(), 0);
    EXPECT_EQ (panel.gridContent.getBounds().getWidth(), 0);
    EXPECT_EQ (panel.gridContent.getBounds().getHeight(), 0);
}

TEST_F (HotCueGrid, OneButtonPerCueInCueOrderWithItsNameAndColour)
{
    panel.setHotCues ({ { "Intro", "#3366cc" }, { "Blackout", "" }, { "Strobe", "80ffffff" } });
    const auto layout = RemoteMidiHotCuePanel::gridLayout (3, 600, 584, 200);

    const std::pair<const char*, juce::uint32> expected[] = {
        { "Intro", 0xff3366cc },
        { "Blackout", 0xff22c55e },
        { "Strobe", 0x80ffffff },
    };

    ASSERT_EQ (panel.cueButtons.size(), 3);

    for (int i = 0; i < 3; ++i)
    {
        auto* button = panel.cueButtons[i];
        EXPECT_EQ (button->getButtonText(), expected[i].first);
        EXPECT_EQ (button->getName(), expected[i].first);
        EXPECT_EQ (button->fillColour.getARGB(), expected[i].second);
        EXPECT_EQ (button->getBounds(), layout.cellBounds (i));
        EXPECT_EQ (button->getParentComponent(), &panel.gridContent);
        EXPECT_TRUE (button->isVisible());
    }

    EXPECT_EQ (panel.gridContent.getWidth(), layout.contentWidth);
    EXPECT_EQ (panel.gridContent.getHeight(), layout.contentHeight);
}

TEST_F (HotCueGrid, TheViewportScrollsOnlyWhenTheRowsOverflowIt)
{
    const std::tuple<int, int, bool> cases[] = { { 13, 172, false }, { 60, 512, true }, { 7, 116, false } };

    for (auto& [count, contentHeight, scrolls] : cases)
    {
        panel.setHotCues (numberedCues (count));
        EXPECT_EQ (panel.gridContent.getHeight(), contentHeight) << count;
        EXPECT_EQ (panel.viewport.isVerticalScrollBarShown(), scrolls) << count;
        EXPECT_FALSE (panel.viewport.isHorizontalScrollBarShown()) << count;
    }
}

TEST_F (HotCueGrid, EveryResizeRecreatesTheButtonsForTheNewWidth)
{
    panel.setHotCues (numberedCues (7));
    juce::Array<juce::Component::SafePointer<RemoteMidiHotCuePanel::CueButton>> before;

    for (auto* button : panel.cueButtons)
        before.add (button);

    before[0]->setState (juce::Button::buttonDown);
    panel.setSize (900, 232);

    for (auto& old : before)
        EXPECT_EQ (old.getComponent(), nullptr);

    ASSERT_EQ (panel.cueButtons.size(), 7);
    EXPECT_EQ (panel.cueButtons[0]->getState(), juce::Button::buttonNormal);
    EXPECT_EQ (panel.cueButtons[0]->getWidth(), (884 - 40) / 6);
    EXPECT_EQ (panel.gridContent.getNumChildComponents(), 7);
    EXPECT_EQ (panel.getHotCues().size(), 7u);
}

TEST_F (HotCueGrid, NoButtonsWithoutRoomUntilTheNextLayout)
{
    panel.setSize (0, 232);
    panel.setHotCues (numberedCues (3));

    EXPECT_TRUE (panel.cueButtons.isEmpty());
    EXPECT_TRUE (panel.viewport.isVisible());

    panel.setSize (600, 232);
    EXPECT_EQ (panel.cueButtons.size(), 3);
}

TEST_F (HotCueGrid, EnabledStateReachesExistingAndNewButtons)
{
    panel.setHotCues (numberedCues (3));
    panel.setCuesEnabled (false);

    for (auto* button : panel.cueButtons)
        EXPECT_FALSE (button->isEnabled());

    panel.setHotCues (numberedCues (4));

    for (auto* button : panel.cueButtons)
        EXPECT_FALSE (button->isEnabled());

    panel.setCuesEnabled (true);

    for (auto* button : panel.cueButtons)
        EXPECT_TRUE (button->isEnabled());
}

TEST (HotCueButton, FilledWithItsColourBrighterWhenOverDarkerWhenDown)
{
    RemoteMidiHotCuePanel::CueButton button;
    button.setSize (80, 50);
    button.fillColour = juce::Colour (0xff3366cc);

    // brighter (0.1): 255 - (255 - c) / 1.1; darker (0.22): c / 1.22; each truncated.
    EXPECT_EQ (centreOf (button, juce::Button::buttonNormal), juce::Colour (0xff3366cc));
    EXPECT_EQ (centreOf (button, juce::Button::buttonOver), juce::Colour (0xff4573d0));
    EXPECT_EQ (centreOf (button, juce::Button::buttonDown), juce::Colour (0xff2953a7));
}

TEST_F (HotCuePresses, APressFiresTheCueByNameOnlyWhenEnabledOutsideTheDemoWithAClient)
{
    struct Case
    {
        const char* name;
        bool enabled, demo;
        bool sends;
    };

    // No show is loaded: hot cues do not need one.
    const Case cases[] = {
        { "enabled", true, false, true },
        { "disabled", false, false, false },
        { "demo", true, true, false },
        { "disabled in the demo", false, true, false },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        panel.setCuesEnabled (c.enabled);
        main.show.demoMode = c.demo;

        panel.cueButtons[1]->onClick();
        const auto records = drain();

        if (c.sends)
        {
            ASSERT_EQ (typesOf (records), std::vector<int> { 13 });
            EXPECT_EQ (MessageRecord::text (records[0], "cueName"), "Blackout");
        }
        else
        {
            EXPECT_TRUE (records.empty());
        }
    }

    main.show.demoMode = false;
    panel.setCuesEnabled (true);
    main.remote.reset();
    panel.cueButtons[0]->onClick();
    EXPECT_TRUE (drain().empty());
}
