#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's look and feel, set on the main component and inherited by all its children. */
class MyLookAndFeel : public juce::LookAndFeel_V4
{
public:
    MyLookAndFeel();

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyLookAndFeel)
};
