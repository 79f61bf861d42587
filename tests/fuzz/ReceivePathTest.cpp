#include "fuzz/ReceiveHarness.h"
#include "fuzz/SeedCorpus.h"
#include "protocol/OscPacket.h"

#include <gtest/gtest.h>

namespace
{
juce::MemoryBlock seedBytes (const juce::String& name)
{
    for (auto& seed : SeedCorpus::receiveSeeds())
        if (seed.name == name)
            return seed.bytes;

    ADD_FAILURE() << "no seed " << name;
    return {};
}

bool hasStatement (const ReceiveHarness& harness, const juce::String& start)
{
    for (auto& statement : harness.statements())
        if (statement.startsWith (start))
            return true;

    return false;
}
} // namespace

// Each generated datagram makes it through the framework's decoding and the acceptance check
// to its own handler, on the state every input meets.
TEST (FuzzReceiveSeeds, EachDatagramReachesItsHandler)
{
    ReceiveHarness harness;
    auto& main = harness.component();
    auto& show = main.show;

    struct Case
    {
        const char* seed;
        std::function<bool()> handled;
    };

    const Case cases[] = {
        { "show-info", [&] { return show.showName == "Summer Night Concert" && show.songCount() == 4; } },
        { "show-info-no-show", [&] { return main.getClient()->connectionState == 1 && show.showName.isEmpty(); } },
        { "cue-table", [&] { return hasStatement (harness, "native_setTableData(["); } },
        { "cue-state", [&] { return show.currentCue == 2 && show.nowPlayingCard.getValue() == "2 - Song 2"; } },
        { "transport-state", [&] { return show.timeLabel.getText() == "00:01:52:08"; } },
        { "marker-loop-state", [&] { return harness.statements().contains ("setCurrentMarkerLoop(0, 2, 1);"); } },
        { "hot-cue-list",
            [&] { return show.hotCuePanel.getHotCues().size() == 7 && show.hotCuePanel.cueButtons.size() == 7; } },
        { "pong", [&] { return show.latencyLabel.getText() != "-- ms"; } },
        { "pin-required", [&] { return main.awaitingPin && main.pinOverlay.isVisible(); } },
        { "pin-rejected", [&] { return main.pinOverlay.errorLabel.getText() == "Incorrect PIN. Try again."; } },
        { "host-disconnect", [&] { return main.getClient() == nullptr && main.connectPanel.isVisible(); } },
        { "cue-state-to-a-pattern", [&] { return show.currentCue == 1; } },
    };

    for (auto& c : cases)
    {
        const auto bytes = seedBytes (c.seed);
        EXPECT_EQ (harness.receive (bytes.getData(), bytes.getSize()), ReceiveHarness::Outcome::delivered) << c.seed;
        EXPECT_TRUE (c.handled()) << c.seed;
    }

    // The next datagram meets the loaded show again, whatever the last one did.
    const auto pong = seedBytes ("pong");
    harness.receive (pong.getData(), pong.getSize());
    EXPECT_EQ (show.showName, ReceiveHarness::loadedShowName);
    EXPECT_EQ (show.songCount(), ReceiveHarness::loadedSongs);
    EXPECT_EQ ((int) show.hotCuePanel.cueButtons.size(), ReceiveHarness::loadedHotCues);
    EXPECT_NE (main.getClient(), nullptr);

    // A bundle reaches no address listener, even one holding a valid record.
    const auto bundle = seedBytes ("bundle");
    EXPECT_EQ (harness.receive (bundle.getData(), bundle.getSize()), ReceiveHarness::Outcome::dropped);
}

TEST (FuzzReceiveSeeds, TheDecoderReadsWhatTheSenderWritesAndNothingShorter)
{
    juce::OSCMessage message { juce::OSCAddressPattern ("/quentaro") };
    message.addBlob (juce::MemoryBlock ("\x01\x02\x03", 3));
    message.addInt32 (-7);
    message.addString ("text");
    message.addFloat32 (0.5f);

    const auto bytes = OscPacket::encode (message);
    ASSERT_EQ (bytes.getSize() % 4, 0u);
    EXPECT_TRUE (OscPacket::isWellFormedMessage (bytes.getData(), bytes.getSize()));

    const auto read = OscPacket::readMessage (bytes.getData(), bytes.getSize());
    ASSERT_TRUE (read.has_value());
    EXPECT_EQ (read->getAddressPattern().toString(), "/quentaro");
    ASSERT_EQ (read->size(), 4);
    EXPECT_EQ (read->begin()[0].getBlob(), juce::MemoryBlock ("\x01\x02\x03", 3));
    EXPECT_EQ (read->begin()[1].getInt32(), -7);
    EXPECT_EQ (read->begin()[2].getString(), "text");
    EXPECT_EQ (read->begin()[3].getFloat32(), 0.5f);

    // Every cut of the datagram is refused.
    for (size_t size = 0; size < bytes.getSize(); ++size)
        EXPECT_FALSE (OscPacket::readMessage (bytes.getData(), size).has_value()) << size;
}

