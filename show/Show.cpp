#include "Show.h"

#include "../app/MainComponent.h"

namespace
{
bool webViewsEnabled = true;

const juce::Colour mutedText { 0xffa1a1aa };
const juce::String noValue { "-" };
const juce::String zeroTime { "00:00:00:00" };
} // namespace

Show::Show (MainComponent& ownerToUse) : hotCuePanel (ownerToUse), owner (ownerToUse)
{
    addAndMakeVisible (showCard);
    addAndMakeVisible (nowPlayingCard);
    addAndMakeVisible (nextCueCard);
    addAndMakeVisible (headerLabel);
    addAndMakeVisible (latencyLabel);

    if (webViewsEnabled)
    {
        webView = std::make_unique<WebUI> (withNativeFunctions (juce::WebBrowserComponent::Options {}),
            juce::WebBrowserComponent::getResourceProviderRoot());
        addAndMakeVisible (*webView);

        // Statements go to the page in the order they are made; results are not awaited.
        bridge.setEvaluator (
            [this] (const juce::String& statement)
            {
                if (webView != nullptr)
                    webView->evaluateJavascript (statement);
            });
    }

    headerLabel.setFont (juce::FontOptions (12.0f, juce::Font::plain));
    headerLabel.setMinimumHorizontalScale (0.65f);
    latencyLabel.setFont (juce::FontOptions (juce::Font::getDefaultMonospacedFontName(), 13.0f, juce::Font::plain));
    latencyLabel.setJustificationType (juce::Justification::centredRight);
    latencyLabel.setColour (juce::Label::textColourId, mutedText);
    latencyLabel.setText ("-- ms", juce::dontSendNotification);

    positionSlider.setSliderStyle (juce::Slider::LinearHorizontal);
    positionSlider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    addAndMakeVisible (positionSlider);

    timeLabel.setFont (juce::FontOptions (juce::Font::getDefaultMonospacedFontName(), 13.0f, juce::Font::plain));
    timeLabel.setColour (juce::Label::textColourId, juce::Colour (0xfffafafa));
    timeLabel.setText (zeroTime, juce::dontSendNotification);
    addAndMakeVisible (timeLabel);

    addChildComponent (hotCuePanel);
    addAndMakeVisible (disconnectButton);

    statusText = "Connecting...";
    statusColour = mutedText;
    updateHeaderText();
    showCard.setValue (noValue);
    nowPlayingCard.setValue (noValue);
    nextCueCard.setValue (noValue);
}

Show::~Show()
{
    stopTimer();
}

void Show::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff09090b));
}

//==============================================================================
void Show::setHostName (const juce::String& name)
{
    if (name.isEmpty())
        return;

    hostName = name;
    updateHeaderText();
}

void Show::setShowName (const juce::String& name)
{
    showName = name;
    updateHeaderText();
}

void Show::loadShow (int newShowId, const juce::String& newShowName, std::vector<Song> newSongs)
{
    showId = newShowId;
    showCard.setValue (newShowName);
    setShowName (newShowName);
    songs = std::move (newSongs);

    if (bridge.isAttached())
        bridge.windowOnload();
}

juce::String Show::songName (int cue) const
{
    return cue >= 0 && cue < songCount() ? songs[(size_t) cue].name : juce::String();
}

juce::String Show::cueText (int cue) const
{
    if (cue < 0 || cue >= songCount())
        return noValue;

    return juce::String (cue) + " - " + songs[(size_t) cue].name;
}

void Show::applyCueState (int current, int next)
{
    const auto oldCurrent = currentCue;
    const auto oldNext = nextCue;

    currentCue = current;
    nextCue = next;

    currentCueName = songName (currentCue);
    nowPlayingCard.setValue (cueText (currentCue));

    nextCueName = songName (nextCue);
    nextCueCard.setValue (cueText (nextCue));

    auto* client = owner.getClient();

    if (client == nullptr || client->webBrowser == nullptr)
        return;

    if (currentCue != oldCurrent)
    {
        client->webBrowser->setCurrentCue (currentCue, oldCurrent);
        scrollToCueRow (currentCue);
    }

    if (nextCue != oldNext)
        setNextCue (nextCue);
}

void Show::setNextCue (int cue)
{
    nextCue = cue;
    nextCueName = songName (nextCue);
    nextCueCard.setValue (cueText (nextCue));

    if (bridge.isAttached())
        bridge.setNextCue (cue);

    scrollToCueRow (cue);
}

void Show::scrollToCueRow (int cue)
{
    if (bridge.isAttached())
        bridge.scrollToCueRow (cue);
}

