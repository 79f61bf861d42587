#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace RemoteUI
{
/** A labelled value card of the show screen (message thread). */
class StatusCard : public juce::Component
{
public:
    StatusCard (const juce::String& title, juce::Colour accent);

    void setValue (const juce::String& text) { valueLabel.setText (text, juce::dontSendNotification); }
    juce::String getValue() const { return valueLabel.getText(); }

    void resized() override;

private:
    juce::Label titleLabel, valueLabel;
    juce::Colour accent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusCard)
};
} // namespace RemoteUI
