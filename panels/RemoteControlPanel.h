#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/** The transport buttons of the show screen (message thread). */
class RemoteControlPanel : public juce::Component
{
public:
    explicit RemoteControlPanel (MainComponent& owner);

private:
    MainComponent& mainComponent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteControlPanel)
};
