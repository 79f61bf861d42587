#pragma once

#include "../app/StatusCard.h"
#include "../panels/RemoteControlPanel.h"
#include "../panels/RemoteMidiHotCuePanel.h"
#include "WebBridge.h"
#include "WebUI.h"

#include <juce_gui_extra/juce_gui_extra.h>

class MainComponent;

/**
    The show screen and the owner of the show state: a header with status, latency and the
    disconnect button; the Show, Now Playing and Next Cue cards; the page; the transport row;
    the MIDI hot-cue panel sliding in above the transport buttons; and the Show and MIDI tabs.
    It also runs the built-in demo show.

    Message thread only.
*/
class Show : public juce::Component,
             private juce::Timer
{
public:
    struct Song
    {
        int id = 0;
        juce::String name;
    };

    explicit Show (MainComponent& owner);
    ~Show() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void visibilityChanged() override;

    /** While something is drawn over the show view (the PIN overlay), the page's own native
        window, which would stay in front of it, is moved out of sight like a hidden view's. */
    void setPageCovered (bool covered);

    //==============================================================================
    // Show state
    void setHostName (const juce::String& name);
    void setShowName (const juce::String& name);
    void loadShow (int newShowId, const juce::String& newShowName, std::vector<Song> newSongs);
    void applyCueState (int current, int next);
    void setNextCue (int cue);
    int songCount() const noexcept { return (int) songs.size(); }

    /** "n - name" for a cue of the song list, "-" otherwise. */
    juce::String cueText (int cue) const;
    juce::String songName (int cue) const;

    /** Scrolls the page's row of a cue into view (nothing for a negative cue or without a page). */
    void scrollToCueRow (int cue);

    //==============================================================================
    // Display
    void updateHeaderText();
    void setLatency (int milliseconds);
    void updateTabButtons();

    /** The show view's part of a disconnect by the host. */
    void resetSession();

    //==============================================================================
    // The demo show
    void startDemo();
    void applyDemoTableToWeb();
    void exitDemo();

    /** The demo's show document: 16 songs with five markers each. */
    static juce::String demoShowDocument();

    //==============================================================================
    struct Layout
    {
        juce::Rectangle<int> showTab, midiTab, header, latency, disconnect;
        juce::Rectangle<int> showCard, nowPlayingCard, nextCueCard;
        juce::Rectangle<int> controlPanel, hotCuePanel, slider, time, webView;
        int contentHeight = 0;
    };

    /** Where everything goes for a size and the hot-cue panel's current slot. */
    static Layout computeLayout (int width, int height, int panelHeight, int panelSlideOffset);

    /** One 16 ms step of the hot-cue panel's slide; returns whether anything still moves. */
    static bool animationStep (int& height, int target, int& slideOffset, bool midiShown);

    /** The hot-cue panel's height when the MIDI tab opens over a content area. */
    static int midiPanelTarget (int contentHeight);

    void showMidiTab();
    void showShowTab();

    void stopAnimation() { stopTimer(); }
    bool isAnimating() const { return isTimerRunning(); }
    void destroyWebView();

    /** The page bridge, or null while the show view has no page to talk to. */
    WebBridge* getWebBrowser() noexcept { return bridge.isAttached() ? &bridge : nullptr; }
    WebBridge& getBridge() noexcept { return bridge; }

    /** The page's native functions, registered in this order. */
    juce::WebBrowserComponent::Options withNativeFunctions (juce::WebBrowserComponent::Options options);

    /** True when a command may go to the host: no demo, a live client and a loaded show. */
    bool messageGateOpen() const;

    /** A native function's argument as an integer: its text, then the leading-decimal parse;
        a missing argument is 0. */
    static int argumentAsInt (const juce::Array<juce::var>& args, int index);

    /** Whether show views create their web view (only test programs without a display turn it
        off, before any show view exists). */
    static void setWebViewsEnabled (bool enabled);

    //==============================================================================
    bool demoMode = false;
    std::vector<Song> songs;

private:
    WebBridge bridge;

public:
    std::unique_ptr<WebUI> webView;
    RemoteControlPanel controlPanel;
    RemoteMidiHotCuePanel hotCuePanel;
    int currentCue = -1;
    int nextCue = 0;
    juce::String currentCueName, nextCueName;
    int showId = -1;
    juce::Slider positionSlider;
    juce::Label timeLabel;
    juce::TextButton disconnectButton { "Disconnect" };

private:
    MainComponent& owner;
    bool pageCovered = false;

public:
    bool midiPanelShown = false;
    int panelHeight = 0;
    int panelTargetHeight = 0;
    int panelSlideOffset = 0;
    int contentHeight = 0;

    juce::String statusText { "Connecting..." };
    juce::Colour statusColour { 0xffa1a1aa };
    juce::String connectAddress, connectName, hostName, showName;

    juce::TextButton showTabButton { "Show" };
    juce::TextButton midiTabButton { "MIDI" };
    RemoteUI::StatusCard showCard { "Show", juce::Colour (0xff22c55e) };
    RemoteUI::StatusCard nowPlayingCard { "Now Playing", juce::Colour (0xff38bdf8) };
    RemoteUI::StatusCard nextCueCard { "Next Cue", juce::Colour (0xfffbbf24) };
    juce::Label headerLabel, latencyLabel;

private:
    void timerCallback() override;
    void placePage();
    void setDisconnectButtonText (const juce::String& text);
    void setControlsEnabled (bool enabled);

    JUCE_DECLARE_WEAK_REFERENCEABLE (Show)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Show)
};
