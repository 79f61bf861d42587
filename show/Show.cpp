#include "Show.h"

#include "../app/MainComponent.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{
bool webViewsEnabled = true;

/** Start-up timing for the benchmark, off unless QUENTARO_STARTUP_TRACE is set: prints an event
    with the monotonic clock. "page-ready" is the page's first "window.onload" (its bridge
    registered); "web-view-start" and "web-view-created" bracket the web view's construction,
    which waits for the framework's child process to make its window. Message thread. */
void traceStartup (const char* event)
{
    static const bool tracing = std::getenv ("QUENTARO_STARTUP_TRACE") != nullptr;

    if (! tracing)
        return;

    timespec now {};
    clock_gettime (CLOCK_MONOTONIC, &now);
    std::fprintf (stderr, "quentaro-startup %s %lld\n", event, (long long) now.tv_sec * 1000000000LL + now.tv_nsec);
}

void traceFirstPageReady()
{
    static bool traced = false;

    if (! traced)
    {
        traced = true;
        traceStartup ("page-ready");
    }
}

const juce::Colour mutedText { 0xffa1a1aa };
const juce::String noValue { "-" };
const juce::String zeroTime { "00:00:00:00" };
} // namespace

Show::Show (MainComponent& ownerToUse) : controlPanel (ownerToUse), hotCuePanel (ownerToUse), owner (ownerToUse)
{
    addAndMakeVisible (showCard);
    addAndMakeVisible (nowPlayingCard);
    addAndMakeVisible (nextCueCard);

    headerLabel.setFont (juce::FontOptions (12.0f, juce::Font::plain));
    headerLabel.setColour (juce::Label::textColourId, mutedText);
    headerLabel.setMinimumHorizontalScale (0.65f);
    addAndMakeVisible (headerLabel);

    latencyLabel.setFont (juce::FontOptions (juce::Font::getDefaultMonospacedFontName(), 13.0f, juce::Font::plain));
    latencyLabel.setColour (juce::Label::textColourId, mutedText);
    latencyLabel.setJustificationType (juce::Justification::centredRight);
    latencyLabel.setText ("-- ms", juce::dontSendNotification);
    addAndMakeVisible (latencyLabel);

    if (webViewsEnabled)
    {
        traceStartup ("web-view-start");
        webView = std::make_unique<WebUI> (withNativeFunctions (juce::WebBrowserComponent::Options {}),
            juce::WebBrowserComponent::getResourceProviderRoot());
        traceStartup ("web-view-created");
        addAndMakeVisible (*webView);

        // Statements go to the page in the order they are made; results are not awaited.
        bridge.setEvaluator (
            [this] (const juce::String& statement)
            {
                if (webView != nullptr)
                    webView->evaluateJavascript (statement);
            });
    }

    positionSlider.setSliderStyle (juce::Slider::LinearHorizontal);
    positionSlider.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    positionSlider.setColour (juce::Slider::trackColourId, juce::Colour (0xff3f3f46));
    positionSlider.setColour (juce::Slider::thumbColourId, juce::Colour (0xff22c55e));
    positionSlider.setColour (juce::Slider::backgroundColourId, juce::Colour (0xff18181b));
    addAndMakeVisible (positionSlider);

    timeLabel.setFont (juce::FontOptions (juce::Font::getDefaultMonospacedFontName(), 13.0f, juce::Font::plain));
    timeLabel.setColour (juce::Label::textColourId, juce::Colour (0xfffafafa));
    timeLabel.setText (zeroTime, juce::dontSendNotification);
    addAndMakeVisible (timeLabel);

    // Only the operator's own drag moves the host: changes made by code send nothing.
    positionSlider.onValueChange = [this]
    {
        if (positionSlider.isMouseButtonDown() && messageGateOpen())
            owner.getClient()->sendPosition (positionSlider.getValue());
    };
    positionSlider.onDragStart = [this]
    {
        if (messageGateOpen())
            owner.getClient()->positionDragging = true;
    };
    positionSlider.onDragEnd = [this]
    {
        if (messageGateOpen())
            owner.getClient()->positionDragging = false;
    };

    addAndMakeVisible (controlPanel);
    addChildComponent (hotCuePanel);

    showTabButton.setName ("Show");
    midiTabButton.setName ("MIDI");
    showTabButton.onClick = [this] { showShowTab(); };
    midiTabButton.onClick = [this] { showMidiTab(); };
    addAndMakeVisible (showTabButton);
    addAndMakeVisible (midiTabButton);

    disconnectButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0x00000000));
    disconnectButton.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff27272a));
    disconnectButton.setColour (juce::TextButton::textColourOffId, mutedText);
    disconnectButton.setColour (juce::TextButton::textColourOnId, juce::Colour (0xfffafafa));
    disconnectButton.onClick = [this]
    {
        const auto wasDemo = demoMode;

        if (wasDemo)
            exitDemo();

        showId = -1;
        owner.connectPanel.setVisible (true);
        setVisible (false);
        owner.statusLabel.setVisible (true);

        if (! wasDemo)
            owner.disconnectRemote();
    };
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

    const auto strip = juce::jmin (getHeight(), 44);
    g.setColour (juce::Colour (0xff18181b));
    g.fillRect (0, getHeight() - strip, getWidth(), strip);

    if (getWidth() > 0)
    {
        g.setColour (juce::Colour (0xff27272a));
        g.fillRect (0, getHeight() - strip, getWidth(), 1);
    }
}

