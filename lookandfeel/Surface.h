#pragma once

#include <juce_graphics/juce_graphics.h>

/** The program's rounded card: a filled rounded rectangle with a one-pixel outline, placed on
    the half-pixel grid so that the outline stays sharp. Shared by the panels and cards. */
struct Surface
{
    /** A component's bounds inset by half a pixel: (0.5, 0.5, width - 1, height - 1), never negative. */
    static juce::Rectangle<float> cardArea (int width, int height);

    static void paintCard (juce::Graphics& g, juce::Rectangle<float> area, float cornerSize, juce::Colour fill,
        juce::Colour outline);
};
