#include "protocol/MessageRecord.h"

#include <gtest/gtest.h>

namespace
{
juce::StringArray propertyNames (const juce::ValueTree& tree)
{
    juce::StringArray names;

    for (int i = 0; i < tree.getNumProperties(); ++i)
        names.add (tree.getPropertyName (i).toString());

    return names;
}

juce::MemoryBlock bytesOf (std::initializer_list<int> values)
{
    juce::MemoryBlock block;

    for (auto v : values)
    {
        auto b = (juce::uint8) v;
        block.append (&b, 1);
    }

    return block;
}
} // namespace

TEST (LeadingDecimalParse, ReadsTheLeadingDigitsOnly)
{
    struct Case
    {
        const char* text;
        juce::int64 expected;
    };

    const Case cases[] = {
        { "101", 101 },
        { "101abc", 101 },
        { "abc", 0 },
        { "", 0 },
        { "   42", 42 },
        { "\t\n7", 7 },
        { "-5", -5 },
        { "+9", 9 },
        { "- 5", 0 },
        { "12.75", 12 },
        { "1e5", 1 },
        { "0x1F", 0 },
        { "007", 7 },
        { "-", 0 },
        { "3 4", 3 },
        { "9223372036854775807", std::numeric_limits<juce::int64>::max() },
        { "-9223372036854775808", std::numeric_limits<juce::int64>::min() },
        { "99999999999999999999999", std::numeric_limits<juce::int64>::max() },
        { "-99999999999999999999999", std::numeric_limits<juce::int64>::min() },
    };

    for (auto& c : cases)
        EXPECT_EQ (MessageRecord::parseLeadingInt64 (c.text), c.expected) << "text: \"" << c.text << "\"";
}

