#include "RemoteMidiHotCuePanel.h"

RemoteMidiHotCuePanel::RemoteMidiHotCuePanel (MainComponent& ownerToUse) : owner (ownerToUse)
{
    juce::ignoreUnused (owner);
}

void RemoteMidiHotCuePanel::setHotCues (std::vector<HotCue> cues)
{
    hotCues = std::move (cues);
    repaint();
}
