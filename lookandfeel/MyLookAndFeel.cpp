#include "MyLookAndFeel.h"

#include "Surface.h"

#include "EmbeddedFonts.h"

MyLookAndFeel::MyLookAndFeel()
{
    // Alert windows use the platform's own dialogs, whichever look and feel is the default.
    juce::LookAndFeel::getDefaultLookAndFeel().setUsingNativeAlertWindows (true);
    setUsingNativeAlertWindows (true);
}

//==============================================================================
juce::Font MyLookAndFeel::buttonFont (int buttonHeight)
{
    auto font = EmbeddedFonts::medium();
    font.setHeight (0.6f * (float) buttonHeight);
    return font;
}

juce::Font MyLookAndFeel::menuItemFont()
{
    auto font = EmbeddedFonts::medium();
    font.setHeight (22.0f);
    return font;
}

juce::Font MyLookAndFeel::sectionHeaderFont()
{
    auto font = EmbeddedFonts::semiBold();
    font.setHeight (font.getHeight() + 8.0f);
    return font;
}

juce::Rectangle<float> MyLookAndFeel::buttonArea (int width, int height)
{
    return Surface::cardArea (width, height);
}

std::optional<juce::ColourGradient> MyLookAndFeel::namedButtonGradient (const juce::String& name,
    juce::Rectangle<float> area, bool highlighted, bool down)
{
    const auto x = area.getX();
    const auto y = area.getY();
    const auto right = area.getWidth() + x;
    const auto bottom = area.getHeight() + y;

    auto fade = [highlighted, down] (juce::Colour c)
    {
        if (! (highlighted || down))
            return c;

        return c.withMultipliedAlpha (down ? 0.85f : 0.95f);
    };

    if (name == "main")
        return juce::ColourGradient (fade (juce::Colour (0xffed457a)), x, y, fade (juce::Colour (0xffbc69d7)), right, y,
            false);

    if (name == "primary")
        return juce::ColourGradient (fade (juce::Colour (0xff838c93)), x, y, fade (juce::Colour (0xff5b6366)), right,
            bottom, true);

    if (name == "secondary")
        return juce::ColourGradient (juce::Colour (0xff959595), x, y, juce::Colour (0xff646464), right, bottom, true);

    return std::nullopt;
}

juce::Colour MyLookAndFeel::plainButtonColour (bool highlighted, bool down)
{
    const juce::Colour white { 0xffffffff };

    if (! (highlighted || down))
        return white;

    return white.contrasting (down ? 0.2f : 0.05f);
}

juce::Colour MyLookAndFeel::otherButtonColour (juce::Colour buttonColour, bool highlighted, bool down)
{
    if (! (highlighted || down))
        return buttonColour;

    return buttonColour.overlaidWith (juce::Colours::white.withAlpha (down ? 0.16f : 0.08f));
}

juce::Colour MyLookAndFeel::buttonTextColour (const juce::String& name)
{
    return juce::Colour (name.isEmpty() ? 0xff000000 : 0xffffffff);
}

juce::Colour MyLookAndFeel::sliderValueTrackColour (const juce::String& name)
{
    return juce::Colour (name == "track" || name == "master" ? 0xffeb578d : 0xffb4b4b4);
}

float MyLookAndFeel::sliderThumbDiameter (const juce::String& name, int thumbRadius)
{
    return (float) (name == "transport" || name == "master" ? thumbRadius + 7 : thumbRadius);
}

juce::Rectangle<int> MyLookAndFeel::separatorLine (juce::Rectangle<int> area)
{
    const auto height = juce::jmax (area.getHeight(), 0);
    const auto offset = juce::jmin (height, juce::roundToInt (0.5f * (float) height - 0.5f));
    return { area.getX() + 5, area.getY() + offset, juce::jmax (area.getWidth() - 10, 0),
        juce::jmin (1, height - offset) };
}