TEST (LeadingDecimalParse, ThirtyTwoBitValuesSaturateInsteadOfWrapping)
{
    EXPECT_EQ (MessageRecord::parseLeadingInt ("2147483647"), 2147483647);
    EXPECT_EQ (MessageRecord::parseLeadingInt ("2147483648"), 2147483647);
    EXPECT_EQ (MessageRecord::parseLeadingInt ("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ (MessageRecord::parseLeadingInt ("4294967297"), 2147483647);
    EXPECT_EQ (MessageRecord::parseLeadingInt64 ("4294967297"), 4294967297LL);
}

TEST (MessageRecordBuild, TypeFirstAsIntegerThenTextsInOrder)
{
    auto record = MessageRecord::build (RCType::FireMarker, { { "songCue", "3" }, { "markerNum", "1" } });

    EXPECT_EQ (record.getType().toString(), "QUENTARO");
    EXPECT_EQ (propertyNames (record), juce::StringArray ({ "RCType", "songCue", "markerNum" }));
    EXPECT_TRUE (record.getProperty ("RCType").isInt());
    EXPECT_EQ ((int) record.getProperty ("RCType"), 10);
    EXPECT_TRUE (record.getProperty ("songCue").isString());
}

TEST (MessageRecordValues, ReadAsTextWhateverTheWireType)
{
    juce::ValueTree record ("QUENTARO");
    record.setProperty ("asInt", 101, nullptr);
    record.setProperty ("asText", "101", nullptr);
    record.setProperty ("asInt64", (juce::int64) 5000000000LL, nullptr);
    record.setProperty ("asDouble", 2.5, nullptr);
    record.setProperty ("asBool", true, nullptr);

    auto back =
        MessageRecord::fromBytes (MessageRecord::toBytes (record).getData(), MessageRecord::toBytes (record).getSize());

    EXPECT_EQ (MessageRecord::integer (back, "asInt"), 101);
    EXPECT_EQ (MessageRecord::integer (back, "asText"), 101);
    EXPECT_EQ (MessageRecord::integer64 (back, "asInt64"), 5000000000LL);
    EXPECT_EQ (MessageRecord::integer (back, "asDouble"), 2);
    EXPECT_EQ (MessageRecord::text (back, "asBool"), "1");
    EXPECT_EQ (MessageRecord::text (back, "missing"), "");
    EXPECT_EQ (MessageRecord::integer (back, "missing"), 0);
}

TEST (MessageRecordStamp, IpKeepsItsPositionOrComesLast)
{
    struct Case
    {
        const char* name;
        juce::ValueTree record;
        juce::String localAddress;
        juce::StringArray expectedOrder;
        juce::String expectedIp;
    };

    const Case cases[] = {
        { "empty address adds nothing", MessageRecord::build (RCType::Play), "", { "RCType" }, "" },
        { "address goes last", MessageRecord::build (RCType::SetNextCue, { { "ID", "4" } }), "10.0.0.5",
            { "RCType", "ID", "IP" }, "10.0.0.5" },
        { "builder's IP keeps its place and gets the address",
            MessageRecord::build (RCType::Hello, { { "IP", "1.2.3.4" }, { "DeviceName", "desk" } }), "10.0.0.5",
            { "RCType", "IP", "DeviceName" }, "10.0.0.5" },
        { "builder's IP stays when the address is empty",
            MessageRecord::build (RCType::Hello, { { "IP", "1.2.3.4" }, { "DeviceName", "desk" } }), "",
            { "RCType", "IP", "DeviceName" }, "1.2.3.4" },
    };

    for (auto& c : cases)
    {
        auto bytes = MessageRecord::toBytes (c.record);
        auto stamped = MessageRecord::stampAddress (bytes.getData(), bytes.getSize(), c.localAddress);
        auto back = MessageRecord::fromBytes (stamped.getData(), stamped.getSize());

        EXPECT_EQ (propertyNames (back), c.expectedOrder) << c.name;
        EXPECT_EQ (MessageRecord::text (back, "IP"), c.expectedIp) << c.name;
    }
}

TEST (MessageRecordStamp, BytesThatAreNotATreeGoOutAsGiven)
{
    const char garbage[] = { 'n', 'o', 't', ' ', 'a', ' ', 't', 'r', 'e', 'e' };
    auto out = MessageRecord::stampAddress (garbage, sizeof (garbage), "10.0.0.5");
    EXPECT_EQ (out, juce::MemoryBlock (garbage, sizeof (garbage)));

    EXPECT_EQ (MessageRecord::stampAddress (nullptr, 0, "10.0.0.5").getSize(), 0u);
}

TEST (MessageRecordRead, WellFormedRecordsReadAsTheFrameworkWroteThem)
{
    juce::ValueTree show ("QUENTARO");
    show.setProperty ("RCType", 100, nullptr);
    show.setProperty ("ShowName",
        juce::String (juce::CharPointer_UTF8 (
            "Gala \xe0\xb8\x81\xe0\xb8\xb2\xe0\xb8\xa3\xe0\xb9\x81\xe0\xb8\xaa\xe0\xb8\x94\xe0\xb8\x87")),
        nullptr);
    show.setProperty ("Size", "2", nullptr);
    show.setProperty ("Blob", juce::var (juce::MemoryBlock ("abc", 3)), nullptr);
    show.setProperty ("List", juce::Array<juce::var> { 1, "two", juce::Array<juce::var> { 3.0 } }, nullptr);
    show.setProperty ("Empty", juce::var(), nullptr);

    for (int i = 0; i < 2; ++i)
    {
        juce::ValueTree row ("S" + juce::String (i));
        row.setProperty ("SID", i + 10, nullptr);
        row.setProperty ("SN", "Song " + juce::String (i), nullptr);
        show.appendChild (row, nullptr);
    }

    auto bytes = MessageRecord::toBytes (show);
    ASSERT_TRUE (MessageRecord::isWellFormed (bytes.getData(), bytes.getSize()));

    auto back = MessageRecord::fromBytes (bytes.getData(), bytes.getSize());
    EXPECT_TRUE (back.isEquivalentTo (show));
}

TEST (MessageRecordRead, CraftedBytesAreRejectedBeforeTheFrameworkSeesThem)
{
    // "Q\0" as the type, then the counts under test.
    struct Case
    {
        const char* name;
        juce::MemoryBlock bytes;
    };

    juce::MemoryBlock deepTrees;
    for (int i = 0; i < 200; ++i)
        deepTrees.append ("A\0\x00\x01\x01", 5); // type "A", no properties, one child
    deepTrees.append ("A\0\x00\x00", 4);

    juce::MemoryBlock deepArrays = bytesOf ({ 'Q', 0, 0x01, 0x01, 'p', 0 });
    for (int i = 0; i < 200; ++i)
        deepArrays.append ("\x01\x02\x07\x01\x01", 5); // a value: array marker, one element
    deepArrays.append ("\x00\x00", 2);

    const Case cases[] = {
        { "empty", {} },
        { "no type terminator", bytesOf ({ 'Q', 'U' }) },
        { "empty type", bytesOf ({ 0, 0, 0 }) },
        { "huge child count", bytesOf ({ 'Q', 0, 0, 0x04, 0xff, 0xff, 0xff, 0x7f }) },
        { "huge property count", bytesOf ({ 'Q', 0, 0x04, 0xff, 0xff, 0xff, 0x7f }) },
        { "negative child count", bytesOf ({ 'Q', 0, 0, 0x81, 0x05 }) },
        { "compressed int longer than four bytes", bytesOf ({ 'Q', 0, 0x05, 1, 0, 0, 0, 0 }) },
        { "huge binary value", bytesOf ({ 'Q', 0, 0x01, 0x01, 'b', 0, 0x04, 0xff, 0xff, 0xff, 0x7f, 0x08, 0 }) },
        { "huge text value", bytesOf ({ 'Q', 0, 0x01, 0x01, 't', 0, 0x04, 0xff, 0xff, 0xff, 0x7f, 0x05, 0 }) },
        { "huge array", bytesOf ({ 'Q', 0, 0x01, 0x01, 'a', 0, 0x01, 0x02, 0x07, 0x04, 0xff, 0xff, 0xff, 0x7f }) },
        { "truncated integer value", bytesOf ({ 'Q', 0, 0x01, 0x01, 'i', 0, 0x01, 0x05, 0x01, 0x02 }) },
        { "empty property name", bytesOf ({ 'Q', 0, 0x01, 0x01, 0, 0x01, 0x02, 0 }) },
        { "invalid UTF-8 in a text", bytesOf ({ 'Q', 0, 0x01, 0x01, 't', 0, 0x01, 0x03, 0x05, 0xc3, 0x28, 0 }) },
        { "overlong UTF-8 in a text", bytesOf ({ 'Q', 0, 0x01, 0x01, 't', 0, 0x01, 0x03, 0x05, 0xc0, 0x80, 0 }) },
        { "UTF-8 surrogate in a text",
            bytesOf ({ 'Q', 0, 0x01, 0x01, 't', 0, 0x01, 0x04, 0x05, 0xed, 0xa0, 0x80, 0 }) },
        { "UTF-8 sequence cut by the end of a text",
            bytesOf ({ 'Q', 0, 0x01, 0x01, 't', 0, 0x01, 0x02, 0x05, 0xe0, 0 }) },
        { "invalid UTF-8 in a name", bytesOf ({ 'Q', 0, 0x01, 0x01, 0xff, 0, 0x01, 0x02, 0 }) },
        { "missing child count", bytesOf ({ 'Q', 0, 0 }) },
        { "child cut short", bytesOf ({ 'Q', 0, 0, 0x01, 0x01, 'S', 0, 0 }) },
        { "trees nested deeper than any record", deepTrees },
        { "arrays nested deeper than any record", deepArrays },
    };

    for (auto& c : cases)
    {
        EXPECT_FALSE (MessageRecord::isWellFormed (c.bytes.getData(), c.bytes.getSize())) << c.name;
        EXPECT_FALSE (MessageRecord::fromBytes (c.bytes.getData(), c.bytes.getSize()).isValid()) << c.name;
    }
}