Show::Layout Show::computeLayout (int width, int height, int slotHeight, int slideOffset)
{
    Layout layout;
    auto area = juce::Rectangle<int> (10, 10, juce::jmax (0, width - 20), juce::jmax (0, height - 20));
    const auto w = area.getWidth();

    auto footer = area.removeFromBottom (44);
    layout.showTab = footer.removeFromLeft ((w - 4) / 2);
    footer.removeFromLeft (4);
    layout.midiTab = footer;
    area.removeFromBottom (8);

    auto header = area.removeFromTop (24);
    layout.disconnect = header.removeFromRight (76);
    header.removeFromRight (6);
    layout.latency = header.removeFromRight (56);
    header.removeFromRight (6);
    layout.header = header;
    area.removeFromTop (6);

    auto cards = area.removeFromTop (44);
    const auto cardWidth = (w - 16) / 3;
    layout.showCard = cards.removeFromLeft (cardWidth);
    cards.removeFromLeft (8);
    layout.nowPlayingCard = cards.removeFromLeft (cardWidth);
    cards.removeFromLeft (8);
    layout.nextCueCard = cards;
    area.removeFromTop (8);

    layout.contentHeight = area.getHeight();

    layout.controlPanel = area.removeFromBottom (80);
    area.removeFromBottom (6);

    if (slotHeight > 0)
    {
        layout.hotCuePanel = area.removeFromBottom (slotHeight).translated (0, slideOffset);
        area.removeFromBottom (6);
    }

    auto transport = area.removeFromBottom (32);
    layout.slider = transport.removeFromLeft (juce::jmin (w, juce::jmax (240, w - 120)));
    transport.removeFromLeft (12);
    layout.time = transport;
    area.removeFromBottom (6);
    layout.webView = area;
    return layout;
}

void Show::resized()
{
    const auto layout = computeLayout (getWidth(), getHeight(), panelHeight, panelSlideOffset);
    contentHeight = layout.contentHeight;

    showTabButton.setBounds (layout.showTab);
    midiTabButton.setBounds (layout.midiTab);
    headerLabel.setBounds (layout.header);
    latencyLabel.setBounds (layout.latency);
    disconnectButton.setBounds (layout.disconnect);
    showCard.setBounds (layout.showCard);
    nowPlayingCard.setBounds (layout.nowPlayingCard);
    nextCueCard.setBounds (layout.nextCueCard);
    controlPanel.setBounds (layout.controlPanel);

    if (panelHeight > 0)
    {
        hotCuePanel.setBounds (layout.hotCuePanel);
        controlPanel.toFront (false); // the sliding panel passes behind the transport buttons
    }

    positionSlider.setBounds (layout.slider);
    timeLabel.setBounds (layout.time);

    if (webView != nullptr)
        webView->setBounds (layout.webView);
}

void Show::visibilityChanged()
{
    placePage();
}

void Show::setPageCovered (bool covered)
{
    if (std::exchange (pageCovered, covered) != covered)
        placePage();
}

void Show::placePage()
{
    if (webView == nullptr)
        return;

    // The page lives in a native window of its own, embedded in the program's window, which
    // follows the view's bounds but not its visibility, and is drawn over every component:
    // while the view is hidden or covered, it is moved out of sight (keeping its page loaded),
    // so it never hides the connect screen or the PIN overlay.
    const auto shown = isVisible() && ! pageCovered;
    webView->setVisible (shown);

    if (shown)
    {
        // Back in place; a change of size makes the page's window lay out and draw again,
        // which a move alone does not.
        resized();
        const auto placed = webView->getBounds();
        webView->setBounds (placed.withTrimmedBottom (1));
        webView->setBounds (placed);
    }
    else
    {
        webView->setTopLeftPosition (-100000, -100000);

        // What the page's window covered is drawn again by the screen now in front.
        if (auto* parent = getParentComponent())
            parent->repaint();
    }
}

