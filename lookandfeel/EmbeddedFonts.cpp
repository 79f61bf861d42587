#include "EmbeddedFonts.h"

#include <EmbeddedFontData.h>

namespace
{
juce::Typeface::Ptr typefaceFrom (const char* data, int size)
{
    return juce::Typeface::createSystemTypefaceFor (data, (size_t) size);
}

/** Members are built in declaration order: the typefaces by weight, then the fonts. They are
    released in reverse order when the process exits. */
struct Faces
{
    juce::Typeface::Ptr mediumFace =
        typefaceFrom (EmbeddedFontData::IBMPlexSansThaiMedium_ttf, EmbeddedFontData::IBMPlexSansThaiMedium_ttfSize);
    juce::Typeface::Ptr semiBoldFace =
        typefaceFrom (EmbeddedFontData::IBMPlexSansThaiSemiBold_ttf, EmbeddedFontData::IBMPlexSansThaiSemiBold_ttfSize);

    juce::Font medium { juce::FontOptions().withTypeface (mediumFace) };
    juce::Font semiBold { juce::FontOptions().withTypeface (semiBoldFace) };
};

const Faces& faces()
{
    static const Faces instance;
    return instance;
}

// Builds the faces during static initialisation, so that no drawing call pays for it later.
[[maybe_unused]] const Faces& facesAtStartUp = faces();
} // namespace

namespace EmbeddedFonts
{
const juce::Font& medium()
{
    return faces().medium;
}

const juce::Font& semiBold()
{
    return faces().semiBold;
}
} // namespace EmbeddedFonts
