#include "TextEditorStyle.h"

void styleTextEditor (juce::TextEditor& editor)
{
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xff18181b));
    editor.setColour (juce::TextEditor::textColourId, juce::Colour (0xfffafafa));
    editor.setColour (juce::TextEditor::outlineColourId, juce::Colour (0xff3f3f46));
    editor.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colour (0xff22c55e));
    editor.setFont (juce::Font (juce::FontOptions()));
}
