#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

class MainComponent;
class RCClient;

/**
    The show screen's row of transport buttons: play, pause, stop, choose the previous or next
    cue as the next one, play the previous or next cue. Each click goes to the host through the
    main component's client, and only while no demo runs, a client is live and a show is loaded.

    Message thread only.
*/
class RemoteControlPanel : public juce::Component
{
public:
    /** A large button drawn as a rounded card that turns green while held down. */
    class TouchButton : public juce::TextButton
    {
    public:
        using juce::TextButton::TextButton;

        void paintButton (juce::Graphics& g, bool highlighted, bool down) override;

        static juce::Colour bodyColour (bool highlighted, bool down);
    };

    explicit RemoteControlPanel (MainComponent& owner);

    void paint (juce::Graphics& g) override;
    void resized() override;

    static constexpr int numButtons = 7;

    /** The bounds of the buttons, in the order Play, Pause, Stop, Select Prev, Select Next,
        Play Prev, Play Next, for a panel of the given size. */
    static std::array<juce::Rectangle<int>, numButtons> buttonBounds (int width, int height);

private:
    MainComponent& mainComponent;

public:
    TouchButton playButton { "Play" };
    TouchButton pauseButton { "Pause" };
    TouchButton stopButton { "Stop" };
    TouchButton selectPrevButton { "Select Prev" };
    TouchButton selectNextButton { "Select Next" };
    TouchButton playPrevButton { "Play Prev" };
    TouchButton playNextButton { "Play Next" };

private:
    std::array<TouchButton*, numButtons> buttonsInOrder();

    /** The client when a command may go to the host, null otherwise. */
    RCClient* commandClient() const;

    void selectPrev();
    void selectNext();
    void playPrev();
    void playNext();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteControlPanel)
};
