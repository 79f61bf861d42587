#include "WebBridge.h"

//==============================================================================
/** A strict recursive-descent check of JSON text, without building anything. */
class WebBridge::JsonCheck
{
public:
    explicit JsonCheck (const juce::String& text) : p (text.toRawUTF8()), end (p + text.getNumBytesAsUTF8()) {}

    bool document()
    {
        skipSpace();

        if (p == end || (*p != '{' && *p != '['))
            return false;

        if (! value (0))
            return false;

        skipSpace();
        return p == end;
    }

    bool number()
    {
        if (! numberToken())
            return false;

        return p == end;
    }

private:
    void skipSpace()
    {
        while (p != end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
            ++p;
    }

    bool literal (const char* word)
    {
        for (; *word != 0; ++word, ++p)
            if (p == end || *p != *word)
                return false;

        return true;
    }

    static bool isDigit (char c) { return c >= '0' && c <= '9'; }
    static bool isHexDigit (char c) { return isDigit (c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

    bool digits()
    {
        if (p == end || ! isDigit (*p))
            return false;

        while (p != end && isDigit (*p))
            ++p;

        return true;
    }

    bool numberToken()
    {
        if (p != end && *p == '-')
            ++p;

        if (p != end && *p == '0')
            ++p;
        else if (! digits())
            return false;

        if (p != end && *p == '.')
        {
            ++p;

            if (! digits())
                return false;
        }

        if (p != end && (*p == 'e' || *p == 'E'))
        {
            ++p;

            if (p != end && (*p == '+' || *p == '-'))
                ++p;

            if (! digits())
                return false;
        }

        return true;
    }

    bool string()
    {
        if (p == end || *p != '"')
            return false;

        ++p;

        while (p != end)
        {
            auto c = (unsigned char) *p++;

            if (c == '"')
                return true;

            if (c < 0x20)
                return false;

            if (c == '\\')
            {
                if (p == end)
                    return false;

                auto escaped = *p++;

                if (escaped == 'u')
                {
                    for (int i = 0; i < 4; ++i, ++p)
                        if (p == end || ! isHexDigit (*p))
                            return false;
                }
                else if (std::strchr ("\"\\/bfnrt", escaped) == nullptr || escaped == 0)
                {
                    return false;
                }
            }
        }

        return false;
    }

    bool value (int depth)
    {
        if (depth > maxDocumentDepth)
            return false;

        skipSpace();

        if (p == end)
            return false;

        switch (*p)
        {
            case '{':
            {
                ++p;
                skipSpace();

                if (p != end && *p == '}')
                {
                    ++p;
                    return true;
                }

                for (;;)
                {
                    skipSpace();

                    if (! string())
                        return false;

                    skipSpace();

                    if (p == end || *p++ != ':')
                        return false;

                    if (! value (depth + 1))
                        return false;

                    skipSpace();

                    if (p == end)
                        return false;

                    if (*p == '}')
                    {
                        ++p;
                        return true;
                    }

                    if (*p++ != ',')
                        return false;
                }
            }

            case '[':
            {
                ++p;
                skipSpace();

                if (p != end && *p == ']')
                {
                    ++p;
                    return true;
                }

                for (;;)
                {
                    if (! value (depth + 1))
                        return false;

                    skipSpace();

                    if (p == end)
                        return false;

                    if (*p == ']')
                    {
                        ++p;
                        return true;
                    }

                    if (*p++ != ',')
                        return false;
                }
            }

            case '"': return string();
            case 't': return literal ("true");
            case 'f': return literal ("false");
            case 'n': return literal ("null");
            default: return numberToken();
        }
    }

    const char* p;
    const char* end;
};

//==============================================================================
void WebBridge::evaluate (const juce::String& statement)
{
    if (evaluator != nullptr)
        evaluator (statement);
}

void WebBridge::windowOnload()
{
    evaluate (windowOnloadStatement());
}

bool WebBridge::setTableData (const juce::String& json, const juce::String& currentCue, const juce::String& nextCue)
{
    if (! isDocumentLiteral (json) || ! isNumberLiteral (currentCue) || ! isNumberLiteral (nextCue))
        return false;

    evaluate (setTableDataStatement (json, currentCue, nextCue));
    return true;
}

void WebBridge::setCurrentCue (int current, int previous)
{
    evaluate (setCurrentCueStatement (current, previous));
}

void WebBridge::setNextCue (int cue)
{
    evaluate (setNextCueStatement (cue));
}

bool WebBridge::setCurrentMarkerLoop (const juce::String& songCue, const juce::String& markerNum,
    const juce::String& enabled)
{
    if (! isNumberLiteral (songCue) || ! isNumberLiteral (markerNum) || ! isNumberOrBooleanLiteral (enabled))
        return false;

    evaluate (setCurrentMarkerLoopStatement (songCue, markerNum, enabled));
    return true;
}

void WebBridge::setTransportPosition (int position)
{
    evaluate (setTransportPositionStatement (position));
}

void WebBridge::scrollToCueRow (int cue)
{
    if (cue >= 0)
        evaluate (scrollToCueRowStatement (cue));
}

//==============================================================================
juce::String WebBridge::windowOnloadStatement()
{
    return "window_onload();";
}

juce::String WebBridge::setTableDataStatement (const juce::String& json, const juce::String& currentCue,
    const juce::String& nextCue)
{
    return "native_setTableData(" + asciiOnly (json) + ", " + currentCue + ", " + nextCue + ");";
}

juce::String WebBridge::asciiOnly (const juce::String& json)
{
    // The web view's link to its engine process on Linux measures each message in characters
    // but sends that many bytes of UTF-8, so a statement with any character beyond ASCII is cut
    // short and, with it, the link breaks for good. In a JSON text such characters occur only
    // inside strings, where the escape means the same character.
    juce::String result;
    result.preallocateBytes (json.getNumBytesAsUTF8());

    for (auto p = json.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = (juce::uint32) p.getAndAdvance();

        if (c < 0x80)
        {
            result << (char) c;
            continue;
        }

        auto escape = [&result] (juce::uint32 unit)
        { result << "\\u" << juce::String::toHexString ((int) unit).paddedLeft ('0', 4); };

        if (c >= 0x10000)
        {
            escape (0xd800 + ((c - 0x10000) >> 10));
            escape (0xdc00 + ((c - 0x10000) & 0x3ff));
        }
        else
        {
            escape (c);
        }
    }

    return result;
}

juce::String WebBridge::setCurrentCueStatement (int current, int previous)
{
    return "setCurrentCue(" + juce::String (current) + ", " + juce::String (previous) + ");";
}

juce::String WebBridge::setNextCueStatement (int cue)
{
    return "setNextCue(" + juce::String (cue) + ");";
}

juce::String WebBridge::setCurrentMarkerLoopStatement (const juce::String& songCue, const juce::String& markerNum,
    const juce::String& enabled)
{
    return "setCurrentMarkerLoop(" + songCue + ", " + markerNum + ", " + enabled + ");";
}

juce::String WebBridge::setTransportPositionStatement (int position)
{
    return "setTransportPosition(" + juce::String (position) + ");";
}

juce::String WebBridge::scrollToCueRowStatement (int cue)
{
    return juce::String::formatted ("var _qnRow=document.querySelector('[data-cue-row=\"%d\"]');"
                                    "if(_qnRow)_qnRow.scrollIntoView({block:'nearest'});",
        cue);
}

//==============================================================================
bool WebBridge::isDocumentLiteral (const juce::String& text)
{
    return JsonCheck (text).document();
}

bool WebBridge::isNumberLiteral (const juce::String& text)
{
    return JsonCheck (text).number();
}

bool WebBridge::isNumberOrBooleanLiteral (const juce::String& text)
{
    return text == "true" || text == "false" || isNumberLiteral (text);
}
