// MyLookAndFeel's drawing, checked on pixels of images rendered without a window.

#include "lookandfeel/MyLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
constexpr juce::uint32 transparent = 0x00000000;

::testing::AssertionResult colourNear (juce::Colour actual, juce::Colour expected, int tolerance = 3)
{
    const int diffs[] { actual.getAlpha() - expected.getAlpha(), actual.getRed() - expected.getRed(),
        actual.getGreen() - expected.getGreen(), actual.getBlue() - expected.getBlue() };

    for (auto d : diffs)
        if (std::abs (d) > tolerance)
            return ::testing::AssertionFailure()
                << "got " << actual.toDisplayString (true) << ", expected " << expected.toDisplayString (true);

    return ::testing::AssertionSuccess();
}

juce::Image blankImage (int width, int height)
{
    return { juce::Image::ARGB, width, height, true };
}

//==============================================================================
struct ButtonState
{
    bool highlighted, down;
};

juce::Image buttonBackground (MyLookAndFeel& lookAndFeel, juce::TextButton& button, ButtonState state)
{
    auto image = blankImage (button.getWidth(), button.getHeight());
    juce::Graphics g { image };
    g.setColour (juce::Colours::red); // whatever the context holds must not leak into the fill
    lookAndFeel.drawButtonBackground (g, button, juce::Colours::blue, state.highlighted, state.down);
    return image;
}

bool sameImages (const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;

    return true;
}

/** Number of consecutive pixels from (x, y) in direction (dx, dy), both ways, that pass the test. */
template <typename Test>
int runLength (const juce::Image& image, int x, int y, int dx, int dy, Test test)
{
    if (! test (image.getPixelAt (x, y)))
        return 0;

    int n = 1;

    for (int sign : { 1, -1 })
        for (int px = x + sign * dx, py = y + sign * dy;
             image.getBounds().contains (px, py) && test (image.getPixelAt (px, py)); px += sign * dx, py += sign * dy)
            ++n;

    return n;
}
} // namespace

//==============================================================================
TEST (LookAndFeelButtons, FillIsChosenByNameWhateverColoursTheButtonCarries)
{
    MyLookAndFeel lookAndFeel;
    constexpr int w = 100, h = 30;

    // Radial gradients of "primary" and "secondary": centre (0.5, 0.5), reaching (w - 0.5, h - 0.5).
    const auto radialPosition = [] (float x, float y)
    { return std::hypot (x - 0.5f, y - 0.5f) / std::hypot ((float) w - 1.0f, (float) h - 1.0f); };

    struct Case
    {
        const char* name;
        ButtonState state;
        juce::Point<int> at;
        juce::Colour expected;
    };

    const auto between = [&] (juce::uint32 from, juce::uint32 to, juce::Point<int> at)
    {
        return juce::Colour (from).interpolatedWith (juce::Colour (to),
            radialPosition ((float) at.x + 0.5f, (float) at.y + 0.5f));
    };

    const Case cases[] {
        // No name: white, darkened by black at 5 % when hovered and 20 % when pressed.
        { "", { false, false }, { 50, 15 }, juce::Colour (0xffffffff) },
        { "", { true, false }, { 50, 15 }, juce::Colour (0xfff2f2f2) },
        { "", { false, true }, { 50, 15 }, juce::Colour (0xffcccccc) },
        { "", { true, true }, { 50, 15 }, juce::Colour (0xffcccccc) },

        // "main": horizontal gradient pink to violet, slightly transparent when hovered or pressed.
        { "main", { false, false }, { 1, 15 }, juce::Colour (0xffed457a) },
        { "main", { false, false }, { 98, 15 }, juce::Colour (0xffbc69d7) },
        { "main", { false, false }, { 50, 15 },
            juce::Colour (0xffed457a).interpolatedWith (juce::Colour (0xffbc69d7), 0.5f) },
        { "main", { false, false }, { 50, 2 },
            juce::Colour (0xffed457a).interpolatedWith (juce::Colour (0xffbc69d7), 0.5f) },
        { "main", { true, false }, { 1, 15 }, juce::Colour (0xf2ed457a) },
        { "main", { false, true }, { 98, 15 }, juce::Colour (0xd9bc69d7) },

        // "primary": radial grey gradient from the top-left corner, fading like "main".
        { "primary", { false, false }, { 4, 4 }, between (0xff838c93, 0xff5b6366, { 4, 4 }) },
        { "primary", { false, false }, { 50, 15 }, between (0xff838c93, 0xff5b6366, { 50, 15 }) },
        { "primary", { false, false }, { 94, 25 }, between (0xff838c93, 0xff5b6366, { 94, 25 }) },
        { "primary", { false, true }, { 50, 15 }, between (0xd9838c93, 0xd95b6366, { 50, 15 }) },

        // "secondary": a lighter radial grey that never changes.
        { "secondary", { false, false }, { 50, 15 }, between (0xff959595, 0xff646464, { 50, 15 }) },
        { "secondary", { true, true }, { 94, 25 }, between (0xff959595, 0xff646464, { 94, 25 }) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String ("\"") + c.name + "\" highlighted " + juce::String ((int) c.state.highlighted)
            + " down " + juce::String ((int) c.state.down) + " at " + c.at.toString());

        juce::TextButton button;
        button.setName (c.name);
        button.setSize (w, h);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::green);
        button.setColour (juce::TextButton::buttonOnColourId, juce::Colours::green);

        const auto image = buttonBackground (lookAndFeel, button, c.state);
        EXPECT_TRUE (colourNear (image.getPixelAt (c.at.x, c.at.y), c.expected));
    }
}

