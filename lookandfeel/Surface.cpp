#include "Surface.h"

juce::Rectangle<float> Surface::cardArea (int width, int height)
{
    return { 0.5f, 0.5f, (float) juce::jmax (width - 1, 0), (float) juce::jmax (height - 1, 0) };
}

void Surface::paintCard (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize, juce::Colour fill,
    juce::Colour outline)
{
    g.setColour (fill);
    g.fillRoundedRectangle (area, cornerSize);
    g.setColour (outline);
    g.drawRoundedRectangle (area, cornerSize, 1.0f);
}
