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

void RemotePinOverlay::showForHost (const juce::String& hostText)
{
    hostLabelText = hostText;
    pinField.clear();
    errorLabel.setText ({}, juce::dontSendNotification);
    setVisible (true);
    toFront (true);
    pinField.grabKeyboardFocus();
}

void RemotePinOverlay::showError (const juce::String& text)
{
    errorLabel.setText (text, juce::dontSendNotification);
    pinField.grabKeyboardFocus();
    pinField.selectAll();
}
