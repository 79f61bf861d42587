// The embedded IBM Plex Sans Thai faces and the fonts the look and feel draws text with.

#include "lookandfeel/EmbeddedFonts.h"
#include "lookandfeel/MyLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{
struct FontCase
{
    const char* what;
    juce::Font font;
    const char* style;
    float height;
};

void expectFace (const FontCase& c)
{
    SCOPED_TRACE (c.what);
    auto typeface = c.font.getTypefacePtr();
    ASSERT_NE (typeface, nullptr);
    EXPECT_EQ (typeface->getName(), "IBM Plex Sans Thai");
    EXPECT_EQ (typeface->getStyle(), c.style);
    EXPECT_EQ (c.font.getTypefaceName(), "IBM Plex Sans Thai");
    EXPECT_FLOAT_EQ (c.font.getHeight(), c.height);

    // The face really is the embedded one: it has glyphs for Latin and Thai text.
    EXPECT_GT (juce::GlyphArrangement::getStringWidth (c.font, "Play"), 0.0f);
    EXPECT_GT (juce::GlyphArrangement::getStringWidth (c.font,
                   juce::String::fromUTF8 ("\xe0\xb9\x80\xe0\xb8\x9e\xe0\xb8\xa5\xe0\xb8\x87")),
        0.0f);
}
} // namespace

TEST (EmbeddedFonts, SharedFontsAreTheEmbeddedFacesAtTheDefaultHeight)
{
    expectFace ({ "medium", EmbeddedFonts::medium(), "Medium", 14.0f });
    expectFace ({ "semiBold", EmbeddedFonts::semiBold(), "SemiBold", 14.0f });

    // Every call hands out the same font objects, built once.
    EXPECT_EQ (&EmbeddedFonts::medium(), &EmbeddedFonts::medium());
    EXPECT_EQ (EmbeddedFonts::medium().getTypefacePtr(), EmbeddedFonts::medium().getTypefacePtr());
}

TEST (EmbeddedFonts, LookAndFeelDrawsButtonsAndMenusWithThem)
{
    MyLookAndFeel lookAndFeel;
    juce::TextButton button { "Play" };

    const FontCase cases[] {
        { "button of height 30", lookAndFeel.getTextButtonFont (button, 30), "Medium", 18.0f },
        { "button of height 40", lookAndFeel.getTextButtonFont (button, 40), "Medium", 24.0f },
        { "button of height 25", MyLookAndFeel::buttonFont (25), "Medium", 15.0f },
        { "menu item", MyLookAndFeel::menuItemFont(), "Medium", 22.0f },
        { "menu section header", MyLookAndFeel::sectionHeaderFont(), "SemiBold", 22.0f },
    };

    for (const auto& c : cases)
        expectFace (c);
}

TEST (EmbeddedFonts, UsersChangeCopiesNotTheSharedFonts)
{
    MyLookAndFeel lookAndFeel;
    juce::TextButton button;
    [[maybe_unused]] auto big = lookAndFeel.getTextButtonFont (button, 100);
    [[maybe_unused]] auto item = MyLookAndFeel::menuItemFont();
    [[maybe_unused]] auto header = MyLookAndFeel::sectionHeaderFont();

    EXPECT_FLOAT_EQ (EmbeddedFonts::medium().getHeight(), 14.0f);
    EXPECT_FLOAT_EQ (EmbeddedFonts::semiBold().getHeight(), 14.0f);
}
