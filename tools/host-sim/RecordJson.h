#pragma once

#include <juce_data_structures/juce_data_structures.h>

/**
    Converts message records to and from one-line JSON, the simulator's text form:

        {"RCType": 100, "props": {"HostName": "Stage", "ShowID": "7"}, "children": [
            {"type": "S0", "props": {"SID": "1", "SN": "Intro"}, "children": []}]}

    Properties keep their order and their wire types: integers as JSON numbers, texts as
    JSON strings. "RCType" is taken out of "props" and shown first.
*/
struct RecordJson
{
    static juce::String toJson (const juce::ValueTree& record);

    /** A record from its JSON form; an invalid tree when the text is not such a form. */
    static juce::ValueTree fromJson (const juce::String& line);

private:
    static juce::var treeToVar (const juce::ValueTree& tree, bool isRoot);
    static juce::ValueTree varToTree (const juce::var& object, const juce::Identifier& type);
};
