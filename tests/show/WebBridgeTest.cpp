#include "show/WebBridge.h"

#include <gtest/gtest.h>

TEST (WebBridge, StatementTexts)
{
    EXPECT_EQ (WebBridge::windowOnloadStatement(), "window_onload();");
    EXPECT_EQ (WebBridge::setCurrentCueStatement (0, -1), "setCurrentCue(0, -1);");
    EXPECT_EQ (WebBridge::setNextCueStatement (12), "setNextCue(12);");
    EXPECT_EQ (WebBridge::setTransportPositionStatement (112345), "setTransportPosition(112345);");
    EXPECT_EQ (WebBridge::setTableDataStatement ("[]", "3", "4"), "native_setTableData([], 3, 4);");
    EXPECT_EQ (WebBridge::setCurrentMarkerLoopStatement ("1", "2", "true"), "setCurrentMarkerLoop(1, 2, true);");
    EXPECT_EQ (WebBridge::scrollToCueRowStatement (12),
        "var "
        "_qnRow=document.querySelector('[data-cue-row=\"12\"]');if(_qnRow)_qnRow.scrollIntoView({block:'nearest'});");
}

TEST (WebBridge, CallsGoToTheEvaluatorOnlyWhenAttachedAndScrollNeedsARow)
{
    WebBridge bridge;
    bridge.windowOnload(); // not attached: nothing, and no crash

    juce::StringArray made;
    bridge.setEvaluator ([&] (const juce::String& s) { made.add (s); });
    EXPECT_TRUE (bridge.isAttached());

    bridge.scrollToCueRow (-1);
    bridge.scrollToCueRow (0);
    bridge.setNextCue (-1);
    EXPECT_EQ (made, (juce::StringArray { WebBridge::scrollToCueRowStatement (0), "setNextCue(-1);" }));
}

TEST (WebBridge, DocumentLiteralsAreStrictJsonObjectsOrArrays)
{
    struct Case
    {
        const char* text;
        bool accepted;
    };

    const Case cases[] = {
        { "[]", true },
        { "{}", true },
        { " [ 1 , -2.5e3 , \"a\\\"b\\u00e9\" , true , false , null , { \"k\" : [ ] } ] ", true },
        { "[{\"songname\":\"\xe0\xb8\x81\xe0\xb8\xb2\"}]", true },
        { "", false },
        { "1", false },
        { "\"text\"", false },
        { "[1,]", false },
        { "[1 2]", false },
        { "{\"a\":1,}", false },
        { "{'a':1}", false },
        { "{a:1}", false },
        { "[01]", false },
        { "[.5]", false },
        { "[1.]", false },
        { "[NaN]", false },
        { "[Infinity]", false },
        { "[\"a\\x41\"]", false },
        { "[\"line\nbreak\"]", false },
        { "[]);alert(1);(", false },
        { "[]//", false },
        { "[]/**/", false },
        { "[1]+[2]", false },
        { "[function(){}]", false },
        { "[`x`]", false },
        { "[", false },
        { "[\"unterminated]", false },
    };

    for (auto& c : cases)
        EXPECT_EQ (WebBridge::isDocumentLiteral (juce::String (juce::CharPointer_UTF8 (c.text))), c.accepted) << c.text;

    juce::String deep;
    for (int i = 0; i < 10000; ++i)
        deep << "[";
    EXPECT_FALSE (WebBridge::isDocumentLiteral (deep)); // refused without exhausting the stack
}

TEST (WebBridge, NumberAndBooleanLiterals)
{
    struct Case
    {
        const char* text;
        bool number;
        bool numberOrBoolean;
    };

    const Case cases[] = {
        { "0", true, true },
        { "-1", true, true },
        { "42", true, true },
        { "2.5", true, true },
        { "1e3", true, true },
        { "true", false, true },
        { "false", false, true },
        { "", false, false },
        { " 1", false, false },
        { "1 ", false, false },
        { "+1", false, false },
        { "0x10", false, false },
        { "1;alert(1)", false, false },
        { "null", false, false },
        { "True", false, false },
        { "NaN", false, false },
        { "-", false, false },
    };

    for (auto& c : cases)
    {
        EXPECT_EQ (WebBridge::isNumberLiteral (c.text), c.number) << c.text;
        EXPECT_EQ (WebBridge::isNumberOrBooleanLiteral (c.text), c.numberOrBoolean) << c.text;
    }
}

TEST (WebBridge, TheShowDocumentReachesThePageInAsciiWithTheSameMeaning)
{
    struct Case
    {
        const char* utf8;
        const char* expected;
    };

    for (auto c : { Case { "[{\"songname\":\"Plain\"}]", "[{\"songname\":\"Plain\"}]" },
             Case { "[\"B\xc3\xbchne\"]", "[\"B\\u00fchne\"]" },
             Case { "[\"a\xe2\x80\xa8"
                    "b\xe2\x80\xa9"
                    "c\"]",
                 "[\"a\\u2028b\\u2029c\"]" },
             Case { "[\"\xe0\xb9\x84\xe0\xb8\x97\xe0\xb8\xa2\"]", "[\"\\u0e44\\u0e17\\u0e22\"]" },
             Case { "[\"\xf0\x9f\x8e\xb5\"]", "[\"\\ud83c\\udfb5\"]" } })
    {
        const auto document = juce::String (juce::CharPointer_UTF8 (c.utf8));
        const auto ascii = WebBridge::asciiOnly (document);
        EXPECT_EQ (ascii, c.expected) << c.utf8;
        EXPECT_EQ (juce::JSON::toString (juce::JSON::parse (ascii)),
            juce::JSON::toString (juce::JSON::parse (document)))
            << c.utf8;
        EXPECT_EQ (WebBridge::setTableDataStatement (document, "1", "2"), "native_setTableData(" + ascii + ", 1, 2);");
    }
}
