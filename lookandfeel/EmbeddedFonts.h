#pragma once

#include <juce_graphics/juce_graphics.h>

/** The IBM Plex Sans Thai faces carried inside the program, for the native interface.

    The typefaces and the fonts built from them are created once, in weight order, during
    static initialisation on the main thread (before the application object exists), and live
    until the process exits. Afterwards they are only read, on the message thread. Each font
    has the framework's default height; users copy a font and change the copy's height.
*/
namespace EmbeddedFonts
{
/** IBM Plex Sans Thai Medium (weight 500): button texts and pop-up menu items. */
const juce::Font& medium();

/** IBM Plex Sans Thai SemiBold (weight 600): pop-up menu section headers. */
const juce::Font& semiBold();
} // namespace EmbeddedFonts
