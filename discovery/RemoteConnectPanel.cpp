#include "RemoteConnectPanel.h"

RemoteConnectPanel::RemoteConnectPanel (MainComponent& ownerToUse) : owner (ownerToUse)
{
    juce::ignoreUnused (owner);
}

RemoteConnectPanel::~RemoteConnectPanel()
{
    stopDiscovery();
}

void RemoteConnectPanel::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff18181b));
}

void RemoteConnectPanel::stopDiscovery() {}
