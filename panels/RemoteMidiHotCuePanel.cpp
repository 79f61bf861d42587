#include "RemoteMidiHotCuePanel.h"

#include "../lookandfeel/Surface.h"

#include "../app/MainComponent.h"

#include <cmath>

namespace
{
const juce::Colour surface { 0xff18181b };
const juce::Colour outline { 0xff27272a };
const juce::Colour secondaryText { 0xffa1a1aa };
const juce::Colour mutedText { 0xff71717a };
const juce::Colour accentGreen { 0xff22c55e };
} // namespace

//==============================================================================
void RemoteMidiHotCuePanel::CueButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto body = juce::Rectangle<float> (1.0f, 1.0f, (float) juce::jmax (0, getWidth() - 2),
        (float) juce::jmax (0, getHeight() - 2));

    const auto fill = down ? fillColour.darker (0.22f) : highlighted ? fillColour.brighter (0.1f) : fillColour;

    g.setColour (fill);
    g.fillRoundedRectangle (body, 8.0f);
    g.setColour (fillColour.brighter (0.15f));
    g.drawRoundedRectangle (body, 8.0f, 1.5f);

    // Low buttons of a crowded grid get the smaller font, a thinner inset and a single line.
    const auto bodyHeight = body.getHeight();
    const auto inset = bodyHeight >= 48.0f ? 6 : 4;
    const auto maxLines = bodyHeight >= 52.0f ? 2 : 1;

    g.setColour (fillColour.contrasting (0.85f));
    g.setFont (juce::FontOptions (bodyHeight < 50.0f ? 12.0f : 14.0f, juce::Font::bold));
    g.drawFittedText (getButtonText(), body.toNearestInt().reduced (inset), juce::Justification::centred, maxLines);
}

//==============================================================================
juce::Rectangle<int> RemoteMidiHotCuePanel::GridLayout::cellBounds (int index) const
{
    return { (index % maxColumns) * (cellWidth + cellGap), (index / maxColumns) * (cellHeight + cellGap), cellWidth,
        cellHeight };
}

RemoteMidiHotCuePanel::GridLayout RemoteMidiHotCuePanel::gridLayout (int cueCount, int panelWidth, int viewportWidth,
    int viewportHeight)
{
    GridLayout layout;

    if (cueCount <= 0)
        return layout;

    layout.columns = juce::jmin (cueCount, maxColumns);
    layout.rows = (cueCount + maxColumns - 1) / maxColumns;

    const auto available = juce::jmax (panelWidth - 16, viewportWidth);
    layout.cellWidth = (available - cellGap * (layout.columns - 1)) / layout.columns;

    // Cells fill the viewport's height within 44..56 pixels, then lose 3.5 % for every row
    // after the first, so that more rows fit before the grid scrolls; never below 44.
    const auto fitted = (juce::jmax (viewportHeight, 1) - cellGap * (layout.rows - 1)) / layout.rows;
    const auto clamped = juce::jlimit (minCellHeight, maxCellHeight, fitted);
    const auto shrunk = std::lround (clamped * (1.0 - 0.035 * (layout.rows - 1)));
    layout.cellHeight = juce::jmax (minCellHeight, (int) shrunk);

    layout.hasCells = available >= 1 && layout.cellWidth >= 1;

    if (! layout.hasCells)
        return layout;

    layout.contentWidth = (layout.cellWidth + cellGap) * layout.columns - cellGap;
    layout.contentHeight = (layout.cellHeight + cellGap) * layout.rows - cellGap;
    layout.needsScrollBar = layout.contentHeight > viewportHeight;
    return layout;
}

juce::Colour RemoteMidiHotCuePanel::parseColourCode (const juce::String& code)
{
    if (code.isEmpty())
        return accentGreen;

    const auto text = code.startsWithChar ('#') ? code.substring (1) : code;
    auto value = (juce::uint32) text.getHexValue32();

    if (value <= 0xffffffu)
    {
        // Six digits are RGB: make them opaque. Anything else this low has no alpha and
        // would be invisible.
        if (text.length() == 6)
            value = (juce::uint32) ("ff" + text).getHexValue32();

        if (value < 0x1000000u)
            value = accentGreen.getARGB();
    }

    return juce::Colour (value);
}