//==============================================================================
int Show::midiPanelTarget (int contentAreaHeight)
{
    return juce::jmax (120, juce::roundToInt ((float) (contentAreaHeight - 130) * 0.4f));
}

bool Show::animationStep (int& height, int target, int& slideOffset, bool midiShown)
{
    bool heightMoving = false;

    if (height != target)
    {
        const auto d = target - height;
        const auto step = (int) ((float) d * 0.22f);

        if (std::abs (d) < 3 || step == 0)
        {
            height = target;
        }
        else
        {
            height += step;
            heightMoving = true;
        }
    }

    if (midiShown && slideOffset > 0)
    {
        const auto step = (int) ((float) -slideOffset * 0.22f);
        const auto next = slideOffset + step;
        slideOffset = (next >= 3 && step != 0) ? next : 0;
        return heightMoving || slideOffset > 0;
    }

    return heightMoving;
}

void Show::timerCallback()
{
    const auto moving = animationStep (panelHeight, panelTargetHeight, panelSlideOffset, midiPanelShown);
    resized();

    if (! moving)
        stopTimer();
}

void Show::showShowTab()
{
    if (! midiPanelShown)
        return;

    midiPanelShown = false;
    panelTargetHeight = 0;
    hotCuePanel.setVisible (false);
    updateTabButtons();
    startTimer (16);
    resized();
}

void Show::showMidiTab()
{
    if (midiPanelShown)
        return;

    midiPanelShown = true;
    const auto target = midiPanelTarget (contentHeight);
    panelSlideOffset = target;
    panelTargetHeight = target;
    hotCuePanel.setVisible (true);
    updateTabButtons();
    startTimer (16);
    resized();
}

void Show::updateTabButtons()
{
    const juce::Colour selectedFill { 0xff27272a }, selectedText { 0xfffafafa };
    const juce::Colour otherFill { 0x00000000 }, otherText { 0xffa1a1aa };

    showTabButton.setColour (juce::TextButton::buttonColourId, midiPanelShown ? otherFill : selectedFill);
    showTabButton.setColour (juce::TextButton::textColourOffId, midiPanelShown ? otherText : selectedText);
    midiTabButton.setColour (juce::TextButton::buttonColourId, midiPanelShown ? selectedFill : otherFill);
    midiTabButton.setColour (juce::TextButton::textColourOffId, midiPanelShown ? selectedText : otherText);
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

    controlPanel.setEnabled (true);
    hotCuePanel.setCuesEnabled (true);
    setDisconnectButtonText ("Disconnect");

    if (midiPanelShown)
        showShowTab();
}

void Show::setDisconnectButtonText (const juce::String& text)
{
    // Repainted only when the text really changes.
    if (disconnectButton.getButtonText() != text)
        disconnectButton.setButtonText (text);
}

void Show::setControlsEnabled (bool enabled)
{
    positionSlider.setEnabled (enabled);
    controlPanel.setEnabled (enabled);
    hotCuePanel.setCuesEnabled (enabled);
}

//==============================================================================
namespace
{
struct DemoSong
{
    const char* name;
    int tracks;
    double bpm;
};

const DemoSong demoSongs[] = {
    { "Midnight Serenade", 8, 128 },
    { "Whispers in the Wind", 12, 90 },
    { "Electric Dreams", 16, 140 },
    { "Lost in the Stars", 10, 110 },
    { "Dancing in the Moonlight", 8, 124 },
    { "Fire and Ice", 14, 132 },
    { "Soulful Redemption", 6, 85 },
    { "Northern Lights", 8, 118 },
    { "Live in Tokyo", 24, 128 },
    { "No More Pain", 4, 95 },
    { "Peaceful Morning", 8, 72 },
    { "In Your Heart", 10, 100 },
    { "With You", 6, 88 },
    { "Without Love", 8, 105 },
    { "My Love", 12, 120 },
    { "Save Me", 16, 135 },
};

const std::pair<const char*, int> demoMarkers[] = {
    { "Intro", 0 },
    { "Verse", 48000 },
    { "Chorus", 96000 },
    { "Bridge", 144000 },
    { "Outro", 192000 },
};

const std::pair<const char*, const char*> demoHotCues[] = {
    { "Strobe", "ffff3333" },
    { "Smoke", "ff888888" },
    { "Laser Blue", "ff3366ff" },
    { "Laser Green", "ff33cc66" },
    { "Pyro", "ffff6600" },
    { "Blackout", "ff333333" },
    { "Spot Center", "ffffcc00" },
    { "Spot Wash", "ffffee88" },
    { "Haze", "ff99aabb" },
    { "UV", "ff9933ff" },
    { "Follow Spot", "ffff6699" },
    { "House Lights", "ffffdddd" },
};

const juce::String demoShowName { "Summer Night Concert" };
} // namespace