TEST (LookAndFeelButtons, SecondaryIgnoresHoverAndPressWhileOthersReact)
{
    MyLookAndFeel lookAndFeel;

    for (const auto* name : { "", "main", "primary", "secondary", "Show" })
    {
        SCOPED_TRACE (name);
        juce::TextButton button;
        button.setName (name);
        button.setSize (80, 24);
        button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff3f3f46));

        const auto idle = buttonBackground (lookAndFeel, button, { false, false });
        const auto hover = buttonBackground (lookAndFeel, button, { true, false });
        const auto down = buttonBackground (lookAndFeel, button, { false, true });

        const bool fixed = juce::String (name) == "secondary";
        EXPECT_EQ (sameImages (idle, hover), fixed);
        EXPECT_EQ (sameImages (idle, down), fixed);
        EXPECT_EQ (sameImages (hover, down), fixed);
    }
}

TEST (LookAndFeelButtons, OtherNamesUseTheButtonsOwnColours)
{
    MyLookAndFeel lookAndFeel;
    juce::TextButton button { "MIDI" };
    button.setSize (80, 24);
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff18181b));
    button.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff22c55e));

    EXPECT_TRUE (colourNear (buttonBackground (lookAndFeel, button, { false, false }).getPixelAt (40, 12),
        juce::Colour (0xff18181b), 0));

    const auto hovered = buttonBackground (lookAndFeel, button, { true, false }).getPixelAt (40, 12);
    const auto pressed = buttonBackground (lookAndFeel, button, { false, true }).getPixelAt (40, 12);
    EXPECT_GT (hovered.getPerceivedBrightness(), juce::Colour (0xff18181b).getPerceivedBrightness());
    EXPECT_GT (pressed.getPerceivedBrightness(), hovered.getPerceivedBrightness());

    button.setToggleState (true, juce::dontSendNotification);
    EXPECT_TRUE (colourNear (buttonBackground (lookAndFeel, button, { false, false }).getPixelAt (40, 12),
        juce::Colour (0xff22c55e), 0));

    // A transparent button stays transparent until hovered.
    button.setToggleState (false, juce::dontSendNotification);
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (transparent));
    EXPECT_EQ (buttonBackground (lookAndFeel, button, { false, false }).getPixelAt (40, 12).getAlpha(), 0);
    EXPECT_GT (buttonBackground (lookAndFeel, button, { true, false }).getPixelAt (40, 12).getAlpha(), 0);
}