//==============================================================================
RemoteMidiHotCuePanel::RemoteMidiHotCuePanel (MainComponent& ownerToUse) : mainComponent (ownerToUse)
{
    viewport.setViewedComponent (&gridContent, false);
    viewport.setScrollBarsShown (true, false);
    addAndMakeVisible (viewport);

    emptyLabel.setText ("No MIDI Hot Cues in this show", juce::dontSendNotification);
    emptyLabel.setFont (juce::FontOptions (14.0f));
    emptyLabel.setColour (juce::Label::textColourId, secondaryText);
    emptyLabel.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (emptyLabel);
}

RemoteMidiHotCuePanel::~RemoteMidiHotCuePanel()
{
    // gridContent is declared after the viewport and so goes first; let the viewport forget it.
    cueButtons.clear();
    viewport.setViewedComponent (nullptr, false);
}

void RemoteMidiHotCuePanel::paint (juce::Graphics& g)
{
    Surface::paintCard (g, Surface::cardArea (getWidth(), getHeight()), 8.0f, surface, outline);

    g.setColour (mutedText);
    g.setFont (juce::FontOptions (12.0f));
    g.drawText ("MIDI Hot Cues", juce::Rectangle<int> (10, 6, 140, 14), juce::Justification::centredLeft, true);
}

void RemoteMidiHotCuePanel::resized()
{
    const auto area = getHeight() - 16 > 16
        ? juce::Rectangle<int> (8, 24, juce::jmax (0, getWidth() - 16), getHeight() - 32)
        : juce::Rectangle<int> (8, 24, juce::jmax (0, getWidth() - 16), 0);

    viewport.setBounds (area);
    emptyLabel.setBounds (area);
    rebuildCueGrid();
}

//==============================================================================
void RemoteMidiHotCuePanel::setHotCues (std::vector<HotCue> cues)
{
    hotCues = std::move (cues);
    rebuildCueGrid();
}

void RemoteMidiHotCuePanel::setCuesEnabled (bool shouldBeEnabled)
{
    cuesEnabled = shouldBeEnabled;

    for (auto* button : cueButtons)
        button->setEnabled (shouldBeEnabled);
}

// The grid is made again from scratch on every change of cues or size: buttons never survive
// a rebuild, so a press held across a resize is dropped.
void RemoteMidiHotCuePanel::rebuildCueGrid()
{
    // Children leave their parent from the end first: a button deleted while still a child
    // searches the parent's whole list, which for thousands of cues takes seconds.
    gridContent.removeAllChildren();
    cueButtons.clear();

    emptyLabel.setVisible (hotCues.empty());
    viewport.setVisible (! hotCues.empty());

    if (hotCues.empty())
    {
        gridContent.setSize (0, 0);
        return;
    }

    const auto shown = juce::jmin ((int) hotCues.size(), maxButtons);
    const auto layout = gridLayout (shown, getWidth(), viewport.getWidth(), viewport.getHeight());

    if (! layout.hasCells)
        return;

    for (size_t i = 0; i < (size_t) shown; ++i)
    {
        const auto& cue = hotCues[i];
        auto* button = cueButtons.add (std::make_unique<CueButton> (cue.cueName));
        button->setName (cue.cueName);
        button->fillColour = parseColourCode (cue.colourCode);
        button->setBounds (layout.cellBounds ((int) i));
        button->onClick = [this, name = cue.cueName] { fireHotCue (name); };
        button->setEnabled (cuesEnabled);
        gridContent.addAndMakeVisible (button);
    }

    gridContent.setSize (layout.contentWidth, layout.contentHeight);
    viewport.setScrollBarsShown (layout.needsScrollBar, false);
}

void RemoteMidiHotCuePanel::fireHotCue (const juce::String& cueName)
{
    if (! cuesEnabled || mainComponent.show.demoMode)
        return;

    if (auto* client = mainComponent.getClient(); client != nullptr && ! client->stopped.load())
        client->sendRecord (MessageRecord::build (RCType::FireHotCue, { { "cueName", cueName } }));
}
