#pragma once

#include "../discovery/RemoteConnectPanel.h"
#include "../discovery/RemotePinOverlay.h"
#include "../lookandfeel/MyLookAndFeel.h"
#include "../protocol/RemoteConnection.h"
#include "../show/Show.h"

/**
    The root of everything inside the main window: the three screens, the connection, the
    look and feel and the status line. Message thread only.
*/
class MainComponent : public juce::Component,
                      public juce::MultiTimer,
                      public juce::KeyListener
{
public:
    MainComponent();
    ~MainComponent() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress& key, juce::Component* originatingComponent) override;
    void timerCallback (int timerID) override;

    /** Shows a status: the show view's header gets the text alone, the status line
        "Status : " followed by the text. */
    void setRemoteStatus (const juce::String& text, juce::Colour colour);

    /** Ends the connection without changing the screen. */
    void disconnectRemote();

    /** Sends the PIN the operator entered, followed 150 ms later by a connection request. */
    void submitRemotePin (const juce::String& pin);

    /** The client of the current connection, or null. */
    RCClient* getClient() const noexcept { return remote != nullptr ? remote->client.get() : nullptr; }

    static constexpr int statusPollTimer = 2;
    static constexpr int statusPollInterval = 500;

    Show show { *this };
    RemoteConnectPanel connectPanel { *this };
    RemotePinOverlay pinOverlay { *this };
    std::unique_ptr<RemoteConnection> remote;
    juce::String hostAddress;
    bool awaitingPin = false;

private:
    MyLookAndFeel lookAndFeel;

public:
    juce::Label statusLabel;

private:
    JUCE_DECLARE_WEAK_REFERENCEABLE (MainComponent)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
