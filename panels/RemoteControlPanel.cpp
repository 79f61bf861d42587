#include "RemoteControlPanel.h"

RemoteControlPanel::RemoteControlPanel (MainComponent& ownerToUse) : mainComponent (ownerToUse)
{
    juce::ignoreUnused (mainComponent);
}
