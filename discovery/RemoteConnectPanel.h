#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/** The connect screen: discovered hosts, a typed address, recent hosts and the demo. */
class RemoteConnectPanel : public juce::Component
{
public:
    explicit RemoteConnectPanel (MainComponent& owner);
    ~RemoteConnectPanel() override;

    void paint (juce::Graphics& g) override;

    /** Stops listening to the host browser and stops it; safe to call more than once. */
    void stopDiscovery();

private:
    MainComponent& owner;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteConnectPanel)
};
