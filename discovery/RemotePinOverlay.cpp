#include "RemotePinOverlay.h"

RemotePinOverlay::RemotePinOverlay (MainComponent& ownerToUse) : owner (ownerToUse)
{
    juce::ignoreUnused (owner);
    addAndMakeVisible (pinField);
    addAndMakeVisible (errorLabel);
    pinField.onReturnKey = [this]
    {
        if (onSubmit)
            onSubmit (pinField.getText());
    };
}

void RemotePinOverlay::resized()
{
    auto area = getLocalBounds().withSizeKeepingCentre (260, 90);
    pinField.setBounds (area.removeFromTop (44));
    errorLabel.setBounds (area);
}

void RemotePinOverlay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xcc000000));
}
