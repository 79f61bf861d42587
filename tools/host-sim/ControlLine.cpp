#include "ControlLine.h"

#include "RecordJson.h"

#include <cmath>

namespace
{
ControlLine invalid (const juce::String& reason)
{
    ControlLine line;
    line.kind = ControlLine::Kind::invalid;
    line.error = reason;
    return line;
}

ControlLine command (const juce::var& object)
{
    ControlLine line;
    auto name = object["cmd"].toString();

    if (name == "silence")
    {
        auto seconds = object["seconds"];

        if (! (seconds.isInt() || seconds.isInt64() || seconds.isDouble()) || ! std::isfinite ((double) seconds)
            || (double) seconds < 0.0)
            return invalid ("silence needs \"seconds\": a number of at least 0");

        line.kind = ControlLine::Kind::silence;
        line.seconds = (double) seconds;
        return line;
    }

    if (name == "pongs-only")
    {
        if (object.hasProperty ("on") && ! object["on"].isBool())
            return invalid ("pongs-only takes \"on\": true or false");

        line.kind = ControlLine::Kind::pongsOnly;
        line.on = object.hasProperty ("on") ? (bool) object["on"] : true;
        return line;
    }

    if (name == "load-show")
    {
        if (object.hasProperty ("file") && (! object["file"].isString() || object["file"].toString().isEmpty()))
            return invalid ("load-show takes \"file\": a path");

        line.kind = ControlLine::Kind::loadShow;
        line.file = object["file"].toString();
        return line;
    }

    static const std::pair<const char*, ControlLine::Kind> simple[] = {
        { "unload-show", ControlLine::Kind::unloadShow },
        { "switch-show", ControlLine::Kind::switchShow },
        { "disconnect", ControlLine::Kind::disconnect },
        { "state", ControlLine::Kind::state },
    };

    for (auto& [simpleName, kind] : simple)
    {
        if (name == simpleName)
        {
            line.kind = kind;
            return line;
        }
    }

    return invalid ("unknown cmd \"" + name + "\"");
}
} // namespace

ControlLine ControlLine::parse (const juce::String& text)
{
    auto trimmed = text.trim();

    if (trimmed.isEmpty())
        return {};

    juce::var parsed;

    if (juce::JSON::parse (trimmed, parsed).failed() || ! parsed.isObject())
        return invalid ("not a JSON object");

    if (parsed.hasProperty ("cmd"))
        return command (parsed);

    if (parsed.hasProperty ("rawHex"))
    {
        ControlLine line;
        line.kind = Kind::sendRaw;
        line.raw.loadFromHexString (parsed["rawHex"].toString());
        return line;
    }

    ControlLine line;
    line.record = RecordJson::fromJson (trimmed);

    if (! line.record.isValid())
        return invalid ("neither a record nor a command");

    line.kind = Kind::sendRecord;
    return line;
}
