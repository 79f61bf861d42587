#include "StatusCard.h"

namespace RemoteUI
{
StatusCard::StatusCard (const juce::String& title, juce::Colour accentColour) : accent (accentColour)
{
    titleLabel.setText (title, juce::dontSendNotification);
    valueLabel.setText ("-", juce::dontSendNotification);
    addAndMakeVisible (titleLabel);
    addAndMakeVisible (valueLabel);
}

void StatusCard::resized()
{
    auto area = getLocalBounds();
    titleLabel.setBounds (area.removeFromTop (area.getHeight() / 2));
    valueLabel.setBounds (area);
}
} // namespace RemoteUI
