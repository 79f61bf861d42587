#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/**
    The native side's half of the page bridge: builds every script statement the page is
    given and hands it to the web view. All statement texts live here, so that a test can
    read each statement the program makes by installing its own evaluator.

    Values that come from the host are inserted unquoted, so each statement that carries one
    checks it first: a value that is not a literal of its expected form (a JSON object or
    array for the show document, a number, or a number or boolean for the loop flag) never
    reaches the page, which keeps anything a stranger sends from running as script.

    Message thread only.
*/
class WebBridge
{
public:
    using Evaluator = std::function<void (const juce::String& statement)>;

    /** Where statements go; an empty evaluator means there is no page to talk to. */
    void setEvaluator (Evaluator newEvaluator) { evaluator = std::move (newEvaluator); }
    bool isAttached() const noexcept { return evaluator != nullptr; }

    /** Hands one statement to the page (nothing when not attached). */
    void evaluate (const juce::String& statement);

    //==============================================================================
    // The calls, each made only when its values are of their expected forms.
    void windowOnload();
    bool setTableData (const juce::String& json, const juce::String& currentCue, const juce::String& nextCue);
    void setCurrentCue (int current, int previous);
    void setNextCue (int cue);
    bool setCurrentMarkerLoop (const juce::String& songCue, const juce::String& markerNum, const juce::String& enabled);
    void setTransportPosition (int position);
    void scrollToCueRow (int cue);

    //==============================================================================
    // Statement texts (plain functions).
    static juce::String windowOnloadStatement();
    static juce::String setTableDataStatement (const juce::String& json, const juce::String& currentCue,
        const juce::String& nextCue);
    static juce::String setCurrentCueStatement (int current, int previous);
    static juce::String setNextCueStatement (int cue);
    static juce::String setCurrentMarkerLoopStatement (const juce::String& songCue, const juce::String& markerNum,
        const juce::String& enabled);
    static juce::String setTransportPositionStatement (int position);
    static juce::String scrollToCueRowStatement (int cue);

    //==============================================================================
    // Checks of host values before they become part of a statement.
    /** A complete JSON text (RFC 8259) whose top level is an object or an array. */
    static bool isDocumentLiteral (const juce::String& text);

    /** A JSON number: optional minus, digits, optional fraction and exponent. */
    static bool isNumberLiteral (const juce::String& text);

    /** A number literal, or true or false. */
    static bool isNumberOrBooleanLiteral (const juce::String& text);

    /** The JSON text with every character beyond ASCII written as its \uXXXX escape (UTF-16
        pairs above U+FFFF): the same value, in bytes the web view's engine link carries intact. */
    static juce::String asciiOnly (const juce::String& json);

    /** Deeper nesting than any show document has is refused. */
    static constexpr int maxDocumentDepth = 64;

private:
    class JsonCheck;

    Evaluator evaluator;
};