TEST (LookAndFeelButtons, CornersAreRoundedExceptWhereConnected)
{
    MyLookAndFeel lookAndFeel;
    constexpr int w = 60, h = 30;

    struct Case
    {
        int edges;
        bool topLeft, topRight, bottomLeft, bottomRight; // true: the corner is square
    };

    using B = juce::Button;
    const Case cases[] {
        { 0, false, false, false, false },
        { B::ConnectedOnLeft, true, false, true, false },
        { B::ConnectedOnRight, false, true, false, true },
        { B::ConnectedOnTop, true, true, false, false },
        { B::ConnectedOnBottom, false, false, true, true },
        { B::ConnectedOnLeft | B::ConnectedOnRight, true, true, true, true },
        { B::ConnectedOnLeft | B::ConnectedOnBottom, true, false, true, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("edges " + std::to_string (c.edges));
        juce::TextButton button;
        button.setSize (w, h);
        button.setConnectedEdges (c.edges);
        const auto image = buttonBackground (lookAndFeel, button, { false, false });

        // One pixel in from each corner: covered by a square corner, outside a rounded one (corner 8).
        const std::pair<juce::Point<int>, bool> corners[] { { { 1, 1 }, c.topLeft }, { { w - 2, 1 }, c.topRight },
            { { 1, h - 2 }, c.bottomLeft }, { { w - 2, h - 2 }, c.bottomRight } };

        for (const auto& [at, square] : corners)
        {
            SCOPED_TRACE (at.toString());
            EXPECT_EQ (image.getPixelAt (at.x, at.y).getAlpha() == 255, square);
        }

        EXPECT_TRUE (colourNear (image.getPixelAt (w / 2, h / 2), juce::Colours::white, 0));
        EXPECT_EQ (image.getPixelAt (w / 2, 0).getAlpha() < 255, true); // the half-pixel inset
    }
}

TEST (LookAndFeelButtons, TextIsBlackWithoutANameAndWhiteWithOne)
{
    MyLookAndFeel lookAndFeel;

    for (const auto* name : { "", "main", "Connect" })
    {
        SCOPED_TRACE (name);
        juce::TextButton button { "MMMM" };
        button.setName (name);
        button.setSize (120, 40);
        button.setColour (juce::TextButton::textColourOffId, juce::Colours::red);

        auto image = blankImage (120, 40);
        {
            juce::Graphics g { image };
            lookAndFeel.drawButtonText (g, button, false, false);
        }

        // The most opaque pixel of the label has the label's colour.
        juce::Colour strongest;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (image.getPixelAt (x, y).getAlpha() > strongest.getAlpha())
                    strongest = image.getPixelAt (x, y);

        EXPECT_EQ (strongest.getAlpha(), 255);
        EXPECT_TRUE (
            colourNear (strongest, juce::String (name).isEmpty() ? juce::Colours::black : juce::Colours::white, 0));
    }
}

//==============================================================================
TEST (LookAndFeelSliders, TrackColourAndThumbSizeFollowTheName)
{
    MyLookAndFeel lookAndFeel;
    constexpr juce::uint32 grey = 0xffb4b4b4, pink = 0xffeb578d;

    struct Case
    {
        const char* name;
        juce::uint32 valueTrack;
        int thumbDiameter;
    };

    // A 30 px high horizontal slider has the framework's thumb radius 12.
    const Case cases[] {
        { "", grey, 12 },
        { "track", pink, 12 },
        { "master", pink, 19 },
        { "transport", grey, 19 },
        { "Position", grey, 12 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (MyLookAndFeel::sliderValueTrackColour (c.name), juce::Colour (c.valueTrack));
        EXPECT_FLOAT_EQ (MyLookAndFeel::sliderThumbDiameter (c.name, 12), (float) c.thumbDiameter);

        juce::Slider slider { juce::Slider::LinearHorizontal, juce::Slider::NoTextBox };
        slider.setName (c.name);
        slider.setColour (juce::Slider::trackColourId, juce::Colours::green);
        slider.setColour (juce::Slider::backgroundColourId, juce::Colours::blue);
        slider.setColour (juce::Slider::thumbColourId, juce::Colours::red);
        slider.setRange (0.0, 1.0);
        slider.setValue (0.5, juce::dontSendNotification);
        slider.setLookAndFeel (&lookAndFeel);
        slider.setSize (300, 30);

        const auto image = slider.createComponentSnapshot (slider.getLocalBounds(), true, 1.0f);
        constexpr int midY = 15;

        EXPECT_TRUE (colourNear (image.getPixelAt (60, midY), juce::Colour (c.valueTrack)));
        EXPECT_TRUE (colourNear (image.getPixelAt (240, midY), juce::Colour (0xffdedede)));
        EXPECT_EQ (image.getPixelAt (60, 5).getAlpha(), 0); // the track is 6 px wide

        // The white disc sits on the value point, in the middle.
        const auto white = [] (juce::Colour p)
        { return p.getAlpha() >= 0xe0 && p.getRed() >= 0xe4 && p.getGreen() >= 0xe4 && p.getBlue() >= 0xe4; };
        const auto centreX = (int) slider.getPositionOfValue (0.5);
        EXPECT_NEAR (runLength (image, centreX, midY, 0, 1, white), c.thumbDiameter, 1.0);
        EXPECT_NEAR (runLength (image, centreX, midY, 1, 0, white), c.thumbDiameter, 1.0);

        slider.setLookAndFeel (nullptr);
    }
}

TEST (LookAndFeelSliders, BarStylesFillWithTheTrackColourOnly)
{
    MyLookAndFeel lookAndFeel;
    juce::Slider slider { juce::Slider::LinearBar, juce::Slider::NoTextBox };
    slider.setName ("master");
    slider.setColour (juce::Slider::trackColourId, juce::Colours::green);
    slider.setRange (0.0, 1.0);
    slider.setValue (0.5, juce::dontSendNotification);
    slider.setSize (200, 20);

    auto image = blankImage (200, 20);
    {
        juce::Graphics g { image };
        lookAndFeel.drawLinearSlider (g, 0, 0, 200, 20, 100.0f, 0.0f, 200.0f, juce::Slider::LinearBar, slider);
    }

    EXPECT_TRUE (colourNear (image.getPixelAt (50, 10), juce::Colours::green, 0));
    EXPECT_EQ (image.getPixelAt (150, 10).getAlpha(), 0);
}

//==============================================================================
TEST (LookAndFeelScrollBars, ThumbIsLavenderAndTrackFollowsTheTrackColourId)
{
    MyLookAndFeel lookAndFeel;
    juce::ScrollBar scrollBar { true };
    scrollBar.setColour (juce::ScrollBar::thumbColourId, juce::Colours::red);

    const auto draw = [&]
    {
        auto image = blankImage (16, 200);
        juce::Graphics g { image };
        lookAndFeel.drawScrollbar (g, scrollBar, 0, 0, 16, 200, true, 20, 60, true, true);
        return image;
    };

    auto image = draw();

    // Left half of the thumb: the plain thumb colour, whatever the thumb colour id says.
    EXPECT_TRUE (colourNear (image.getPixelAt (5, 50), juce::Colour (MyLookAndFeel::scrollThumbColour), 1));
    // The right half is shaded slightly.
    EXPECT_LT (image.getPixelAt (11, 50).getBrightness(),
        juce::Colour (MyLookAndFeel::scrollThumbColour).getBrightness());
    // The slot takes the track colour id, which the framework's V4 scheme sets to transparent on
    // the look and feel: only the shading on its right side shows.
    EXPECT_EQ (image.getPixelAt (5, 150).getAlpha(), 0);
    EXPECT_GT (image.getPixelAt (14, 150).getAlpha(), 0);
    EXPECT_TRUE (colourNear (image.getPixelAt (14, 150).withAlpha ((juce::uint8) 255), juce::Colours::black, 0));
    // Outside the rounded slot nothing is painted.
    EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0);

    scrollBar.setColour (juce::ScrollBar::trackColourId, juce::Colours::green);
    image = draw();
    EXPECT_TRUE (colourNear (image.getPixelAt (5, 150), juce::Colours::green, 1));
    EXPECT_TRUE (colourNear (image.getPixelAt (5, 199), juce::Colour (transparent), 0)); // rounded slot end
    EXPECT_TRUE (colourNear (image.getPixelAt (5, 50), juce::Colour (MyLookAndFeel::scrollThumbColour), 1));
}

//==============================================================================
namespace
{
juce::Image menuItem (MyLookAndFeel& lookAndFeel, bool active, bool highlighted, bool ticked,
    const juce::String& text = {})
{
    auto image = blankImage (200, 30);
    juce::Graphics g { image };
    const juce::Colour given { juce::Colours::red };
    lookAndFeel.drawPopupMenuItem (g, { 0, 0, 200, 30 }, false, active, highlighted, ticked, false, text, {}, nullptr,
        &given);
    return image;
}
} // namespace

TEST (LookAndFeelMenus, HighlightOnlyActiveItemsAndTickWithADot)
{
    MyLookAndFeel lookAndFeel;

    struct Case
    {
        bool active, highlighted, ticked;
        juce::uint32 background, dot;
    };

    constexpr juce::uint32 blue = MyLookAndFeel::menuHighlightColour, black = 0xff000000;
    const Case cases[] {
        { true, false, false, transparent, transparent },
        { true, true, false, blue, blue },
        { false, true, false, transparent, transparent },
        { true, false, true, transparent, black },
        { false, false, true, transparent, black },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("active " + std::to_string (c.active) + " highlighted " + std::to_string (c.highlighted)
            + " ticked " + std::to_string (c.ticked));
        const auto image = menuItem (lookAndFeel, c.active, c.highlighted, c.ticked);

        EXPECT_TRUE (colourNear (image.getPixelAt (3, 3), juce::Colour (c.background), 0));
        EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0); // the item is inset by 1

        // The dot: a filled circle at (11, 6, 12, 18), so solid in its middle and round (not a
        // tick) at the top and bottom: the middle row is as wide as the disc.
        EXPECT_TRUE (colourNear (image.getPixelAt (17, 15), juce::Colour (c.dot), 0));

        if (c.ticked)
        {
            const auto solid = [] (juce::Colour p) { return p.getAlpha() >= 128; };
            EXPECT_NEAR (runLength (image, 17, 15, 1, 0, solid), 12, 1);
            EXPECT_NEAR (runLength (image, 17, 15, 0, 1, solid), 18, 1);
            EXPECT_LT (runLength (image, 17, 7, 1, 0, solid), 8);
        }
    }
}

