#pragma once

#include <juce_gui_extra/juce_gui_extra.h>

class MainComponent;

/** The show screen and the owner of the show state (message thread only). */
class Show : public juce::Component, private juce::Timer
{
public:
    explicit Show (MainComponent& owner);
    ~Show() override;

    void paint (juce::Graphics& g) override;

    /** Redraws the header from the host texts, the status and the latency. */
    void updateHeaderText();

    /** Shows the round trip in milliseconds; -1 resets the display. */
    void setLatency (int milliseconds);

    /** Stops the panel animation (used by the main component's tear-down). */
    void stopAnimation() { stopTimer(); }

    /** Destroys the web view before the rest of the show view goes. */
    void destroyWebView();

    juce::String statusText { "No connection" };
    juce::Colour statusColour { 0xffa1a1aa };
    juce::String connectAddress, connectName, hostName, showName;
    int showId = -1;
    int latencyMs = -1;

private:
    void timerCallback() override {}

    MainComponent& owner;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Show)
};