//==============================================================================
void Show::updateHeaderText()
{
    auto text = statusText;

    if (! demoMode)
    {
        auto name = hostName.isNotEmpty() ? hostName : connectName;

        if (name.isEmpty())
        {
            if (connectAddress.isNotEmpty())
                text << " - " << connectAddress;
        }
        else if (connectAddress.isNotEmpty())
        {
            text << " - " << name << " (" << connectAddress << ")";
        }
        else
        {
            text << " - " << name;
        }

        if (showName.isNotEmpty())
            text << " - Show: " << showName;
    }

    headerLabel.setText (text, juce::dontSendNotification);
    headerLabel.setColour (juce::Label::textColourId, statusColour);
}

void Show::setLatency (int milliseconds)
{
    if (milliseconds < 0)
    {
        latencyLabel.setText ("-- ms", juce::dontSendNotification);
        latencyLabel.setColour (juce::Label::textColourId, mutedText);
        return;
    }

    auto colour = milliseconds < 30 ? juce::Colour (0xff22c55e)
        : milliseconds >= 100       ? juce::Colour (0xffef4444)
                                    : juce::Colour (0xfffbbf24);

    latencyLabel.setText (juce::String (milliseconds) + " ms", juce::dontSendNotification);
    latencyLabel.setColour (juce::Label::textColourId, colour);
}

void Show::resetSession()
{
    if (demoMode)
        exitDemo();

    showId = -1;
    currentCue = -1;
    nextCue = 0;
    songs.clear();
    hotCuePanel.setHotCues ({});

    connectAddress.clear();
    connectName.clear();
    hostName.clear();
    showName.clear();

    showCard.setValue (noValue);
    nowPlayingCard.setValue (noValue);
    nextCueCard.setValue (noValue);
    setLatency (-1);
    timeLabel.setText (zeroTime, juce::dontSendNotification);
    positionSlider.setValue (0.0, juce::dontSendNotification);

    hotCuePanel.setEnabled (true);

    if (disconnectButton.getButtonText() != "Disconnect")
        disconnectButton.setButtonText ("Disconnect");
}

void Show::exitDemo()
{
    demoMode = false;
}

void Show::destroyWebView()
{
    bridge.setEvaluator (nullptr);
    webView = nullptr;
}

void Show::setWebViewsEnabled (bool enabled)
{
    webViewsEnabled = enabled;
}

int Show::argumentAsInt (const juce::Array<juce::var>& args, int index)
{
    return MessageRecord::parseLeadingInt (index < args.size() ? args[index].toString() : juce::String());
}

bool Show::messageGateOpen() const
{
    auto* client = owner.getClient();
    return ! demoMode && client != nullptr && ! client->stopped.load() && showId != -1;
}

juce::WebBrowserComponent::Options Show::withNativeFunctions (juce::WebBrowserComponent::Options options)
{
    using Args = const juce::Array<juce::var>&;
    using Completion = juce::WebBrowserComponent::NativeFunctionCompletion;

    auto sendIfOpen = [this] (const juce::ValueTree& record)
    {
        if (messageGateOpen())
            owner.getClient()->sendRecord (record);
    };

    // None of them completes: the page's call never resolves, and the page does not wait for it.
    return options.withNativeFunction ("window.onload", [] (Args, Completion) {})
        .withNativeFunction ("keyboardGrab", [this] (Args, Completion) { owner.grabKeyboardFocus(); })
        .withNativeFunction ("fireCue",
            [sendIfOpen] (Args args, Completion) {
                sendIfOpen (
                    MessageRecord::build (RCType::FireCue, { { "cue", juce::String (argumentAsInt (args, 0)) } }));
            })
        .withNativeFunction ("setNextCue",
            [this] (Args args, Completion)
            {
                const auto cue = argumentAsInt (args, 0);
                setNextCue (cue);

                if (messageGateOpen())
                    owner.getClient()->sendNextCue (cue);
            })
        .withNativeFunction ("fireMarker",
            [sendIfOpen] (Args args, Completion)
            {
                sendIfOpen (MessageRecord::build (RCType::FireMarker,
                    { { "songCue", juce::String (argumentAsInt (args, 0)) },
                        { "markerNum", juce::String (argumentAsInt (args, 1)) } }));
            })
        .withNativeFunction ("setMarkerLoop",
            [sendIfOpen] (Args args, Completion)
            {
                sendIfOpen (MessageRecord::build (RCType::SetMarkerLoop,
                    { { "songCue", juce::String (argumentAsInt (args, 0)) },
                        { "markerNum", juce::String (argumentAsInt (args, 1)) },
                        { "enabled", juce::String (argumentAsInt (args, 2)) } }));
            })
        .withNativeFunction ("editSongInfo", [] (Args, Completion) {})
        .withNativeFunction ("deleteMarker", [] (Args, Completion) {});
}
