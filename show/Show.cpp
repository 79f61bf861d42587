#include "Show.h"

Show::Show (MainComponent& ownerToUse) : owner (ownerToUse)
{
    juce::ignoreUnused (owner);
}

Show::~Show()
{
    stopTimer();
}

void Show::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff09090b));
}

void Show::updateHeaderText()
{
    repaint();
}

void Show::setLatency (int milliseconds)
{
    latencyMs = milliseconds;
    updateHeaderText();
}

void Show::destroyWebView() {}