// What the framework's decoder would mishandle never reaches it.
TEST (FuzzReceiveSeeds, MalformedDatagramsAreRefusedBeforeTheDecoder)
{
    auto datagram = [] (std::initializer_list<int> values)
    {
        juce::MemoryBlock block;

        for (auto v : values)
        {
            const auto byte = (juce::uint8) v;
            block.append (&byte, 1);
        }

        return block;
    };

    struct Case
    {
        const char* what;
        juce::MemoryBlock bytes;
    };

    const Case cases[] = {
        { "a non-ASCII byte in the address (the decoder's text crashes on it)",
            datagram ({ '/', 'q', 0xaf, 0, ',', 'b', 0, 0, 0, 0, 0, 1, 5, 0, 0, 0 }) },
        { "a blob longer than the datagram", datagram ({ '/', 'q', 0, 0, ',', 'b', 0, 0, 0, 0, 0, 9, 5, 0, 0, 0 }) },
        { "a blob of negative size",
            datagram ({ '/', 'q', 0, 0, ',', 'b', 0, 0, 0xff, 0xff, 0xff, 0xff, 5, 0, 0, 0 }) },
        { "a blob of the largest size", datagram ({ '/', 'q', 0, 0, ',', 'b', 0, 0, 0x7f, 0xff, 0xff, 0xff }) },
        { "padding that is not zero", datagram ({ '/', 'q', 0, 1, ',', 'b', 0, 0, 0, 0, 0, 1, 5, 0, 0, 0 }) },
        { "bytes after the message", datagram ({ '/', 'q', 0, 0, ',', 0, 0, 0, 0, 0, 0, 0 }) },
        { "no type tags", datagram ({ '/', 'q', 0, 0, 0, 0, 0, 1 }) },
        { "an unknown type tag", datagram ({ '/', 'q', 0, 0, ',', 'T', 0, 0 }) },
        { "a string argument that is not ASCII", datagram ({ '/', 'q', 0, 0, ',', 's', 0, 0, 0xc3, 0xa9, 0, 0 }) },
        { "a space in the address", datagram ({ '/', ' ', 0, 0, ',', 0, 0, 0 }) },
        { "an empty blob at the very end", datagram ({ '/', 'q', 0, 0, ',', 'b', 0, 0, 0, 0, 0, 0 }) },
        { "a bundle", datagram ({ '#', 'b', 'u', 'n', 'd', 'l', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 1 }) },
    };

    for (auto& c : cases)
        EXPECT_FALSE (OscPacket::readMessage (c.bytes.getData(), c.bytes.getSize()).has_value()) << c.what;

    const auto smallest = datagram ({ '/', 0, 0, 0, ',', 0, 0, 0 });
    EXPECT_TRUE (OscPacket::readMessage (smallest.getData(), smallest.getSize()).has_value());
}

// Address patterns match as the framework matches them, in time that does not explode.
TEST (FuzzReceiveSeeds, AddressPatternsMatchAsTheFrameworkMatchesThem)
{
    const juce::OSCAddress quentaro { "/quentaro" };
    const char* const patterns[] = { "/quentaro", "/quentaro/", "/quent*", "/*", "/*o", "/*x", "/q*a*o", "/q?entaro",
        "/{other,quentaro}", "/{quen,q}{taro,uentaro}", "/{,quentaro}", "/{quentaro", "/[pq]uentaro", "/[!pq]uentaro",
        "/[a-r]uentaro", "/[r-a]uentaro", "/[-q]uentaro", "/[q-]uentaro", "/quentar[o-]", "/quentaro[]", "/quentaro*",
        "/quentaro**", "/quentaro[!]", "/quentaro[a-]", "/]quentaro", "/*/*", "//quentaro", "/q}uentaro" };

    for (auto* text : patterns)
    {
        const juce::OSCAddressPattern pattern { text };
        EXPECT_EQ (OscPacket::addressMatches (pattern, quentaro), pattern.matches (quentaro)) << text;
    }

    // A pattern the framework's backtracking would take hours over.
    const auto stars = juce::String::repeatedString ("*", 200);
    EXPECT_FALSE (OscPacket::addressMatches (juce::OSCAddressPattern ("/" + stars + "x"), quentaro));
    EXPECT_TRUE (OscPacket::addressMatches (juce::OSCAddressPattern ("/" + stars + "o"), quentaro));
}

// The client's acceptance check, which the receiver thread and the harness both run.
TEST (FuzzReceiveSeeds, OnlyOneNonEmptyBlobToQuentaroIsAccepted)
{
    const juce::MemoryBlock blob ("\x05", 1);

    struct Case
    {
        const char* address;
        int blobs;
        bool otherArgument;
        bool emptyBlob;
        bool accepted;
    };

    const Case cases[] = {
        { "/quentaro", 1, false, false, true },
        { "/quentaro/", 1, false, false, true }, // the framework drops trailing slashes
        { "/quent*", 1, false, false, true },    // patterns match as the framework matches them
        { "/q?entaro", 1, false, false, true },
        { "/{other,quentaro}", 1, false, false, true },
        { "/[pq]uentaro", 1, false, false, true },
        { "/*/quentaro", 1, false, false, false },
        { "/quentaro/x", 1, false, false, false },
        { "/other", 1, false, false, false },
        { "/QUENTARO", 1, false, false, false },
        { "/quentaro", 0, false, false, false },
        { "/quentaro", 2, false, false, false },
        { "/quentaro", 1, true, false, false },
        { "/quentaro", 0, true, false, false },
        { "/quentaro", 1, false, true, false },
    };

    for (auto& c : cases)
    {
        juce::OSCMessage message { juce::OSCAddressPattern (c.address) };

        for (int i = 0; i < c.blobs; ++i)
            message.addBlob (c.emptyBlob ? juce::MemoryBlock() : blob);

        if (c.otherArgument)
            message.addString ("101");

        EXPECT_EQ (RCClient::accepts (message), c.accepted) << c.address << " " << c.blobs;
    }
}
