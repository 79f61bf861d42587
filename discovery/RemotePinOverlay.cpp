#include "RemotePinOverlay.h"

#include "../app/MainComponent.h"
#include "TextEditorStyle.h"

RemotePinOverlay::RemotePinOverlay (MainComponent& ownerToUse) : owner (ownerToUse)
{
    // Nothing beneath the overlay can be clicked while it is shown.
    setInterceptsMouseClicks (true, true);
    setVisible (false);

    addAndMakeVisible (card);

    titleLabel.setText ("Enter host PIN", juce::dontSendNotification);
    titleLabel.setFont (juce::FontOptions (15.0f, juce::Font::bold));
    titleLabel.setColour (juce::Label::textColourId, juce::Colour (0xfffafafa));
    titleLabel.setJustificationType (juce::Justification::centred);
    card.addAndMakeVisible (titleLabel);

    errorLabel.setFont (juce::FontOptions (12.0f, juce::Font::plain));
    errorLabel.setColour (juce::Label::textColourId, juce::Colour (0xffef4444));
    errorLabel.setJustificationType (juce::Justification::centred);
    card.addAndMakeVisible (errorLabel);

    styleTextEditor (pinEditor);
    pinEditor.setMultiLine (false);
    pinEditor.setReturnKeyStartsNewLine (false);
    pinEditor.setSelectAllWhenFocused (true);
    pinEditor.setIndents (12, 10);
    pinEditor.setJustification (juce::Justification::centred);
    pinEditor.setFont (juce::FontOptions (24.0f));
    pinEditor.setTextToShowWhenEmpty ("4 digits", juce::Colour (0xff71717a));
    pinEditor.setPasswordCharacter ((juce::juce_wchar) 0x2022);
    pinEditor.onTextChange = [this]
    {
        auto text = pinEditor.getText();
        auto kept = filterDigits (text);

        if (kept != text)
            pinEditor.setText (kept, juce::dontSendNotification);
    };
    pinEditor.onReturnKey = [this] { submit(); };
    card.addAndMakeVisible (pinEditor);

    connectButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff22c55e));
    connectButton.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff16a34a));
    connectButton.setColour (juce::TextButton::textColourOffId, juce::Colour (0xff052e16));
    connectButton.setColour (juce::TextButton::textColourOnId, juce::Colour (0xff052e16));
    connectButton.onClick = [this] { submit(); };
    card.addAndMakeVisible (connectButton);

    cancelButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0x00000000));
    cancelButton.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff27272a));
    cancelButton.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffa1a1aa));
    cancelButton.setColour (juce::TextButton::textColourOnId, juce::Colour (0xfffafafa));
    cancelButton.onClick = [this]
    {
        setVisible (false);
        owner.disconnectRemote();
    };
    card.addAndMakeVisible (cancelButton);
}

juce::String RemotePinOverlay::filterDigits (const juce::String& text)
{
    juce::String kept;

    for (auto p = text.getCharPointer(); ! p.isEmpty() && kept.length() < 4; ++p)
        if (*p >= '0' && *p <= '9')
            kept += juce::String::charToString (*p);

    return kept;
}

RemotePinOverlay::Layout RemotePinOverlay::computeLayout (int width, int height)
{
    Layout layout;
    layout.card = { (width - 320) / 2, (height - 220) / 2, 320, 220 };

    auto area = juce::Rectangle<int> (0, 0, 320, 220).reduced (20);
    layout.title = area.removeFromTop (28);
    area.removeFromTop (8);
    layout.error = area.removeFromTop (18);
    area.removeFromTop (8);
    layout.editor = area.removeFromTop (44);
    area.removeFromTop (16);
    auto row = area.removeFromTop (36);

    auto half = row.getWidth() / 2;
    layout.cancel = row.removeFromLeft (half).withTrimmedRight (6);
    layout.connect = row.withTrimmedLeft (6);
    return layout;
}

void RemotePinOverlay::resized()
{
    auto layout = computeLayout (getWidth(), getHeight());
    card.setBounds (layout.card);
    titleLabel.setBounds (layout.title);
    errorLabel.setBounds (layout.error);
    pinEditor.setBounds (layout.editor);
    cancelButton.setBounds (layout.cancel);
    connectButton.setBounds (layout.connect);
}

void RemotePinOverlay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0x8c000000));

    auto box = card.getBounds().toFloat().reduced (0.5f);
    box.setSize (juce::jmax (0.0f, box.getWidth()), juce::jmax (0.0f, box.getHeight()));

    g.setColour (juce::Colour (0xff18181b));
    g.fillRoundedRectangle (box, 8.0f);
    g.setColour (juce::Colour (0xff27272a));
    g.drawRoundedRectangle (box, 8.0f, 1.0f);
}

void RemotePinOverlay::visibilityChanged()
{
    if (onVisibilityChange != nullptr)
        onVisibilityChange (isVisible());
}

void RemotePinOverlay::showForHost()
{
    errorLabel.setText ({}, juce::dontSendNotification);
    pinEditor.clear(); // also discards its undo history

    setVisible (true);
    toFront (true);
    resized();

    juce::MessageManager::callAsync (
        [safeThis = juce::WeakReference<RemotePinOverlay> (this)]
        {
            if (safeThis != nullptr)
            {
                safeThis->pinEditor.grabKeyboardFocus();
                safeThis->pinEditor.selectAll();
            }
        });
}

void RemotePinOverlay::submit()
{
    if (onSubmit)
        onSubmit (pinEditor.getText().trim());
}
