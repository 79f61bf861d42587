#include "RecordJson.h"

#include "protocol/MessageRecord.h"

juce::var RecordJson::treeToVar (const juce::ValueTree& tree, bool isRoot)
{
    auto* object = new juce::DynamicObject();
    juce::var result (object);

    if (isRoot)
        object->setProperty (MessageRecord::rcType, tree.getProperty (MessageRecord::rcType));
    else
        object->setProperty ("type", tree.getType().toString());

    auto* props = new juce::DynamicObject();

    for (int i = 0; i < tree.getNumProperties(); ++i)
    {
        auto name = tree.getPropertyName (i);

        if (isRoot && name == MessageRecord::rcType)
            continue;

        auto value = tree.getProperty (name);

        // Binary values and arrays have no plain JSON form; show their text.
        props->setProperty (name, value.isBinaryData() || value.isArray() ? juce::var (value.toString()) : value);
    }

    object->setProperty ("props", juce::var (props));

    juce::Array<juce::var> children;

    for (const auto& child : tree)
        children.add (treeToVar (child, false));

    object->setProperty ("children", children);
    return result;
}

juce::String RecordJson::toJson (const juce::ValueTree& record)
{
    return juce::JSON::toString (treeToVar (record, true),
        juce::JSON::FormatOptions {}.withSpacing (juce::JSON::Spacing::singleLine));
}

juce::ValueTree RecordJson::varToTree (const juce::var& object, const juce::Identifier& type)
{
    juce::ValueTree tree (type);

    if (auto* props = object.getProperty ("props", {}).getDynamicObject())
    {
        for (auto& [name, value] : props->getProperties())
        {
            if (value.isBool())
                tree.setProperty (name, value.toString(), nullptr);
            else if (value.isDouble() && (double) (juce::int64) value == (double) value)
                tree.setProperty (name, (juce::int64) value, nullptr);
            else
                tree.setProperty (name, value, nullptr);
        }
    }

    if (auto* children = object.getProperty ("children", {}).getArray())
    {
        for (auto& child : *children)
        {
            auto childType = child.getProperty ("type", {}).toString();

            if (childType.isEmpty())
                return {};

            tree.appendChild (varToTree (child, childType), nullptr);
        }
    }

    return tree;
}

juce::ValueTree RecordJson::fromJson (const juce::String& line)
{
    auto parsed = juce::JSON::parse (line);

    if (! parsed.isObject() || ! parsed.hasProperty (MessageRecord::rcType))
        return {};

    juce::ValueTree record (MessageRecord::recordType);
    auto rcType = parsed.getProperty (MessageRecord::rcType, {});
    record.setProperty (MessageRecord::rcType, rcType.isString() ? rcType : juce::var ((int) rcType), nullptr);

    auto rest = varToTree (parsed, MessageRecord::recordType);

    if (! rest.isValid())
        return {};

    for (int i = 0; i < rest.getNumProperties(); ++i)
    {
        auto name = rest.getPropertyName (i);
        record.setProperty (name, rest.getProperty (name), nullptr);
    }

    for (int i = 0; i < rest.getNumChildren(); ++i)
        record.appendChild (rest.getChild (i).createCopy(), nullptr);

    return record;
}
