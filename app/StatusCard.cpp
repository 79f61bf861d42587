#include "StatusCard.h"

#include "../lookandfeel/Surface.h"

namespace RemoteUI
{
StatusCard::StatusCard (const juce::String& titleText, juce::Colour accentColour)
    : title (titleText), accent (accentColour)
{
    // Clicks on the value belong to the card.
    valueLabel.setInterceptsMouseClicks (false, false);
    valueLabel.setColour (juce::Label::textColourId, juce::Colour (0xfffafafa));
    valueLabel.setFont (juce::FontOptions (14.0f, juce::Font::plain));
    valueLabel.setJustificationType (juce::Justification::centredLeft);
    addAndMakeVisible (valueLabel);
}

StatusCard::Metrics StatusCard::metricsFor (int width, int height)
{
    const bool roomy = height >= 58;
    Metrics m;
    m.padding = roomy ? 12 : 8;
    m.topInset = roomy ? 10 : 5;
    m.innerHeight = juce::jmax (0, height - 2 * m.topInset);
    m.titleHeight = juce::jmin (m.innerHeight, roomy ? 16 : 12);

    const auto textWidth = juce::jmax (width - 2 * m.padding, 8) - 8;
    m.value = { roomy ? 20 : 16, roomy ? 28 : 18, textWidth, juce::jmax (0, m.innerHeight - (roomy ? 18 : 13)) };
    m.valueFontHeight = roomy ? 14.0f : 12.0f;
    return m;
}

void StatusCard::paint (juce::Graphics& g)
{
    const auto m = metricsFor (getWidth(), getHeight());
    Surface::paintCard (g, Surface::cardArea (getWidth(), getHeight()), 8.0f, juce::Colour (0xff18181b),
        juce::Colour (0xff27272a));

    g.setColour (accent);
    g.fillRoundedRectangle ((float) m.padding, (float) m.topInset, 3.0f, (float) (m.innerHeight - 2), 1.5f);

    g.setColour (juce::Colour (0xff71717a));
    g.setFont (juce::FontOptions (12.0f, juce::Font::plain));
    g.drawText (title, m.padding + 8, m.topInset, juce::jmax (getWidth() - 2 * m.padding, 8) - 8, m.titleHeight,
        juce::Justification::centredLeft, true);
}

void StatusCard::resized()
{
    const auto m = metricsFor (getWidth(), getHeight());
    valueLabel.setBounds (m.value);
    valueLabel.setFont (juce::FontOptions (m.valueFontHeight, juce::Font::plain));
}
} // namespace RemoteUI
