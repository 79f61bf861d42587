#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/** Full-window overlay that asks for the host's four-digit PIN. */
class RemotePinOverlay : public juce::Component
{
public:
    explicit RemotePinOverlay (MainComponent& owner);

    void resized() override;
    void paint (juce::Graphics& g) override;

    /** Shows the overlay for a host, in front, with the PIN field focused. */
    void showForHost (const juce::String& hostText);

    /** Shows an error line and gives the PIN field focus with its text selected. */
    void showError (const juce::String& text);

    /** Called with the entered text when the operator submits it. */
    std::function<void (const juce::String&)> onSubmit;

    juce::TextEditor pinField;
    juce::Label errorLabel;

private:
    MainComponent& owner;
    juce::String hostLabelText;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemotePinOverlay)
};
