// The transport buttons against a loopback host: what each click sends and what it does to
// the page.

#include "panels/RemoteControlPanel.h"

#include "support/ClientFixture.h"

namespace
{
using Button = RemoteControlPanel::TouchButton RemoteControlPanel::*;

const std::pair<const char*, Button> allButtons[] = {
    { "Play", &RemoteControlPanel::playButton },
    { "Pause", &RemoteControlPanel::pauseButton },
    { "Stop", &RemoteControlPanel::stopButton },
    { "Select Prev", &RemoteControlPanel::selectPrevButton },
    { "Select Next", &RemoteControlPanel::selectNextButton },
    { "Play Prev", &RemoteControlPanel::playPrevButton },
    { "Play Next", &RemoteControlPanel::playNextButton },
};

/** A show of three songs on the show screen, with a control panel of its own. */
class ControlPanel : public ClientFixture
{
protected:
    void SetUp() override
    {
        ClientFixture::SetUp();
        loadShow ({ "Intro", "Ballad", "Finale" });
        drain();
    }

    void setCues (int current, int next)
    {
        main.show.currentCue = current;
        main.show.nextCue = next;
    }

    void click (Button button) { (panel.*button).onClick(); }

    RemoteControlPanel panel { main };
};

juce::Colour centreOf (juce::Button& button, juce::Button::ButtonState state)
{
    button.setState (state);
    auto image = button.createComponentSnapshot (button.getLocalBounds());
    return image.getPixelAt (image.getWidth() / 2, image.getHeight() / 2);
}
} // namespace

TEST_F (ControlPanel, EachButtonSendsItsCommandAndMovesThePageAsItsRuleSays)
{
    const auto next = [] (int cue) { return WebBridge::setNextCueStatement (cue); };
    const auto scroll = [] (int cue) { return WebBridge::scrollToCueRowStatement (cue); };

    struct Case
    {
        const char* name;
        Button button;
        int current, next;
        std::vector<int> sent;
        juce::String sentId; // the SetNextCue record's "ID"
        int nextAfter;
        juce::StringArray page;
    };

    const Case cases[] = {
        { "Play", &RemoteControlPanel::playButton, 0, 1, { 2 }, {}, 1, {} },
        { "Pause", &RemoteControlPanel::pauseButton, 0, 1, { 4 }, {}, 1, {} },
        { "Stop", &RemoteControlPanel::stopButton, 0, 1, { 5 }, {}, 1, {} },
        { "Select Prev from 2", &RemoteControlPanel::selectPrevButton, 0, 2, { 9 }, "1", 1, { next (1), scroll (1) } },
        { "Select Prev at the first cue", &RemoteControlPanel::selectPrevButton, 1, 0, {}, {}, 0, {} },
        { "Select Next from 0", &RemoteControlPanel::selectNextButton, -1, 0, { 9 }, "1", 1, { next (1), scroll (1) } },
        { "Select Next at the last cue", &RemoteControlPanel::selectNextButton, 0, 2, {}, {}, 2, {} },
        { "Play Prev from 2", &RemoteControlPanel::playPrevButton, 2, 0, { 7 }, {}, 0, { scroll (1) } },
        { "Play Prev at the first cue", &RemoteControlPanel::playPrevButton, 0, 1, { 7 }, {}, 1, {} },
        { "Play Prev before anything played", &RemoteControlPanel::playPrevButton, -1, 1, { 7 }, {}, 1, {} },
        { "Play Next", &RemoteControlPanel::playNextButton, 0, 1, { 6 }, {}, 1, { scroll (1) } },
        { "Play Next past the end", &RemoteControlPanel::playNextButton, 2, 3, { 6 }, {}, 3, {} },
        { "Play Next without a next cue", &RemoteControlPanel::playNextButton, 2, -1, { 6 }, {}, -1, {} },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        setCues (c.current, c.next);
        statements.clear();

        click (c.button);
        const auto records = drain();

        EXPECT_EQ (typesOf (records), c.sent);

        if (c.sentId.isNotEmpty() && records.size() == 1)
        {
            EXPECT_EQ (MessageRecord::text (records[0], "ID"), c.sentId);
        }

        EXPECT_EQ (main.show.nextCue, c.nextAfter);
        EXPECT_EQ (main.show.currentCue, c.current);
        EXPECT_EQ (statements, c.page);
    }
}

TEST_F (ControlPanel, NoButtonActsDuringTheDemoWithoutAShowOrWithoutAClient)
{
    const std::pair<const char*, std::function<void()>> closedGates[] = {
        { "demo", [this] { main.show.demoMode = true; } },
        { "no show", [this] { main.show.showId = -1; } },
        { "no client", [this] { main.remote.reset(); } },
    };

    for (auto& [name, closeGate] : closedGates)
    {
        SCOPED_TRACE (name);
        closeGate();
        setCues (1, 1);
        statements.clear();

        for (auto& [caption, button] : allButtons)
            click (button);

        EXPECT_TRUE (drain().empty());
        EXPECT_TRUE (statements.isEmpty()) << statements.joinIntoString ("\n");
        EXPECT_EQ (main.show.currentCue, 1);
        EXPECT_EQ (main.show.nextCue, 1);

        main.show.demoMode = false;
        main.show.showId = 5;
    }
}

TEST (ControlPanelComponent, ButtonsInOrderWithTheirCaptionsAndBounds)
{
    MainComponent main;
    RemoteControlPanel panel { main };
    panel.setSize (600, 60);

    int i = 0;

    for (auto& [caption, button] : allButtons)
    {
        auto& b = panel.*button;
        EXPECT_EQ (b.getButtonText(), caption);
        EXPECT_TRUE (b.isVisible());
        EXPECT_EQ (panel.getIndexOfChildComponent (&b), i);
        EXPECT_EQ (b.getBounds(), RemoteControlPanel::buttonBounds (600, 60)[(size_t) i]) << caption;
        ++i;
    }
}

TEST (ControlPanelComponent, ATouchButtonTurnsGreenWhileHeldDown)
{
    RemoteControlPanel::TouchButton button;
    button.setSize (80, 50);

    EXPECT_EQ (centreOf (button, juce::Button::buttonNormal), juce::Colour (0xff18181b));
    EXPECT_EQ (centreOf (button, juce::Button::buttonOver), juce::Colour (0xff27272a));
    EXPECT_EQ (centreOf (button, juce::Button::buttonDown), juce::Colour (0xff16a34a));
}