//==============================================================================
void MyLookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar& scrollBar, int x, int y, int width, int height,
    bool isScrollbarVertical, int thumbStartPosition, int thumbSize, bool, bool)
{
    g.setColour (juce::Colours::transparentBlack);
    g.fillRect (x, y, width, height);

    const auto slotIndent = juce::jmin (width, height) > 15 ? 1.0f : 0.0f;
    const auto thumbIndent = slotIndent + 1.0f;
    const auto fx = (float) x, fy = (float) y, fw = (float) width, fh = (float) height;

    juce::Path slotPath, thumbPath;
    const auto slotW = fw - 2.0f * slotIndent;
    const auto slotH = fh - 2.0f * slotIndent;
    slotPath.addRoundedRectangle (fx + slotIndent, fy + slotIndent, slotW, slotH,
        0.5f * (isScrollbarVertical ? slotW : slotH));

    if (thumbSize > 0)
    {
        if (isScrollbarVertical)
        {
            const auto w = fw - 2.0f * thumbIndent;
            thumbPath.addRoundedRectangle (fx + thumbIndent, (float) thumbStartPosition + thumbIndent, w,
                (float) thumbSize - 2.0f * thumbIndent, 0.5f * w);
        }
        else
        {
            const auto h = fh - 2.0f * thumbIndent;
            thumbPath.addRoundedRectangle ((float) thumbStartPosition + thumbIndent, fy + thumbIndent,
                (float) thumbSize - 2.0f * thumbIndent, h, 0.5f * h);
        }
    }

    float gx1 = 0.0f, gy1 = 0.0f, gx2 = 0.0f, gy2 = 0.0f;

    if (isScrollbarVertical)
    {
        gx1 = fx;
        gx2 = fx + 0.7f * fw;
    }
    else
    {
        gy1 = fy;
        gy2 = fy + 0.7f * fh;
    }

    juce::Colour track1 { 0xff8f8eb8 }, track2 { 0xffb0afe2 };

    if (scrollBar.isColourSpecified (juce::ScrollBar::trackColourId)
        || isColourSpecified (juce::ScrollBar::trackColourId))
        track1 = track2 = scrollBar.findColour (juce::ScrollBar::trackColourId);

    g.setGradientFill (juce::ColourGradient (track1, gx1, gy1, track2, gx2, gy2, false));
    g.fillPath (slotPath);

    if (isScrollbarVertical)
    {
        gx1 = fx + 0.6f * fw;
        gx2 = fx + fw;
    }
    else
    {
        gy1 = fy + 0.6f * fh;
        gy2 = fy + fh;
    }

    g.setGradientFill (
        juce::ColourGradient (juce::Colours::transparentBlack, gx1, gy1, juce::Colour (0x19000000), gx2, gy2, false));
    g.fillPath (slotPath);

    g.setColour (juce::Colour (scrollThumbColour));
    g.fillPath (thumbPath);

    {
        juce::Graphics::ScopedSaveState state (g);

        if (isScrollbarVertical)
            g.reduceClipRegion (x + width / 2, y, width, height);
        else
            g.reduceClipRegion (x, y + height / 2, width, height);

        g.setGradientFill (juce::ColourGradient (juce::Colour (0x10000000), gx1, gy1, juce::Colours::transparentBlack,
            gx2, gy2, false));
        g.fillPath (thumbPath);
    }

    g.setColour (juce::Colour (0x4c000000));
    g.strokePath (thumbPath, juce::PathStrokeType (0.4f));
}

//==============================================================================
juce::Font MyLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return buttonFont (buttonHeight);
}

void MyLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&,
    bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto area = buttonArea (button.getWidth(), button.getHeight());
    const auto name = button.getName();

    if (name.isEmpty())
    {
        g.setColour (plainButtonColour (shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown));
    }
    else if (auto gradient = namedButtonGradient (name, area, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown))
    {
        g.setGradientFill (*gradient);
    }
    else
    {
        const auto colourId =
            button.getToggleState() ? juce::TextButton::buttonOnColourId : juce::TextButton::buttonColourId;
        g.setColour (
            otherButtonColour (button.findColour (colourId), shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown));
    }

    constexpr auto cornerSize = 8.0f;
    const auto left = button.isConnectedOnLeft();
    const auto right = button.isConnectedOnRight();
    const auto top = button.isConnectedOnTop();
    const auto bottom = button.isConnectedOnBottom();

    if (left || right || top || bottom)
    {
        juce::Path path;
        path.addRoundedRectangle (area.getX(), area.getY(), area.getWidth(), area.getHeight(), cornerSize, cornerSize,
            ! (left || top), ! (right || top), ! (left || bottom), ! (right || bottom));
        g.fillPath (path);
    }
    else
    {
        g.fillRoundedRectangle (area, cornerSize);
    }
}

void MyLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto width = button.getWidth();
    const auto height = button.getHeight();

    g.setFont (buttonFont (height));
    g.setColour (buttonTextColour (button.getName()));

    const auto fontHeight = juce::roundToInt (0.6f * (float) height);
    const auto yIndent = juce::jmin (4, juce::roundToInt (0.3f * (float) height));
    const auto cornerSize = juce::jmin (width, height) / 2;
    const auto leftIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const auto rightIndent = juce::jmin (fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    const auto textWidth = width - leftIndent - rightIndent;

    if (textWidth > 0)
        g.drawFittedText (button.getButtonText(), leftIndent, yIndent, textWidth, height - 2 * yIndent,
            juce::Justification::centred, 2);
}

//==============================================================================
void MyLookAndFeel::drawPopupMenuBackground (juce::Graphics&, int, int)
{
    // Left unpainted: only what the items draw is shown.
}

void MyLookAndFeel::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area, bool isSeparator,
    bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu, const juce::String& text,
    const juce::String& shortcutKeyText, const juce::Drawable* icon, const juce::Colour*)
{
    if (isSeparator)
    {
        g.setColour (findColour (juce::PopupMenu::textColourId).withAlpha ((juce::uint8) 0x4c));
        g.fillRect (separatorLine (area));
        return;
    }

    auto r = area.reduced (1);

    if (isHighlighted && isActive)
    {
        g.setColour (juce::Colour (menuHighlightColour));
        g.fillRect (r);
        g.setColour (findColour (juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour (juce::Colours::black);
    }

    const auto edge = juce::jmin (5, area.getWidth() / 20);
    r.reduce (edge, 0);

    const auto font = menuItemFont();
    g.setFont (font);

    const auto iconArea = r.removeFromLeft (juce::jmin (22, r.getWidth()));

    if (icon != nullptr)
    {
        icon->drawWithin (g, iconArea.toFloat(),
            juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize, 1.0f);
        r.removeFromLeft (juce::jmin (11, r.getWidth()));
    }
    else if (isTicked)
    {
        g.fillEllipse (iconArea.reduced (5).toFloat());
    }

    if (hasSubMenu)
    {
        const auto arrowH = 0.6f * getPopupMenuFont().getAscent();
        const auto arrowW = (int) juce::jmin (arrowH, (float) r.getWidth());
        const auto cy = (float) r.getCentreY();
        const auto x = (float) r.removeFromRight (arrowW).getX();

        juce::Path chevron;
        chevron.startNewSubPath (x, cy - 0.5f * arrowH);
        chevron.lineTo (x + 0.6f * arrowH, cy);
        chevron.lineTo (x, cy + 0.5f * arrowH);
        g.strokePath (chevron, juce::PathStrokeType (2.0f));
    }

    r.removeFromRight (juce::jmin (3, r.getWidth()));
    g.drawFittedText (text, r, juce::Justification::centredLeft, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (0.75f * font.getHeight());
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, r, juce::Justification::centredRight, true);
    }
}

void MyLookAndFeel::drawPopupMenuSectionHeader (juce::Graphics& g, const juce::Rectangle<int>& area,
    const juce::String& sectionName)
{
    g.setFont (sectionHeaderFont());
    g.setColour (juce::Colours::black);
    g.drawFittedText (sectionName, area.getX() + 12, area.getY(), area.getWidth() - 16,
        (int) (0.8f * (float) area.getHeight()), juce::Justification::bottomLeft, 1);
}

//==============================================================================
void MyLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool, int, int, int, int,
    juce::ComboBox& box)
{
    const auto cornerSize = box.findParentComponentOfClass<juce::ChoicePropertyComponent>() != nullptr ? 0.0f : 3.0f;
    const juce::Rectangle<float> bounds { 0.0f, 0.0f, (float) width, (float) height };

    g.setColour (juce::Colours::transparentBlack);
    g.fillRoundedRectangle (bounds, cornerSize);

    g.setColour (juce::Colour (comboBoxOutlineColour));
    g.drawRoundedRectangle (bounds.reduced (0.5f), cornerSize, 0.8f);

    const auto midY = (float) (height / 2);
    juce::Path arrow;
    arrow.startNewSubPath ((float) width - 27.0f, midY - 2.0f);
    arrow.lineTo ((float) width - 20.0f, midY + 3.0f);
    arrow.lineTo ((float) width - 13.0f, midY - 2.0f);
    g.strokePath (arrow, juce::PathStrokeType (2.0f));

    if (auto* label = dynamic_cast<juce::Label*> (box.getChildComponent (0)))
    {
        label->setColour (juce::Label::textColourId, juce::Colours::white);
        label->setLookAndFeel (this);
    }
}

