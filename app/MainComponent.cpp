#include "MainComponent.h"

#include "../lookandfeel/AppData.h"

namespace
{
const juce::Colour backgroundColour { 0xff09090b };
const juce::Colour statusGrey { 0xff808080 };
const juce::Colour mutedText { 0xffa1a1aa };
const juce::String statusPrefix { "Status : " };
} // namespace

MainComponent::MainComponent()
{
    AppData::dataFolder().createDirectory();

    setSize (1200, 800);

    getLookAndFeel().setUsingNativeAlertWindows (true);
    setLookAndFeel (&lookAndFeel);

    addAndMakeVisible (connectPanel);

    addAndMakeVisible (show);
    show.setVisible (false);

    show.addKeyListener (this);
    connectPanel.addKeyListener (this);

    statusLabel.setFont (juce::FontOptions (15.0f, juce::Font::plain));
    statusLabel.setText (statusPrefix + "No Connection", juce::dontSendNotification);
    statusLabel.setColour (juce::Label::textColourId, statusGrey);
    statusLabel.setJustificationType (juce::Justification::centredTop);
    addAndMakeVisible (statusLabel);

    addAndMakeVisible (pinOverlay);
    pinOverlay.setVisible (false);

    pinOverlay.onSubmit = [this] (const juce::String& text) { submitRemotePin (text); };
    pinOverlay.onVisibilityChange = [this] (bool visible) { show.setPageCovered (visible); };

    addKeyListener (this);

    // The page hands keyboard focus back here (its "keyboardGrab"), so the shortcuts work.
    setWantsKeyboardFocus (true);
}

MainComponent::~MainComponent()
{
    pinOverlay.onVisibilityChange = nullptr;
    stopTimer (statusPollTimer);
    remote.reset();
    show.stopAnimation();
    show.destroyWebView();
    connectPanel.stopDiscovery();
    setLookAndFeel (nullptr);
    removeKeyListener (this);
}

void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (backgroundColour);
}

void MainComponent::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();

    connectPanel.setBounds ((w - 820) / 2, (h - 520) / 2, 820, 520);

    const auto strip = juce::jmin (h, 40);
    statusLabel.setBounds (0, h - strip, w, strip);
    show.setBounds (0, 0, w, h - strip);
    pinOverlay.setBounds (0, 0, w, h);
}

bool MainComponent::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    // With the PIN overlay up, keys belong to its field.
    if (pinOverlay.isVisible())
        return false;

    auto* client = getClient();

    if (! show.isVisible() || client == nullptr)
        return true;

    // Matched on the key code alone: modifiers do not change what a key does.
    const auto code = key.getKeyCode();

    if (code == juce::KeyPress::rightKey)
    {
        if (show.nextCue >= 0 && show.nextCue < show.songCount())
            show.scrollToCueRow (show.nextCue);

        client->sendPlayNext();
    }
    else if (code == juce::KeyPress::leftKey)
    {
        if (show.currentCue > 0)
            show.scrollToCueRow (show.currentCue - 1);

        client->sendPlayPrev();
    }
    else if (code == juce::KeyPress::spaceKey)
    {
        client->sendStop();
    }
    else if (code == juce::KeyPress::upKey)
    {
        if (show.nextCue > 0)
        {
            const auto n = show.nextCue - 1;
            show.setNextCue (n);
            client->sendNextCue (n);
        }
    }
    else if (code == juce::KeyPress::downKey)
    {
        if (show.nextCue + 1 < show.songCount())
        {
            const auto n = show.nextCue + 1;
            show.setNextCue (n);
            client->sendNextCue (n);
        }
    }
    else if (code == juce::KeyPress::createFromDescription (".").getKeyCode())
    {
        client->sendPause();
    }
    else if (code == juce::KeyPress::createFromDescription (",").getKeyCode())
    {
        client->sendPlay();
    }

    return true;
}

void MainComponent::timerCallback (int timerID)
{
    if (timerID != statusPollTimer)
        return;

    auto* client = getClient();

    if (client == nullptr)
        return;

    switch (client->connectionState)
    {
        case 2:
            connectPanel.setVisible (false);
            show.setVisible (true);
            statusLabel.setVisible (false);
            return;

        case 1: setRemoteStatus ("Waiting for Show Session Load", juce::Colour (0xff22c55e)); break;

        default: setRemoteStatus ("Host not found - retrying", juce::Colour (0xffff0000)); break;
    }

    // Until the show screen is up, the next show the host announces is loaded afresh.
    if (! show.isVisible())
        show.showId = -1;
}

void MainComponent::setRemoteStatus (const juce::String& text, juce::Colour colour)
{
    show.statusText = text;
    show.statusColour = colour;
    show.updateHeaderText();

    statusLabel.setText (statusPrefix + text, juce::dontSendNotification);
    statusLabel.setColour (juce::Label::textColourId, colour);
}

void MainComponent::disconnectRemote()
{
    pinOverlay.setVisible (false);
    remote.reset();
    stopTimer (statusPollTimer);

    show.connectAddress.clear();
    show.connectName.clear();
    show.hostName.clear();
    show.showName.clear();

    show.statusText = "No connection";
    show.statusColour = mutedText;
    show.updateHeaderText();
    show.setLatency (-1);

    statusLabel.setText (statusPrefix + "No Connection", juce::dontSendNotification);
    statusLabel.setColour (juce::Label::textColourId, statusGrey);
}

void MainComponent::submitRemotePin (const juce::String& pin)
{
    if (pin.length() != 4)
    {
        pinOverlay.errorLabel.setText ("Enter a 4-digit PIN.", juce::dontSendNotification);
        pinOverlay.pinEditor.grabKeyboardFocus();
        pinOverlay.pinEditor.selectAll();
        return;
    }

    auto* client = getClient();

    if (client == nullptr)
        return;

    client->sendRecord (MessageRecord::build (RCType::SubmitPin,
        { { MessageRecord::ip, client->localAddress }, { "Pin", pin.trim() } }));

    setRemoteStatus ("Verifying PIN...", mutedText);

    juce::Timer::callAfterDelay (150,
        [safeThis = juce::WeakReference<MainComponent> (this)]
        {
            if (safeThis == nullptr)
                return;

            if (auto* c = safeThis->getClient())
                c->sendConnectRequest();
        });
}
