#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/**
    Full-window overlay that asks for the host's four-digit PIN: a dimmed backdrop with a
    centred card. It only collects and filters the digits; sending and the host's answers
    belong to the main component and the client. Message thread only.
*/
class RemotePinOverlay : public juce::Component
{
public:
    explicit RemotePinOverlay (MainComponent& owner);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void visibilityChanged() override;

    /** Clears the entry and the error, shows the overlay in front and focuses the field
        (again once the message queue has run, as focus may move meanwhile). */
    void showForHost();

    /** The kept text for an entered one: the digits 0 to 9 in order, at most four. */
    static juce::String filterDigits (const juce::String& text);

    struct Layout
    {
        juce::Rectangle<int> card, title, error, editor, cancel, connect;
    };

    /** The card centred in an overlay of the given size, and the widgets inside the card. */
    static Layout computeLayout (int width, int height);

    std::function<void (const juce::String&)> onSubmit;

    /** Called whenever the overlay is shown or hidden (message thread). */
    std::function<void (bool visible)> onVisibilityChange;

private:
    MainComponent& owner;

public:
    juce::Component card;
    juce::Label titleLabel;
    juce::Label errorLabel;
    juce::TextEditor pinEditor;
    juce::TextButton connectButton { "Connect" };
    juce::TextButton cancelButton { "Cancel" };

private:
    void submit();

    JUCE_DECLARE_WEAK_REFERENCEABLE (RemotePinOverlay)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemotePinOverlay)
};
