#pragma once

#include <juce_data_structures/juce_data_structures.h>

/**
    One line of the simulator's standard input, taken apart. A line is a JSON object:

        {"RCType": 101, "props": {...}, "children": [...]}   send this record to the remote
        {"rawHex": "0a0b..."}                                 send these bytes as the blob
        {"cmd": "silence", "seconds": N}                      send and answer nothing for N s
        {"cmd": "pongs-only", "on": true|false}               answer pings only (on if "on" is left out)
        {"cmd": "load-show"} / {"cmd": "load-show", "file": PATH}
        {"cmd": "unload-show"}
        {"cmd": "switch-show"}                                to the other built-in show
        {"cmd": "disconnect"}                                 say goodbye and forget the remote
        {"cmd": "state"}                                      print the state as one line

    A blank line is nothing. Plain parsing, any thread.
*/
struct ControlLine
{
    enum class Kind
    {
        nothing,
        invalid,
        sendRecord,
        sendRaw,
        silence,
        pongsOnly,
        loadShow,
        unloadShow,
        switchShow,
        disconnect,
        state
    };

    Kind kind = Kind::nothing;
    juce::ValueTree record;
    juce::MemoryBlock raw;
    double seconds = 0.0;
    bool on = true;
    juce::String file;
    juce::String error; // why an invalid line is invalid

    static ControlLine parse (const juce::String& line);
};
