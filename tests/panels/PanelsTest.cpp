// The panels' arithmetic: button rows, the hot-cue grid and colour codes.

#include "panels/RemoteControlPanel.h"
#include "panels/RemoteMidiHotCuePanel.h"

#include <gtest/gtest.h>

TEST (ControlPanelLayout, SevenButtonsInOneRow)
{
    struct Case
    {
        int width, height;
        int buttonWidth, buttonHeight;
        std::array<int, 7> xs;
    };

    const Case cases[] = {
        { 600, 60, 78, 48, { 8, 92, 176, 260, 344, 428, 512 } },
        { 1200, 80, 164, 68, { 8, 178, 348, 518, 688, 858, 1028 } },
        // Narrower than the gaps: no width and no height, and the row collapses to the left.
        { 50, 10, 0, 0, { 8, 14, 20, 26, 32, 38, 44 } },
        { 0, 0, 0, 0, { 8, 9, 10, 11, 12, 13, 14 } },
    };

    for (auto& c : cases)
    {
        const auto bounds = RemoteControlPanel::buttonBounds (c.width, c.height);

        for (size_t i = 0; i < bounds.size(); ++i)
            EXPECT_EQ (bounds[i], juce::Rectangle<int> (c.xs[i], 6, c.buttonWidth, c.buttonHeight))
                << c.width << "x" << c.height << " button " << i;
    }
}

TEST (HotCueGridLayout, ColumnsRowsAndCellSizes)
{
    struct Case
    {
        const char* name;
        int cues, panelWidth, viewportWidth, viewportHeight;
        int columns, rows, cellWidth, cellHeight, contentWidth, contentHeight;
        bool hasCells, scrolls;
    };

    const Case cases[] = {
        { "one cue takes the whole width", 1, 600, 584, 200, 1, 1, 584, 56, 584, 56, true, false },
        { "three cues share the width", 3, 600, 584, 200, 3, 1, 189, 56, 583, 56, true, false },
        { "seven cues wrap after six", 7, 600, 584, 200, 6, 2, 90, 54, 580, 116, true, false },
        { "13 cues: 61 clamps to 56, less 7 %", 13, 600, 584, 200, 6, 3, 90, 52, 580, 172, true, false },
        { "60 cues stay 44 high and scroll", 60, 600, 584, 200, 6, 10, 90, 44, 580, 512, true, true },
        { "a low viewport still gets 44", 2, 600, 584, 30, 2, 1, 288, 44, 584, 44, true, true },
        { "no viewport height at all", 2, 600, 584, 0, 2, 1, 288, 44, 584, 44, true, true },
        { "the wider of panel and viewport", 2, 100, 300, 200, 2, 1, 146, 56, 300, 56, true, false },
        { "exactly room for one pixel", 6, 62, 46, 200, 6, 1, 1, 56, 46, 56, true, false },
        { "no room for the gaps", 6, 56, 40, 200, 0, 0, 0, 0, 0, 0, false, false },
        { "no width", 3, 0, 0, 200, 0, 0, 0, 0, 0, 0, false, false },
        { "no cues", 0, 600, 584, 200, 0, 0, 0, 0, 0, 0, false, false },
    };

    for (auto& c : cases)
    {
        const auto g = RemoteMidiHotCuePanel::gridLayout (c.cues, c.panelWidth, c.viewportWidth, c.viewportHeight);
        SCOPED_TRACE (c.name);

        EXPECT_EQ (g.hasCells, c.hasCells);

        if (! c.hasCells)
        {
            EXPECT_EQ (g.contentWidth, 0);
            EXPECT_EQ (g.contentHeight, 0);
            EXPECT_FALSE (g.needsScrollBar);
            continue;
        }

        EXPECT_EQ (g.columns, c.columns);
        EXPECT_EQ (g.rows, c.rows);
        EXPECT_EQ (g.cellWidth, c.cellWidth);
        EXPECT_EQ (g.cellHeight, c.cellHeight);
        EXPECT_EQ (g.contentWidth, c.contentWidth);
        EXPECT_EQ (g.contentHeight, c.contentHeight);
        EXPECT_EQ (g.needsScrollBar, c.scrolls);
    }
}

TEST (HotCueGridLayout, CellsFillRowsOfSixWithEightPixelGaps)
{
    const auto g = RemoteMidiHotCuePanel::gridLayout (13, 600, 584, 200);

    EXPECT_EQ (g.cellBounds (0), juce::Rectangle<int> (0, 0, 90, 52));
    EXPECT_EQ (g.cellBounds (5), juce::Rectangle<int> (490, 0, 90, 52));
    EXPECT_EQ (g.cellBounds (7), juce::Rectangle<int> (98, 60, 90, 52));
    EXPECT_EQ (g.cellBounds (12), juce::Rectangle<int> (0, 120, 90, 52));
}

TEST (HotCueColourCodes, ArgbOrOpaqueRgbElseGreen)
{
    constexpr juce::uint32 green = 0xff22c55e;

    const std::pair<const char*, juce::uint32> cases[] = {
        { "ffff3333", 0xffff3333 },
        { "ff3333", 0xffff3333 },
        { "#ff3333", 0xffff3333 },
        { "#ffff3333", 0xffff3333 },
        { "FF3333", 0xffff3333 },
        { "000000", 0xff000000 },   // six digits are opaque, even black
        { "80ff3333", 0x80ff3333 }, // a translucent colour is kept
        { "01000000", 0x01000000 }, // the lowest value with any alpha
        { "00ff3333", green },      // no alpha at all
        { "f33", green },           // short codes are not expanded
        { "ff33", green },
        { "##ff3333", green }, // only one "#" goes: seven characters left
        { " ff3333", green },  // likewise with a blank
        { "zzzzzz", green },   // six characters, but no digit
        { "not a colour", green },
        { "#", green },
        { "", green },
    };

    for (auto& [code, argb] : cases)
        EXPECT_EQ (RemoteMidiHotCuePanel::parseColourCode (code).getARGB(), argb) << '"' << code << '"';
}
