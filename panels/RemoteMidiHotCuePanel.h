#pragma once

#include "HotCue.h"

#include <juce_gui_basics/juce_gui_basics.h>

class MainComponent;

/**
    The show's MIDI hot cues as a scrolling grid of coloured buttons, up to six a row; pressing
    one asks the host to fire that hot cue. The cues come from the host's HotCueList or from the
    demo show.

    Message thread only.
*/
class RemoteMidiHotCuePanel : public juce::Component
{
public:
    /** One hot cue's button, filled with the cue's own colour. */
    class CueButton : public juce::TextButton
    {
    public:
        using juce::TextButton::TextButton;

        void paintButton (juce::Graphics& g, bool highlighted, bool down) override;

        juce::Colour fillColour { 0xff18181b };
    };

    /** Where the grid's cells go for a number of cues and the space the panel gives them. */
    struct GridLayout
    {
        int columns = 0, rows = 0;
        int cellWidth = 0, cellHeight = 0;
        int contentWidth = 0, contentHeight = 0;

        /** False when there are no cues or no room for a cell: then no button is made. */
        bool hasCells = false;
        bool needsScrollBar = false;

        juce::Rectangle<int> cellBounds (int index) const;
    };

    static constexpr int maxColumns = 6;
    static constexpr int cellGap = 8;
    static constexpr int minCellHeight = 44;
    static constexpr int maxCellHeight = 56;

    /** The grid shows the first this many cues. A show has a few dozen; a host's list may
        claim up to RCClient::maxRows, and a button each for those would take seconds to
        build and to tear down again on every change of size. */
    static constexpr int maxButtons = 1024;

    static GridLayout gridLayout (int cueCount, int panelWidth, int viewportWidth, int viewportHeight);

    /** A hot cue's colour from its ARGB or RGB hex text ("#" allowed); the accent green for
        anything empty, transparent or unreadable. */
    static juce::Colour parseColourCode (const juce::String& code);

    //==============================================================================
    explicit RemoteMidiHotCuePanel (MainComponent& owner);
    ~RemoteMidiHotCuePanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** Replaces the cues and rebuilds the grid. */
    void setHotCues (std::vector<HotCue> cues);
    const std::vector<HotCue>& getHotCues() const noexcept { return hotCues; }

    /** Whether the buttons take presses: sets the state of every existing button, and new
        buttons start with it. */
    void setCuesEnabled (bool shouldBeEnabled);
    bool areCuesEnabled() const noexcept { return cuesEnabled; }

    /** Throws the grid away and builds one button per hot cue for the current size. */
    void rebuildCueGrid();

    /** What a hot-cue button does when pressed: asks the host to fire the cue, unless the
        buttons are disabled, the demo runs or there is no client. No loaded show is needed. */
    void fireHotCue (const juce::String& cueName);

private:
    MainComponent& mainComponent;

public:
    juce::Viewport viewport;
    juce::Component gridContent;
    juce::OwnedArray<CueButton> cueButtons;
    juce::Label emptyLabel;

private:
    std::vector<HotCue> hotCues;
    bool cuesEnabled = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RemoteMidiHotCuePanel)
};