TEST (LookAndFeelMenus, InactiveItemsAreNotDimmed)
{
    MyLookAndFeel lookAndFeel;
    EXPECT_TRUE (sameImages (menuItem (lookAndFeel, true, false, false, "Paste"),
        menuItem (lookAndFeel, false, false, false, "Paste")));
    EXPECT_FALSE (
        sameImages (menuItem (lookAndFeel, true, false, false, "Paste"), menuItem (lookAndFeel, true, false, false)));
}

TEST (LookAndFeelMenus, SeparatorLine)
{
    struct Case
    {
        juce::Rectangle<int> area, line;
    };

    const Case cases[] {
        { { 0, 0, 200, 9 }, { 5, 4, 190, 1 } },
        { { 10, 20, 100, 21 }, { 15, 30, 90, 1 } },
        { { 0, 0, 200, 1 }, { 5, 0, 190, 1 } },
        { { 0, 0, 200, 0 }, { 5, 0, 190, 0 } },
        { { 3, 0, 8, 9 }, { 8, 4, 0, 1 } },
    };

    for (const auto& c : cases)
        EXPECT_EQ (MyLookAndFeel::separatorLine (c.area), c.line) << c.area.toString();

    MyLookAndFeel lookAndFeel;
    lookAndFeel.setColour (juce::PopupMenu::textColourId, juce::Colours::white);
    auto image = blankImage (200, 9);
    {
        juce::Graphics g { image };
        lookAndFeel.drawPopupMenuItem (g, { 0, 0, 200, 9 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
    }

    EXPECT_TRUE (colourNear (image.getPixelAt (100, 4), juce::Colour (0x4cffffff), 1));
    EXPECT_EQ (image.getPixelAt (100, 3).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (100, 5).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (4, 4).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (195, 4).getAlpha(), 0);
}

TEST (LookAndFeelMenus, BackgroundIsLeftUnpainted)
{
    MyLookAndFeel lookAndFeel;
    auto image = blankImage (50, 50);
    {
        juce::Graphics g { image };
        lookAndFeel.drawPopupMenuBackground (g, 50, 50);
    }
    EXPECT_TRUE (sameImages (image, blankImage (50, 50)));
}

//==============================================================================
TEST (LookAndFeelComboBoxes, OutlineArrowAndWhiteLabel)
{
    MyLookAndFeel lookAndFeel;
    juce::ComboBox box;
    box.setColour (juce::ComboBox::backgroundColourId, juce::Colours::red);
    box.setSize (150, 30);
    box.setLookAndFeel (&lookAndFeel);

    const auto image = box.createComponentSnapshot (box.getLocalBounds(), true, 1.0f);
    EXPECT_EQ (image.getPixelAt (60, 15).getAlpha(), 0); // no background
    EXPECT_TRUE (
        colourNear (image.getPixelAt (75, 0).withAlpha ((juce::uint8) 255), juce::Colour (0xffb8b8b8), 1)); // outline
    const auto arrow = image.getPixelAt (130, 16); // the arrow's tip is at (130, 18)
    EXPECT_GT (arrow.getAlpha(), 0x60);
    EXPECT_TRUE (colourNear (arrow.withAlpha ((juce::uint8) 255), juce::Colour (0xffb8b8b8), 1));

    auto* label = dynamic_cast<juce::Label*> (box.getChildComponent (0));
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::white);
    EXPECT_EQ (&label->getLookAndFeel(), &lookAndFeel);

    label->setLookAndFeel (nullptr);
    box.setLookAndFeel (nullptr);
}
