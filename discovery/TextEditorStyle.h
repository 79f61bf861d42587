#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's text-field style, shared by the PIN field and the address field. */
void styleTextEditor (juce::TextEditor& editor);
