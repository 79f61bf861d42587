#include "RemoteControlPanel.h"

#include "../lookandfeel/Surface.h"

#include "../app/MainComponent.h"

namespace
{
const juce::Colour surface { 0xff18181b };
const juce::Colour outline { 0xff27272a };
const juce::Colour pressedGreen { 0xff16a34a };
const juce::Colour primaryText { 0xfffafafa };

constexpr int margin = 8;
constexpr int top = 6;
constexpr int gap = 6;
} // namespace

//==============================================================================
juce::Colour RemoteControlPanel::TouchButton::bodyColour (bool highlighted, bool down)
{
    if (down)
        return pressedGreen;

    return highlighted ? outline : surface;
}

void RemoteControlPanel::TouchButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    const auto body = juce::Rectangle<float> (2.0f, 2.0f, (float) juce::jmax (0, getWidth() - 4),
        (float) juce::jmax (0, getHeight() - 4));

    g.setColour (bodyColour (highlighted, down));
    g.fillRoundedRectangle (body, 8.0f);
    g.setColour (outline);
    g.drawRoundedRectangle (body, 8.0f, 1.0f);

    const auto captionWidth = juce::jmax (0, juce::roundToInt (body.getWidth()) - 8);
    const auto captionHeight = juce::jmax (0, juce::roundToInt (body.getHeight()) - 8);

    g.setColour (primaryText);
    g.setFont (juce::FontOptions (12.0f, juce::Font::bold));
    g.drawFittedText (getButtonText(), { 6, 6, captionWidth, captionHeight }, juce::Justification::centred, 2);
}

//==============================================================================
RemoteControlPanel::RemoteControlPanel (MainComponent& ownerToUse) : mainComponent (ownerToUse)
{
    const auto sendWith = [this] (void (RCClient::*send)())
    {
        return [this, send]
        {
            if (auto* client = commandClient())
                (client->*send)();
        };
    };

    playButton.onClick = sendWith (&RCClient::sendPlay);
    pauseButton.onClick = sendWith (&RCClient::sendPause);
    stopButton.onClick = sendWith (&RCClient::sendStop);
    selectPrevButton.onClick = [this] { selectPrev(); };
    selectNextButton.onClick = [this] { selectNext(); };
    playPrevButton.onClick = [this] { playPrev(); };
    playNextButton.onClick = [this] { playNext(); };

    for (auto* button : buttonsInOrder())
        addAndMakeVisible (button);
}

std::array<RemoteControlPanel::TouchButton*, RemoteControlPanel::numButtons> RemoteControlPanel::buttonsInOrder()
{
    return { &playButton, &pauseButton, &stopButton, &selectPrevButton, &selectNextButton, &playPrevButton,
        &playNextButton };
}

//==============================================================================
void RemoteControlPanel::paint (juce::Graphics& g)
{
    Surface::paintCard (g, Surface::cardArea (getWidth(), getHeight()), 8.0f, surface, outline);
}

void RemoteControlPanel::resized()
{
    const auto bounds = buttonBounds (getWidth(), getHeight());
    const auto buttons = buttonsInOrder();

    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setBounds (bounds[i]);
}

std::array<juce::Rectangle<int>, RemoteControlPanel::numButtons> RemoteControlPanel::buttonBounds (int width,
    int height)
{
    const auto inner = juce::jmax (0, width - 2 * margin);

    // Negative for a panel narrower than its gaps: the buttons then overlap with no width.
    const auto buttonWidth = (inner - (numButtons - 1) * gap) / numButtons;
    const auto buttonHeight = juce::jmax (0, height - 2 * top);

    std::array<juce::Rectangle<int>, numButtons> bounds;

    for (int i = 0; i < numButtons; ++i)
        bounds[(size_t) i] = { margin + i * (buttonWidth + gap), top, juce::jmax (0, buttonWidth), buttonHeight };

    return bounds;
}

//==============================================================================
RCClient* RemoteControlPanel::commandClient() const
{
    return mainComponent.show.messageGateOpen() ? mainComponent.getClient() : nullptr;
}

// Select Prev and Select Next move the next cue here at once (card, page and scroll) and
// tell the host; the host's CueState answer confirms it later.
void RemoteControlPanel::selectPrev()
{
    auto* client = commandClient();
    auto& show = mainComponent.show;

    if (client == nullptr || show.nextCue <= 0)
        return;

    const auto cue = show.nextCue - 1;
    show.setNextCue (cue);
    client->sendNextCue (cue);
}

void RemoteControlPanel::selectNext()
{
    auto* client = commandClient();
    auto& show = mainComponent.show;

    if (client == nullptr)
        return;

    const auto cue = show.nextCue + 1;

    if (cue >= show.songCount())
        return;

    show.setNextCue (cue);
    client->sendNextCue (cue);
}

// Play Prev and Play Next leave the indices to the host's answer: they only bring the row
// that is about to play into view, and send the command even when there is no such row.
void RemoteControlPanel::playPrev()
{
    auto* client = commandClient();

    if (client == nullptr)
        return;

    if (const auto current = mainComponent.show.currentCue; current > 0)
        mainComponent.show.scrollToCueRow (current - 1);

    client->sendPlayPrev();
}

void RemoteControlPanel::playNext()
{
    auto* client = commandClient();

    if (client == nullptr)
        return;

    auto& show = mainComponent.show;

    if (const auto next = show.nextCue; next >= 0 && next < show.songCount())
        show.scrollToCueRow (next);

    client->sendPlayNext();
}
