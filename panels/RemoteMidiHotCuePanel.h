#pragma once

#include "HotCue.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/** The show's MIDI hot cues as a grid of buttons (message thread). */
class RemoteMidiHotCuePanel : public juce::Component
{
public:
    explicit RemoteMidiHotCuePanel (MainComponent& owner);

    /** Replaces the cues and rebuilds the grid. */
    void setHotCues (std::vector<HotCue> cues);
    const std::vector<HotCue>& getHotCues() const noexcept { return hotCues; }

private:
    MainComponent& owner;
    std::vector<HotCue> hotCues;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteMidiHotCuePanel)
};
