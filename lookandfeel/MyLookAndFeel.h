#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

/** The program's look and feel, set on the main component and inherited by all its children.

    Component names double as style keys: text buttons named "main", "primary" or "secondary"
    and sliders named "track", "master" or "transport" are drawn specially. Colours are fixed in
    the drawing code; the framework's dark V4 scheme stays in effect for everything else. All
    drawing runs on the message thread and keeps no state between calls.
*/
class MyLookAndFeel : public juce::LookAndFeel_V4
{
public:
    MyLookAndFeel();

    //==============================================================================
    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
        bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool isMouseOver, bool isMouseDown) override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
        bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted,
        bool shouldDrawButtonAsDown) override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;
    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area, bool isSeparator, bool isActive,
        bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
        const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour* textColour) override;
    void drawPopupMenuSectionHeader (juce::Graphics&, const juce::Rectangle<int>& area,
        const juce::String& sectionName) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown, int buttonX, int buttonY, int buttonW,
        int buttonH, juce::ComboBox&) override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
        float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;

    //==============================================================================
    // The choices behind the drawing, as plain functions of plain values.

    /** The font of a text button's label: the Medium face at 0.6 of the button's height. */
    static juce::Font buttonFont (int buttonHeight);

    /** The font of pop-up menu items: the Medium face at height 22. */
    static juce::Font menuItemFont();

    /** The font of pop-up menu section headers: the SemiBold face at its default height plus 8. */
    static juce::Font sectionHeaderFont();

    /** The area a button's background fills: its bounds inset by half a pixel. */
    static juce::Rectangle<float> buttonArea (int width, int height);

    /** The gradient of a button named "main", "primary" or "secondary" over the given area,
        or nothing for any other name. Hovered or pressed "main" and "primary" gradients turn
        slightly transparent; "secondary" never changes. */
    static std::optional<juce::ColourGradient> namedButtonGradient (const juce::String& name,
        juce::Rectangle<float> area, bool highlighted, bool down);

    /** The fill of a button without a name: white, darkened a little when hovered, more when pressed. */
    static juce::Colour plainButtonColour (bool highlighted, bool down);

    /** The fill of a button with any other name: its own button colour (the "on" colour when
        toggled on), lightened a little when hovered and more when pressed, so that the dark
        fills the panels give their buttons stay readable and still react. */
    static juce::Colour otherButtonColour (juce::Colour buttonColour, bool highlighted, bool down);

    /** The label colour of a text button: black without a name, white with one. */
    static juce::Colour buttonTextColour (const juce::String& name);

    /** The value-track colour of a linear slider with the given name. */
    static juce::Colour sliderValueTrackColour (const juce::String& name);

    /** The thumb diameter of a linear slider with the given name and framework thumb radius. */
    static float sliderThumbDiameter (const juce::String& name, int thumbRadius);

    /** The line a pop-up menu separator fills within the item's area. */
    static juce::Rectangle<int> separatorLine (juce::Rectangle<int> area);

    static constexpr juce::uint32 scrollThumbColour = 0xffc5c3fc;
    static constexpr juce::uint32 sliderBackgroundTrackColour = 0xffdedede;
    static constexpr juce::uint32 menuHighlightColour = 0xffa1c7fb;
    static constexpr juce::uint32 comboBoxOutlineColour = 0xffb8b8b8;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyLookAndFeel)
};