juce::String Show::demoShowDocument()
{
    juce::Array<juce::var> document;

    for (int cue = 0; cue < (int) std::size (demoSongs); ++cue)
    {
        const auto& song = demoSongs[cue];
        auto* object = new juce::DynamicObject();
        object->setProperty ("cue", cue);
        object->setProperty ("songname", juce::String (song.name));
        object->setProperty ("tracks", song.tracks);

        juce::Array<juce::var> markers;

        for (int index = 0; index < (int) std::size (demoMarkers); ++index)
        {
            auto* marker = new juce::DynamicObject();
            marker->setProperty ("index", index);
            marker->setProperty ("position", demoMarkers[index].second);
            marker->setProperty ("name", juce::String (demoMarkers[index].first));
            marker->setProperty ("songCue", cue);
            marker->setProperty ("loopActive", cue == 0 && index == 2);
            markers.add (juce::var (marker));
        }

        object->setProperty ("markers", markers);

        auto* tempo = new juce::DynamicObject();
        tempo->setProperty ("bpm", song.bpm);
        tempo->setProperty ("position", 0);
        tempo->setProperty ("songCue", cue);
        object->setProperty ("tempos", juce::Array<juce::var> { juce::var (tempo) });

        auto* signature = new juce::DynamicObject();
        signature->setProperty ("numerator", 4);
        signature->setProperty ("denominator", 4);
        signature->setProperty ("position", 0);
        signature->setProperty ("songCue", cue);
        object->setProperty ("timesignature", juce::Array<juce::var> { juce::var (signature) });

        object->setProperty ("file_missing", false);
        document.add (juce::var (object));
    }

    return juce::JSON::toString (document, false);
}

void Show::startDemo()
{
    owner.pinOverlay.setVisible (false);
    owner.remote.reset(); // nothing is said to the host
    owner.stopTimer (MainComponent::statusPollTimer);

    owner.connectPanel.setVisible (false);
    setVisible (true);
    owner.statusLabel.setVisible (false);

    demoMode = true;
    showId = 1;
    currentCue = 0;
    nextCue = 1;

    connectAddress.clear();
    connectName.clear();
    hostName.clear();
    showName = demoShowName;

    statusText = "Demo - Preview only";
    statusColour = mutedText;
    updateHeaderText();
    setLatency (-1);

    showCard.setValue (demoShowName);
    nowPlayingCard.setValue ("0 - Midnight Serenade");
    nextCueCard.setValue ("1 - Whispers in the Wind");

    songs.clear();

    for (int cue = 0; cue < (int) std::size (demoSongs); ++cue)
        songs.push_back ({ cue, demoSongs[cue].name });

    std::vector<HotCue> cues;

    for (auto& [name, colour] : demoHotCues)
        cues.push_back ({ name, colour });

    hotCuePanel.setHotCues (std::move (cues));

    positionSlider.setRange (0.0, 240000.0, 1.0);
    positionSlider.setValue (112345.0, juce::dontSendNotification);
    timeLabel.setText ("01:23:45:12", juce::dontSendNotification);
    setControlsEnabled (false);
    setDisconnectButtonText ("Exit Demo");

    if (midiPanelShown)
        showShowTab();

    applyDemoTableToWeb();
}

void Show::applyDemoTableToWeb()
{
    if (! bridge.isAttached())
        return;

    juce::Timer::callAfterDelay (350,
        [safeThis = juce::WeakReference<Show> (this), json = demoShowDocument()]
        {
            if (safeThis == nullptr || ! safeThis->bridge.isAttached())
                return;

            auto& page = safeThis->bridge;
            page.windowOnload();
            page.evaluate (WebBridge::setTableDataStatement (json, "0", "1"));
            page.setCurrentCue (0, -1);
            page.setNextCue (1);
            page.setTransportPosition (112345);
        });
}

void Show::exitDemo()
{
    demoMode = false;
    showName.clear();

    songs.clear();
    hotCuePanel.setHotCues ({});

    setControlsEnabled (true);
    setDisconnectButtonText ("Disconnect");

    showCard.setValue (noValue);
    nowPlayingCard.setValue (noValue);
    nextCueCard.setValue (noValue);

    timeLabel.setText (zeroTime, juce::dontSendNotification);
    positionSlider.setValue (0.0, juce::dontSendNotification);
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
    return options.withNativeFunction ("window.onload", [] (Args, Completion) { traceFirstPageReady(); })
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
