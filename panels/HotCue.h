#pragma once

#include <juce_core/juce_core.h>

/** One MIDI hot cue as the host lists it. */
struct HotCue
{
    juce::String cueName;
    juce::String colourCode;

    bool operator== (const HotCue& other) const { return cueName == other.cueName && colourCode == other.colourCode; }
};
