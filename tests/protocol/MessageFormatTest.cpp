#include "protocol/MessageFormat.h"
#include "protocol/LocalAddress.h"
#include "protocol/MessageRecord.h"

#include <gtest/gtest.h>

TEST (LocalAddress, PrefersTheHostsNetworkThenAnyNonLoopbackAddress)
{
    struct Case
    {
        const char* host;
        juce::StringArray interfaces;
        const char* expected;
    };

    const Case cases[] = {
        { "192.168.1.20", { "127.0.0.1", "10.0.0.5", "192.168.1.7" }, "192.168.1.7" },
        { "192.168.1.20", { "127.0.0.1", "10.0.0.5" }, "10.0.0.5" },
        { "192.168.1.20", { "127.0.0.1" }, "127.0.0.1" },
        { "192.168.1.20", {}, "127.0.0.1" },
        { "192.168.1.20", { "127.0.0.1", "192.168.10.7", "192.168.1.9" }, "192.168.1.9" },
        { "127.0.0.1", { "127.0.0.1", "10.0.0.5" }, "10.0.0.5" },
        { "10.0.0.1", { "0.0.0.0", "10.0.0.5" }, "10.0.0.5" },
        { "stagehost", { "127.0.0.1", "172.16.0.3" }, "172.16.0.3" },
        { ".local", { "127.0.0.1", "172.16.0.3" }, "172.16.0.3" },
        { "stage.lan", { "127.0.0.1", "10.9.9.9" }, "10.9.9.9" },
        { "192.168.1.20", { "127.0.1.1" }, "127.0.1.1" },
    };

    for (auto& c : cases)
        EXPECT_EQ (LocalAddress::choose (c.host, c.interfaces), c.expected)
            << c.host << " from " << c.interfaces.joinIntoString (",");
}

TEST (MessageFormat, PositionsAreWrittenLikePrintfG)
{
    struct Case
    {
        double value;
        const char* text;
    };

    const Case cases[] = {
        { 0.0, "0" },
        { 1500.0, "1500" },
        { 12.5, "12.5" },
        { 123456.0, "123456" },
        { 999999.0, "999999" },
        { 1000000.0, "1e+06" },
        { 1234567.0, "1.23457e+06" },
        { 0.0001, "0.0001" },
        { 0.00001, "1e-05" },
        { -2.25, "-2.25" },
        { 1.0 / 3.0, "0.333333" },
    };

    for (auto& c : cases)
        EXPECT_EQ (MessageFormat::position (c.value), c.text) << c.value;
}

TEST (MessageFormat, DeviceNameIsCutBeforeDotLocal)
{
    struct Case
    {
        const char* bytes;
        const char* name;
    };

    const Case cases[] = {
        { "stage-mac", "stage-mac" }, { "stage-mac.local", "stage-mac" }, { "Stage-Mac.LOCAL", "Stage-Mac" },
        { "desk.localdomain", "desk" }, { "desk.lan", "desk.lan" }, { ".local", "" }, { "", "" },
        { "caf\xc3\xa9", "caf\xc3\x83\xc2\xa9" }, // each byte becomes one character
    };

    for (auto& c : cases)
        EXPECT_EQ (MessageFormat::deviceName (c.bytes, 255), juce::String (juce::CharPointer_UTF8 (c.name))) << c.bytes;

    const char unterminated[4] = { 'a', 'b', 'c', 'd' };
    EXPECT_EQ (MessageFormat::deviceName (unterminated, 3), "abc");
}

TEST (MessageFormat, LatencyWrapsInThirtyTwoBitsAndNeverGoesNegative)
{
    EXPECT_EQ (MessageFormat::latency (1000, 990), 10);
    EXPECT_EQ (MessageFormat::latency (1000, 1000), 0);
    EXPECT_EQ (MessageFormat::latency (1000, 1001), 0);
    EXPECT_EQ (MessageFormat::latency (5, 4294967291LL), 10);         // the counter wrapped
    EXPECT_EQ (MessageFormat::latency (1000, (1LL << 32) + 990), 10); // only the low bits count
    EXPECT_EQ (MessageFormat::latency (1000, 0), 1000);               // no "t" at all
}

TEST (MessageRecordChildren, NumberedChildrenInOrderWithGapsEmpty)
{
    juce::ValueTree tree ("QUENTARO");

    for (auto* name : { "S2", "S0", "S07", "S+1", "X1", "S0", "S", "S3" })
    {
        juce::ValueTree child (name);
        child.setProperty ("n", tree.getNumChildren(), nullptr);
        tree.appendChild (child, nullptr);
    }

    auto rows = MessageRecord::numberedChildren (tree, "S", 3);
    ASSERT_EQ (rows.size(), 3u);
    EXPECT_EQ ((int) rows[0].getProperty ("n"), 1); // the first "S0"
    EXPECT_FALSE (rows[1].isValid());
    EXPECT_EQ ((int) rows[2].getProperty ("n"), 0);

    EXPECT_TRUE (MessageRecord::numberedChildren (tree, "S", 0).empty());
    EXPECT_TRUE (MessageRecord::numberedChildren (tree, "S", -5).empty());
}