//==============================================================================
void MyLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
    float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const auto horizontal = slider.isHorizontal();
    const auto fx = (float) x, fy = (float) y, fw = (float) width, fh = (float) height;

    if (slider.isBar())
    {
        g.setColour (slider.findColour (juce::Slider::trackColourId));
        g.fillRect (horizontal ? juce::Rectangle<float> (fx, fy + 0.5f, sliderPos - fx, fh - 1.0f)
                               : juce::Rectangle<float> (fx + 0.5f, sliderPos, fw - 1.0f, fy + fh - sliderPos));
        return;
    }

    const auto isTwoVal = style == juce::Slider::TwoValueVertical || style == juce::Slider::TwoValueHorizontal;
    const auto isThreeVal = style == juce::Slider::ThreeValueVertical || style == juce::Slider::ThreeValueHorizontal;
    const auto trackWidth = juce::jmin (6.0f, horizontal ? 0.25f * fh : 0.25f * fw);
    const juce::PathStrokeType trackStroke { trackWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded };

    const juce::Point<float> startPoint { horizontal ? fx : fx + 0.5f * fw, horizontal ? fy + 0.5f * fh : fy + fh };
    const juce::Point<float> endPoint { horizontal ? fx + fw : startPoint.x, horizontal ? startPoint.y : fy };

    juce::Path backgroundTrack;
    backgroundTrack.startNewSubPath (startPoint);
    backgroundTrack.lineTo (endPoint);
    g.setColour (juce::Colour (sliderBackgroundTrackColour));
    g.strokePath (backgroundTrack, trackStroke);

    // Two- and three-value geometry follows the framework's own V4 drawing.
    juce::Point<float> minPoint, maxPoint, thumbPoint;

    if (isTwoVal || isThreeVal)
    {
        minPoint = { horizontal ? minSliderPos : 0.5f * fw, horizontal ? 0.5f * fh : minSliderPos };
        maxPoint = { horizontal ? maxSliderPos : 0.5f * fw, horizontal ? 0.5f * fh : maxSliderPos };

        if (isThreeVal)
            thumbPoint = { horizontal ? sliderPos : 0.5f * fw, horizontal ? 0.5f * fh : sliderPos };
    }
    else
    {
        minPoint = startPoint;
        maxPoint = { horizontal ? sliderPos : fx + 0.5f * fw, horizontal ? fy + 0.5f * fh : sliderPos };
    }

    const auto name = slider.getName();

    juce::Path valueTrack;
    valueTrack.startNewSubPath (minPoint);
    valueTrack.lineTo (isThreeVal ? thumbPoint : maxPoint);
    g.setColour (sliderValueTrackColour (name));
    g.strokePath (valueTrack, trackStroke);

    if (! isTwoVal)
    {
        const auto diameter = sliderThumbDiameter (name, getSliderThumbRadius (slider));
        juce::Path disc;
        disc.addEllipse (juce::Rectangle<float> (diameter, diameter).withCentre (isThreeVal ? thumbPoint : maxPoint));

        juce::DropShadow (juce::Colour (0xffc8c8c8), 5, {}).drawForPath (g, disc);
        g.setColour (juce::Colours::white);
        g.fillPath (disc);
    }

    if (isTwoVal || isThreeVal)
    {
        const auto sr = juce::jmin (trackWidth, 0.4f * (horizontal ? fh : fw));
        const auto pointerColour = slider.findColour (juce::Slider::thumbColourId);

        if (horizontal)
        {
            drawPointer (g, minSliderPos - sr, juce::jmax (0.0f, fy + 0.5f * fh - 2.0f * trackWidth), 2.0f * trackWidth,
                pointerColour, 2);
            drawPointer (g, maxSliderPos - trackWidth, juce::jmin (fy + fh - 2.0f * trackWidth, fy + 0.5f * fh),
                2.0f * trackWidth, pointerColour, 4);
        }
        else
        {
            drawPointer (g, juce::jmax (0.0f, fx + 0.5f * fw - 2.0f * trackWidth), minSliderPos - trackWidth,
                2.0f * trackWidth, pointerColour, 1);
            drawPointer (g, juce::jmin (fx + fw - 2.0f * trackWidth, fx + 0.5f * fw), maxSliderPos - sr,
                2.0f * trackWidth, pointerColour, 3);
        }
    }
}
