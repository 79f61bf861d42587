#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace RemoteUI
{
/**
    A small read-only card showing one labelled value: a dark rounded panel with a coloured
    accent bar, a grey title and the value below it. Roomy from 58 px high, compact below.
    Message thread only.
*/
class StatusCard : public juce::Component
{
public:
    StatusCard (const juce::String& title, juce::Colour accent);

    void paint (juce::Graphics& g) override;
    void resized() override;

    void setValue (const juce::String& text) { valueLabel.setText (text, juce::dontSendNotification); }
    juce::String getValue() const { return valueLabel.getText(); }

    struct Metrics
    {
        int padding, topInset, innerHeight, titleHeight;
        juce::Rectangle<int> value;
        float valueFontHeight;
    };

    /** The card's arithmetic for a size. */
    static Metrics metricsFor (int width, int height);

    const juce::String title;
    const juce::Colour accent;
    juce::Label valueLabel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StatusCard)
};
} // namespace RemoteUI
